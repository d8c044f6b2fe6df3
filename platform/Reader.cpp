// The block side of the form-data reader: the root, child components with their
// names, owners and parents, reference fix-ups, Loaded, and freeing what was made when
// reading fails.
#include <algorithm>

#include "platform/ReaderState.h"

IMPLEMENT_CLASS(TFiler, TObject)
IMPLEMENT_CLASS(TReader, TFiler)

namespace {

std::vector<TReaderFixup>& GlobalFixups()
{
  static std::vector<TReaderFixup> fixups;
  return fixups;
}

struct TGlobalLoading {
  int Depth = 0;
  std::vector<TWeakRef<TComponent>> Pending;
};

TGlobalLoading& GlobalLoading()
{
  static TGlobalLoading loading;
  return loading;
}

// Sets a resolved reference; false when the target is of the wrong class.
bool ApplyFixup(const TReaderFixup& fixup, TComponent* target)
{
  TObject* instance = fixup.Instance.Get();
  if (!instance)
    return true;
  if (!target->InheritsFrom(fixup.Prop->PropClass))
    return false;
  fixup.Prop->SetObj(instance, target);
  return true;
}

}  // namespace

TComponent* ResolveReferencePath(const String& path, TComponent* lookupRoot)
{
  size_t dot = path.find(L'.');
  if (lookupRoot) {
    if (dot == String::npos) {
      if (TComponent* c = lookupRoot->FindComponent(path))
        return c;
      if (SameText(path, L"Owner") || SameText(path, lookupRoot->Name()))
        return lookupRoot;
    } else {
      if (TComponent* c = FindNestedComponent(lookupRoot, path))
        return c;
      String first = path.substr(0, dot);
      if (SameText(first, L"Owner") || SameText(first, lookupRoot->Name()))
        return FindNestedComponent(lookupRoot, path.substr(dot + 1));
    }
  }
  String first = path.substr(0, dot);
  TComponent* global = FindGlobalComponent(first);
  if (!global || global == lookupRoot)
    return nullptr;
  return dot == String::npos ? global : FindNestedComponent(global, path.substr(dot + 1));
}

void AddGlobalFixup(TReaderFixup fixup)
{
  GlobalFixups().push_back(std::move(fixup));
}

void GlobalFixupReferences()
{
  auto& fixups = GlobalFixups();
  // Setters may read further form data; work on a copy and keep what stays unresolved.
  std::vector<TReaderFixup> work = std::move(fixups);
  fixups.clear();
  std::vector<TReaderFixup> still;
  for (auto& f : work) {
    if (!f.Instance.Alive())
      continue;
    TComponent* target = ResolveReferencePath(f.Path, f.LookupRoot.Get());
    if (!target)
      still.push_back(std::move(f));
    else
      ApplyFixup(f, target);
  }
  for (auto& f : still)
    fixups.push_back(std::move(f));
}

void BeginGlobalLoading()
{
  ++GlobalLoading().Depth;
}

void NotifyGlobalLoading()
{
  std::vector<TWeakRef<TComponent>> pending = std::move(GlobalLoading().Pending);
  GlobalLoading().Pending.clear();
  for (auto& ref : pending)
    if (TComponent* c = ref.Get())
      c->Loaded();
}

void EndGlobalLoading()
{
  TGlobalLoading& g = GlobalLoading();
  if (g.Depth > 0 && --g.Depth == 0) {
    // Reading failed before NotifyGlobalLoading: nobody is told, but nobody stays loading.
    for (auto& ref : g.Pending)
      if (TComponent* c = ref.Get())
        c->ExcludeState(csLoading);
    g.Pending.clear();
  }
}

bool GlobalLoadingActive()
{
  return GlobalLoading().Depth > 0;
}

void DeferLoaded(const std::vector<TWeakRef<TComponent>>& components)
{
  auto& pending = GlobalLoading().Pending;
  for (const auto& ref : components) {
    TComponent* c = ref.Get();
    bool known = std::any_of(pending.begin(), pending.end(), [c](const auto& r) { return r.Get() == c; });
    if (c && !known)
      pending.push_back(ref);
  }
}

// ---------------------------------------------------------------------------

