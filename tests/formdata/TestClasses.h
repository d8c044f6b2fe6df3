// Components for the form-data tests: a form-like root, widgets with a property of
// every kind, a non-visual component, a frame that makes its own children, and a
// count of live instances so tests can see that nothing leaks.
#pragma once

#include <string>
#include <vector>

#include "platform/Classes.h"
#include "platform/Collection.h"
#include "platform/Strings.h"

enum TShape { shCircle, shSquare, shTriangle, shStar };
DECLARE_ENUM_INFO(TShape)
using TShapes = TSet<TShape>;

// Colours as identifiers, the way form data writes them.
constexpr int32_t clTestBlack = 0;
constexpr int32_t clTestRed = 0x0000FF;
constexpr int32_t clTestBtnFace = int32_t(0xFF00000F);
extern const TIdentMap TestColorIdents;

// Live instances of every class below; a test compares it before and after.
extern int gLive;
// Names of the components told Loaded, in order, with a "*" when csLoading was still set.
extern std::vector<String> gLoadedLog;

using TValueEvent = TEvent<void(TObject* Sender, int Value)>;

class TTestFont : public TPersistent {
  DECLARE_CLASS(TTestFont, TPersistent)
public:
  TTestFont() { ++gLive; }
  ~TTestFont() override { --gLive; }
  void Assign(TPersistent* Source) override;
  String FName = L"Tahoma";
  int FSize = 8;
  TShapes FStyle;
};

class TTestItem : public TCollectionItem {
  DECLARE_CLASS(TTestItem, TCollectionItem)
public:
  explicit TTestItem(TCollection* Collection) : TCollectionItem(Collection) { ++gLive; }
  ~TTestItem() override { --gLive; }
  int FWidth = 0;
  String FCaption;
  TComponent* FTarget = nullptr;
};

// Every test component: parents and children for child streaming, and the live count.
class TTestNode : public TComponent {
  DECLARE_CLASS(TTestNode, TComponent)
public:
  explicit TTestNode(TComponent* AOwner);
  ~TTestNode() override;

  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  TComponent* GetParentComponent() const override { return FParentNode; }
  bool HasParent() const override { return true; }
  void SetParentComponent(TComponent* Value) override;
  void SetChildOrder(TComponent* Child, int Order) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TTestNode* ParentNode() const { return FParentNode; }
  const std::vector<TTestNode*>& Children() const { return FChildren; }
  // True when any property setter ran while csLoading and csReading were both set.
  bool FSawReadingState = false;

protected:
  TTestNode* FParentNode = nullptr;
  std::vector<TTestNode*> FChildren;
};

class TTestWidget : public TTestNode {
  DECLARE_CLASS(TTestWidget, TTestNode)
public:
  explicit TTestWidget(TComponent* AOwner);
  ~TTestWidget() override;
  void DefineProperties(TFiler* Filer) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  int Left() const { return FLeft; }
  void SetLeft(int Value);
  TComponent* Buddy() const { return FBuddy; }
  void SetBuddy(TComponent* Value);
  int Hidden() const { return 42; }
  void Loaded() override;

  int FLeft = 0;
  int64_t FCount64 = 0;
  int16_t FSmall = 0;
  uint8_t FByte = 0;
  int32_t FColor = clTestBtnFace;
  TShape FShape = shCircle;
  bool FVisible = true;
  TShapes FShapes;
  double FRatio = 0;
  String FCaption;
  TTestFont* FFont;
  TOwnedCollection* FItems;
  TStringList* FLines;
  TComponent* FBuddy = nullptr;
  TTestWidget* FPeer = nullptr;
  TComponent* FBuddyAtLoaded = nullptr;  // what Buddy was when Loaded came
  TNotifyEvent FOnClick;
  TValueEvent FOnValue;
  std::vector<uint8_t> FData;  // stored as the binary value "Data"
  std::vector<int> FPoints;    // stored as the list value "Points"
};

// A non-visual component: no parent, listed by the root itself.
class TTestThing : public TComponent {
  DECLARE_CLASS(TTestThing, TComponent)
public:
  explicit TTestThing(TComponent* AOwner) : TComponent(AOwner) { ++gLive; }
  ~TTestThing() override { --gLive; }
  void Notification(TComponent* AComponent, TOperation Operation) override;
  TComponent* FLink = nullptr;
  void SetLink(TComponent* Value);
  TNotifyEvent FOnFire;
  String FNote;
};

// The root: children in order, then owned components without a parent.
class TTestForm : public TTestNode {
  DECLARE_CLASS(TTestForm, TTestNode)
public:
  explicit TTestForm(TComponent* AOwner) : TTestNode(AOwner) {}
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  // Orders count the components without a parent, which come first in GetChildren.
  void SetChildOrder(TComponent* Child, int Order) override;

  void ButtonClick(TObject* Sender)
  {
    ++Clicks;
    LastSender = Sender;
  }
  void OtherClick(TObject* Sender) { Clicks += 100; }
  void ValueChanged(TObject* Sender, int Value) { LastValue = Value; }
  int Clicks = 0;
  int LastValue = 0;
  TObject* LastSender = nullptr;
};

// A form class of its own, for resources named after the class.
class TResForm : public TTestForm {
  DECLARE_CLASS(TResForm, TTestForm)
public:
  explicit TResForm(TComponent* AOwner) : TTestForm(AOwner) {}
};
class TResDerivedForm : public TResForm {
  DECLARE_CLASS(TResDerivedForm, TResForm)
public:
  explicit TResDerivedForm(TComponent* AOwner) : TResForm(AOwner) {}
};

// A frame: makes its own child "Inner" on construction, as a frame loads its own data.
class TTestFrame : public TTestNode {
  DECLARE_CLASS(TTestFrame, TTestNode)
public:
  explicit TTestFrame(TComponent* AOwner);
  TTestWidget* Inner;
};

// A container that owns the children read inside it (GetChildOwner).
class TTestContainer : public TTestWidget {
  DECLARE_CLASS(TTestContainer, TTestWidget)
public:
  explicit TTestContainer(TComponent* AOwner) : TTestWidget(AOwner) {}
  TComponent* GetChildOwner() override { return this; }
};

// A component with one defined value "Blob" whose reader a test supplies.
class TTestProbe : public TComponent {
  DECLARE_CLASS(TTestProbe, TComponent)
public:
  explicit TTestProbe(TComponent* AOwner) : TComponent(AOwner) { ++gLive; }
  ~TTestProbe() override { --gLive; }
  void DefineProperties(TFiler* Filer) override;
  static inline TReaderProc ReadBlob;
  static inline TWriterProc WriteBlob;
};

// A component whose constructor fails, and one that fails in Loaded.
class TBrokenThing : public TComponent {
  DECLARE_CLASS(TBrokenThing, TComponent)
public:
  explicit TBrokenThing(TComponent* AOwner) : TComponent(AOwner) { throw EComponentError(L"cannot be made"); }
};

// Registers the test classes and the global lookup of the roots in gGlobalRoots.
void RegisterTestClasses();
extern std::vector<TComponent*> gGlobalRoots;

// The tree below root as "Name:Class(child,child)" for comparisons.
String DescribeTree(TComponent* root);

inline TTestWidget* Widget(TComponent* root, const wchar_t* name)
{
  return dynamic_cast<TTestWidget*>(root->FindComponent(name));
}
