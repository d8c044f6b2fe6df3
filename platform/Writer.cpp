// The form-data writer: a component tree as text, with stored non-default values in
// published order, then defined values, then children; against an ancestor only what
// differs from it.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "platform/Collection.h"
#include "platform/Filer.h"
#include "platform/FormParser.h"
#include "platform/Streams.h"

IMPLEMENT_CLASS(TWriter, TFiler)

namespace {

// Long strings and binary data are split so that no line grows past this many characters.
constexpr int kStringChunk = 64;
constexpr size_t kBinaryBytesPerLine = 32;
// Owned objects nest this deep at most (Font.Name is two); a cycle would never end.
constexpr int kMaxPropertyNesting = 32;

String Spaces(int level)
{
  return String(size_t(std::max(level, 0)) * 2, L' ');
}

String FloatText(double v)
{
  if (std::isnan(v))
    return L"NAN";
  if (std::isinf(v))
    return v < 0 ? L"-INF" : L"INF";
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);  // shortest text that reads back the same
  String text;
  bool hasPoint = false;
  for (char* p = buf; p < r.ptr; ++p) {
    if (*p == 'e') {
      text += L'E';
      hasPoint = true;
    } else if (*p != '+') {
      text += wchar_t(*p);
      hasPoint = hasPoint || *p == '.';
    }
  }
  if (!hasPoint)
    text += L".0";
  return text;
}

String SetText(const TEnumInfo* info, uint64_t mask)
{
  String text = L"[";
  bool first = true;
  for (int bit = 0; bit < 64; ++bit) {
    if (!(mask & (uint64_t(1) << bit)))
      continue;
    String name = GetEnumName(info, bit);
    if (name.empty())
      continue;
    if (!first)
      text += L", ";
    text += name;
    first = false;
  }
  return text + L"]";
}

}  // namespace

struct TWriter::TState {
  int Indent = 0;  // the level of the property lines being written
  String Path;     // "Font." while the properties of an owned object are written
  int Nesting = 0;
  std::vector<int> Lists;  // element levels of the open lists
  int ValuesWritten = 0;   // values at the top of the current defined property
  TComponent* RootAncestor = nullptr;
  std::optional<int> ChildPos;  // the position of the next block among its parent's children

  int ChildLevel() const { return (Lists.empty() ? Indent : Lists.back()) + 1; }
};

TWriter::TWriter() : FState(std::make_unique<TState>()) {}

TWriter::~TWriter() = default;

// ---------------------------------------------------------------------------
// Values

namespace {

void BeginValue(String& text, TWriter::TState& s)
{
  if (s.Lists.empty())
    ++s.ValuesWritten;
  else
    text += L"\n" + Spaces(s.Lists.back());
}

}  // namespace

void TWriter::WriteListBegin()
{
  BeginValue(FText, *FState);
  FText += L"(";
  FState->Lists.push_back(FState->ChildLevel());
}

void TWriter::WriteListEnd()
{
  if (FState->Lists.empty())
    throw EWriteError(L"WriteListEnd without WriteListBegin");
  FState->Lists.pop_back();
  FText += L")";
}

void TWriter::WriteBoolean(bool Value)
{
  WriteIdent(Value ? L"True" : L"False");
}

void TWriter::WriteChar(wchar_t Value)
{
  WriteString(String(1, Value));
}

void TWriter::WriteInteger(int64_t Value)
{
  BeginValue(FText, *FState);
  FText += IntToStr(Value);
}

void TWriter::WriteFloat(double Value)
{
  BeginValue(FText, *FState);
  FText += FloatText(Value);
}

void TWriter::WriteIdent(const String& Ident)
{
  BeginValue(FText, *FState);
  FText += Ident;
}

// Printable ASCII goes in quoted runs with the quote doubled; everything else as #code,
// so the text stays plain ASCII whatever the string holds.
void TWriter::WriteString(const String& Value)
{
  BeginValue(FText, *FState);
  if (Value.empty()) {
    FText += L"''";
    return;
  }
  bool quoted = false;
  int run = 0;
  for (size_t i = 0; i < Value.size(); ++i) {
    if (run >= kStringChunk) {
      if (quoted)
        FText += L'\'';
      quoted = false;
      FText += L" +\n" + Spaces(FState->ChildLevel());
      run = 0;
    }
    wchar_t ch = Value[i];
    if (ch >= L' ' && ch < 0x7F) {
      if (!quoted)
        FText += L'\'';
      quoted = true;
      FText += ch;
      if (ch == L'\'')
        FText += ch;
    } else {
      if (quoted)
        FText += L'\'';
      quoted = false;
      // Codes are UTF-16 units: where wchar_t is 32 bits, a character beyond them is a pair.
      if (IsBeyondUtf16Unit(ch))
        FText += L"#" + IntToStr(0xD800 + ((uint32_t(ch) - 0x10000) >> 10)) + L"#" +
                 IntToStr(0xDC00 + ((uint32_t(ch) - 0x10000) & 0x3FF));
      else
        FText += L"#" + IntToStr(ch);
    }
    ++run;
  }
  if (quoted)
    FText += L'\'';
}

