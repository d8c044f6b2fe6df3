#include "TestClasses.h"

#include <algorithm>

int gLive = 0;
std::vector<String> gLoadedLog;
std::vector<TComponent*> gGlobalRoots;

DEFINE_ENUM_INFO(TShape, L"shCircle", L"shSquare", L"shTriangle", L"shStar")

const TIdentMap TestColorIdents = {
    {clTestBlack, L"clBlack"},
    {clTestRed, L"clRed"},
    {clTestBtnFace, L"clBtnFace"},
};

PUBLISHED(TTestFont, TPersistent)
{
  p.Prop(L"Name", &TTestFont::FName, &TTestFont::FName);
  p.Prop(L"Size", &TTestFont::FSize, &TTestFont::FSize).Default(8);
  p.Prop(L"Style", &TTestFont::FStyle, &TTestFont::FStyle);
}

void TTestFont::Assign(TPersistent* Source)
{
  if (auto* f = dynamic_cast<TTestFont*>(Source)) {
    FName = f->FName;
    FSize = f->FSize;
    FStyle = f->FStyle;
    return;
  }
  TPersistent::Assign(Source);
}

PUBLISHED(TTestItem, TCollectionItem)
{
  p.Prop(L"Width", &TTestItem::FWidth, &TTestItem::FWidth).Default(0);
  p.Prop(L"Caption", &TTestItem::FCaption, &TTestItem::FCaption);
  p.Component(L"Target", &TTestItem::FTarget, &TTestItem::FTarget);
}

// ---------------------------------------------------------------------------

IMPLEMENT_CLASS(TTestNode, TComponent)

TTestNode::TTestNode(TComponent* AOwner) : TComponent(AOwner)
{
  ++gLive;
}

TTestNode::~TTestNode()
{
  SetParentComponent(nullptr);
  for (TTestNode* child : std::vector<TTestNode*>(FChildren))
    child->FParentNode = nullptr;
  --gLive;
}

void TTestNode::GetChildren(const TGetChildProc& Proc, TComponent*)
{
  for (TTestNode* child : std::vector<TTestNode*>(FChildren))
    Proc(child);
}

void TTestNode::SetParentComponent(TComponent* Value)
{
  auto* parent = dynamic_cast<TTestNode*>(Value);
  if (parent == FParentNode)
    return;
  if (FParentNode) {
    auto& list = FParentNode->FChildren;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
  FParentNode = parent;
  if (parent)
    parent->FChildren.push_back(this);
}

void TTestNode::SetChildOrder(TComponent* Child, int Order)
{
  auto it = std::find(FChildren.begin(), FChildren.end(), Child);
  if (it == FChildren.end())
    return;
  TTestNode* node = *it;
  FChildren.erase(it);
  FChildren.insert(FChildren.begin() + std::min<size_t>(size_t(Order), FChildren.size()), node);
}

void TTestNode::Loaded()
{
  gLoadedLog.push_back(Name() + (ComponentState().Contains(csLoading) ? L"*" : L""));
  TComponent::Loaded();
}

void TTestNode::Notification(TComponent* AComponent, TOperation Operation)
{
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FParentNode)
    FParentNode = nullptr;
}

// ---------------------------------------------------------------------------

PUBLISHED(TTestWidget, TTestNode)
{
  p.Prop(L"Left", &TTestWidget::Left, &TTestWidget::SetLeft).Default(0);
  p.Prop(L"Count64", &TTestWidget::FCount64, &TTestWidget::FCount64);
  p.Prop(L"Small", &TTestWidget::FSmall, &TTestWidget::FSmall).Default(0);
  p.Prop(L"Byte", &TTestWidget::FByte, &TTestWidget::FByte).Default(0);
  p.Prop(L"Color", &TTestWidget::FColor, &TTestWidget::FColor).Default(clTestBtnFace).Idents(&TestColorIdents);
  p.Prop(L"Shape", &TTestWidget::FShape, &TTestWidget::FShape).Default(shCircle);
  p.Prop(L"Visible", &TTestWidget::FVisible, &TTestWidget::FVisible).Default(true);
  p.Prop(L"Shapes", &TTestWidget::FShapes, &TTestWidget::FShapes);
  p.Prop(L"Ratio", &TTestWidget::FRatio, &TTestWidget::FRatio);
  p.Prop(L"Caption", &TTestWidget::FCaption, &TTestWidget::FCaption);
  p.Object(L"Font", &TTestWidget::FFont);
  p.Object(L"Items", &TTestWidget::FItems);
  p.Object(L"Lines", &TTestWidget::FLines);
  p.Component(L"Buddy", &TTestWidget::Buddy, &TTestWidget::SetBuddy);
  p.Component(L"Peer", &TTestWidget::FPeer, &TTestWidget::FPeer);
  p.Prop(L"Hidden", &TTestWidget::Hidden, nullptr);
  p.Event(L"OnClick", &TTestWidget::FOnClick);
  p.Event(L"OnValue", &TTestWidget::FOnValue);
}

TTestWidget::TTestWidget(TComponent* AOwner)
    : TTestNode(AOwner),
      FFont(new TTestFont),
      FItems(new TOwnedCollection(this, TTestItem::StaticClass())),
      FLines(new TStringList)
{
}

TTestWidget::~TTestWidget()
{
  delete FLines;
  delete FItems;
  delete FFont;
}

