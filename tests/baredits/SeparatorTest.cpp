// A separator in a menu: its height with and without a caption, at the top of the menu and
// further down, and the bold caption font; on a toolbar it has no parts.
#include "EditTestUtil.h"

#include "bars/painters/painter.h"

namespace {

// A menu window without layout: the separator size and item height a menu answers.
class TSeparatorMenu : public TCustomdxBarControl {
  DECLARE_CLASS(TSeparatorMenu, TCustomdxBarControl)
public:
  explicit TSeparatorMenu(TComponent* AOwner) : TCustomdxBarControl(AOwner) {}
  int GetBarKind() const override { return bkMenu; }
  TdxBarControlKind GetKind() const override { return bckSubMenu; }
  int GetItemHeight(const TdxBarItemControl*) const override { return 20; }
  void RebuildBar() override {}

protected:
  int GetSeparatorSize() const override { return 9; }
};

IMPLEMENT_CLASS(TSeparatorMenu, TCustomdxBarControl)

class TMenuOwner : public TObject, public IdxBarLinksOwner {
public:
  explicit TMenuOwner(TdxBarManager* AManager) : FManager(AManager) {}
  TObject* GetInstance() override { return this; }
  TCustomdxBarControl* CreateBarControl() override { return new TSeparatorMenu(FManager); }
  bool CanAddItem(TdxBarItem*, String&) override { return true; }

private:
  TdxBarManager* FManager;
};

class TSeparators : public TEditFixture {};

}  // namespace

TEST_F(TSeparators, MenuHeightFollowsCaptionAndPlace)
{
  TMenuOwner owner(Manager);
  TdxBarSubMenuControlItemLinks links(Manager, &owner);
  auto* first = new TdxBarSeparator(Host.Form());
  auto* second = new TdxBarSeparator(Host.Form());
  first->SetCaption(L"Group");
  second->SetCaption(L"Other");
  links.AddItem(first);
  links.AddItem(Button);
  links.AddItem(second);
  links.CreateBarControl();
  for (int i = 0; i < links.Count(); ++i)
    links.Items(i)->CreateControl();
  auto height = [&](TdxBarItem* AItem) {
    return AItem->GetLink(AItem->GetLinkCount() - 1)->GetControl()->CalcHeight();
  };
  const int line = Manager->GetPainter()->GetSeparatorLineSize();
  const int base = height(Button);
  EXPECT_EQ(height(first), base + line);
  EXPECT_EQ(height(second), base + 2 * line);
  second->SetShowCaption(false);
  links.Items(2)->RecreateControl();
  // Without its caption it is a plain line again: thinner than any item it parts.
  EXPECT_GT(height(second), 0);
  EXPECT_LT(height(second), base);
  // The caption is measured and drawn bold; the canvas is plain again afterwards.
  auto* control = first->GetLink(0)->GetControl();
  control->ApplyItemFont();
  EXPECT_TRUE(control->GetCanvas()->GetFont()->GetStyle().Contains(fsBold));
  control->RestoreFont();
  EXPECT_FALSE(control->GetCanvas()->GetFont()->GetStyle().Contains(fsBold));
}
