// The value side of the form-data reader: the cursor that the primitive reads move
// through lists, collections and property runs, and the assignment of one property
// value to a published or defined property.
#include <cmath>
#include <limits>
#include <utility>

#include "platform/Collection.h"
#include "platform/ReaderState.h"
#include "platform/Streams.h"

namespace {

TValueType IntKind(int64_t v)
{
  if (v >= INT8_MIN && v <= INT8_MAX)
    return vaInt8;
  if (v >= INT16_MIN && v <= INT16_MAX)
    return vaInt16;
  if (v >= INT32_MIN && v <= INT32_MAX)
    return vaInt32;
  return vaInt64;
}

bool IsIntKind(TValueType t)
{
  return t == vaInt8 || t == vaInt16 || t == vaInt32 || t == vaInt64;
}

bool IsFloatWord(const String& s, double& value)
{
  if (FormSameWord(s, L"NAN"))
    value = std::numeric_limits<double>::quiet_NaN();
  else if (FormSameWord(s, L"INF"))
    value = std::numeric_limits<double>::infinity();
  else if (FormSameWord(s, L"-INF"))
    value = -std::numeric_limits<double>::infinity();
  else
    return false;
  return true;
}

TValueType KindOf(const TFormValue& v)
{
  switch (v.Kind) {
    case TFormValueKind::Integer:
      return IntKind(v.Int);
    case TFormValueKind::Float:
      return vaExtended;
    case TFormValueKind::String: {
      for (wchar_t ch : v.Text)
        if (ch > 0xFF)
          return vaWString;
      return v.Text.size() > 255 ? vaLString : vaString;
    }
    case TFormValueKind::Ident:
      if (FormSameWord(v.Text, L"True"))
        return vaTrue;
      if (FormSameWord(v.Text, L"False"))
        return vaFalse;
      if (FormSameWord(v.Text, L"nil"))
        return vaNil;
      return vaIdent;
    case TFormValueKind::Set:
      return vaSet;
    case TFormValueKind::List:
      return vaList;
    case TFormValueKind::Collection:
      return vaCollection;
    case TFormValueKind::Binary:
      return vaBinary;
  }
  return vaNull;
}

const wchar_t* KindName(const TFormValue& v)
{
  switch (v.Kind) {
    case TFormValueKind::Integer:
      return L"an integer";
    case TFormValueKind::Float:
      return L"a float";
    case TFormValueKind::String:
      return L"a string";
    case TFormValueKind::Ident:
      return L"an identifier";
    case TFormValueKind::Set:
      return L"a set";
    case TFormValueKind::List:
      return L"a list";
    case TFormValueKind::Collection:
      return L"a collection";
    case TFormValueKind::Binary:
      return L"binary data";
  }
  return L"a value";
}

}  // namespace

String LinePrefix(int line)
{
  return L"Line " + IntToStr(line) + L": ";
}

void TReader::TState::Fail(int line, const String& message) const
{
  throw EReadError(LinePrefix(line) + message);
}

bool TReader::TState::Offer(const String& message)
{
  if (Aborting)
    return false;
  bool handled = false;
  CallEvent(R.OnError, &R, message, handled);
  if (!handled)
    Aborting = true;
  return handled;
}

// ---------------------------------------------------------------------------
// The cursor

const TReaderFrame& TReader::TState::Top() const
{
  if (Frames.empty())
    Fail(Blocks.empty() ? 0 : Blocks.back()->Line, L"No value to read here");
  return Frames.back();
}

TReaderFrame& TReader::TState::Top()
{
  return const_cast<TReaderFrame&>(static_cast<const TState*>(this)->Top());
}

void TReader::TState::PushValues(const TFormValue* run, size_t count, int endLine, bool sealed)
{
  TReaderFrame f;
  f.Kind = TReaderFrame::Values;
  f.ValueRun = run;
  f.Count = count;
  f.EndLine = endLine;
  f.Sealed = sealed;
  Frames.push_back(f);
}

void TReader::TState::PushProps(const std::vector<TFormProperty>& props, int endLine)
{
  TReaderFrame f;
  f.Kind = TReaderFrame::Props;
  f.PropRun = props.data();
  f.Count = props.size();
  f.EndLine = endLine;
  Frames.push_back(f);
}

const TFormValue& TReader::TState::TakeValue(const wchar_t* expected)
{
  TReaderFrame& f = Top();
  if (f.Kind != TReaderFrame::Values || f.AtEnd())
    Fail(R.Line(), String(expected) + L" expected");
  return f.ValueRun[f.Index++];
}

