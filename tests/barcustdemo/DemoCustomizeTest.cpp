// The demo's window customised as its user would: the toolbar's popup opens the Customize
// dialog, the Commands page takes a button off the toolbar and puts it back, the Toolbars page
// makes, renames, resets and deletes toolbars through the name dialog and the real message
// boxes, the options reach the manager, and after Close the buttons click again; the mark's
// list hides and shows the buttons.
#include "DemoTestUtil.h"

#include "barcustomize/designcontroller.h"
#include "barcustomize/namedialog.h"
#include "barcustomize/quickcust.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/model/itemlinks.h"
#include "support/Input.h"
#include "support/MessageBoxAnswerer.h"
#include "support/ModalLoop.h"
#include "support/Pump.h"

namespace {

using TDemoCustomize = TDemoFixture;

POINT EntryPoint(TListBox* AList, int AIndex)
{
  const TRect r = AList->ItemRect(AIndex);
  // Right of a check box the toolbar list draws at its left.
  POINT p{r.left + 40, (r.top + r.bottom) / 2};
  ::ClientToScreen(AList->GetHandle(), &p);
  return p;
}

int WidthOf(TdxBar* ABar)
{
  RECT r{};
  ::GetWindowRect(ABar->GetControl()->GetHandle(), &r);
  return r.right - r.left;
}

TEST_F(TDemoCustomize, TheToolbarsPopupOpensTheDialogWhoseCommandsPageTakesAButtonOffAndBack)
{
  ASSERT_TRUE(ClickReports(L"Add")) << "the buttons click before customizing";
  ASSERT_TRUE(ClickAt(ScreenCentreOf(LinkOf(L"Remove")), TInputButton::Right));
  TdxBarDesignController* controller = BarDesignController();
  ASSERT_TRUE(PumpUntil([&] { return controller->GetToolbarsPopup() != nullptr; }, 3000));
  TdxBarItemLinks* entries = controller->GetToolbarsPopup()->GetItemLinks();
  ASSERT_EQ(entries->Count(), 2);
  auto* shown = dynamic_cast<TdxBarButton*>(entries->Items(0)->GetItem());
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->GetCaption(), L"Commands");
  EXPECT_TRUE(shown->GetDown()) << "the toolbar is shown";
  EXPECT_EQ(entries->Items(1)->GetItem()->GetCaption(), L"&Customize...");
  EXPECT_TRUE(entries->Items(1)->GetBeginGroup());
  ASSERT_TRUE(ClickAt(ScreenCentreOf(entries->Items(1))));
  ASSERT_TRUE(PumpUntil([] { return GetCustomizingForm() != nullptr; }, 3000));
  TdxBarCustomizingForm* dialog = GetCustomizingForm();
  EXPECT_TRUE(Manager->IsCustomizing());
  EXPECT_TRUE(::IsWindowEnabled(Form->GetHandle())) << "the customised window stays enabled";

  // While customizing a click on a button selects it and runs nothing.
  ASSERT_TRUE(ClickAt(ScreenCentreOf(LinkOf(L"Start!"))));
  PumpPending();
  EXPECT_EQ(DemoOutputLines().size(), 1u);