String FormDataBytesToText(const uint8_t* Data, size_t Size)
{
  if (Size >= 2 && Data[0] == 0xFF && Data[1] == 0xFE) {
    String text;
    text.reserve(Size / 2);
    for (size_t i = 2; i + 1 < Size; i += 2)
      text += wchar_t(Data[i] | (Data[i + 1] << 8));
    return text;
  }
  if (Size >= 3 && Data[0] == 0xEF && Data[1] == 0xBB && Data[2] == 0xBF) {
    Data += 3;
    Size -= 3;
  }
  // Resources may carry padding zeros after the text.
  while (Size > 0 && Data[Size - 1] == 0)
    --Size;
  return FromUtf8(std::string(reinterpret_cast<const char*>(Data), Size));
}

TReader::TReader(const String& Text) : FState(std::make_unique<TState>(*this, Text)) {}

TReader::~TReader() = default;

TComponent* TReader::ReadRootComponent(TComponent* Root)
{
  TState& s = *FState;
  if (s.Tree)
    throw EReadError(L"The form data was read already");
  try {
    s.Tree = ParseFormText(s.Text);
  } catch (const EFormSyntaxError& e) {
    throw EReadError(LinePrefix(e.Line()) + e.Message());
  }
  const TFormObject& top = *s.Tree;
  s.Aborting = false;
  try {
    if (!Root) {
      TClass cls = s.FindComponentClass(top.ClassName, top.Line);
      try {
        Root = static_cast<TComponent*>(cls->Create(FOwner));
      } catch (const Exception& e) {
        s.Fail(top.Line, L"Error creating " + top.ClassName + L": " + e.Message());
      }
      s.Created.push_back(Root);
    }
    FRoot = Root;
    FLookupRoot = Root;
    FOwner = Root;
    FParent = nullptr;
    Root->IncludeState(csLoading);
    Root->IncludeState(csReading);
    if (top.Kind == TFormObjectKind::Inline)
      Root->SetInline(true);
    if (!top.Name.empty()) {
      // A second instance of a form gets Form1_1, Form1_2, ... so names stay unique.
      String name = top.Name;
      for (int i = 1;; ++i) {
        TComponent* other = FindGlobalComponent(name);
        if (!other || other == Root)
          break;
        name = top.Name + L"_" + IntToStr(i);
      }
      s.SetComponentName(Root, name, top.Line);
    }
    s.RememberLoaded(Root);
    s.Blocks.push_back(&top);
    Root->ReadState(this);
    s.Blocks.pop_back();
    Root->ExcludeState(csReading);
    s.ResolveFixups();
    if (GlobalLoadingActive()) {
      DeferLoaded(s.Loaded);
    } else {
      for (auto& ref : s.Loaded)
        if (TComponent* c = ref.Get())
          c->Loaded();
    }
  } catch (...) {
    s.Cleanup();
    throw;
  }
  s.Created.clear();
  s.Loaded.clear();
  GlobalFixupReferences();
  return Root;
}

void TReader::TState::Cleanup()
{
  Blocks.clear();
  Frames.clear();
  Fixups.clear();
  // Latest first, so that a component goes before the owner that made it; those freed
  // with their owner already read nil.
  for (auto it = Created.rbegin(); it != Created.rend(); ++it) {
    if (TComponent* c = it->Get()) {
      try {
        c->Free();
      } catch (...) {
        // A destructor that raises must not hide the reading error.
      }
    }
  }
  for (auto& ref : Loaded) {
    if (TComponent* c = ref.Get()) {
      c->ExcludeState(csLoading);
      c->ExcludeState(csReading);
    }
  }
  Created.clear();
  Loaded.clear();
}

void TReader::ReadData(TComponent* Instance)
{
  TState& s = *FState;
  if (s.Blocks.empty())
    throw EReadError(L"No form data block to read for " + Instance->ClassName());
  const TFormObject& node = *s.Blocks.back();
  s.PushProps(node.Properties, node.Children.empty() ? node.EndLine : node.Children.front().Line);
  size_t depth = s.Frames.size();
  while (!EndOfList())
    ReadProperty(Instance);
  s.Frames.resize(depth - 1);

  TRestore owner(FOwner);
  TRestore parent(FParent);
  FParent = Instance->GetChildParent();
  FOwner = Instance->GetChildOwner();
  if (!FOwner)
    FOwner = Instance->ComponentState().Contains(csInline) ? Instance : FRoot;
  for (const TFormObject& child : node.Children)
    s.ReadComponent(child);
}

TClass TReader::TState::FindComponentClass(const String& name, int line)
{
  TClass cls = GetClass(name);
  if (!cls)
    CallEvent(R.OnFindComponentClass, &R, name, cls);
  if (!cls || !cls->InheritsFrom(TComponent::StaticClass()))
    Fail(line, L"Class " + name + L" not found");
  if (!cls->CanCreate())
    Fail(line, L"Class " + name + L" cannot be created");
  return cls;
}

