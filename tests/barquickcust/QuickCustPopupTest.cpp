// The mark's popup as a window: opened and closed by the real pointer with the mark drawn
// open meanwhile, its content (hidden links first), its frame, the right button, Esc, the
// closing check against other popups of the chain, and the mark's hint.
#include "QuickCustTestUtil.h"

#include "barcustomize/designcontroller.h"
#include "bars/utils/dxBarStrs.h"
#include "bars/hints/hintwindow.h"
#include "bars/model/itemlinks.h"
#include "bars/barwindows/shadow.h"
#include "bars/utils/utils.h"
#include "platform/Scope.h"
#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

using TQuickPopup = TQuickCustFixture;

String AccessCaption()
{
  return GetResourceString(sdxBarAddRemoveButtons);
}

int Brightness(COLORREF AColor)
{
  return GetRValue(AColor) + GetGValue(AColor) + GetBValue(AColor);
}

// What the screen shows beside the window: the pixel next to its right edge (or its bottom
// edge) darker than one 12 pixels further out, where no shadow reaches.
bool CastsShadow(TCustomdxBarControl* AWindow, bool ABelow)
{
  RECT r{};
  GetWindowRect(AWindow->GetHandle(), &r);
  const int x = ABelow ? r.left + (r.right - r.left) / 3 : r.right;
  const int y = ABelow ? r.bottom : (r.top + r.bottom) / 2;
  const TDib32 strip = CaptureScreen(ABelow ? RECT{x, y, x + 1, y + 12} : RECT{x, y, x + 12, y + 1});
  const COLORREF inner = strip.Pixel(0, 0), outer = ABelow ? strip.Pixel(0, 11) : strip.Pixel(11, 0);
  return Brightness(inner) + 24 < Brightness(outer);
}

}  // namespace

TEST_F(TQuickPopup, APressOnTheMarkOpensThePopupDrawnOpenUntilItCloses)
{
  AddBar({L"Open", L"Save"});
  TdxBarControl* bar = Toolbar();
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(bar->HasMark());
  TdxBarQuickControl* quick = OpenByMark();
  ASSERT_NE(quick, nullptr);
  TWeakRef<TdxBarQuickControl> ref(quick);
  EXPECT_EQ(bar->GetMarkState(), TdxBarMarkState::Pressed);
  EXPECT_EQ(quick->GetKind(), bckQuickCustomizing);
  EXPECT_EQ(quick->GetParentToolbar(), bar);
  EXPECT_EQ(ActiveBarControl(), quick);
  EXPECT_EQ(GetCapture(), nullptr) << "the open popup holds no capture";
  // It opens under the mark, inside the screen.
  RECT w{};
  GetWindowRect(quick->GetHandle(), &w);
  const TRect mark = dxBarGetMarkScreenRect(bar);
  EXPECT_EQ(w.top, mark.bottom);
  EXPECT_EQ(w.left, mark.left);
  // A second press on the mark closes it, and the mark is no longer open.
  ASSERT_TRUE(ClickAt(CentreOf(mark)));
  EXPECT_TRUE(PumpUntil([&] { return !ref; }));
  EXPECT_NE(bar->GetMarkState(), TdxBarMarkState::Pressed);
  EXPECT_EQ(bar->GetQuickControl(), nullptr);

  // A press elsewhere closes it too, and the mark goes back to normal.
  quick = OpenByMark();
  ASSERT_NE(quick, nullptr);
  ref = quick;
  ASSERT_TRUE(ClickAt(POINT{300, 250}));
  EXPECT_TRUE(PumpUntil([&] { return !ref; }));
  EXPECT_EQ(bar->GetMarkState(), TdxBarMarkState::Normal);
}

