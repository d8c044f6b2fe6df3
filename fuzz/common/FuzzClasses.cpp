#include "fuzz/common/FuzzClasses.h"

#include <algorithm>

#include "platform/BmpFormat.h"

DEFINE_ENUM_INFO(TFuzzShape, L"fsCircle", L"fsSquare", L"fsStar")

namespace {

const TIdentMap FuzzColorIdents = {{0, L"clBlack"}, {0x0000FF, L"clRed"}, {int32_t(0xFF00000F), L"clBtnFace"}};

}  // namespace

PUBLISHED(TFuzzFont, TPersistent)
{
  p.Prop(L"Name", &TFuzzFont::GetName, &TFuzzFont::SetName);
  p.Prop(L"Size", &TFuzzFont::FSize, &TFuzzFont::FSize).Default(8);
  p.Prop(L"Style", &TFuzzFont::FStyle, &TFuzzFont::FStyle);
}

PUBLISHED(TFuzzItem, TCollectionItem)
{
  p.Prop(L"Width", &TFuzzItem::FWidth, &TFuzzItem::FWidth).Default(0);
  p.Prop(L"Ratio", &TFuzzItem::FRatio, &TFuzzItem::FRatio);
  p.Prop(L"Caption", &TFuzzItem::FCaption, &TFuzzItem::FCaption);
  p.Component(L"Target", &TFuzzItem::FTarget, &TFuzzItem::FTarget);
}

PUBLISHED(TFuzzNode, TComponent)
{
  p.Prop(L"Left", &TFuzzNode::FLeft, &TFuzzNode::FLeft).Default(0);
  p.Prop(L"Count64", &TFuzzNode::FCount64, &TFuzzNode::FCount64);
  p.Prop(L"Small", &TFuzzNode::FSmall, &TFuzzNode::FSmall).Default(0);
  p.Prop(L"Byte", &TFuzzNode::FByte, &TFuzzNode::FByte).Default(0);
  p.Prop(L"Color", &TFuzzNode::FColor, &TFuzzNode::FColor).Default(0).Idents(&FuzzColorIdents);
  p.Prop(L"Shape", &TFuzzNode::FShape, &TFuzzNode::FShape).Default(fsCircle);
  p.Prop(L"Visible", &TFuzzNode::FVisible, &TFuzzNode::FVisible).Default(true);
  p.Prop(L"Shapes", &TFuzzNode::FShapes, &TFuzzNode::FShapes);
  p.Prop(L"Ratio", &TFuzzNode::FRatio, &TFuzzNode::FRatio);
  p.Prop(L"Caption", &TFuzzNode::FCaption, &TFuzzNode::FCaption);
  p.Object(L"Font", &TFuzzNode::FFont);
  p.Object(L"Items", &TFuzzNode::FItems);
  p.Component(L"Buddy", &TFuzzNode::Buddy, &TFuzzNode::SetBuddy);
  p.Event(L"OnClick", &TFuzzNode::FOnClick);
}

PUBLISHED(TFuzzForm, TFuzzNode)
{
  p.Method(L"Clicked", &TFuzzForm::Clicked);
  p.Method(L"Pressed", &TFuzzForm::Pressed);
}

TFuzzNode::TFuzzNode(TComponent* AOwner)
    : TComponent(AOwner), FFont(new TFuzzFont), FItems(new TOwnedCollection(this, TFuzzItem::StaticClass()))
{
}

TFuzzNode::~TFuzzNode()
{
  SetParentComponent(nullptr);
  for (TFuzzNode* child : std::vector<TFuzzNode*>(FChildren))
    child->FParentNode = nullptr;
  delete FItems;
  delete FFont;
}

void TFuzzNode::GetChildren(const TGetChildProc& Proc, TComponent*)
{
  for (TFuzzNode* child : std::vector<TFuzzNode*>(FChildren))
    Proc(child);
}

void TFuzzNode::SetParentComponent(TComponent* Value)
{
  auto* parent = dynamic_cast<TFuzzNode*>(Value);
  if (parent == FParentNode)
    return;
  if (FParentNode)
    std::erase(FParentNode->FChildren, this);
  FParentNode = parent;
  if (parent)
    parent->FChildren.push_back(this);
}

void TFuzzNode::SetChildOrder(TComponent* Child, int Order)
{
  auto it = std::find(FChildren.begin(), FChildren.end(), Child);
  if (it == FChildren.end())
    return;
  TFuzzNode* node = *it;
  FChildren.erase(it);
  FChildren.insert(FChildren.begin() + std::min<size_t>(size_t(Order), FChildren.size()), node);
}

void TFuzzNode::Notification(TComponent* AComponent, TOperation Operation)
{
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove)
    return;
  if (AComponent == FParentNode)
    FParentNode = nullptr;
  if (AComponent == FBuddy)
    FBuddy = nullptr;
  std::erase(FChildren, AComponent);
}

void TFuzzNode::SetBuddy(TComponent* Value)
{
  if (FBuddy)
    FBuddy->RemoveFreeNotification(this);
  FBuddy = Value;
  if (FBuddy)
    FBuddy->FreeNotification(this);
}

void TFuzzNode::DefineProperties(TFiler* Filer)
{
  TComponent::DefineProperties(Filer);
  Filer->DefineProperty(
      L"Points",
      [this](TReader* r) {
        FPoints.clear();
        r->ReadListBegin();
        while (!r->EndOfList())
          FPoints.push_back(r->ReadInteger());
        r->ReadListEnd();
      },
      [this](TWriter* w) {
        w->WriteListBegin();
        for (int v : FPoints)
          w->WriteInteger(v);
        w->WriteListEnd();
      },
      !FPoints.empty());
  // A picture as graphics store theirs: the BMP file, refused when damaged, kept in the
  // form the writer gives it so that what is written reads back the same.
  Filer->DefineBinaryProperty(
      L"Picture",
      [this](TStream* s) {
        std::vector<uint8_t> bytes(size_t(s->GetSize()));
        if (!bytes.empty())
          s->ReadBuffer(bytes.data(), int64_t(bytes.size()));
        FPicture = bytes.empty() ? bytes : WriteBmpFile(ParseDib(bytes.data(), bytes.size(), true));
      },
      [this](TStream* s) {
        if (!FPicture.empty())
          s->WriteBuffer(FPicture.data(), int64_t(FPicture.size()));
      },
      !FPicture.empty());
}

void RegisterFuzzClasses()
{
  RegisterClasses({TFuzzNode::StaticClass(), TFuzzForm::StaticClass()});
}