void TReader::TState::SetComponentName(TComponent* component, const String& name, int line)
{
  String newName = name;
  CallEvent(R.OnSetName, &R, component, newName);
  try {
    component->SetName(newName);
  } catch (const EReadError&) {
    throw;
  } catch (const Exception& e) {
    Fail(line, e.Message());
  }
}

void TReader::TState::RememberLoaded(TComponent* component)
{
  auto it = std::find_if(Loaded.begin(), Loaded.end(), [component](const auto& r) { return r.Get() == component; });
  if (it != Loaded.end())
    Loaded.erase(it);
  Loaded.push_back(component);
}

void TReader::TState::ReadComponent(const TFormObject& node)
{
  TComponent* result = nullptr;
  TComponent* oldLookupRoot = R.FLookupRoot;
  size_t frames = Frames.size();
  size_t blocks = Blocks.size();
  size_t created = Created.size();
  String label = node.Name.empty() ? node.ClassName : node.Name;
  try {
    if (node.Kind == TFormObjectKind::Inherited) {
      for (TComponent* place : {R.FOwner, R.FLookupRoot, R.FRoot})
        if (!result && place)
          result = place->FindComponent(node.Name);
      if (!result)
        Fail(node.Line, L"Inherited component " + label + L" not found");
    } else {
      TClass cls = FindComponentClass(node.ClassName, node.Line);
      try {
        result = static_cast<TComponent*>(cls->Create(R.FOwner));
      } catch (const Exception& e) {
        Fail(node.Line, L"Error creating " + label + L": " + e.Message());
      }
      Created.push_back(result);
      if (node.Kind == TFormObjectKind::Inline)
        result->SetInline(true);
    }
    result->IncludeState(csLoading);
    result->IncludeState(csReading);
    if (node.Kind != TFormObjectKind::Inherited && !node.Name.empty())
      SetComponentName(result, node.Name, node.Line);
    RememberLoaded(result);
    if (node.Kind != TFormObjectKind::Inherited && R.FParent && R.FParent != result) {
      try {
        result->SetParentComponent(R.FParent);
      } catch (const EReadError&) {
        throw;
      } catch (const Exception& e) {
        Fail(node.Line, L"Error reading " + label + L": " + e.Message());
      }
    }
    if (result->ComponentState().Contains(csInline))
      R.FLookupRoot = result;
    Blocks.push_back(&node);
    result->ReadState(&R);
    Blocks.pop_back();
    R.FLookupRoot = oldLookupRoot;
    result->ExcludeState(csReading);
    if (node.Position && R.FParent) {
      if (*node.Position < 0 || *node.Position > INT32_MAX)
        Fail(node.Line, L"Invalid child position " + IntToStr(*node.Position));
      R.FParent->SetChildOrder(result, int(*node.Position));
    }
  } catch (const Exception& e) {
    R.FLookupRoot = oldLookupRoot;
    Frames.resize(std::min(frames, Frames.size()));
    Blocks.resize(blocks);
    String message = e.Message();
    if (!dynamic_cast<const EReadError*>(&e))
      message = LinePrefix(node.Line) + L"Error reading " + label + L": " + message;
    if (!Offer(message)) {
      if (dynamic_cast<const EReadError*>(&e))
        throw;
      throw EReadError(message);
    }
    // Handled: the component in error is left out, with every component read into it.
    if (result && node.Kind == TFormObjectKind::Inherited)
      result->ExcludeState(csReading);
    while (Created.size() > created) {
      TWeakRef<TComponent> ref = Created.back();
      Created.pop_back();
      if (TComponent* c = ref.Get())
        c->Free();
    }
  }
}

void TReader::TState::ResolveFixups()
{
  std::vector<TReaderFixup> fixups = std::move(Fixups);
  Fixups.clear();
  for (auto& f : fixups) {
    if (!f.Instance.Alive())
      continue;
    TComponent* target = ResolveReferencePath(f.Path, f.LookupRoot.Get());
    if (!target) {
      AddGlobalFixup(std::move(f));  // it may be read later; until then it stays nil
      continue;
    }
    if (!ApplyFixup(f, target)) {
      String message = LinePrefix(f.Line) + L"Component " + f.Path + L" is not a " + f.Prop->PropClass->ClassName();
      if (!Offer(message))
        throw EReadError(message);
    }
  }
}
