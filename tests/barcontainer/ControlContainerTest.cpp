// The control container item: a control of the form shown on a toolbar, typed into with
// real keys, following its bar as it floats, docks, hides and goes, refused in a second
// item, and the placeholder shown without a control.
#include <algorithm>

#include "ContainerTestUtil.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/model/registry.h"

namespace {

class TControlContainerTest : public TContainerFixture {
protected:
  void SetUp() override
  {
    TContainerFixture::SetUp();
    Item = new TdxBarControlContainerItem(Host.Form());
    Item->SetName(L"EditPlace");
    Item->SetCaption(L"Find");
    Item->SetControl(Edit);
    Bar->GetItemLinks()->AddItem(Item);
    Settle();
  }

  TdxBarControlContainerControl* Shown() const { return dynamic_cast<TdxBarControlContainerControl*>(OnBar(Item)); }
  // The host form's window sits on ABar's window, visible, over the item's rectangle.
  testing::AssertionResult HostedOn(TCustomdxBarControl* ABar) const
  {
    TPlaceForm* form = Item->GetPlaceForm();
    TdxBarControlContainerControl* control = Shown();
    if (!control || !ABar || !form->HandleAllocated())
      return testing::AssertionFailure() << "no control or no host window";
    if (::GetParent(form->GetHandle()) != ABar->GetHandle())
      return testing::AssertionFailure() << "the host is not a child of the bar window";
    if (!::IsWindowVisible(form->GetHandle()) || !::IsWindowVisible(Edit->GetHandle()))
      return testing::AssertionFailure() << "the host or the edit is not visible";
    RECT host{};
    ::GetWindowRect(form->GetHandle(), &host);
    const RECT item = ScreenRectOf(control);
    if (!::EqualRect(&host, &item))
      return testing::AssertionFailure() << "host at " << host.left << "," << host.top << " item at " << item.left
                                         << "," << item.top;
    return testing::AssertionSuccess();
  }

  TdxBarControlContainerItem* Item = nullptr;
};

}  // namespace

TEST_F(TControlContainerTest, TheEditSitsOnTheToolbarAndTakesWhatTheUserTypes)
{
  ASSERT_NE(Shown(), nullptr);
  EXPECT_EQ(Edit->GetParent(), Item->GetPlaceForm());
  EXPECT_TRUE(HostedOn(Bar->GetControl()));
  const RECT item = ScreenRectOf(Shown());
  EXPECT_EQ(item.right - item.left, 120) << "the toolbar gives the control its own width";
  EXPECT_EQ(item.bottom - item.top, 22);

  ASSERT_TRUE(ClickAt(ScreenCentreOf(Shown())));
  ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == Edit->GetHandle(); }));
  ASSERT_TRUE(TypeText(L"needle"));
  EXPECT_EQ(Edit->GetText(), L"needle");
  SaveShotOnRequest(CaptureScreen(ScreenRectOf(Bar->GetControl())), "container-edit-on-toolbar");
}

TEST_F(TControlContainerTest, TheControlMovesWithItsBarWhenItFloatsAndDocksAgain)
{
  Bar->SetFloatLeft(300);
  Bar->SetFloatTop(300);
  Bar->SetDockingStyle(dsNone);
  ASSERT_TRUE(PumpUntil([&] { return Bar->GetControl() && Shown() && Bar->GetControl()->HandleAllocated(); }));
  Settle();
  EXPECT_TRUE(HostedOn(Bar->GetControl())) << "floating";
  SaveShotOnRequest(CaptureScreen(ScreenRectOf(Bar->GetControl())), "container-edit-floating");

  Bar->SetDockingStyle(dsBottom);
  ASSERT_TRUE(PumpUntil([&] { return Shown() && Bar->GetControl()->HandleAllocated(); }));
  Settle();
  EXPECT_TRUE(HostedOn(Bar->GetControl())) << "docked at the bottom";
  // Still the user's edit: it keeps taking keys where it now sits.
  ASSERT_TRUE(ClickAt(ScreenCentreOf(Shown())));
  ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == Edit->GetHandle(); }));
  ASSERT_TRUE(TypeText(L"x"));
  EXPECT_EQ(Edit->GetText(), L"x");
}

TEST_F(TControlContainerTest, HidingTheBarHidesTheControlAndShowingItBringsItBack)
{
  Bar->SetVisible(false);
  Settle();
  EXPECT_FALSE(Edit->HandleAllocated() && ::IsWindowVisible(Edit->GetHandle()));
  EXPECT_FALSE(Item->GetPlaceForm()->GetVisible());
  EXPECT_EQ(Item->GetPlaceForm()->GetParentWindow(), nullptr) << "taken off the bar before its window goes";

  Bar->SetVisible(true);
  ASSERT_TRUE(PumpUntil([&] { return Shown() != nullptr; }));
  Settle();
  EXPECT_TRUE(HostedOn(Bar->GetControl()));
}