int TReader::Line() const
{
  if (FState->Frames.empty())
    return FState->Blocks.empty() ? 0 : FState->Blocks.back()->Line;
  const TReaderFrame& f = FState->Frames.back();
  if (f.AtEnd())
    return f.EndLine;
  switch (f.Kind) {
    case TReaderFrame::Values:
      return f.ValueRun[f.Index].Line;
    case TReaderFrame::Items:
      return f.ItemRun[f.Index].Line;
    case TReaderFrame::Props:
      return f.PropRun[f.Index].Line;
  }
  return 0;
}

TValueType TReader::NextValue()
{
  if (FState->Frames.empty())
    return vaNull;
  const TReaderFrame& f = FState->Frames.back();
  if (f.AtEnd())
    return vaNull;
  switch (f.Kind) {
    case TReaderFrame::Values:
      return KindOf(f.ValueRun[f.Index]);
    case TReaderFrame::Items: {
      const TFormItem& item = f.ItemRun[f.Index];
      return item.Order && !f.OrderRead ? IntKind(*item.Order) : vaList;
    }
    case TReaderFrame::Props:
      return vaIdent;
  }
  return vaNull;
}

TValueType TReader::ReadValue()
{
  TReaderFrame& f = FState->Top();
  TValueType kind = NextValue();
  if (kind == vaNull) {
    if (f.Sealed)
      FState->Fail(Line(), L"Unexpected end of value");
    FState->Frames.pop_back();
    return vaNull;
  }
  switch (f.Kind) {
    case TReaderFrame::Values: {
      const TFormValue& v = f.ValueRun[f.Index++];
      if (v.Kind == TFormValueKind::List) {
        FState->PushValues(v.Items.data(), v.Items.size(), v.EndLine, false);
      } else if (v.Kind == TFormValueKind::Collection) {
        TReaderFrame items;
        items.Kind = TReaderFrame::Items;
        items.ItemRun = v.Collection.data();
        items.Count = v.Collection.size();
        items.EndLine = v.EndLine;
        FState->Frames.push_back(items);
      }
      return kind;
    }
    case TReaderFrame::Items: {
      if (kind != vaList) {
        f.OrderRead = true;
        return kind;
      }
      const TFormItem& item = f.ItemRun[f.Index++];
      f.OrderRead = false;
      FState->PushProps(item.Properties, item.EndLine);
      return vaList;
    }
    case TReaderFrame::Props:
      FState->Fail(Line(), L"Value expected but property " + f.PropRun[f.Index].Name + L" found");
  }
  return kind;
}

void TReader::CheckValue(TValueType Value)
{
  int line = Line();
  TValueType kind = ReadValue();
  if (kind != Value) {
    if (Value == vaNull)
      FState->Fail(line, L"End of list expected");
    if (Value == vaList)
      FState->Fail(line, L"List expected");
    if (Value == vaCollection)
      FState->Fail(line, L"Collection expected");
    FState->Fail(line, L"Invalid value");
  }
}

bool TReader::EndOfList()
{
  return NextValue() == vaNull;
}

void TReader::ReadListBegin()
{
  CheckValue(vaList);
}

void TReader::ReadListEnd()
{
  CheckValue(vaNull);
}

int64_t TReader::ReadInt64()
{
  TReaderFrame& f = FState->Top();
  if (f.Kind == TReaderFrame::Items && !f.AtEnd() && IsIntKind(NextValue())) {
    f.OrderRead = true;
    return *f.ItemRun[f.Index].Order;
  }
  const TFormValue& v = FState->TakeValue(L"Integer");
  if (v.Kind != TFormValueKind::Integer)
    FState->Fail(v.Line, String(L"Integer expected but ") + KindName(v) + L" found");
  return v.Int;
}

int32_t TReader::ReadInteger()
{
  int line = Line();
  int64_t v = ReadInt64();
  if (v < INT32_MIN || v > INT32_MAX)
    FState->Fail(line, L"Integer " + IntToStr(v) + L" out of range");
  return int32_t(v);
}

bool TReader::ReadBoolean()
{
  const TFormValue& v = FState->TakeValue(L"Boolean");
  TValueType kind = KindOf(v);
  if (kind != vaTrue && kind != vaFalse)
    FState->Fail(v.Line, L"True or False expected");
  return kind == vaTrue;
}

static wchar_t ReaderCharOf(const TFormValue& v, TReader::TState& state)
{
  if (v.Kind != TFormValueKind::String || v.Text.size() != 1)
    state.Fail(v.Line, L"One character expected");
  return v.Text[0];
}

wchar_t TReader::ReadChar()
{
  return ReaderCharOf(FState->TakeValue(L"Character"), *FState);
}

double TReader::ReadFloat()
{
  const TFormValue& v = FState->TakeValue(L"Float");
  double value = 0;
  if (v.Kind == TFormValueKind::Float)
    return v.Float;
  if (v.Kind == TFormValueKind::Integer)
    return double(v.Int);
  if (v.Kind == TFormValueKind::Ident && IsFloatWord(v.Text, value))
    return value;
  FState->Fail(v.Line, String(L"Float expected but ") + KindName(v) + L" found");
}

