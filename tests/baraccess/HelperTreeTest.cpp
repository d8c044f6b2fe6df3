// The bars' helper tree in this process: its order and states, the tree order navigation
// follows, key-tip texts and places, and helpers that outlive their owners.
#include <gtest/gtest.h>

#include <algorithm>

#include "AccessAppMenu.h"
#include "bars/accessibility/baraccessibility.h"
#include "bars/model/bar.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/model/customizing.h"
#include "bars/barwindows/dockcontrol.h"
#include "bars/model/itemlinks.h"
#include "bars/model/registry.h"
#include "bars/itemcontrols/subitems.h"
#include "bars/barwindows/toolbar.h"
#include "platform/Scope.h"
#include "platform/StdCtrls.h"
#include "support/BarProbe.h"
#include "support/BarTestHost.h"
#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"
#include "support/UnexpectedExceptions.h"

namespace {

class TAccessTestForm : public TForm {
  DECLARE_CLASS(TAccessTestForm, TForm)
public:
  explicit TAccessTestForm(TComponent* AOwner) : TForm(AOwner) {}
};
IMPLEMENT_CLASS(TAccessTestForm, TForm)

[[maybe_unused]] testing::Environment* const AccessEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TAccessTestForm::StaticClass(), TdxBarManager::StaticClass(), TdxBar::StaticClass()});

class HelperTree : public testing::Test {
protected:
  TdxBar* AddBar(const String& ACaption, const std::vector<String>& AItems, int ARow, int ALeft = 0)
  {
    TdxBar* bar = Host.Manager->GetBars()->Add();
    bar->SetCaption(ACaption);
    bar->SetDockingStyle(dsTop);
    bar->SetRow(ARow);
    bar->SetDockedLeft(ALeft);
    for (const String& caption : AItems) {
      auto* button = new TdxBarButton(Host.Form());
      button->SetCaption(caption);
      button->SetPaintStyle(psCaption);
      bar->GetItemLinks()->AddItem(button);
    }
    bar->SetVisible(true);
    return bar;
  }
  void Show()
  {
    Host.Form()->SetBounds(80, 80, 700, 300);
    Host.Form()->Show();
    PumpPending();
  }
  // Bars as a reader of the screen takes them: row by row from the top, left to right.
  static std::vector<TdxBar*> ByScreen(std::vector<TdxBar*> ABars)
  {
    auto at = [](TdxBar* bar) {
      RECT r{};
      GetWindowRect(bar->GetControl()->GetHandle(), &r);
      return std::pair<long, long>{r.top, r.left};
    };
    std::sort(ABars.begin(), ABars.end(), [&](TdxBar* a, TdxBar* b) { return at(a) < at(b); });
    return ABars;
  }
  static TdxBarAccessibilityHelper* Of(TObject* AObject) { return dxBarGetAccessibilityHelper(AObject); }
  static TdxBarItemControl* Control(TdxBar* ABar, int AIndex)
  {
    return ABar->GetItemLinks()->Items(AIndex)->GetControl();
  }
  static TdxBarButton* Button(TdxBar* ABar, int AIndex)
  {
    return static_cast<TdxBarButton*>(ABar->GetItemLinks()->Items(AIndex)->GetItem());
  }
  static std::vector<String> Texts(const std::vector<TdxBarKeyTipInfo>& AList)
  {
    std::vector<String> result;
    for (const TdxBarKeyTipInfo& info : AList)
      result.push_back(info.Text);
    return result;
  }

  TBarHost<TAccessTestForm> Host;
};