// A bar docked at the right opens its popup to the left of the mark, towards the form,
// though there is room on the right.
TEST_F(TQuickPopup, ABarDockedAtTheRightOpensThePopupLeftwards)
{
  AddBar({L"Open", L"Save"});
  FBar->SetDockingStyle(dsRight);
  PumpPending();
  TdxBarControl* bar = Toolbar();
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(bar->HasMark());
  TdxBarQuickControl* quick = OpenByMark();
  ASSERT_NE(quick, nullptr);
  RECT w{};
  GetWindowRect(quick->GetHandle(), &w);
  const TRect mark = dxBarGetMarkScreenRect(bar);
  EXPECT_EQ(w.right, mark.left);
  EXPECT_EQ(w.top, mark.top);
  TWeakRef<TdxBarQuickControl> ref(quick);
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(PumpUntil([&] { return !ref; }));
}

// The mark's popup and the list it opens cast a shadow as menus do: by the system's setting
// for menu shadows, in the Office 2003 look as in the others.
TEST_F(TQuickPopup, ThePopupAndItsListCastAShadowOnlyAsMenusDo)
{
  bool shadows = false;
  TdxBarShadowSettingQuery saved = SetdxBarShadowSettingQuery([&] { return shadows; });
  TFinally restore([&] { SetdxBarShadowSettingQuery(saved); });
  Manager->SetStyle(bmsOffice11);
  AddBar({L"Open", L"Save"});
  for (bool on : {false, true}) {
    SCOPED_TRACE(on ? "menu shadows on" : "menu shadows off");
    shadows = on;
    TdxBarQuickControl* quick = OpenByMark();
    ASSERT_NE(quick, nullptr);
    PumpPending();
    EXPECT_EQ(CastsShadow(quick, true), on) << "the popup";
    TdxBarQuickAccessSubControl* list = OpenQuickList(quick);
    ASSERT_NE(list, nullptr);
    PumpPending();
    EXPECT_EQ(CastsShadow(list, false), on) << "its list";
    SaveShotOnRequest(CaptureScreen(RECT{100, 100, 660, 400}), on ? "quick_shadow_on" : "quick_shadow_off");
    quick->Close();
    PumpPending();
  }
}

TEST_F(TQuickPopup, EscClosesThePopup)
{
  AddBar({L"Open"});
  TdxBarQuickControl* quick = OpenByMark();
  ASSERT_NE(quick, nullptr);
  TWeakRef<TdxBarQuickControl> ref(quick);
  // The bars' keyboard hook takes the key: it never reaches the form.
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(PumpUntil([&] { return !ref; }));
  EXPECT_NE(Toolbar()->GetMarkState(), TdxBarMarkState::Pressed);
}

TEST_F(TQuickPopup, HiddenLinksComeFirstWhenTheToolbarIsTooShort)
{
  std::vector<String> captions;
  for (int i = 0; i < 14; ++i)
    captions.push_back(L"Command" + IntToStr(i));
  AddBar(captions);
  TdxBarControl* bar = Toolbar();
  ASSERT_TRUE(PumpUntil([&] { return bar->GetItemsHidden(); })) << "the bar is wider than the form";
  const int shown = bar->GetVisibleCount();
  ASSERT_GT(shown, 0);
  ASSERT_LT(shown, 14);
  EXPECT_EQ(bar->GetMarkHint(), GetResourceString(sdxBarMoreButtons));
  TdxBarQuickControl* quick = OpenByMark();
  ASSERT_NE(quick, nullptr);
  TdxBarItemLinks* links = quick->GetItemLinks();
  ASSERT_EQ(links->Count(), 14 - shown + 1);
  for (int i = 0; i < 14 - shown; ++i)
    EXPECT_EQ(links->Items(i)->GetItem(), ToolLinks()->Items(shown + i)->GetItem()) << i;
  TdxBarItemLink* access = links->Items(links->Count() - 1);
  EXPECT_EQ(access->GetCaption(), AccessCaption());
  EXPECT_TRUE(access->GetBeginGroup());
  EXPECT_TRUE(dynamic_cast<TdxBarQuickAccessItem*>(access->GetItem()));
  // Every entry lies inside the popup, the hidden commands on lines above the entry.
  const TRect client = quick->GetClientRect();
  for (int i = 0; i < links->Count(); ++i) {
    TdxBarItemControl* control = links->Items(i)->GetControl();
    ASSERT_NE(control, nullptr) << i;
    const TRect r = quick->GetItemRect(control);
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom) << i;
    if (i < links->Count() - 1) {
      EXPECT_LE(r.bottom, quick->GetItemRect(access->GetControl()).top) << i;
    }
  }
  // A hidden command clicked in the popup runs and the popup goes.
  int clicks = 0;
  struct TCounter : TObject {
    int* Count;
    void Click(TObject*) { ++*Count; }
  } counter;
  counter.Count = &clicks;
  links->Items(0)->GetItem()->SetOnClick(TNotifyEvent(&counter, &TCounter::Click));
  TWeakRef<TdxBarQuickControl> ref(quick);
  ASSERT_TRUE(ClickAt(CenterOfLink(quick, 0)));
  EXPECT_TRUE(PumpUntil([&] { return clicks == 1 && !ref; }));
  EXPECT_EQ(bar->GetMarkState() == TdxBarMarkState::Pressed, false);
  ToolLinks()->Items(shown)->GetItem()->SetOnClick(TNotifyEvent());
}