void TTestWidget::SetLeft(int Value)
{
  FLeft = Value;
  if (ComponentState().Contains(csLoading) && ComponentState().Contains(csReading))
    FSawReadingState = true;
}

void TTestWidget::SetBuddy(TComponent* Value)
{
  if (FBuddy)
    FBuddy->RemoveFreeNotification(this);
  FBuddy = Value;
  if (FBuddy)
    FBuddy->FreeNotification(this);
}

void TTestWidget::Loaded()
{
  FBuddyAtLoaded = FBuddy;
  TTestNode::Loaded();
}

void TTestWidget::Notification(TComponent* AComponent, TOperation Operation)
{
  TTestNode::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FBuddy)
    FBuddy = nullptr;
  if (Operation == opRemove && AComponent == FPeer)
    FPeer = nullptr;
}

void TTestWidget::DefineProperties(TFiler* Filer)
{
  TTestNode::DefineProperties(Filer);
  auto* ancestor = dynamic_cast<TTestWidget*>(Filer->Ancestor());
  Filer->DefineBinaryProperty(
      L"Data",
      [this](TStream* s) {
        FData.resize(size_t(s->GetSize()));
        if (!FData.empty())
          s->ReadBuffer(FData.data(), int64_t(FData.size()));
      },
      [this](TStream* s) {
        if (!FData.empty())
          s->WriteBuffer(FData.data(), int64_t(FData.size()));
      },
      ancestor ? ancestor->FData != FData : !FData.empty());
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
      ancestor ? ancestor->FPoints != FPoints : !FPoints.empty());
}

// ---------------------------------------------------------------------------

PUBLISHED(TTestThing, TComponent)
{
  p.Component(L"Link", &TTestThing::FLink, &TTestThing::SetLink);
  p.Event(L"OnFire", &TTestThing::FOnFire);
  p.Prop(L"Note", &TTestThing::FNote, &TTestThing::FNote);
}

void TTestThing::SetLink(TComponent* Value)
{
  if (FLink)
    FLink->RemoveFreeNotification(this);
  FLink = Value;
  if (FLink)
    FLink->FreeNotification(this);
}

void TTestThing::Notification(TComponent* AComponent, TOperation Operation)
{
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FLink)
    FLink = nullptr;
}

// ---------------------------------------------------------------------------

PUBLISHED(TTestForm, TTestNode)
{
  p.Method(L"ButtonClick", &TTestForm::ButtonClick);
  p.Method(L"OtherClick", &TTestForm::OtherClick);
  p.Method(L"ValueChanged", &TTestForm::ValueChanged);
}

void TTestForm::GetChildren(const TGetChildProc& Proc, TComponent* Root)
{
  for (int i = 0; i < ComponentCount(); ++i) {
    TComponent* c = Components(i);
    auto* node = dynamic_cast<TTestNode*>(c);
    if (!node || !node->ParentNode())
      Proc(c);
  }
  TTestNode::GetChildren(Proc, Root);
}

void TTestForm::SetChildOrder(TComponent* Child, int Order)
{
  int unparented = 0;
  for (int i = 0; i < ComponentCount(); ++i) {
    auto* node = dynamic_cast<TTestNode*>(Components(i));
    if (!node || !node->ParentNode())
      ++unparented;
  }
  TTestNode::SetChildOrder(Child, std::max(Order - unparented, 0));
}

IMPLEMENT_CLASS(TResForm, TTestForm)
IMPLEMENT_CLASS(TResDerivedForm, TResForm)

IMPLEMENT_CLASS(TTestFrame, TTestNode)

TTestFrame::TTestFrame(TComponent* AOwner) : TTestNode(AOwner), Inner(new TTestWidget(this))
{
  Inner->SetName(L"Inner");
  Inner->SetParentComponent(this);
  Inner->FCaption = L"inner default";
}

IMPLEMENT_CLASS(TBrokenThing, TComponent)
IMPLEMENT_CLASS(TTestContainer, TTestWidget)
IMPLEMENT_CLASS(TTestProbe, TComponent)

void TTestProbe::DefineProperties(TFiler* Filer)
{
  Filer->DefineProperty(L"Blob", ReadBlob, WriteBlob, bool(WriteBlob));
}

// ---------------------------------------------------------------------------

void RegisterTestClasses()
{
  static bool done = false;
  if (done)
    return;
  done = true;
  RegisterClasses({TTestWidget::StaticClass(), TTestThing::StaticClass(), TTestForm::StaticClass(),
                   TTestFrame::StaticClass(), TResForm::StaticClass(), TResDerivedForm::StaticClass(),
                   TBrokenThing::StaticClass(), TTestNode::StaticClass(), TTestContainer::StaticClass(),
                   TTestProbe::StaticClass()});
  RegisterFindGlobalComponentProc([](const String& name) -> TComponent* {
    for (TComponent* c : gGlobalRoots)
      if (SameText(c->Name(), name))
        return c;
    return nullptr;
  });
}

String DescribeTree(TComponent* root)
{
  String text = root->Name() + L":" + root->ClassName();
  std::vector<TComponent*> children;
  root->GetChildren([&](TComponent* c) { children.push_back(c); }, root);
  if (!children.empty()) {
    text += L"(";
    for (size_t i = 0; i < children.size(); ++i)
      text += (i ? L"," : L"") + DescribeTree(children[i]);
    text += L")";
  }
  return text;
}