TEST_F(HelperTree, ADockListsItsBarsRowByRowAndAToolbarEndsWithItsCaptionButtons)
{
  AddBar(L"B1", {L"One", L"Two"}, 0, 0);
  AddBar(L"B2", {L"Three"}, 0, 300);
  TdxBar* b3 = AddBar(L"B3", {L"Four", L"Five", L"Six"}, 1, 0);
  Show();
  const std::vector<TdxBar*> bars = ByScreen(
      {Host.Manager->GetBars()->GetItem(0), Host.Manager->GetBars()->GetItem(1), Host.Manager->GetBars()->GetItem(2)});
  TdxBarAccessibilityHelper* dock = Of(Host.Manager->GetBars()->GetDockControl(dsTop));
  ASSERT_NE(dock, nullptr);
  ASSERT_EQ(dock->GetChildCount(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(dock->GetChild(i), Of(bars[size_t(i)]->GetControl())) << i;
    EXPECT_EQ(Of(bars[size_t(i)]->GetControl())->GetParent(), dock) << i;
  }

  TdxBarAccessibilityHelper* bar = Of(b3->GetControl());
  ASSERT_EQ(bar->GetChildCount(), 5);
  EXPECT_EQ(bar->GetChild(1), Of(Control(b3, 1)));
  EXPECT_EQ(bar->GetChildIndex(Of(Control(b3, 2))), 2);
  EXPECT_EQ(bar->GetBarChild(3)->GetRole(CHILDID_SELF), ROLE_SYSTEM_BUTTONMENU) << "the mark";
  EXPECT_EQ(bar->GetBarChild(4)->GetRole(CHILDID_SELF), ROLE_SYSTEM_GROUPING);
  EXPECT_EQ(Of(Control(b3, 0))->GetParent(), bar);
  // The same owner keeps its helper.
  EXPECT_EQ(Of(Control(b3, 0)), Of(Control(b3, 0)));

  // A hidden bar's items say so and are no navigation target.
  for (TdxBar* each : bars)
    each->SetShowMark(false);
  PumpPending();
  TdxBar* last = bars[2];
  TdxBarAccessibilityHelper* first = Of(Control(last, 0));
  EXPECT_EQ(first->GetState(CHILDID_SELF) & STATE_SYSTEM_INVISIBLE, 0);
  TdxBar* before = bars[1];
  TdxBarAccessibilityHelper* beforeLast = Of(Control(before, before->GetItemLinks()->Count() - 1));
  EXPECT_EQ(beforeLast->GetNextNavigationTarget(true), first);
  ShowWindow(last->GetControl()->GetHandle(), SW_HIDE);
  EXPECT_NE(first->GetState(CHILDID_SELF) & STATE_SYSTEM_INVISIBLE, 0);
  EXPECT_FALSE(first->IsSelectable());
  EXPECT_EQ(beforeLast->GetNextNavigationTarget(true), nullptr);
}

TEST_F(HelperTree, TreeOrderCrossesToTheNextBarAndSkipsDisabledItems)
{
  AddBar(L"B1", {L"One", L"Two"}, 0, 0);
  AddBar(L"B2", {L"Three", L"Four"}, 0, 300);
  Show();
  const std::vector<TdxBar*> bars =
      ByScreen({Host.Manager->GetBars()->GetItem(0), Host.Manager->GetBars()->GetItem(1)});
  TdxBar* b1 = bars[0];
  TdxBar* b2 = bars[1];
  TdxBarAccessibilityHelper* two = Of(Control(b1, 1));
  // A bar's mark follows its items.
  TdxBarAccessibilityHelper* mark = Of(b1->GetControl())->GetBarChild(2);
  ASSERT_TRUE(mark->IsSelectable());
  EXPECT_EQ(two->GetNextNavigationTarget(true), mark);
  EXPECT_EQ(mark->GetNextNavigationTarget(true), Of(Control(b2, 0)));
  b1->SetShowMark(false);
  b2->SetShowMark(false);
  PumpPending();
  two = Of(Control(b1, 1));
  EXPECT_EQ(two->GetNextNavigationTarget(true), Of(Control(b2, 0)));
  EXPECT_EQ(Of(Control(b2, 0))->GetNextNavigationTarget(false), two);
  EXPECT_EQ(Of(Control(b1, 0))->GetNextNavigationTarget(false), nullptr) << "nothing before the first";

  Button(b2, 0)->SetEnabled(false);
  PumpPending();
  EXPECT_EQ(Of(Control(b1, 1))->GetNextNavigationTarget(true), Of(Control(b2, 1)));
  EXPECT_EQ(Of(Control(b2, 1))->GetNextNavigationTarget(true), nullptr);
}

TEST_F(HelperTree, KeyTipsComeFromAcceleratorsAreCutAndToldApart)
{
  TdxBar* bar = AddBar(L"Tools", {L"&Open", L"&Options", L"Print", L"Long", L"&Gone"}, 0);
  Show();
  Button(bar, 3)->SetKeyTip(L"abcd");
  Button(bar, 4)->SetEnabled(false);
  PumpPending();
  std::vector<TdxBarKeyTipInfo> tips;
  Of(bar->GetControl())->CollectUniqueKeyTips(tips);
  EXPECT_EQ(Texts(tips), (std::vector<String>{L"O1", L"O2", L"Y", L"ABC"})) << "a disabled item has none";

  // On a toolbar each tip is centred on its item.
  const TRect r = bar->GetControl()->GetItemScreenRect(Control(bar, 2));
  EXPECT_EQ(tips[2].Position.x, (r.left + r.right) / 2);
  EXPECT_EQ(tips[2].Position.y, (r.top + r.bottom) / 2);
  EXPECT_EQ(tips[2].HorzAlign, TdxBarKeyTipAlign::Centre);
  EXPECT_EQ(tips[2].VertAlign, TdxBarKeyTipAlign::Centre);
  EXPECT_TRUE(tips[2].Visible);
  EXPECT_EQ(tips[2].BarControl, bar->GetControl());

  // The item's shortcut is its keyboard shortcut for a client.
  Button(bar, 0)->SetShortCut(TShortCut(0x4000 | 'O'));
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR shortcut = nullptr;
  ASSERT_EQ(Of(Control(bar, 0))->get_accKeyboardShortcut(self, &shortcut), S_OK);
  EXPECT_STREQ(shortcut, L"Ctrl+O");
  SysFreeString(shortcut);
  EXPECT_EQ(Of(Control(bar, 2))->get_accKeyboardShortcut(self, &shortcut), S_FALSE);

  // A hidden bar gives none.
  ShowWindow(bar->GetControl()->GetHandle(), SW_HIDE);
  tips.clear();
  Of(bar->GetControl())->CollectUniqueKeyTips(tips);
  EXPECT_TRUE(tips.empty());
}

TEST_F(HelperTree, KeyTipsOfAMenuSitOnTheGlyphColumn)
{
  TdxBar* bar = AddBar(L"Tools", {}, 0);
  auto* more = new TdxBarSubItem(Host.Form());
  more->SetCaption(L"&More");
  for (const wchar_t* caption : {L"&One", L"&Two", L"&Three"}) {
    auto* button = new TdxBarButton(Host.Form());
    button->SetCaption(caption);
    more->GetItemLinks()->AddItem(button);
  }
  bar->GetItemLinks()->AddItem(more);
  Show();
  ASSERT_TRUE(ActivateWindow(Host.Form()->GetHandle()));
  auto* opener = static_cast<TdxBarButtonLikeControl*>(Control(bar, 0));
  Of(opener)->ExecuteKeyTip();
  TCustomdxBarControl* menu = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (menu = opener->GetSubMenuControl()) && IsWindowVisible(menu->GetHandle()); }));
  TdxBarAccessibilityHelper* helper = Of(menu);
  EXPECT_EQ(helper->GetRole(CHILDID_SELF), ROLE_SYSTEM_MENUPOPUP);
  EXPECT_FALSE(helper->IsSelectable()) << "a menu's tips are its items'";
  std::vector<TdxBarKeyTipInfo> tips;
  helper->CollectUniqueKeyTips(tips);
  ASSERT_EQ(Texts(tips), (std::vector<String>{L"O", L"T1", L"T2"}));
  for (size_t i = 0; i < tips.size(); ++i) {
    const TRect item = menu->GetItemScreenRect(menu->GetItemLinks()->Items(int(i))->GetControl());
    EXPECT_EQ(tips[i].Position.y, (item.top + item.bottom) / 2) << i;
    EXPECT_GT(tips[i].Position.x, item.left) << i;
    EXPECT_LT(tips[i].Position.x, item.left + (item.right - item.left) / 3) << "on the glyph column, " << i;
  }
  SendMessageW(menu->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
  PumpPending();
}