TEST_F(TQuickPopup, TheFrameIsABorderAndTheRightButtonOpensNoMenu)
{
  AddBar({L"Open", L"Save"});
  TdxBarQuickControl* quick = OpenByMark();
  ASSERT_NE(quick, nullptr);
  HWND h = quick->GetHandle();
  RECT w{};
  GetWindowRect(h, &w);
  const TRect client = quick->ClientToScreen(quick->GetClientRect());
  ASSERT_GT(client.left, w.left) << "the popup has a frame";
  auto hit = [&](int X, int Y) { return int(SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(X, Y))); };
  EXPECT_EQ(hit(w.left, (w.top + w.bottom) / 2), HTBORDER);
  EXPECT_EQ(hit(w.right - 1, w.bottom - 1), HTBORDER);
  EXPECT_EQ(hit((w.left + w.right) / 2, w.top), HTBORDER);
  EXPECT_EQ(hit((client.left + client.right) / 2, (client.top + client.bottom) / 2), HTCLIENT);
  // A press on the frame neither moves nor sizes it.
  TWeakRef<TdxBarQuickControl> ref(quick);
  ASSERT_TRUE(MoveMouseTo(POINT{w.left, (w.top + w.bottom) / 2}));
  ASSERT_TRUE(MouseButtonDown());
  MoveMouseTo(POINT{w.left - 30, (w.top + w.bottom) / 2 + 20});
  MouseButtonUp();
  PumpPending();
  ASSERT_TRUE(ref) << "a press on its own frame leaves the popup open";
  RECT after{};
  GetWindowRect(h, &after);
  EXPECT_TRUE(EqualRect(&after, &w));

  const TRect entry = ref->GetItemScreenRect(ref->GetItemLinks()->Items(0)->GetControl());
  ASSERT_TRUE(ClickAt(CentreOf(entry), TInputButton::Right));
  PumpPending();
  EXPECT_TRUE(ref) << "the right button leaves the popup open";
  EXPECT_EQ(BarDesignController()->GetCustomizingPopup(), nullptr);
  EXPECT_EQ(BarDesignController()->GetToolbarsPopup(), nullptr);
  EXPECT_TRUE(ref->IsParentOf(ActiveBarControl())) << "no menu of another window opened";
}

// With its list open, a press on the popup's frame closes the list alone: the popup handling
// the press stays, as it does when nothing is open.
TEST_F(TQuickPopup, APressOnTheFrameWithTheListOpenClosesOnlyTheList)
{
  AddBar({L"Open", L"Save"});
  TWeakRef<TdxBarQuickControl> ref(OpenByMark());
  ASSERT_TRUE(ref);
  TWeakRef<TdxBarQuickAccessSubControl> listRef(OpenQuickList(ref.Get()));
  ASSERT_TRUE(listRef);
  RECT w{};
  GetWindowRect(ref->GetHandle(), &w);
  ASSERT_EQ(SendMessageW(ref->GetHandle(), WM_NCHITTEST, 0, MAKELPARAM((w.left + w.right) / 2, w.top)), HTBORDER);
  ASSERT_TRUE(ClickAt(POINT{(w.left + w.right) / 2, w.top}));
  EXPECT_TRUE(PumpUntil([&] { return !listRef; })) << "the list closes";
  PumpPending();
  ASSERT_TRUE(ref) << "the popup pressed on stays open";
  EXPECT_TRUE(IsWindowVisible(ref->GetHandle()));
  EXPECT_EQ(Toolbar()->GetQuickControl(), ref.Get());
  // It still answers: another press on the frame leaves it, Esc closes it.
  ASSERT_TRUE(ClickAt(POINT{(w.left + w.right) / 2, w.top}));
  PumpPending();
  ASSERT_TRUE(ref);
  ref->Close();
  EXPECT_TRUE(PumpUntil([&] { return !ref; }));
}