void TWriter::WriteCollection(TCollection* Value)
{
  BeginValue(FText, *FState);
  FText += L"<";
  TState& s = *FState;
  int level = s.ChildLevel();
  for (int i = 0; i < (Value ? Value->Count() : 0); ++i) {
    FText += L"\n" + Spaces(level) + L"item\n";
    {
      TRestore state(s);
      s.Indent = level + 1;
      s.Path.clear();
      s.Lists.clear();
      TRestore ancestor(FAncestor, nullptr);  // items are compared as a whole collection, not one by one
      WriteProperties(Value->Items(i));
    }
    FText += Spaces(level) + L"end";
  }
  FText += L">";
}

// ---------------------------------------------------------------------------
// Properties

namespace {

// The name a reference is written with, seen from LookupRoot; empty when it has none.
String ReferenceName(TComponent* c, TComponent* lookupRoot)
{
  if (!c)
    return String();
  if (c == lookupRoot)
    return L"Owner";
  if (c->Name().empty())
    return String();
  // Below the lookup root: Frame1.Button1 for a component of an inline frame.
  String path = c->Name();
  for (TComponent* o = c->Owner(); o; o = o->Owner()) {
    if (o == lookupRoot)
      return path;
    if (o->Name().empty())
      break;
    path = o->Name() + L"." + path;
  }
  // Another root's component, reached through the global registry.
  if (c->Owner() && !c->Owner()->Name().empty())
    return c->Owner()->Name() + L"." + c->Name();
  return c->Name();
}

const TPropInfo* AncestorProp(TPersistent* ancestor, const TPropInfo& info)
{
  if (!ancestor)
    return nullptr;
  const TPropInfo* a = GetPropInfo(ancestor, info.Name);
  return a && a->Kind == info.Kind ? a : nullptr;
}

}  // namespace