TEST_F(TControlContainerTest, AControlHiddenBehindTheMarkComesBackWhenTheFormWidens)
{
  Host.Form()->SetWidth(110);
  ASSERT_TRUE(PumpUntil([&] { return Shown() != nullptr && RectWidth(Shown()->GetItemRect()) == 0; }));
  Settle();
  EXPECT_FALSE(::IsWindowVisible(Edit->GetHandle())) << "the link went behind the mark";

  Host.Form()->SetWidth(640);
  ASSERT_TRUE(PumpUntil([&] { return Shown() != nullptr && RectWidth(Shown()->GetItemRect()) > 0; }));
  Settle();
  EXPECT_TRUE(HostedOn(Bar->GetControl()));
}

TEST_F(TControlContainerTest, TheControlOutlivesItsBarAndTheBarOutlivesTheControl)
{
  TWeakRef<TEdit> edit(Edit);
  Bar->Free();
  Bar = nullptr;
  Settle();
  ASSERT_TRUE(edit.Alive());
  EXPECT_EQ(Item->GetControl(), Edit);
  // A new bar shows it again, and it still works.
  Bar = Manager->GetBars()->Add();
  Bar->SetDockingStyle(dsTop);
  Bar->GetItemLinks()->AddItem(Item);
  Bar->SetVisible(true);
  ASSERT_TRUE(PumpUntil([&] { return Shown() != nullptr; }));
  Settle();
  EXPECT_TRUE(HostedOn(Bar->GetControl()));

  Edit->Free();
  Edit = nullptr;
  EXPECT_EQ(Item->GetControl(), nullptr);
  Settle();
  ASSERT_NE(Shown(), nullptr) << "the bar lays the item out again";
  ::UpdateWindow(Bar->GetControl()->GetHandle());
  EXPECT_FALSE(Item->GetPlaceForm()->GetVisible());
  // Now the placeholder, as wide as its text and the font size.
  TcxCanvas* canvas = Shown()->GetCanvas();
  const int expected =
      canvas->TextWidth(L"The place for the EditPlace") + std::abs(Bar->GetControl()->GetFont()->GetSize());
  EXPECT_EQ(RectWidth(Shown()->GetItemRect()), expected);
}

TEST_F(TControlContainerTest, TheSameControlIsRefusedInASecondItemOfAnyManager)
{
  auto* second = new TdxBarControlContainerItem(Host.Form());
  try {
    second->SetControl(Edit);
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), L"You cannot assign the same control to more than one TdxBarControlContainerItem");
  }
  EXPECT_EQ(second->GetControl(), nullptr);
  EXPECT_EQ(Item->GetControl(), Edit);

  // Another manager's item would hook the same window procedure: refused as well.
  TBarHost<TContainerTestForm> other;
  auto* foreign = new TdxBarControlContainerItem(other.Form());
  EXPECT_THROW(foreign->SetControl(Edit), Exception);
  EXPECT_EQ(foreign->GetControl(), nullptr);

  // A form, or a control that holds the bars, would end up inside its own child.
  EXPECT_THROW(second->SetControl(Host.Form()), EInvalidOperation);
  EXPECT_THROW(second->SetControl(Item->GetPlaceForm()), EInvalidOperation);
  EXPECT_NO_THROW(second->SetControl(FormEdit)) << "another control of the form is fine";
  second->SetControl(nullptr);
  EXPECT_EQ(second->GetControl(), nullptr);

  // Once the first lets go, the second may take it.
  Item->SetControl(nullptr);
  second->SetControl(Edit);
  EXPECT_EQ(second->GetControl(), Edit);
}

TEST_F(TControlContainerTest, TheWindowProcedureIsGivenBackAndSurvivesARecreatedWindow)
{
  const TWndMethod own(Edit, &TControl::WndProc);
  EXPECT_NE(Edit->GetWindowProc(), own) << "hooked while hosted";
  Edit->RecreateWnd();
  Settle();
  EXPECT_NE(Edit->GetWindowProc(), own) << "still hooked after the window was made again";
  // And the hook still works: a resize in code re-lays out the bar.
  TWeakRef<TdxBarControlContainerControl> before(Shown());
  Edit->SetWidth(180);
  ASSERT_TRUE(PumpUntil([&] { return Shown() && RectWidth(Shown()->GetItemRect()) == 180; }));
  EXPECT_FALSE(before) << "the bar was rebuilt";
  // Once: placing the control at its new size is no resize that rebuilds again.
  TWeakRef<TdxBarControlContainerControl> after(Shown());
  Settle();
  EXPECT_TRUE(after);
  EXPECT_TRUE(HostedOn(Bar->GetControl()));
  EXPECT_EQ(Edit->GetWidth(), 180) << "placing does not fight the size the code gave";

  Item->SetControl(nullptr);
  EXPECT_EQ(Edit->GetWindowProc(), own);
  EXPECT_EQ(Edit->GetParent(), nullptr) << "detached from the host";
  Item->SetControl(Edit);
  ASSERT_NE(Edit->GetWindowProc(), own);
  // Freed, the item gives the procedure back too, and the edit works on as a plain control.
  Item->Free();
  Item = nullptr;
  EXPECT_EQ(Edit->GetWindowProc(), own);
  Edit->SetParent(Host.Form());
  Edit->SetText(L"alive");
  EXPECT_EQ(Edit->GetText(), L"alive");
}