TEST_F(TQuickPopup, TheClosingCheckClosesThePopupWhenAnotherPopupOfItsChainIsActive)
{
  AddBar({L"Open", L"Save"});
  TdxBarQuickControl* quick = OpenByMark();
  ASSERT_NE(quick, nullptr);
  TWeakRef<TdxBarQuickControl> ref(quick);
  // Its own menu open is no reason to close.
  TdxBarQuickAccessSubControl* list = OpenQuickList(quick);
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(ActiveBarControl(), list);
  quick->StartTimer();
  EXPECT_TRUE(quick->IsTimerEnabled());
  EXPECT_TRUE(PumpUntil([&] { return !ref || !ref->IsTimerEnabled(); }));
  ASSERT_TRUE(ref) << "closed while its own menu was the active popup";
  list->CloseMenu();
  PumpPending();
  ASSERT_TRUE(ref);

  // Another menu of the toolbar becomes the active popup: the check closes this one.
  auto* other =
      static_cast<TdxBarInternalSubMenuControl*>(TdxBarInternalSubMenuControl::StaticClass()->Create(Manager));
  TWeakRef<TdxBarInternalSubMenuControl> otherRef(other);
  other->GetOwnLinks()->AddItem(ToolLinks()->Items(0)->GetItem());
  other->SetParentBarControl(Toolbar());
  other->SetBounds(400, 300, 0, 0);
  other->Popup();
  ASSERT_EQ(ActiveBarControl(), other);
  ref->StartTimer();
  EXPECT_TRUE(PumpUntil([&] { return !ref; }));
  EXPECT_NE(Toolbar()->GetMarkState(), TdxBarMarkState::Pressed);
  if (otherRef)
    otherRef->Free();
}

TEST_F(TQuickPopup, AHotMarkHintsAtItsPopup)
{
  AddBar({L"Open"});
  TdxBarControl* bar = Toolbar();
  ASSERT_FALSE(bar->GetItemsHidden());
  EXPECT_EQ(bar->GetMarkHint(), StripAccelChars(AccessCaption()));
  Manager->SetShowHint(true);
  const TRect mark = dxBarGetMarkScreenRect(bar);
  // The look frames a hot mark, so the pointer makes it hot; the hint comes with the hot state.
  ASSERT_TRUE(MoveMouseTo(CentreOf(mark)));
  EXPECT_TRUE(PumpUntil([&] { return bar->GetMarkState() == TdxBarMarkState::Hot; }));
  ASSERT_TRUE(PumpUntil([] { return dxBarIsHintShowing(); }, 4000));
  EXPECT_EQ(dxBarHintWindow()->GetText(), StripAccelChars(AccessCaption()));
  // Opening the popup takes the hint away.
  ASSERT_TRUE(ClickAt(CentreOf(mark)));
  EXPECT_TRUE(PumpUntil([] { return !dxBarIsHintShowing(); }));
  ASSERT_TRUE(PumpUntil([&] { return bar->GetMarkState() == TdxBarMarkState::Pressed; }));
  ASSERT_TRUE(ClickAt(CentreOf(mark)));
  ASSERT_TRUE(PumpUntil([&] { return bar->GetMarkState() != TdxBarMarkState::Pressed; }));

  // The standard look draws its mark the same hot or not: the pointer leaves it alone.
  MoveMouseTo(POINT{5, 5});
  EXPECT_TRUE(PumpUntil([&] { return bar->GetMarkState() == TdxBarMarkState::Normal; })) << "leaving the mark cools it";
  Manager->SetStyle(bmsStandard);
  PumpPending();
  bar = Toolbar();
  ASSERT_TRUE(MoveMouseTo(CentreOf(dxBarGetMarkScreenRect(bar))));
  PumpPending();
  EXPECT_EQ(bar->GetMarkState(), TdxBarMarkState::Normal);
}