TEST(KeyTipTexts, DefaultsComeFromTheAcceleratorCharacter)
{
  EXPECT_EQ(dxBarDefaultKeyTipOfCaption(L"&Open"), L"O");
  EXPECT_EQ(dxBarDefaultKeyTipOfCaption(L"sa&ve"), L"V");
  EXPECT_EQ(dxBarDefaultKeyTipOfCaption(L"Print"), L"Y");
  EXPECT_EQ(dxBarDefaultKeyTipOfCaption(L"Save && &Close"), L"C");
  EXPECT_EQ(dxBarDefaultKeyTipOfCaption(L"Fish && Chips"), L"Y");
  EXPECT_EQ(dxBarDefaultKeyTipOfCaption(L"Trailing&"), L"Y");
  EXPECT_EQ(dxBarDefaultKeyTipOfCaption(L""), L"Y");
}

TEST(KeyTipTexts, EqualTextsAreNumberedAndAPrefixOfAnotherGrows)
{
  std::vector<String> eleven(11, L"Y");
  dxBarMakeKeyTipsUnique(eleven);
  EXPECT_EQ(eleven.front(), L"Y01");
  EXPECT_EQ(eleven[8], L"Y09");
  EXPECT_EQ(eleven.back(), L"Y11");

  std::vector<String> prefix{L"A", L"A1"};
  dxBarMakeKeyTipsUnique(prefix);
  EXPECT_EQ(prefix, (std::vector<String>{L"A11", L"A12"}));

  std::vector<String> longer{L"F", L"FX"};
  dxBarMakeKeyTipsUnique(longer);
  EXPECT_EQ(longer, (std::vector<String>{L"F1", L"FX"}));

  // Typed keys match whatever the case, so case does not tell tips apart.
  std::vector<String> cased{L"o", L"O", L"X"};
  dxBarMakeKeyTipsUnique(cased);
  EXPECT_EQ(cased, (std::vector<String>{L"O1", L"O2", L"X"}));

  std::vector<String> none;
  dxBarMakeKeyTipsUnique(none);
  EXPECT_TRUE(none.empty());
}

TEST(KeyTipTexts, EveryListEndsUniqueAndFree)
{
  // Seeded mixes of short texts: whatever the mix, no tip equals or begins another.
  unsigned seed = 7;
  auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  const wchar_t* parts[] = {L"A", L"B", L"1", L"A1", L"AB"};
  for (int round = 0; round < 200; ++round) {
    std::vector<String> texts;
    for (unsigned n = next() % 14; n > 0; --n)
      texts.push_back(parts[next() % 5]);
    dxBarMakeKeyTipsUnique(texts);
    for (size_t i = 0; i < texts.size(); ++i)
      for (size_t j = 0; j < texts.size(); ++j)
        if (i != j) {
          ASSERT_NE(texts[j].compare(0, texts[i].size(), texts[i]), 0) << round << ": " << i << " " << j;
        }
  }
}