void TWriter::WriteProperties(TPersistent* Instance)
{
  TState& s = *FState;
  if (++s.Nesting > kMaxPropertyNesting) {
    --s.Nesting;
    throw EWriteError(L"Properties of " + Instance->ClassName() + L" nest too deep");
  }
  TFinally leave([&s]() noexcept { --s.Nesting; });

  TPersistent* ancestor = FAncestor;
  if (ancestor && !Instance->InheritsFrom(ancestor->ClassType()))
    ancestor = nullptr;
  TComponent* lookup = FLookupRoot ? FLookupRoot : FRoot;

  for (const TPropInfo& info : Instance->ClassType()->Properties()) {
    if (!info.IsStored(Instance))
      continue;
    const TPropInfo* anc = AncestorProp(ancestor, info);
    String line = Spaces(s.Indent) + s.Path + info.Name + L" = ";
    switch (info.Kind) {
      case TPropKind::Object: {
        TObject* value = info.GetObj(Instance);
        TObject* ancValue = anc ? anc->GetObj(ancestor) : nullptr;
        if (auto* collection = dynamic_cast<TCollection*>(value)) {
          if (auto* ancCollection = dynamic_cast<TCollection*>(ancValue)) {
            TWriter mine, theirs;
            mine.WriteCollection(collection);
            theirs.WriteCollection(ancCollection);
            if (mine.Text() == theirs.Text())
              continue;
          }
          FText += line;
          s.ValuesWritten = 0;
          WriteCollection(collection);
          FText += L"\n";
        } else if (auto* nested = dynamic_cast<TPersistent*>(value)) {
          TRestore path(s.Path, s.Path + info.Name + L".");
          TRestore nestedAncestor(FAncestor, dynamic_cast<TPersistent*>(ancValue));
          WriteProperties(nested);
        }
        continue;
      }
      case TPropKind::Component: {
        auto* value = dynamic_cast<TComponent*>(info.GetObj(Instance));
        String name = ReferenceName(value, lookup);
        if (anc) {
          auto* ancValue = dynamic_cast<TComponent*>(anc->GetObj(ancestor));
          if ((!value && !ancValue) || (value && ancValue && SameText(value->Name(), ancValue->Name())))
            continue;
          if (!value)
            name = L"nil";
        } else if (!value) {
          continue;
        }
        if (name.empty())
          continue;  // an unnamed component cannot be found again by name
        FText += line + name + L"\n";
        continue;
      }
      case TPropKind::Event: {
        TMethod method = info.GetMethod(Instance);
        String name = method.Assigned() ? MethodName(lookup, method) : String();
        if (name.empty() && method.Assigned() && lookup != FRoot)
          name = MethodName(FRoot, method);
        if (anc) {
          TMethod ancMethod = anc->GetMethod(ancestor);
          TComponent* ancRoot = FState->RootAncestor;
          String ancName = ancMethod.Assigned() ? MethodName(ancRoot, ancMethod) : String();
          if (SameText(name, ancName) && method.Assigned() == ancMethod.Assigned())
            continue;
          if (!method.Assigned())
            name = L"nil";
        } else if (!method.Assigned()) {
          continue;
        }
        if (name.empty())
          continue;  // not a published method of the root: it cannot be bound by name
        FText += line + name + L"\n";
        continue;
      }
      default:
        break;
    }
    if (!info.IsWritable())
      continue;
    if (anc) {
      bool same = false;
      switch (info.Kind) {
        case TPropKind::Float: {
          double a = info.GetFloat(Instance), b = anc->GetFloat(ancestor);
          same = a == b || (std::isnan(a) && std::isnan(b));
          break;
        }
        case TPropKind::String:
          same = info.GetStr(Instance) == anc->GetStr(ancestor);
          break;
        default:
          same = info.GetOrd(Instance) == anc->GetOrd(ancestor);
          break;
      }
      if (same)
        continue;
    } else if (info.IsDefaultValue(Instance)) {
      continue;
    }
    String value;
    switch (info.Kind) {
      case TPropKind::Integer: {
        int64_t v = info.GetOrd(Instance);
        if (!info.Idents || !IntToIdent(*info.Idents, v, value))
          value = IntToStr(v);
        break;
      }
      case TPropKind::Enum:
      case TPropKind::Bool: {
        int64_t v = info.GetOrd(Instance);
        value = GetEnumName(info.EnumType, v);
        if (value.empty())
          throw EWriteError(L"Property " + info.Name + L" has the value " + IntToStr(v) + L" without a name");
        break;
      }
      case TPropKind::Set:
        value = SetText(info.EnumType, uint64_t(info.GetOrd(Instance)));
        break;
      case TPropKind::Float:
        value = FloatText(info.GetFloat(Instance));
        break;
      case TPropKind::String: {
        FText += line;
        s.Lists.clear();
        WriteString(info.GetStr(Instance));
        FText += L"\n";
        continue;
      }
      default:
        continue;
    }
    FText += line + value + L"\n";
  }

  TRestore defining(FAncestor, ancestor);
  Instance->DefineProperties(this);
}

void TWriter::DefineProperty(const String& Name, const TReaderProc&, const TWriterProc& WriteData, bool HasData)
{
  if (!HasData || !WriteData)
    return;
  TState& s = *FState;
  FText += Spaces(s.Indent) + s.Path + Name + L" = ";
  s.ValuesWritten = 0;
  s.Lists.clear();
  WriteData(this);
  if (!s.Lists.empty()) {
    s.Lists.clear();
    throw EWriteError(L"Property " + Name + L" left a list open");
  }
  if (s.ValuesWritten != 1)
    throw EWriteError(L"Property " + Name + L" must write one value, not " + IntToStr(s.ValuesWritten));
  FText += L"\n";
}

void TWriter::DefineBinaryProperty(const String& Name, const TStreamProc&, const TStreamProc& WriteData, bool HasData)
{
  if (!HasData || !WriteData)
    return;
  TMemoryStream stream;
  WriteData(&stream);
  TState& s = *FState;
  FText += Spaces(s.Indent) + s.Path + Name + L" = {";
  auto* bytes = static_cast<const uint8_t*>(stream.Memory());
  size_t size = size_t(stream.GetSize());
  for (size_t i = 0; i < size; ++i) {
    if (i % kBinaryBytesPerLine == 0)
      FText += L"\n" + Spaces(s.Indent + 1);
    FText += IntToHex(bytes[i], 2);
  }
  FText += L"}\n";
}