TEST_F(TQuickPopup, AFloatingToolbarsCaptionMarkOpensTheSamePopup)
{
  AddBar({L"Open", L"Save"});
  FBar->SetDockingStyle(dsNone);
  FBar->SetFloatLeft(250);
  FBar->SetFloatTop(300);
  PumpPending();
  TdxBarControl* bar = Toolbar();
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(bar->HasCaptionMark());
  TdxBarQuickControl* quick = OpenByMark();
  ASSERT_NE(quick, nullptr);
  EXPECT_EQ(bar->GetMarkState(), TdxBarMarkState::Pressed);
  EXPECT_EQ(quick->GetItemLinks()->Count(), 1);
  TWeakRef<TdxBarQuickControl> ref(quick);
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(PumpUntil([&] { return !ref; }));
  EXPECT_NE(bar->GetMarkState(), TdxBarMarkState::Pressed);
}

TEST_F(TQuickPopup, ThePopupGoesWithItsToolbar)
{
  AddBar({L"Open", L"Save"});
  TdxBarQuickControl* quick = OpenByMark();
  ASSERT_NE(quick, nullptr);
  TWeakRef<TdxBarQuickControl> ref(quick);
  ASSERT_NE(OpenQuickList(quick), nullptr);
  FBar->Free();
  FBar = nullptr;
  PumpPending();
  EXPECT_FALSE(ref);
  EXPECT_EQ(ActiveBarControl(), nullptr);
}

TEST_F(TQuickPopup, NothingOpensWhileCustomizingOrWithoutQuickCustomizingAndNothingHidden)
{
  AddBar({L"Open"});
  FBar->SetAllowQuickCustomizing(false);
  PumpPending();
  TdxBarControl* bar = Toolbar();
  ASSERT_NE(bar, nullptr);
  EXPECT_FALSE(bar->HasMark());
  bar->ClickMark(TdxBarMarkState::Pressed);
  EXPECT_EQ(bar->GetQuickControl(), nullptr);
  EXPECT_NE(bar->GetMarkState(), TdxBarMarkState::Pressed) << "an empty popup leaves the mark closed";
  EXPECT_EQ(ActiveBarControl(), nullptr);

  FBar->SetAllowQuickCustomizing(true);
  Manager->SetIsCustomizing(true);
  PumpPending();
  bar = Toolbar();
  ASSERT_NE(bar, nullptr);
  bar->ClickMark(TdxBarMarkState::Pressed);
  EXPECT_EQ(bar->GetQuickControl(), nullptr);
  EXPECT_EQ(bar->GetMarkState(), TdxBarMarkState::Normal);
}

TEST_F(TQuickPopup, WithoutQuickCustomizingThePopupHoldsOnlyTheHiddenLinks)
{
  std::vector<String> captions;
  for (int i = 0; i < 14; ++i)
    captions.push_back(L"Command" + IntToStr(i));
  AddBar(captions);
  FBar->SetAllowQuickCustomizing(false);
  PumpPending();
  TdxBarControl* bar = Toolbar();
  ASSERT_TRUE(PumpUntil([&] { return bar->GetItemsHidden(); }));
  ASSERT_TRUE(bar->HasMark()) << "hidden links show the mark";
  TdxBarQuickControl* quick = OpenByMark();
  ASSERT_NE(quick, nullptr);
  TdxBarItemLinks* links = quick->GetItemLinks();
  ASSERT_EQ(links->Count(), 14 - bar->GetVisibleCount());
  for (int i = 0; i < links->Count(); ++i)
    EXPECT_FALSE(dynamic_cast<TdxBarQuickAccessItem*>(links->Items(i)->GetItem())) << i;
}