String TReader::ReadString()
{
  const TFormValue& v = FState->TakeValue(L"String");
  if (v.Kind != TFormValueKind::String)
    FState->Fail(v.Line, String(L"String expected but ") + KindName(v) + L" found");
  return v.Text;
}

String TReader::ReadIdent()
{
  const TFormValue& v = FState->TakeValue(L"Identifier");
  if (v.Kind != TFormValueKind::Ident)
    FState->Fail(v.Line, String(L"Identifier expected but ") + KindName(v) + L" found");
  return v.Text;
}

void TReader::ReadCollection(TCollection* Collection)
{
  CheckValue(vaCollection);
  WithUpdate(*Collection, [&] {
    Collection->Clear();
    while (!EndOfList()) {
      if (IsIntKind(NextValue()))
        ReadInteger();  // the item's order: items are read in the order written
      TCollectionItem* item = Collection->Add();
      ReadListBegin();
      while (!EndOfList())
        ReadProperty(item);
      ReadListEnd();
    }
    ReadListEnd();
  });
}

// ---------------------------------------------------------------------------
// Properties

void TReader::ReadProperty(TPersistent* Instance)
{
  TReaderFrame& f = FState->Top();
  if (f.Kind != TReaderFrame::Props || f.AtEnd())
    FState->Fail(Line(), L"Property expected");
  const TFormProperty& prop = f.PropRun[f.Index++];
  size_t depth = FState->Frames.size();
  try {
    FState->ReadPropertyValue(Instance, prop);
  } catch (const EReadError& e) {
    if (!FState->Offer(e.Message()))
      throw;
  } catch (const Exception& e) {
    String message = LinePrefix(prop.Line) + L"Error reading " + prop.Name + L": " + e.Message();
    if (!FState->Offer(message))
      throw EReadError(message);
  }
  // A handled error may leave the cursor inside the value: step back out.
  FState->Frames.resize(depth);
}

void TReader::TState::ReadPropertyValue(TPersistent* instance, const TFormProperty& prop)
{
  // Dotted names walk into owned objects (Font.Name) or sub-components.
  TPersistent* target = instance;
  size_t start = 0;
  for (;;) {
    size_t dot = prop.Name.find(L'.', start);
    String part = prop.Name.substr(start, dot == String::npos ? String::npos : dot - start);
    const TPropInfo* info = GetPropInfo(target, part);
    if (dot == String::npos) {
      if (info && info->IsWritable())
        ReadPublished(target, *info, prop);
      else
        ReadDefined(target, part, prop, info != nullptr);
      return;
    }
    TPersistent* next = nullptr;
    if (info && info->Kind == TPropKind::Object)
      next = dynamic_cast<TPersistent*>(info->GetObj(target));
    else if (auto* component = dynamic_cast<TComponent*>(target); component && !info)
      next = component->FindComponent(part);
    if (!next)
      Fail(prop.Line, L"Property " + prop.Name.substr(0, dot) + L" does not exist");
    target = next;
    start = dot + 1;
  }
}

void TReader::TState::ReadDefined(TPersistent* instance, const String& name, const TFormProperty& prop, bool readOnly)
{
  // A defined reader may read properties of its own (items of a list): keep ours apart.
  String outerName = std::exchange(PropName, name);
  const TFormValue* outerValue = std::exchange(PropValue, &prop.Value);
  int outerLine = std::exchange(PropLine, prop.Line);
  bool outerHandled = std::exchange(PropHandled, false);
  auto restore = [&] {
    PropName = outerName;
    PropValue = outerValue;
    PropLine = outerLine;
    return std::exchange(PropHandled, outerHandled);
  };
  PushValues(&prop.Value, 1, prop.Value.Line, true);
  try {
    instance->DefineProperties(&R);
  } catch (...) {
    restore();
    throw;
  }
  if (!restore())
    Fail(prop.Line, L"Property " + prop.Name + (readOnly ? L" is read-only" : L" does not exist"));
}

void TReader::DefineProperty(const String& Name, const TReaderProc& ReadData, const TWriterProc&, bool)
{
  TState& s = *FState;
  if (s.PropHandled || !s.PropValue || !ReadData || !SameText(Name, s.PropName))
    return;
  s.PropHandled = true;
  size_t depth = s.Frames.size();
  ReadData(this);
  if (s.Frames.size() != depth || !s.Frames.back().AtEnd())
    s.Fail(s.PropLine, L"Invalid value for property " + Name);
}

