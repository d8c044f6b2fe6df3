// Internal to the form-data reader: the parsed tree, the value cursor that the
// primitive reads move, the components made so far and the pending references.
// Shared by Reader.cpp (the walk over blocks) and ReaderValues.cpp (values).
#pragma once

#include <optional>

#include "platform/Filer.h"
#include "platform/FormParser.h"

// One level of the value cursor: a run of values, of collection items or of properties.
struct TReaderFrame {
  enum TKind { Values, Items, Props };
  TKind Kind = Values;
  const TFormValue* ValueRun = nullptr;
  const TFormItem* ItemRun = nullptr;
  const TFormProperty* PropRun = nullptr;
  size_t Count = 0;
  size_t Index = 0;
  bool OrderRead = false;  // Items: the current item's order integer was read
  bool Sealed = false;     // the value of one property: reading past its end is an error
  int EndLine = 0;

  bool AtEnd() const { return Index >= Count; }
};

// A component reference read by name, set once the whole tree is there.
struct TReaderFixup {
  TWeakRef<TObject> Instance;
  const TPropInfo* Prop = nullptr;
  String Path;
  TWeakRef<TComponent> LookupRoot;
  int Line = 0;
};

struct TReader::TState {
  explicit TState(TReader& reader, String text) : R(reader), Text(std::move(text)) {}

  TReader& R;
  String Text;
  std::optional<TFormObject> Tree;
  std::vector<const TFormObject*> Blocks;  // object blocks being read, innermost last
  std::vector<TReaderFrame> Frames;
  // The defined property being looked for while DefineProperties runs.
  String PropName;
  const TFormValue* PropValue = nullptr;
  int PropLine = 0;
  bool PropHandled = false;
  // Set once OnError declined an error: outer levels no longer offer it.
  bool Aborting = false;
  std::vector<TWeakRef<TComponent>> Created;  // made by this reader, in creation order
  std::vector<TWeakRef<TComponent>> Loaded;   // to be told Loaded, in creation order
  std::vector<TReaderFixup> Fixups;

  [[noreturn]] void Fail(int line, const String& message) const;
  // Offers an error to OnError; true when it was handled and reading goes on.
  bool Offer(const String& message);

  // Values
  const TReaderFrame& Top() const;
  TReaderFrame& Top();
  void PushValues(const TFormValue* run, size_t count, int endLine, bool sealed);
  void PushProps(const std::vector<TFormProperty>& props, int endLine);
  const TFormValue& TakeValue(const wchar_t* expected);
  void ReadPropertyValue(TPersistent* instance, const TFormProperty& prop);
  void ReadPublished(TPersistent* instance, const TPropInfo& info, const TFormProperty& prop);
  void ReadDefined(TPersistent* instance, const String& name, const TFormProperty& prop, bool readOnly);

  // Blocks
  TClass FindComponentClass(const String& name, int line);
  void ReadComponent(const TFormObject& node);
  void SetComponentName(TComponent* component, const String& name, int line);
  void RememberLoaded(TComponent* component);
  void ResolveFixups();
  void Cleanup();
};

// Finds what a reference path names, seen from LookupRoot; nil when nothing (yet).
TComponent* ResolveReferencePath(const String& path, TComponent* lookupRoot);
// Parks an unresolved reference for GlobalFixupReferences.
void AddGlobalFixup(TReaderFixup fixup);
// Global loading: the components whose Loaded waits for NotifyGlobalLoading.
bool GlobalLoadingActive();
void DeferLoaded(const std::vector<TWeakRef<TComponent>>& components);
String LinePrefix(int line);