TEST_F(HelperTree, HelpersOutliveTheirOwnersSafely)
{
  TdxBar* bar = AddBar(L"Tools", {L"One", L"Two"}, 0);
  Show();
  TdxBarAccessibilityHelper* item = Of(Control(bar, 0));
  TdxBarAccessibilityHelper* window = Of(bar->GetControl());
  item->AddRef();
  window->AddRef();
  IAccessible* itemObject = item->GetIAccessible();
  IAccessible* windowObject = window->GetIAccessible();
  const HWND wnd = bar->GetControl()->GetHandle();
  LRESULT answer = SendMessageW(wnd, WM_GETOBJECT, 0, LPARAM(DWORD(OBJID_CLIENT)));
  EXPECT_GT(answer, 0) << "the bar window answers with its object";
  EXPECT_EQ(SendMessageW(wnd, WM_GETOBJECT, 0, LPARAM(DWORD(OBJID_CARET))), 0);
  if (answer > 0) {
    IAccessible* fetched = nullptr;
    if (SUCCEEDED(ObjectFromLresult(answer, __uuidof(IAccessible), 0, reinterpret_cast<void**>(&fetched))))
      fetched->Release();
  }

  bar->GetItemLinks()->Items(0)->GetItem()->Free();
  PumpPending();
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = reinterpret_cast<BSTR>(1);
  EXPECT_EQ(itemObject->get_accName(self, &name), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(name, nullptr);
  long x = 1, y = 1, w = 1, h = 1;
  EXPECT_EQ(itemObject->accLocation(&x, &y, &w, &h, self), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(itemObject->accDoDefaultAction(self), CO_E_OBJNOTCONNECTED);
  PumpFor(50);

  bar->Free();
  PumpPending();
  long count = 9;
  EXPECT_EQ(windowObject->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(count, 0);
  IDispatch* parent = reinterpret_cast<IDispatch*>(1);
  EXPECT_EQ(windowObject->get_accParent(&parent), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(parent, nullptr);
  itemObject->Release();
  windowObject->Release();
}

int GBeeps = 0;
void CountBeep()
{
  ++GBeeps;
}

// A real key; waits until this thread has taken every key message.
void Stroke(WORD AKey)
{
  EXPECT_TRUE(StrokeKey(AKey));
}

// The key-tip windows on screen now.
std::vector<HWND> ShownKeyTipWindows()
{
  std::vector<HWND> result;
  for (const auto& tip : BarNavigationController()->GetKeyTips())
    if (tip->Window && IsWindowVisible(tip->Window))
      result.push_back(tip->Window);
  return result;
}

// A client that walks a long toolbar's children one call at a time, or hit-tests its last
// button, costs one listing of the bar's controls, not one per child; a change of the bar's
// items is seen at the next call.
TEST_F(HelperTree, AWalkOverALongToolbarListsItsControlsOnce)
{
  std::vector<String> captions;
  for (int i = 0; i < 1000; ++i)
    captions.push_back(L"B" + IntToStr(i));
  TdxBar* bar = AddBar(L"Long", captions, 0);
  bar->SetMultiLine(true);
  Show();
  TdxBarAccessibilityHelper* helper = Of(bar->GetControl());
  const int count = helper->GetChildCount();
  ASSERT_GT(count, 500) << "a multi-line bar shows its buttons";
  auto id = [](long AId) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = AId;
    return v;
  };
  const uint64_t before = dxBarAccessibilityItemControlListings();
  for (long child = 1; child <= count; ++child) {
    IDispatch* object = nullptr;
    ASSERT_EQ(helper->get_accChild(id(child), &object), S_OK) << child;
    object->Release();
  }
  TdxBarAccessibilityHelper* last = helper->GetBarChild(count - 3);
  const TRect r = last->GetScreenBounds(CHILDID_SELF);
  VARIANT hit;
  VariantInit(&hit);
  ASSERT_EQ(helper->accHitTest((r.left + r.right) / 2, (r.top + r.bottom) / 2, &hit), S_OK);
  EXPECT_EQ(hit.vt, VT_DISPATCH);
  EXPECT_EQ(hit.pdispVal, static_cast<IDispatch*>(last->GetIAccessible()));
  VariantClear(&hit);
  EXPECT_LE(dxBarAccessibilityItemControlListings() - before, 1u);

  bar->GetItemLinks()->Items(0)->GetItem()->Free();
  PumpPending();
  EXPECT_EQ(helper->GetChildCount(), count - 1);
  EXPECT_EQ(helper->GetChild(0), Of(Control(bar, 0)));
  EXPECT_NE(helper->GetChild(0), helper->GetChild(1));
}

TEST_F(HelperTree, KeyTipsShowOnAltAndLeaveNothingOnScreen)
{
  TdxBar* bar = AddBar(L"Tools", {L"&Open", L"&Options", L"Print"}, 0);
  std::vector<String> clicks;
  for (int i = 0; i < 3; ++i)
    Button(bar, i)->SetOnClick(
        TNotifyEvent([&clicks, bar, i](TObject*) { clicks.push_back(Button(bar, i)->GetCaption()); }));
  auto* edit = AddEdit(Host.Form(), 20, 150, 150, 24);
  Show();
  ASSERT_TRUE(ActivateWindow(Host.Form()->GetHandle()));
  edit->SetFocus();
  PumpPending();
  TdxBarBeepProc oldBeep = SetdxBarBeepProc(&CountBeep);
  TFinally restoreBeep([&]() noexcept { SetdxBarBeepProc(oldBeep); });
  GBeeps = 0;

  RECT area{};
  GetWindowRect(bar->GetControl()->GetHandle(), &area);
  InflateRect(&area, 0, 20);
  PumpFor(100);
  const TDib32 before = CaptureScreen(area);
  SaveShotOnRequest(before, "keytips-before");
  // The bar's captions are on screen: the comparisons below see real pixels.
  ASSERT_GT(CountPixels(before, RECT{0, 0, area.right - area.left, area.bottom - area.top},
                        [](COLORREF c) { return GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80; }),
            20);
  auto holdAlt = [] { EXPECT_TRUE(ShowKeyTipsByAlt()); };
  auto nothingLeft = [&](const char* AWhen) {
    EXPECT_TRUE(ShownKeyTipWindows().empty()) << AWhen;
    PumpFor(50);
    EXPECT_EQ(CountDifferentPixels(CaptureScreen(area), RECT{0, 0, area.right - area.left, area.bottom - area.top},
                                   before, 16),
              0)
        << AWhen;
  };

  holdAlt();
  std::vector<HWND> shown = ShownKeyTipWindows();
  ASSERT_EQ(shown.size(), 3u);
  PumpFor(100);
  const TDib32 withTips = CaptureScreen(area);
  SaveShotOnRequest(withTips, "keytips-shown");
  EXPECT_GT(CountDifferentPixels(withTips, RECT{0, 0, area.right - area.left, area.bottom - area.top}, before, 16), 50)
      << "the tips show on screen";
  for (int i = 0; i < 3; ++i) {
    RECT tip{};
    GetWindowRect(shown[size_t(i)], &tip);
    const TRect item = bar->GetControl()->GetItemScreenRect(Control(bar, i));
    EXPECT_NEAR((tip.left + tip.right) / 2, (item.left + item.right) / 2, 1) << i;
    EXPECT_NEAR((tip.top + tip.bottom) / 2, (item.top + item.bottom) / 2, 1) << i;
    wchar_t text[8] = {};
    GetWindowTextW(shown[size_t(i)], text, 8);
    EXPECT_EQ(String(text), (std::vector<String>{L"O1", L"O2", L"Y"})[size_t(i)]);
  }
  // A character no tip begins with beeps and leaves the tips; Esc takes them away.
  Stroke('Q');
  EXPECT_EQ(GBeeps, 1);
  EXPECT_EQ(ShownKeyTipWindows().size(), 3u);
  Stroke(VK_ESCAPE);
  nothingLeft("after Esc");

  // A key without a character dismisses them too.
  holdAlt();
  EXPECT_EQ(ShownKeyTipWindows().size(), 3u);
  Stroke(VK_HOME);
  nothingLeft("after Home");

  // Typing a tip runs its item and takes the tips away.
  holdAlt();
  Stroke('O');
  EXPECT_EQ(ShownKeyTipWindows().size(), 2u);
  Stroke('2');
  EXPECT_EQ(clicks, std::vector<String>{L"&Options"});
  holdAlt();
  Stroke('Y');
  EXPECT_EQ(clicks, (std::vector<String>{L"&Options", L"Print"}));
  nothingLeft("after a click");
  EXPECT_EQ(edit->GetText(), L"") << "no typed key reached the edit";
}

// A floating toolbar's caption buttons take part: each tip sits on its button in the caption,
// a disabled one shows but runs nothing, and typing the other's tip presses it.
TEST_F(HelperTree, KeyTipsOfCaptionButtonsSitOnThemAndPressThem)
{
  TdxBar* bar = AddBar(L"Floating", {L"&Alpha"}, 0);
  bar->SetDockingStyle(dsNone);
  bar->SetFloatLeft(300);
  bar->SetFloatTop(300);
  std::vector<String> pressed;
  for (const wchar_t* name : {L"Pin", L"Lock"}) {
    TdxBarCaptionButton* button = bar->GetCaptionButtons()->Add();
    button->SetHint(name);
    button->SetKeyTip(String(1, name[0]));
    button->OnClick = TNotifyEvent([&pressed, name](TObject*) { pressed.push_back(name); });
  }
  bar->GetCaptionButtons()->GetItem(1)->SetEnabled(false);
  Show();
  ASSERT_TRUE(ActivateWindow(Host.Form()->GetHandle()));
  TdxBarControl* control = bar->GetControl();
  ASSERT_TRUE(control && control->HandleAllocated());
  ASSERT_TRUE(PumpUntil([&] { return !IsRectEmpty(bar->GetCaptionButtons()->GetItem(0)->GetRect()); }));

  EXPECT_TRUE(ShowKeyTipsByAlt());
  std::vector<HWND> shown = ShownKeyTipWindows();
  ASSERT_EQ(shown.size(), 3u) << "the item's and both buttons'";
  RECT window{};
  GetWindowRect(control->GetHandle(), &window);
  const TRect alpha = control->GetItemScreenRect(Control(bar, 0));
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    HWND tip = shown[size_t(i + 1)];
    wchar_t text[8] = {};
    GetWindowTextW(tip, text, 8);
    EXPECT_EQ(String(text), i == 0 ? L"P" : L"L");
    EXPECT_EQ(IsWindowEnabled(tip) != FALSE, i == 0);
    RECT r{};
    GetWindowRect(tip, &r);
    TRect button = bar->GetCaptionButtons()->GetItem(i)->GetRect();
    OffsetRect(&button, window.left, window.top);
    EXPECT_NEAR((r.left + r.right) / 2, (button.left + button.right) / 2, 1);
    // At the height the bar gives the caption's key tips, whatever the button's own size.
    EXPECT_EQ(BarNavigationController()->GetKeyTips()[size_t(i + 1)]->Info.Position.y,
              window.top + control->GetCaptionKeyTipY());
    EXPECT_NEAR((r.top + r.bottom) / 2, (button.top + button.bottom) / 2, 1);
    EXPECT_LE(button.bottom, alpha.top) << "in the caption, above the items";
  }
  Stroke('L');
  EXPECT_TRUE(pressed.empty()) << "a disabled button's tip runs nothing";
  EXPECT_TRUE(ShownKeyTipWindows().empty());
  EXPECT_TRUE(ShowKeyTipsByAlt());
  Stroke('P');
  EXPECT_EQ(pressed, std::vector<String>{L"Pin"});
  EXPECT_TRUE(ShownKeyTipWindows().empty());
}

// A toolbar whose window records the mark's clicks.
class TMarkRecordingBar : public TdxBarControl {
  DECLARE_CLASS(TMarkRecordingBar, TdxBarControl)
public:
  using TFactoryOwner = TdxBar;
  explicit TMarkRecordingBar(TdxBar* ABar) : TdxBarControl(ABar) {}
  void ClickMark(TdxBarMarkState AState) override
  {
    States.push_back(AState);
    TdxBarControl::ClickMark(AState);
  }
  std::vector<TdxBarMarkState> States;
};
IMPLEMENT_CLASS(TMarkRecordingBar, TdxBarControl)

class TMarkRecordingDock : public TdxBarDockControl {
  DECLARE_CLASS(TMarkRecordingDock, TdxBarDockControl)
public:
  using TdxBarDockControl::TdxBarDockControl;
  TClass GetBarControlClass() const override { return TMarkRecordingBar::StaticClass(); }
};
IMPLEMENT_CLASS(TMarkRecordingDock, TdxBarDockControl)

TEST_F(HelperTree, AToolbarsMarkIsAnElementThatEnterSpaceAndItsDefaultActionClick)
{
  auto* dock = new TMarkRecordingDock(Host.Form());
  dock->SetParent(Host.Form());
  dock->SetBarManager(Host.Manager);
  dock->SetAlign(dalTop);
  TdxBar* bar = AddBar(L"Marked", {L"One", L"Two"}, 0);
  bar->SetDockControl(dock);
  Show();
  auto* control = dynamic_cast<TMarkRecordingBar*>(bar->GetControl());
  ASSERT_NE(control, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return control->HasMark() && !IsRectEmpty(control->GetMarkRect()); }));
  TdxBarAccessibilityHelper* barHelper = Of(control);
  ASSERT_EQ(barHelper->GetChildCount(), 4);
  TdxBarAccessibilityHelper* mark = barHelper->GetBarChild(2);
  EXPECT_EQ(mark->GetParent(), barHelper);
  const TRect bounds = mark->GetScreenBounds(CHILDID_SELF);
  EXPECT_EQ(bounds, control->ClientToScreen(control->GetMarkRect()));
  RECT window{};
  GetWindowRect(control->GetHandle(), &window);
  EXPECT_TRUE(bounds.left >= window.left && bounds.right <= window.right && bounds.top >= window.top &&
              bounds.bottom <= window.bottom);
  EXPECT_GE(bounds.left, control->GetItemScreenRect(Control(bar, 1)).right) << "after the items";
  EXPECT_TRUE(mark->IsVisible());
  EXPECT_TRUE(mark->IsSelectable());
  // A reader hears what its hint says, never an unnamed button.
  EXPECT_EQ(mark->GetName(CHILDID_SELF), L"Add or Remove Buttons");
  EXPECT_EQ(mark->GetName(CHILDID_SELF), control->GetMarkHint());
  // The hit test of the bar finds it there.
  int child = -1;
  EXPECT_EQ(barHelper->GetHitTest((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2, child),
            cxAccessibleHitChild);
  EXPECT_EQ(child, 2);

  // Enter opens the popup, which keeps the mark open until it closes.
  ASSERT_TRUE(mark->HandleNavigationKey(VK_RETURN));
  EXPECT_NE(control->GetQuickControl(), nullptr);
  EXPECT_EQ(control->GetMarkState(), TdxBarMarkState::Pressed);
  control->ClickMark(TdxBarMarkState::Normal);
  EXPECT_TRUE(PumpUntil([&] { return control->GetQuickControl() == nullptr; }));
  control->States.clear();

  // With no popup to open, Enter and Space press and let go; other keys are not the mark's.
  TdxBarCustomizingServices none = dxBarCustomizingServices();
  none.ShowQuickControl = nullptr;
  TdxBarCustomizingServices previous = SetdxBarCustomizingServices(none);
  TFinally restore([&]() noexcept { SetdxBarCustomizingServices(previous); });
  EXPECT_FALSE(mark->HandleNavigationKey(VK_TAB));
  EXPECT_TRUE(control->States.empty());
  EXPECT_TRUE(mark->HandleNavigationKey(VK_RETURN));
  EXPECT_TRUE(mark->HandleNavigationKey(VK_SPACE));
  using enum TdxBarMarkState;
  EXPECT_EQ(control->States, (std::vector<TdxBarMarkState>{Pressed, Normal, Pressed, Normal}));
  EXPECT_EQ(control->GetMarkState(), TdxBarMarkState::Normal) << "nothing left drawn pressed";
  EXPECT_EQ(GetCapture(), nullptr);
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  EXPECT_EQ(mark->accDoDefaultAction(self), S_OK);
  EXPECT_TRUE(PumpUntil([&] { return control->States.size() == 6; }));
  EXPECT_EQ(control->GetMarkState(), TdxBarMarkState::Normal);

  // Without a mark it is there but invisible, and nothing clicks it.
  bar->SetShowMark(false);
  PumpPending();
  EXPECT_TRUE(IsRectEmpty(mark->GetScreenBounds(CHILDID_SELF)));
  EXPECT_NE(mark->GetState(CHILDID_SELF) & STATE_SYSTEM_INVISIBLE, 0);
  EXPECT_FALSE(mark->IsSelectable());
  EXPECT_FALSE(mark->HandleNavigationKey(VK_RETURN));
  EXPECT_EQ(control->States.size(), 6u);
}

// The application menu opened by its key tip shows the tips of its links, its pane's entries
// and its row's buttons where each is placed; typing one runs it and closes the menu.
TEST_F(HelperTree, ApplicationMenuKeyTipsSitOnItsLinksPaneAndRowAndRunWhatTheyName)
{
  std::vector<String> clicks;
  TTestApplicationMenu* menu = AddApplicationMenuBar(Host.Form(), Host.Manager, [&](const String& ACaption) {
    auto* button = new TdxBarButton(Host.Form());
    button->SetCaption(ACaption);
    button->SetPaintStyle(psCaption);
    button->SetOnClick(TNotifyEvent([&clicks, ACaption](TObject*) { clicks.push_back(ACaption); }));
    return button;
  });
  Show();
  ASSERT_TRUE(ActivateWindow(Host.Form()->GetHandle()));
  TdxBarBeepProc oldBeep = SetdxBarBeepProc(&CountBeep);
  TFinally restoreBeep([&]() noexcept { SetdxBarBeepProc(oldBeep); });
  GBeeps = 0;
  auto openByKeyTip = [&] {
    EXPECT_TRUE(ShowKeyTipsByAlt());
    ASSERT_EQ(ShownKeyTipWindows().size(), 1u) << "File";
    Stroke('F');
    ASSERT_TRUE(PumpUntil([&] { return menu->Window() && ShownKeyTipWindows().size() == 6; }, 3000))
        << "the menu's tips did not show";
  };
  ASSERT_NO_FATAL_FAILURE(openByKeyTip());
  TdxBarApplicationMenuControl* window = menu->Window();
  TdxBarExtraPaneControl* pane = window->GetExtraPaneControl();
  ASSERT_NE(pane, nullptr);

  // The tree: links, the row's buttons, then the pane's dock, under which the pane's entries
  // follow the row in tree order.
  TdxBarAccessibilityHelper* menuHelper = Of(window);
  TdxBarItemLinks* row = window->GetButtonLinks();
  ASSERT_EQ(menuHelper->GetChildCount(), 2 + 2 + 1);
  EXPECT_EQ(menuHelper->GetChild(2), Of(row->Items(0)->GetControl()));
  EXPECT_EQ(menuHelper->GetChild(4), Of(window->GetExtraPaneDock()));
  EXPECT_EQ(Of(window->GetExtraPaneDock())->GetParent(), menuHelper);
  EXPECT_EQ(Of(pane)->GetParent(), Of(window->GetExtraPaneDock()));
  EXPECT_EQ(Of(row->Items(1)->GetControl())->GetNextNavigationTarget(true),
            Of(pane->GetItemLinks()->Items(0)->GetControl()));

  // Each tip where its element is: a link's on the glyph column at its middle, a row
  // button's and a pane entry's on its centre.
  struct TExpected {
    const wchar_t* Text;
    TCustomdxBarControl* Bar;
    TdxBarItemLink* Link;
    bool Centred;
  };
  const TExpected expected[] = {{L"N", window, menu->GetItemLinks()->Items(0), false},
                                {L"O1", window, menu->GetItemLinks()->Items(1), false},
                                {L"O2", window, row->Items(0), true},
                                {L"X", window, row->Items(1), true},
                                {L"A", pane, pane->GetItemLinks()->Items(0), true},
                                {L"B", pane, pane->GetItemLinks()->Items(1), true}};
  std::vector<HWND> shown = ShownKeyTipWindows();
  ASSERT_EQ(shown.size(), 6u);
  RECT area{};
  GetWindowRect(window->GetHandle(), &area);
  InflateRect(&area, 12, 12);
  PumpFor(100);
  SaveShotOnRequest(CaptureScreen(area), "appmenu-keytips");
  for (size_t i = 0; i < shown.size(); ++i) {
    SCOPED_TRACE(i);
    wchar_t text[8] = {};
    GetWindowTextW(shown[i], text, 8);
    EXPECT_EQ(String(text), expected[i].Text);
    RECT tip{};
    GetWindowRect(shown[i], &tip);
    const TRect item = expected[i].Bar->GetItemScreenRect(expected[i].Link->GetControl());
    ASSERT_FALSE(IsRectEmpty(item));
    EXPECT_NEAR((tip.top + tip.bottom) / 2, (item.top + item.bottom) / 2, 1);
    if (expected[i].Centred)
      EXPECT_NEAR((tip.left + tip.right) / 2, (item.left + item.right) / 2, 1);
    else
      EXPECT_LT((tip.left + tip.right) / 2, item.left + (item.right - item.left) / 3);
  }

  // A row button's tip runs it.
  Stroke('X');
  EXPECT_TRUE(PumpUntil([&] { return menu->Window() == nullptr; })) << "the row's command left the menu open";
  EXPECT_EQ(clicks, std::vector<String>{L"E&xit"});
  EXPECT_TRUE(ShownKeyTipWindows().empty());

  // Esc goes back a level: the menu closes and the bar's tips show again.
  ASSERT_NO_FATAL_FAILURE(openByKeyTip());
  Stroke(VK_ESCAPE);
  EXPECT_TRUE(PumpUntil([&] { return menu->Window() == nullptr; })) << "Esc left the menu open";
  ASSERT_TRUE(PumpUntil([&] { return ShownKeyTipWindows().size() == 1; }));

  // From there the menu's tip opens it again; a pane entry's tip, and one reached through
  // its prefix in the row.
  Stroke('F');
  ASSERT_TRUE(PumpUntil([&] { return menu->Window() && ShownKeyTipWindows().size() == 6; }, 3000));
  Stroke('B');
  EXPECT_TRUE(PumpUntil([&] { return menu->Window() == nullptr; })) << "the pane's command left the menu open";
  ASSERT_NO_FATAL_FAILURE(openByKeyTip());
  Stroke('O');
  EXPECT_EQ(ShownKeyTipWindows().size(), 2u);
  Stroke('2');
  EXPECT_TRUE(PumpUntil([&] { return menu->Window() == nullptr; }));
  EXPECT_EQ(clicks, (std::vector<String>{L"E&xit", L"Recent &B", L"&Options"}));
  EXPECT_TRUE(ShownKeyTipWindows().empty());
  EXPECT_EQ(GBeeps, 0);
}

// A click a client asks for whose handler raises reaches the program's handler, as a click
// with the pointer does, and the message loop goes on with the next one.
TEST_F(HelperTree, ADefaultActionWhoseClickRaisesIsReportedAndTheLoopGoesOn)
{
  TdxBar* bar = AddBar(L"Checks", {L"Check", L"Next"}, 0);
  int checks = 0, nexts = 0;
  Button(bar, 0)->SetOnClick(TNotifyEvent([&](TObject*) {
    ++checks;
    throw EConvertError(L"validation failed");
  }));
  Button(bar, 1)->SetOnClick(TNotifyEvent([&](TObject*) { ++nexts; }));
  Show();
  TUnexpectedExceptions seen;
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  EXPECT_EQ(Of(Control(bar, 0))->accDoDefaultAction(self), S_OK);
  EXPECT_EQ(Of(Control(bar, 1))->accDoDefaultAction(self), S_OK);
  ASSERT_TRUE(PumpUntil([&] { return nexts == 1; })) << "the loop stopped at the raising click";
  EXPECT_EQ(checks, 1);
  EXPECT_EQ(seen.Messages, std::vector<String>{L"validation failed"});

  // The pointer's click on it is reported the same way.
  const TRect r = bar->GetControl()->GetItemScreenRect(Control(bar, 0));
  ASSERT_TRUE(ClickAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
  ASSERT_TRUE(PumpUntil([&] { return checks == 2; }));
  EXPECT_EQ(seen.Messages, std::vector<String>(2, L"validation failed"));
}

// Esc over the key tips of a menu opened by its key tip goes back to the tips shown before:
// every bar's, with the texts they had, where they were.
TEST_F(HelperTree, EscFromAMenusKeyTipsShowsAgainWhatWasShownBefore)
{
  AddBar(L"Tools", {L"&Find", L"&Copy", L"Paste"}, 0);
  TTestApplicationMenu* menu = AddApplicationMenuBar(Host.Form(), Host.Manager, [&](const String& ACaption) {
    auto* button = new TdxBarButton(Host.Form());
    button->SetCaption(ACaption);
    button->SetPaintStyle(psCaption);
    return button;
  });
  Show();
  ASSERT_TRUE(ActivateWindow(Host.Form()->GetHandle()));
  struct TShownTip {
    String Text;
    RECT Place;
    bool operator==(const TShownTip& A) const { return Text == A.Text && EqualRect(&Place, &A.Place); }
  };
  auto shownTips = [] {
    std::vector<TShownTip> result;
    for (HWND tip : ShownKeyTipWindows()) {
      wchar_t text[8] = {};
      GetWindowTextW(tip, text, 8);
      RECT r{};
      GetWindowRect(tip, &r);
      result.push_back({text, r});
    }
    return result;
  };
  EXPECT_TRUE(ShowKeyTipsByAlt());
  const std::vector<TShownTip> before = shownTips();
  ASSERT_EQ(before.size(), 4u) << "Find, Copy, Paste and File";
  // File's tip, "F" told apart from Find's.
  TdxBar* appBar = Host.Manager->GetBars()->GetItem(Host.Manager->GetBars()->GetCount() - 1);
  const TRect file = appBar->GetControl()->GetItemScreenRect(Control(appBar, 0));
  auto onFile = std::find_if(before.begin(), before.end(), [&](const TShownTip& tip) {
    const POINT centre{(tip.Place.left + tip.Place.right) / 2, (tip.Place.top + tip.Place.bottom) / 2};
    return PtInRect(&file, centre) != FALSE;
  });
  ASSERT_NE(onFile, before.end());
  ASSERT_EQ(onFile->Text.size(), 2u);
  EXPECT_EQ(onFile->Text[0], L'F');
  for (wchar_t c : onFile->Text)
    Stroke(c);
  ASSERT_TRUE(PumpUntil([&] { return menu->Window() && ShownKeyTipWindows().size() == 6; }, 3000))
      << "the menu's tips did not show";

  Stroke(VK_ESCAPE);
  ASSERT_TRUE(PumpUntil([&] { return menu->Window() == nullptr; })) << "Esc left the menu open";
  ASSERT_TRUE(PumpUntil([&] { return ShownKeyTipWindows().size() == before.size(); }));
  const std::vector<TShownTip> after = shownTips();
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); ++i)
    EXPECT_TRUE(after[i] == before[i]) << i << ": " << testing::PrintToString(after[i].Text) << " for "
                                       << testing::PrintToString(before[i].Text);
  // From there the same tip opens the menu again.
  for (wchar_t c : onFile->Text)
    Stroke(c);
  EXPECT_TRUE(PumpUntil([&] { return menu->Window() && ShownKeyTipWindows().size() == 6; }, 3000));
  Stroke(VK_ESCAPE);
  Stroke(VK_ESCAPE);
  EXPECT_TRUE(PumpUntil([&] { return menu->Window() == nullptr && ShownKeyTipWindows().empty(); }));
}

