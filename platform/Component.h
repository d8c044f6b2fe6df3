// Persistents and components: assignment, custom stored values, ownership, names,
// free notification and the component states that streaming and destruction set.
#pragma once

#include "platform/SysUtils.h"
#include "platform/TypInfo.h"

#include <unordered_map>

class TFiler;
class TReader;
class TWriter;
class TStream;

class TPersistent : public TObject {
  DECLARE_CLASS(TPersistent, TObject)
public:
  // Copies Source into this object; raises EConvertError when neither side knows how.
  virtual void Assign(TPersistent* Source);
  virtual String GetNamePath() const;

  // Custom stored values beside the published properties.
  virtual void DefineProperties(TFiler* Filer) {}
  virtual TPersistent* GetOwner() const { return nullptr; }

protected:
  virtual void AssignTo(TPersistent* Dest);
  [[noreturn]] void AssignError(TPersistent* Source);
};

enum TOperation { opInsert, opRemove };

enum TComponentStateE {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance,
};
using TComponentState = TSet<TComponentStateE>;
DECLARE_ENUM_INFO(TComponentStateE)

enum TComponentStyleE { csInheritable, csCheckPropAvail, csSubComponent, csTransient };
using TComponentStyle = TSet<TComponentStyleE>;
DECLARE_ENUM_INFO(TComponentStyleE)

using TGetChildProc = std::function<void(TComponent* Child)>;

// A help topic's context number (controls, actions, items).
using THelpContext = int32_t;

class TComponent : public TPersistent {
  DECLARE_CLASS(TComponent, TPersistent)
public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  // Sets csDestroying and tells the owner and every observer while the object still
  // has its full type, so their Notification may inspect it.
  void BeforeDestruction() override;
  void DestroyComponents();
  void Destroying();

  TComponent* GetOwner() const override { return FOwner; }
  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return int(FComponents.size()); }
  TComponent* Components(int Index) const;
  int GetComponentIndex() const;
  void SetComponentIndex(int Value);
  // Case-insensitive; nil when absent or for an empty name.
  TComponent* FindComponent(const String& AName) const;
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);

  const String& Name() const { return FName; }
  intptr_t Tag() const { return FTag; }
  void SetTag(intptr_t Value) { FTag = Value; }
  TComponentState ComponentState() const { return FComponentState; }
  TComponentStyle ComponentStyle() const { return FComponentStyle; }
  String GetNamePath() const override;

  // Observers get Notification(this, opRemove) when this component is freed.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Streaming.
  virtual void GetChildren(const TGetChildProc& Proc, TComponent* Root) {}
  virtual TComponent* GetChildOwner() { return nullptr; }
  virtual TComponent* GetChildParent() { return this; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual bool HasParent() const { return false; }
  virtual void SetParentComponent(TComponent* Value) {}
  virtual void SetChildOrder(TComponent* Child, int Order) {}
  virtual void ReadState(TReader* Reader);
  virtual void WriteState(TWriter* Writer);
  virtual void Loaded();
  virtual void Updating();
  virtual void Updated();

  // Checks the name (an identifier, unique among the owner's components) and renames.
  virtual void SetName(const String& NewName);
  void SetDesigning(bool Value, bool SetChildren = true);
  void SetInline(bool Value);
  void SetAncestor(bool Value);
  void SetSubComponent(bool Value);
  void IncludeState(TComponentStateE State) { FComponentState.Include(State); }
  void ExcludeState(TComponentStateE State) { FComponentState.Exclude(State); }

  virtual void Notification(TComponent* AComponent, TOperation Operation);

protected:
  virtual void ValidateRename(TComponent* AComponent, const String& CurName, const String& NewName);
  virtual void ValidateInsert(TComponent* AComponent) {}
  virtual void ValidateContainer(TComponent* AComponent) {}
  void ChangeName(const String& NewName);
  // For classes that hold every reference to another component through FreeNotification:
  // the removal of a sibling does not concern them, so their owner need not tell them.
  void IgnoreSiblingRemovals() { FIgnoresSiblings = true; }
  TComponentState FComponentState;
  TComponentStyle FComponentStyle{csInheritable};

private:
  // Whether an owned component hears of its siblings' removal: decided once its class is
  // complete, which is known no sooner than the first removal after its insertion.
  enum class THearing : uint8_t { Undecided, Yes, No };

  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void RemoveNotification(TComponent* AComponent);
  void NotifyRemoval();
  void DecideHearing();
  void IndexName(TComponent* AComponent);
  void UnindexName(TComponent* AComponent, const String& AOldName);
  void RebuildNameIndex();

  TComponent* FOwner = nullptr;
  String FName;
  intptr_t FTag = 0;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  // The owned components that hear of their siblings' removal, and those not decided yet.
  std::vector<TComponent*> FListeners;
  std::vector<TComponent*> FUndecided;
  unsigned FListenersRemoved = 0;
  // Owned components by upper-case name. While two share a name (a class may allow it),
  // lookups walk the list instead.
  std::unordered_map<String, TComponent*> FNameIndex;
  int FSharedNames = 0;
  THearing FHearing = THearing::Undecided;
  bool FIgnoresSiblings = false;
  bool FRemovalNotified = false;
};

// A valid identifier: a letter or "_" first, then letters, digits and "_".
bool IsValidIdent(const String& Ident);

// Components reachable by name from form data of other roots ("Form1.Button1").
void RegisterFindGlobalComponentProc(std::function<TComponent*(const String&)> Proc);
TComponent* FindGlobalComponent(const String& Name);
// "A.B.C" below Root; nil when a step is missing.
TComponent* FindNestedComponent(TComponent* Root, const String& NamePath);