// ---------------------------------------------------------------------------
// Components

void TWriter::WriteRootComponent(TComponent* Root)
{
  WriteDescendent(Root, nullptr);
}

void TWriter::WriteDescendent(TComponent* Root, TComponent* Ancestor)
{
  FRoot = Root;
  FLookupRoot = Root;
  FAncestor = Ancestor;
  FState->RootAncestor = Ancestor;
  WriteComponent(Root);
}

void TWriter::WriteComponent(TComponent* Component)
{
  bool wasWriting = Component->ComponentState().Contains(csWriting);
  Component->IncludeState(csWriting);
  TFinally done([&]() noexcept {
    if (!wasWriting)
      Component->ExcludeState(csWriting);
  });
  Component->WriteState(this);
}

namespace {

std::vector<TComponent*> ChildrenOf(TComponent* instance, TComponent* root)
{
  std::vector<TComponent*> children;
  if (instance)
    instance->GetChildren([&](TComponent* child) { children.push_back(child); }, root);
  return children;
}

}  // namespace

void TWriter::WriteData(TComponent* Instance)
{
  TState& s = *FState;
  // Text that no reader would take back is refused here already.
  if (s.Indent >= kFormMaxNesting)
    throw EWriteError(L"Components nest deeper than " + IntToStr(kFormMaxNesting) + L" levels");
  auto* ancestor = dynamic_cast<TComponent*>(FAncestor);
  bool isRoot = Instance == FRoot;
  const wchar_t* word = L"object";
  if (Instance->ComponentState().Contains(csInline) && !isRoot)
    word = L"inline";
  else if (ancestor)
    word = L"inherited";
  String header = Spaces(s.Indent) + word + L" ";
  if (!Instance->Name().empty())
    header += Instance->Name() + L": ";
  header += Instance->ClassName();
  FText += header;
  if (s.ChildPos)
    FText += L" [" + IntToStr(*s.ChildPos) + L"]";
  s.ChildPos.reset();
  FText += L"\n";

  ++s.Indent;
  String oldPath = s.Path;
  s.Path.clear();
  WriteProperties(Instance);
  s.Path = oldPath;

  if (!IgnoreChildren()) {
    TComponent* lookup = FLookupRoot;
    TComponent* rootAncestor = s.RootAncestor;
    std::vector<TComponent*> children = ChildrenOf(Instance, lookup);
    std::vector<TComponent*> ancChildren = ChildrenOf(ancestor, rootAncestor);
    for (size_t i = 0; i < children.size(); ++i) {
      TComponent* child = children[i];
      TComponent* childAncestor = nullptr;
      size_t ancIndex = ancChildren.size();
      for (size_t k = 0; k < ancChildren.size() && !child->Name().empty(); ++k)
        if (SameText(ancChildren[k]->Name(), child->Name())) {
          childAncestor = ancChildren[k];
          ancIndex = k;
          break;
        }
      // A frame is written as what differs from a fresh instance of its class.
      std::unique_ptr<TComponent, void (*)(TComponent*)> fresh(nullptr, [](TComponent* c) { c->Free(); });
      bool isInline = child->ComponentState().Contains(csInline);
      if (isInline && !childAncestor && child->ClassType()->CanCreate()) {
        fresh.reset(static_cast<TComponent*>(child->ClassType()->Create(nullptr)));
        childAncestor = fresh.get();
      }
      bool reordered =
          ancestor && ((childAncestor && !fresh && ancIndex != i) || (!childAncestor && i < ancChildren.size()));
      TRestore childAncestorScope(FAncestor, childAncestor);
      TRestore lookup(FLookupRoot);
      TRestore rootAncestor(s.RootAncestor);
      if (isInline) {
        FLookupRoot = child;
        s.RootAncestor = childAncestor;
      }
      if (reordered)
        s.ChildPos = int(i);
      try {
        WriteComponent(child);
      } catch (...) {
        --s.Indent;  // the end of this level is not written
        throw;
      }
    }
  }
  --s.Indent;
  FText += Spaces(s.Indent) + L"end\n";
}

// ---------------------------------------------------------------------------

String ComponentToText(TComponent* Root)
{
  TWriter writer;
  writer.WriteRootComponent(Root);
  return writer.Text();
}

TComponent* TextToComponent(const String& Text, TComponent* Instance, TComponent* Owner)
{
  TReader reader(Text);
  reader.SetOwner(Owner);
  return reader.ReadRootComponent(Instance);
}