// A button whose control records how it is clicked.
class TClickProbe : public TdxBarButton {
  DECLARE_CLASS(TClickProbe, TdxBarButton)
public:
  using TdxBarButton::TdxBarButton;
};
IMPLEMENT_CLASS(TClickProbe, TdxBarButton)

class TClickProbeControl : public TdxBarButtonControl {
  DECLARE_CLASS(TClickProbeControl, TdxBarButtonControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TClickProbeControl(TdxBarItemLink* ALink) : TdxBarButtonControl(ALink) {}
  void ClickByKey() override
  {
    Clicks.push_back(L"by key");
    TdxBarButtonControl::ClickByKey();
  }
  void Click() override
  {
    Clicks.push_back(L"click");
    TdxBarButtonControl::Click();
  }
  static inline std::vector<String> Clicks;
};
IMPLEMENT_CLASS(TClickProbeControl, TdxBarButtonControl)

// A typed key tip clicks its element as the pointer does, not as a key pressed on it: the
// element never sees a click by key.
TEST_F(HelperTree, AKeyTipClicksItsElementWithoutTheMarkOfAClickByKey)
{
  RegisterBarItem(TClickProbe::StaticClass(), TClickProbeControl::StaticClass(), false);
  TFinally unregister([]() noexcept { UnregisterBarItem(TClickProbe::StaticClass()); });
  TdxBar* bar = Host.Manager->GetBars()->Add();
  bar->SetCaption(L"Probe");
  bar->SetDockingStyle(dsTop);
  auto* probe = new TClickProbe(Host.Form());
  probe->SetCaption(L"&Go");
  probe->SetPaintStyle(psCaption);
  int clicks = 0;
  probe->SetOnClick(TNotifyEvent([&](TObject*) { ++clicks; }));
  bar->GetItemLinks()->AddItem(probe);
  bar->SetVisible(true);
  Show();
  ASSERT_TRUE(ActivateWindow(Host.Form()->GetHandle()));
  ASSERT_NE(dynamic_cast<TClickProbeControl*>(Control(bar, 0)), nullptr);
  TClickProbeControl::Clicks.clear();
  EXPECT_TRUE(ShowKeyTipsByAlt());
  Stroke('G');
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(TClickProbeControl::Clicks, std::vector<String>{L"click"});
}

}  // namespace
