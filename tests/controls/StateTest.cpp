// Shared state of controls: visibility and enabling down the parent chain, fonts, colours
// and hints inherited from the parent, and the drawing objects controls make all freed again.
#include "ControlTestUtil.h"

#include "platform/Filer.h"
#include "platform/StdCtrls.h"

using TStateTest = TSharedHostTest;

TEST_F(TStateTest, ChildrenShowOnlyWhileTheirParentsShow)
{
  auto* panel = new TProbeControl(Host);
  panel->SetBounds(10, 10, 200, 150);
  panel->SetParent(Host);
  auto* inner = new TProbeControl(Host);
  inner->SetParent(panel);
  ASSERT_TRUE(inner->HandleAllocated()) << "a child of a showing parent gets its window at once";
  EXPECT_TRUE(::IsWindowVisible(inner->GetHandle()));
  EXPECT_TRUE(inner->IsShowing());
  panel->SetVisible(false);
  EXPECT_FALSE(::IsWindowVisible(inner->GetHandle()));
  EXPECT_FALSE(inner->IsShowing());
  EXPECT_TRUE(inner->GetVisible()) << "the child's own Visible does not change";
  panel->SetVisible(true);
  EXPECT_TRUE(::IsWindowVisible(inner->GetHandle()));
  inner->Hide();
  EXPECT_FALSE(::IsWindowVisible(inner->GetHandle()));
  EXPECT_FALSE(inner->IsShowing());
  // A child of a hidden parent gets no window until the parent shows.
  panel->SetVisible(false);
  auto* late = new TProbeControl(Host);
  late->SetParent(panel);
  EXPECT_FALSE(late->HandleAllocated());
  panel->Show();
  EXPECT_TRUE(late->HandleAllocated());
  EXPECT_TRUE(::IsWindowVisible(late->GetHandle()));
}

TEST_F(TStateTest, DisablingAParentDisablesItsWindowAndFocusBelow)
{
  auto* panel = new TProbeControl(Host);
  panel->SetBounds(10, 10, 200, 150);
  panel->SetParent(Host);
  auto* edit = new TEdit(Host);
  edit->SetParent(panel);
  edit->SetFocus();
  ASSERT_TRUE(edit->Focused());
  panel->SetEnabled(false);
  EXPECT_FALSE(::IsWindowEnabled(panel->GetHandle()));
  EXPECT_TRUE(edit->GetEnabled());
  EXPECT_FALSE(edit->IsEnabledInParents());
  EXPECT_FALSE(edit->CanFocus());
  panel->SetEnabled(true);
  EXPECT_TRUE(edit->CanFocus());
  edit->SetEnabled(false);
  EXPECT_FALSE(::IsWindowEnabled(edit->GetHandle()));
}

TEST(InheritedAttributes, FontColourAndHintsFollowTheParentUntilSetOwn)
{
  TWinControl parent(nullptr);
  auto* child = new TGraphicControl(&parent);
  auto* own = new TGraphicControl(&parent);
  child->SetParent(&parent);
  own->GetFont()->SetName(L"Courier New");
  own->SetColor(clRed);
  own->SetShowHint(false);
  own->SetParent(&parent);
  parent.GetFont()->SetName(L"Arial");
  parent.GetFont()->SetHeight(-20);
  parent.SetColor(clYellow);
  parent.SetShowHint(true);
  EXPECT_EQ(child->GetFont()->GetName(), L"Arial");
  EXPECT_EQ(child->GetFont()->GetHeight(), -20);
  EXPECT_TRUE(child->GetParentFont());
  EXPECT_EQ(child->GetColor(), clYellow);
  EXPECT_TRUE(child->GetParentColor());
  EXPECT_TRUE(child->GetShowHint());
  EXPECT_EQ(own->GetFont()->GetName(), L"Courier New");
  EXPECT_EQ(own->GetColor(), clRed);
  EXPECT_FALSE(own->GetShowHint());
  own->SetParentFont(true);
  own->SetParentColor(true);
  EXPECT_EQ(own->GetFont()->GetName(), L"Arial");
  EXPECT_EQ(own->GetColor(), clYellow);
}

TEST(InheritedAttributes, ANewParentGivesItsAttributesAndCyclesAreRefused)
{
  TWinControl first(nullptr), second(nullptr);
  first.SetColor(clRed);
  second.SetColor(clBlue);
  second.GetFont()->SetName(L"Arial");
  TGraphicControl child(nullptr);
  child.SetParent(&first);
  EXPECT_EQ(child.GetColor(), clRed);
  child.SetParent(&second);
  EXPECT_EQ(child.GetColor(), clBlue);
  EXPECT_EQ(child.GetFont()->GetName(), L"Arial");
  EXPECT_EQ(first.GetControlCount(), 0);
  child.SetParent(nullptr);
  EXPECT_EQ(second.GetControlCount(), 0);
  // Cycles are refused.
  auto* inner = new TWinControl(&first);
  inner->SetParent(&first);
  EXPECT_THROW(first.SetParent(inner), EInvalidOperation);
  EXPECT_THROW(first.SetParent(&first), EInvalidOperation);
  EXPECT_EQ(first.GetParent(), nullptr);
}

TEST(DrawingObjects, ControlsFreeEveryGdiObjectTheyMake)
{
  int before = GdiObjectsInUse();
  {
    auto* host = new THostWindow(nullptr);
    auto* probe = new TProbeControl(host);
    probe->SetParent(host);
    probe->GetFont()->SetHeight(-18);
    auto* list = new TListBox(host);
    list->SetStyle(lbOwnerDrawFixed);
    list->GetItems()->AddStrings({L"a", L"b"});
    list->SetParent(host);
    host->HandleNeeded();
    TDib32 shot = CaptureWindow(host->GetHandle());
    host->SetColor(clAqua);
    list->RecreateWnd();
    host->Free();
  }
  EXPECT_EQ(GdiObjectsInUse(), before);
}
