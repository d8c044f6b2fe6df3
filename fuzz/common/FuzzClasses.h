// Components the reader target reads form data into: a property of every kind the
// reader knows (numbers, identifiers, enumerations, sets, strings, floats, owned
// objects, collections, references, events), child streaming, and defined properties
// holding a list and a picture, so that fuzzed text reaches every value path.
#pragma once

#include "platform/Classes.h"
#include "platform/Collection.h"

enum TFuzzShape { fsCircle, fsSquare, fsStar };
DECLARE_ENUM_INFO(TFuzzShape)
using TFuzzShapes = TSet<TFuzzShape>;

class TFuzzFont : public TPersistent {
  DECLARE_CLASS(TFuzzFont, TPersistent)
public:
  // As the class layer's font: an empty name names no face, so the font keeps its own.
  const String& GetName() const { return FName; }
  void SetName(const String& Value)
  {
    if (!Value.empty())
      FName = Value;
  }
  String FName = L"Tahoma";
  int FSize = 8;
  TFuzzShapes FStyle;
};

class TFuzzItem : public TCollectionItem {
  DECLARE_CLASS(TFuzzItem, TCollectionItem)
public:
  explicit TFuzzItem(TCollection* Collection) : TCollectionItem(Collection) {}
  int FWidth = 0;
  double FRatio = 0;
  String FCaption;
  TComponent* FTarget = nullptr;
};

// Parents and children for child streaming.
class TFuzzNode : public TComponent {
  DECLARE_CLASS(TFuzzNode, TComponent)
public:
  explicit TFuzzNode(TComponent* AOwner);
  ~TFuzzNode() override;

  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  TComponent* GetParentComponent() const override { return FParentNode; }
  bool HasParent() const override { return true; }
  void SetParentComponent(TComponent* Value) override;
  void SetChildOrder(TComponent* Child, int Order) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DefineProperties(TFiler* Filer) override;

  void SetBuddy(TComponent* Value);
  TComponent* Buddy() const { return FBuddy; }

  int FLeft = 0;
  int64_t FCount64 = 0;
  int16_t FSmall = 0;
  uint8_t FByte = 0;
  int32_t FColor = 0;
  TFuzzShape FShape = fsCircle;
  bool FVisible = true;
  TFuzzShapes FShapes;
  double FRatio = 0;
  String FCaption;
  TFuzzFont* FFont;
  TOwnedCollection* FItems;
  TNotifyEvent FOnClick;
  std::vector<int> FPoints;       // the list value "Points"
  std::vector<uint8_t> FPicture;  // the binary value "Picture": a BMP file, checked when read

private:
  TFuzzNode* FParentNode = nullptr;
  std::vector<TFuzzNode*> FChildren;
  TComponent* FBuddy = nullptr;
};

// The root: handlers that events bind to by name.
class TFuzzForm : public TFuzzNode {
  DECLARE_CLASS(TFuzzForm, TFuzzNode)
public:
  using TFuzzNode::TFuzzNode;
  void Clicked(TObject*) {}
  void Pressed(TObject*) {}
};

// Registers the classes above for form data; safe to call more than once.
void RegisterFuzzClasses();