  ASSERT_TRUE(ClickTab(dialog->tsItems));
  TdxBarItem* addFolder = LinkOf(L"Add Folder")->GetItem();
  RECT client{};
  ::GetClientRect(Form->GetHandle(), &client);
  ::MapWindowPoints(Form->GetHandle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  // Onto the window's empty client area, clear of the dialog: the button leaves the toolbar.
  ASSERT_TRUE(Drag(ScreenCentreOf(LinkOf(L"Add Folder")), POINT{client.left + 60, client.bottom - 40}));
  PumpPending();
  ASSERT_EQ(Links()->Count(), 3);
  EXPECT_EQ(LinkOf(L"Add Folder"), nullptr);
  EXPECT_EQ(Links()->Items(1)->GetItem()->GetCaption(), L"Remove");

  // From the command list back, onto the leading edge of Remove: it lands before it.
  const int index = dialog->lbItems->GetItems()->IndexOfObject(addFolder);
  ASSERT_GE(index, 0) << "the command stays listed";
  const TRect entry = dialog->lbItems->ItemRect(index);
  POINT from{(entry.left + entry.right) / 2, (entry.top + entry.bottom) / 2};
  ::ClientToScreen(dialog->lbItems->GetHandle(), &from);
  TdxBarItemControl* remove = LinkOf(L"Remove")->GetControl();
  const TRect target = remove->GetParent()->GetItemScreenRect(remove);
  ASSERT_TRUE(Drag(from, POINT{target.left + 4, (target.top + target.bottom) / 2}));
  PumpPending();
  ASSERT_EQ(Links()->Count(), 4);
  EXPECT_EQ(Links()->Items(1)->GetItem(), addFolder);

  // The dialog goes along when the window moves.
  RECT before{}, after{};
  ::GetWindowRect(dialog->GetHandle(), &before);
  ::SetWindowPos(Form->GetHandle(), nullptr, 90, 75, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  PumpPending();
  ::GetWindowRect(dialog->GetHandle(), &after);
  EXPECT_EQ(after.left - before.left, 30);
  EXPECT_EQ(after.top - before.top, 15);

  ASSERT_TRUE(ClickAt(ScreenCentreOf(dialog->BClose)));
  ASSERT_TRUE(PumpUntil([] { return GetCustomizingForm() == nullptr; }, 3000));
  EXPECT_FALSE(Manager->IsCustomizing());
  EXPECT_TRUE(ClickReports(L"Add Folder")) << "the button put back clicks";
  EXPECT_TRUE(ClickReports(L"Start!"));
}

TEST_F(TDemoCustomize, TheToolbarsPageAsksItsQuestionsAndTheOptionsReachTheManager)
{
  Manager->SetIsCustomizing(true);
  TdxBarCustomizingForm* dialog = GetCustomizingForm();
  ASSERT_NE(dialog, nullptr);
  ActivateWindow(dialog->GetHandle());
  TListBox* list = dialog->lbBarsList;
  ASSERT_EQ(list->GetCount(), 1);
  EXPECT_FALSE(dialog->BBarRename->GetEnabled()) << "the window's own toolbar keeps its name";

  PlayInModalLoop([&] { ClickAt(ScreenCentreOf(dialog->BBarNew)); }, {[] {
                    auto* names = ActiveModalDialog<TdxBarNameEd>();
                    ASSERT_NE(names, nullptr);
                    EXPECT_EQ(names->GetNameEdit()->GetText(), L"Custom 1");
                    PressKey(VK_RETURN);
                  }});
  TdxBar* custom = Manager->FindBarByCaption(L"Custom 1");
  ASSERT_NE(custom, nullptr);
  EXPECT_EQ(dialog->GetCurrentBar(), custom);

  TMessageBoxAnswerer answer(IDOK);
  bool emptyDisabled = false;
  PlayInModalLoop([&] { ClickAt(ScreenCentreOf(dialog->BBarRename)); },
                  {[&] {
                     auto* names = ActiveModalDialog<TdxBarNameEd>();
                     ASSERT_NE(names, nullptr);
                     PressKey(VK_DELETE);  // the proposed name is selected
                     PumpUntil([&] { return !::IsWindowEnabled(names->GetOKButton()->GetHandle()); }, 2000);
                     emptyDisabled = !::IsWindowEnabled(names->GetOKButton()->GetHandle());
                     TypeText(L"Commands");
                     PressKey(VK_RETURN);
                   },
                   [&] {
                     auto* names = ActiveModalDialog<TdxBarNameEd>();
                     ASSERT_NE(names, nullptr) << "a taken name keeps the dialog open";
                     names->GetNameEdit()->SelectAll();
                     TypeText(L"Songs");
                     PressKey(VK_RETURN);
                   }});
  EXPECT_TRUE(emptyDisabled) << "an empty name keeps OK disabled";
  ASSERT_EQ(answer.Boxes().size(), 1u);
  EXPECT_EQ(answer.Boxes()[0].Text, L"A toolbar named 'Commands' already exists. Type another name.");
  EXPECT_EQ(custom->GetCaption(), L"Songs");
  EXPECT_EQ(Bar->GetCaption(), L"Commands");

  // The window's toolbar, changed, is reset after the question.
  Links()->Items(1)->Free();
  ASSERT_TRUE(ClickAt(EntryPoint(list, list->GetItems()->IndexOfObject(Bar))));
  PumpPending();
  ASSERT_TRUE(ClickAt(ScreenCentreOf(dialog->BBarReset)));
  ASSERT_TRUE(PumpUntil([&] { return answer.Boxes().size() == 2 && Links()->Count() == 4; }, 3000));
  EXPECT_EQ(answer.Boxes()[1].Text, L"Are you sure you want to reset the changes made to the 'Commands' toolbar?");
  EXPECT_NE(LinkOf(L"Add Folder"), nullptr);

  TWeakRef<TdxBar> songs(custom);
  ASSERT_TRUE(ClickAt(EntryPoint(list, list->GetItems()->IndexOfObject(custom))));
  PumpPending();
  ASSERT_TRUE(ClickAt(ScreenCentreOf(dialog->BBarDelete)));
  ASSERT_TRUE(PumpUntil([&] { return answer.Boxes().size() == 3 && !songs; }, 3000));
  EXPECT_EQ(answer.Boxes()[2].Text, L"Are you sure you want to delete the 'Songs' toolbar?");
  EXPECT_EQ(list->GetCount(), 1);

  ASSERT_TRUE(ClickTab(dialog->tsOptions));
  ASSERT_TRUE(dialog->EnhancedOptionsPanel->GetVisible()) << "the flat look takes the enhanced options";
  for (TCheckBox* box : {dialog->CBLargeIconsEx, dialog->CBHint1Ex}) {
    const bool large = Manager->GetLargeIcons(), hints = Manager->GetShowHint();
    RECT r{};
    ::GetWindowRect(box->GetHandle(), &r);
    ASSERT_TRUE(ClickAt(POINT{r.left + 8, (r.top + r.bottom) / 2}));
    PumpPending();
    EXPECT_EQ(Manager->GetLargeIcons(), box == dialog->CBLargeIconsEx ? !large : large);
    EXPECT_EQ(Manager->GetShowHint(), box == dialog->CBHint1Ex ? !hints : hints);
  }

  ASSERT_TRUE(ClickAt(ScreenCentreOf(dialog->BClose)));
  ASSERT_TRUE(PumpUntil([] { return GetCustomizingForm() == nullptr; }, 3000));
  EXPECT_TRUE(ClickReports(L"Add Folder"));
}

TEST_F(TDemoCustomize, TheMarksListHidesAndShowsEachButtonAndTheToolbarResizes)
{
  TdxBarControl* toolbar = Bar->GetControl();
  ASSERT_TRUE(toolbar && toolbar->HasMark());
  const int fullWidth = WidthOf(Bar);
  const TRect mark = dxBarGetMarkScreenRect(toolbar);
  ASSERT_TRUE(ClickAt(CentreOf(RECT{mark.left, mark.top, mark.right, mark.bottom})));
  ASSERT_TRUE(PumpUntil([&] { return toolbar->GetQuickControl() != nullptr; }, 3000));
  TdxBarItemLinks* popup = toolbar->GetQuickControl()->GetItemLinks();
  ASSERT_GT(popup->Count(), 0);
  TdxBarItemLink* access = popup->Items(popup->Count() - 1);
  TdxBarItemLinks* entries = access->GetItem()->GetItemLinks();
  ASSERT_TRUE(ClickAt(ScreenCentreOf(access)));
  ASSERT_TRUE(PumpUntil([&] { return entries->GetBarControl() != nullptr; }, 3000));
  for (int i = 0; i < Links()->Count(); ++i) {
    TdxBarItemLink* link = Links()->Items(i);
    auto* entry = dynamic_cast<TdxBarQuickCustItemControl*>(entries->Items(i)->GetControl());
    ASSERT_NE(entry, nullptr);
    ASSERT_EQ(entry->GetTargetLink(), link);
    ASSERT_TRUE(ClickAt(ScreenCentreOf(entries->Items(i))));
    ASSERT_TRUE(PumpUntil([&] { return !link->GetVisible(); }, 2000)) << i;
    PumpPending();
    EXPECT_EQ(link->GetControl(), nullptr);
    EXPECT_LT(WidthOf(Bar), fullWidth) << i;
    ASSERT_TRUE(ClickAt(ScreenCentreOf(entries->Items(i))));
    ASSERT_TRUE(PumpUntil([&] { return link->GetVisible(); }, 2000)) << i;
    PumpPending();
    EXPECT_EQ(WidthOf(Bar), fullWidth) << i;
  }
  PressKey(VK_ESCAPE);
  PressKey(VK_ESCAPE);
  PumpPending();
  EXPECT_TRUE(ClickReports(L"Remove")) << "the buttons click after the list closed";
}

}  // namespace