void TReader::DefineBinaryProperty(const String& Name, const TStreamProc& ReadData, const TStreamProc&, bool)
{
  TState& s = *FState;
  if (s.PropHandled || !s.PropValue || !ReadData || !SameText(Name, s.PropName))
    return;
  s.PropHandled = true;
  const TFormValue& v = *s.PropValue;
  if (v.Kind != TFormValueKind::Binary)
    s.Fail(v.Line, String(L"Binary data expected for property ") + Name + L" but " + KindName(v) + L" found");
  TMemoryStream stream;
  if (!v.Bytes.empty())
    stream.WriteBuffer(v.Bytes.data(), int64_t(v.Bytes.size()));
  stream.SetPosition(0);
  s.Top().Index = s.Top().Count;
  ReadData(&stream);
}

void TReader::TState::ReadPublished(TPersistent* instance, const TPropInfo& info, const TFormProperty& prop)
{
  const TFormValue& v = prop.Value;
  auto invalid = [&](const String& why) { Fail(v.Line, L"Invalid value for property " + prop.Name + L": " + why); };
  auto expect = [&](TFormValueKind kind, const wchar_t* what) {
    if (v.Kind != kind)
      invalid(String(what) + L" expected but " + KindName(v) + L" found");
  };
  switch (info.Kind) {
    case TPropKind::Integer: {
      int64_t value = v.Int;
      if (v.Kind == TFormValueKind::Ident && info.Idents) {
        if (!IdentToInt(*info.Idents, v.Text, value))
          invalid(L"unknown identifier " + v.Text);
      } else {
        expect(TFormValueKind::Integer, L"an integer");
        if (value < info.MinValue || value > info.MaxValue)
          invalid(L"integer " + IntToStr(value) + L" out of range");
      }
      info.SetOrd(instance, value);
      return;
    }
    case TPropKind::Enum:
    case TPropKind::Bool: {
      expect(TFormValueKind::Ident, L"an identifier");
      int value = GetEnumValue(info.EnumType, v.Text);
      if (value < 0)
        invalid(L"unknown identifier " + v.Text);
      info.SetOrd(instance, value);
      return;
    }
    case TPropKind::Set: {
      expect(TFormValueKind::Set, L"a set");
      uint64_t mask = 0;
      for (const String& name : v.Names) {
        int bit = GetEnumValue(info.EnumType, name);
        if (bit < 0 || bit >= 64)
          invalid(L"unknown set element " + name);
        mask |= uint64_t(1) << bit;
      }
      info.SetOrd(instance, int64_t(mask));
      return;
    }
    case TPropKind::Float: {
      double value = 0;
      if (v.Kind == TFormValueKind::Float)
        value = v.Float;
      else if (v.Kind == TFormValueKind::Integer)
        value = double(v.Int);
      else if (!(v.Kind == TFormValueKind::Ident && IsFloatWord(v.Text, value)))
        invalid(String(L"a number expected but ") + KindName(v) + L" found");
      info.SetFloat(instance, value);
      return;
    }
    case TPropKind::String:
      expect(TFormValueKind::String, L"a string");
      info.SetStr(instance, v.Text);
      return;
    case TPropKind::Object: {
      auto* collection = dynamic_cast<TCollection*>(info.GetObj(instance));
      if (!collection)
        Fail(prop.Line, L"Property " + prop.Name + L" cannot be assigned a value");
      expect(TFormValueKind::Collection, L"a collection");
      PushValues(&v, 1, v.Line, true);
      R.ReadCollection(collection);
      Frames.pop_back();
      return;
    }
    case TPropKind::Component: {
      expect(TFormValueKind::Ident, L"a component name");
      if (FormSameWord(v.Text, L"nil")) {
        info.SetObj(instance, nullptr);
        return;
      }
      TReaderFixup fixup;
      fixup.Instance = instance;
      fixup.Prop = &info;
      fixup.Path = v.Text;
      fixup.LookupRoot = R.LookupRoot() ? R.LookupRoot() : R.Root();
      fixup.Line = v.Line;
      Fixups.push_back(std::move(fixup));
      return;
    }
    case TPropKind::Event: {
      expect(TFormValueKind::Ident, L"a method name");
      if (FormSameWord(v.Text, L"nil")) {
        info.SetMethod(instance, TMethod{});
        return;
      }
      TComponent* methodRoot = R.LookupRoot() ? R.LookupRoot() : R.Root();
      TMethod method = MethodAddress(methodRoot, v.Text);
      if (!method.Assigned() && methodRoot != R.Root())
        method = MethodAddress(R.Root(), v.Text);
      bool error = !method.Assigned();
      CallEvent(R.OnFindMethod, &R, v.Text, method, error);
      if (error || !method.Assigned())
        Fail(v.Line, L"Method " + v.Text + L" not found");
      if (method.Signature && info.EventSignature && *method.Signature != *info.EventSignature)
        Fail(v.Line, L"Method " + v.Text + L" does not match the type of " + prop.Name);
      info.SetMethod(instance, method);
      return;
    }
  }
}