// A hook put on the control after the item's keeps calling what it saved, which is the
// item's procedure: once the item lets go (and once it is freed) that call still reaches the
// control's own handling.
TEST_F(TControlContainerTest, AHookPutOnTheControlAfterTheItemKeepsTheControlWorkingOnceTheItemLetsGo)
{
  int seen = 0;
  const TWndMethod before = Edit->GetWindowProc();
  Edit->SetWindowProc(TWndMethod([&seen, before](TMessage& Message) {
    ++seen;
    before(Message);
  }));
  const TWndMethod outer = Edit->GetWindowProc();
  const auto typed = [&](const wchar_t* AText) {
    ::SendMessageW(Edit->GetHandle(), WM_SETTEXT, 0, LPARAM(AText));
    wchar_t text[32] = {};
    ::GetWindowTextW(Edit->GetHandle(), text, 32);
    return String(text);
  };
  EXPECT_EQ(typed(L"hosted"), L"hosted");

  Item->SetControl(nullptr);
  EXPECT_EQ(Edit->GetWindowProc(), outer) << "the later hook stays outermost";
  Edit->SetParent(Host.Form());
  seen = 0;
  EXPECT_EQ(typed(L"let go"), L"let go") << "the item's place in the chain forwards";
  EXPECT_GT(seen, 0);

  // Hosted again, hooked over again and freed: the chain still ends in the control's own
  // procedure, with nothing left pointing into the freed item.
  Item->SetControl(Edit);
  Settle();
  const TWndMethod hosted = Edit->GetWindowProc();
  Edit->SetWindowProc(TWndMethod([&seen, hosted](TMessage& Message) {
    ++seen;
    hosted(Message);
  }));
  Item->Free();
  Item = nullptr;
  Edit->SetParent(Host.Form());
  seen = 0;
  EXPECT_EQ(typed(L"freed"), L"freed");
  EXPECT_GT(seen, 0);
  Edit->SetWindowProc(TWndMethod());
}

TEST_F(TControlContainerTest, WithoutAControlAHatchedPlaceholderShowsTheItemsName)
{
  Item->SetControl(nullptr);
  Settle();
  ASSERT_NE(Shown(), nullptr);
  ::UpdateWindow(Bar->GetControl()->GetHandle());
  Settle();
  const RECT r = ScreenRectOf(Shown());
  TDib32 shot = CaptureScreen(r);
  SaveShotOnRequest(CaptureScreen(ScreenRectOf(Bar->GetControl())), "container-placeholder");
  const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
  EXPECT_TRUE(ColorNear(shot.Pixel(0, 0), shadow)) << "frame";
  EXPECT_TRUE(ColorNear(shot.Pixel(shot.Width() - 1, shot.Height() - 1), shadow)) << "frame";
  // The hatch puts shadow-coloured lines inside the frame.
  const RECT inside{1, 1, shot.Width() - 1, shot.Height() - 1};
  EXPECT_GT(CountPixelsNear(shot, inside, shadow, 4), shot.Width());

  // A new name shows at once.
  const int before = RectWidth(Shown()->GetItemRect());
  Item->SetName(L"AMuchLongerPlaceName");
  Settle();
  ASSERT_NE(Shown(), nullptr);
  EXPECT_GT(RectWidth(Shown()->GetItemRect()), before);
}

TEST_F(TControlContainerTest, InAMenuTheItemIsAPlainEntryAndTheControlStaysOnTheToolbar)
{
  SubItem->GetItemLinks()->AddItem(Item);
  TCustomdxBarControl* menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  Settle();
  EXPECT_NE(InMenu(Item), nullptr);
  const auto captions = ShownCaptions(menu);
  EXPECT_NE(std::find(captions.begin(), captions.end(), L"Find"), captions.end());
  EXPECT_TRUE(HostedOn(Bar->GetControl())) << "the menu does not take the control off its toolbar";
  EXPECT_FALSE(InMenu(Item)->CanSelect()) << "not selectable outside design";
  MenuKey(VK_ESCAPE);
  PumpUntil([&] { return Menu() == nullptr; });
}

TEST(ControlContainerRegistration, EveryExtraKindIsRegisteredInTheTablesOrderWithItsControl)
{
  const std::vector<std::pair<TClass, TClass>> table = {
      {TdxBarStatic::StaticClass(), TdxBarStaticControl::StaticClass()},
      {TdxBarLargeButton::StaticClass(), TdxBarLargeButtonControl::StaticClass()},
      {TdxBarColorCombo::StaticClass(), TdxBarColorComboControl::StaticClass()},
      {TdxBarFontNameCombo::StaticClass(), TdxBarComboControl::StaticClass()},
      {TdxBarDateCombo::StaticClass(), TdxBarDateComboControl::StaticClass()},
      {TdxBarTreeViewCombo::StaticClass(), TdxBarTreeViewComboControl::StaticClass()},
      {TdxBarImageCombo::StaticClass(), TdxBarImageComboControl::StaticClass()},
      {TdxBarToolbarsListItem::StaticClass(), TdxBarToolbarsListItemControl::StaticClass()},
      {TdxBarSpinEdit::StaticClass(), TdxBarSpinEditControl::StaticClass()},
      {TdxBarControlContainerItem::StaticClass(), TdxBarControlContainerControl::StaticClass()},
      {TdxBarProgressItem::StaticClass(), TdxBarProgressControl::StaticClass()},
      {TdxBarMRUListItem::StaticClass(), TdxBarContainerItemControl::StaticClass()},
      {TdxBarInPlaceSubItem::StaticClass(), TdxBarInPlaceSubItemControl::StaticClass()}};
  TdxBarItemList* list = RegisteredBarItems();
  ASSERT_NE(list, nullptr);
  int previous = -1;
  for (const auto& [itemClass, controlClass] : table) {
    SCOPED_TRACE(itemClass->ClassName());
    const int index = list->IndexOfItemClass(itemClass);
    EXPECT_GT(index, previous) << "in the table's order";
    previous = index;
    EXPECT_EQ(GetRegisteredControlClass(itemClass), controlClass);
    if (index >= 0) {
      EXPECT_TRUE(list->GetRecord(index)->ShownInCustomizing);
    }
  }
}

TEST_F(TControlContainerTest, OnTwoToolbarsTheControlStaysOnOneAndTheOtherShowsItsPlace)
{
  TdxBar* second = Manager->GetBars()->Add();
  second->SetCaption(L"Second");
  second->SetDockingStyle(dsTop);
  second->SetDockedTop(40);
  second->GetItemLinks()->AddItem(Item);
  second->SetVisible(true);
  // The painting ends: taking the control on each paint would move it to and fro for ever.
  int messages = 0;
  for (MSG msg; messages < 5000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++messages)
    DispatchOne(msg);
  EXPECT_LT(messages, 5000) << "the bars keep repainting each other";
  Settle();
  auto* onSecond = dynamic_cast<TdxBarControlContainerControl*>(ControlOf(second->GetItemLinks(), Item));
  ASSERT_NE(onSecond, nullptr);
  const bool firstHolds = Shown()->IsHostOnThisBar();
  EXPECT_NE(firstHolds, onSecond->IsHostOnThisBar()) << "on exactly one bar";
  TdxBar* holding = firstHolds ? Bar : second;
  TdxBar* other = firstHolds ? second : Bar;
  // The other bar shows the hatched place, as wide as the control.
  auto* placeholder = firstHolds ? onSecond : Shown();
  EXPECT_EQ(RectWidth(placeholder->GetItemRect()), Edit->GetWidth());
  ::UpdateWindow(other->GetControl()->GetHandle());
  const TDib32 shot = CaptureScreen(ScreenRectOf(placeholder));
  EXPECT_TRUE(ColorNear(shot.Pixel(0, 0), ::GetSysColor(COLOR_BTNSHADOW))) << "the placeholder's frame";

  // The holding bar hidden, the other takes the control over and keeps it once both show.
  holding->SetVisible(false);
  Settle();
  auto* taker = dynamic_cast<TdxBarControlContainerControl*>(ControlOf(other->GetItemLinks(), Item));
  ASSERT_NE(taker, nullptr);
  EXPECT_TRUE(PumpUntil([&] { return taker->IsHostOnThisBar() && ::IsWindowVisible(Edit->GetHandle()); }));
  holding->SetVisible(true);
  Settle();
  EXPECT_TRUE(taker->IsHostOnThisBar());
  ASSERT_TRUE(ClickAt(ScreenCentreOf(taker)));
  ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == Edit->GetHandle(); }));
  ASSERT_TRUE(TypeText(L"both"));
  EXPECT_EQ(Edit->GetText(), L"both");
}
