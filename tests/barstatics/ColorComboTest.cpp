// The colour combo: colour and index lookups with and without the automatic entry, what
// form data keeps, the list's samples, and with the real pointer and keys on a toolbar and
// in a menu: picking a named colour, and a custom colour through the shared colour dialog
// found and answered by its window.
#include "StaticsTestUtil.h"

#include <atomic>
#include <optional>

#include "bars/barwindows/dropdownlistbox.h"
#include "bars/hints/hintwindow.h"
#include "bars/menus/popupmenu.h"
#include "platform/Canvas.h"
#include "support/FormRoundTrip.h"

namespace {

// The dialog's red, green and blue edits.
constexpr int DialogRedEdit = 706;
constexpr int DialogGreenEdit = 707;
constexpr int DialogBlueEdit = 708;

// The colour the last dialog opened with, as its edits show it.
COLORREF Opened = CLR_INVALID;

void AnswerColorDialog(DWORD AThread, std::optional<COLORREF> AColor, std::atomic<bool>& AFound)
{
  HWND dialog = WaitForThreadDialog(AThread);
  AFound = dialog != nullptr;
  if (!dialog)
    return;
  auto value = [&](int AId) { return int(::GetDlgItemInt(dialog, AId, nullptr, FALSE)); };
  Opened = RGB(value(DialogRedEdit), value(DialogGreenEdit), value(DialogBlueEdit));
  if (AColor) {
    const int values[3] = {GetRValue(*AColor), GetGValue(*AColor), GetBValue(*AColor)};
    const int ids[3] = {DialogRedEdit, DialogGreenEdit, DialogBlueEdit};
    for (int i = 0; i < 3; ++i)
      ::SendMessageW(::GetDlgItem(dialog, ids[i]), WM_SETTEXT, 0, LPARAM(std::to_wstring(values[i]).c_str()));
  }
  ::PostMessageW(dialog, WM_COMMAND, AColor ? IDOK : IDCANCEL, 0);
}

class TColorCombos : public TStaticsFixture {
protected:
  TdxBarColorCombo* NewCombo(TdxBarItemLinks* ALinks = nullptr)
  {
    auto* combo = new TdxBarColorCombo(Host.Form());
    combo->SetCaption(L"Colour");
    combo->SetWidth(110);
    (ALinks ? ALinks : Bar->GetItemLinks())->AddItem(combo);
    PumpPending();
    return combo;
  }
  HWND List(TdxBarColorCombo* ACombo) const { return ACombo->GetListBox()->GetHandle(); }
  bool ListShown(TdxBarColorCombo* ACombo) const
  {
    return ACombo->GetListBox()->HandleAllocated() && ::IsWindowVisible(List(ACombo));
  }
  // The screen point of list entry AIndex.
  POINT ListEntry(TdxBarColorCombo* ACombo, int AIndex) const
  {
    RECT r{};
    ::SendMessageW(List(ACombo), LB_GETITEMRECT, WPARAM(AIndex), LPARAM(&r));
    return ScreenCentreOf(List(ACombo), r);
  }
  COLORREF SamplePixel(TdxBarColorComboControl* AControl)
  {
    WaitPainted(AControl->GetParent());
    RECT r = ScreenRectOf(AControl, AControl->GetSampleRect());
    TDib32 shot = CaptureScreen(r);
    return shot.Pixel(shot.Width() / 2, shot.Height() / 2);
  }
};

}  // namespace

TEST_F(TColorCombos, ColoursAndIndexesFollowEachOther)
{
  TdxBarColorCombo* combo = NewCombo();
  EXPECT_EQ(combo->GetItems()->Count(), 16);
  EXPECT_EQ(combo->GetItemIndex(), 0);
  EXPECT_EQ(combo->GetText(), L"Black");
  EXPECT_EQ(combo->GetGlyph()->GetWidth(), 16) << "its glyph from the library's resources";
  int changes = 0;
  combo->OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  combo->SetColor(TColor(0x0000FF));
  EXPECT_EQ(combo->GetItemIndex(), 9);
  EXPECT_EQ(combo->GetText(), L"Red");
  EXPECT_EQ(changes, 1);
  combo->SetShowAutoColor(true);
  EXPECT_EQ(combo->GetItems()->Get(0), L"(automatic)");
  EXPECT_EQ(combo->GetDropDownCount(), 17);
  EXPECT_EQ(combo->GetItemIndex(), 10) << "Red moves down below the automatic entry";
  combo->SetColor(clWindowText);
  EXPECT_EQ(combo->GetItemIndex(), 0);
  // Choosing an entry takes its colour.
  combo->SetItemIndex(13);
  EXPECT_EQ(combo->GetColor(), TColor(0xFF0000));
  combo->SetShowAutoColor(false);
  EXPECT_EQ(combo->GetItemIndex(), 12);
  EXPECT_EQ(combo->GetDropDownCount(), 16);
  combo->SetDropDownCount(10);
  combo->SetShowAutoColor(true);
  EXPECT_EQ(combo->GetDropDownCount(), 10) << "a count the user chose stays";

  // A colour no entry names: no entry, the colour kept, told once.
  changes = 0;
  combo->SetColor(TColor(0x123456));
  EXPECT_EQ(combo->GetItemIndex(), -1);
  EXPECT_EQ(combo->GetColor(), TColor(0x123456));
  EXPECT_EQ(changes, 1);
  combo->SetColor(TColor(0x654321));
  EXPECT_EQ(changes, 2) << "another unnamed colour is a change too";
  // No colour at all is no entry and no sample, not black.
  combo->SetColor(clNone);
  EXPECT_EQ(combo->GetItemIndex(), -1);
  EXPECT_FALSE(TdxBarColorCombo::IsSampleColor(clNone));
  EXPECT_FALSE(TdxBarColorCombo::IsSampleColor(clDefault));
  EXPECT_TRUE(TdxBarColorCombo::IsSampleColor(clBtnFace));
  // A system colour matches the named colour of its current value, if any.
  combo->SetShowAutoColor(false);
  combo->SetColor(clBtnFace);
  int expected = -1;
  for (int i = 0; i < 16; ++i)
    if (ColorToRGB(combo->GetColorOfIndex(i)) == COLORREF(::GetSysColor(COLOR_BTNFACE)))
      expected = i;
  EXPECT_EQ(combo->GetItemIndex(), expected);
  EXPECT_EQ(combo->GetColor(), clBtnFace);
}

TEST_F(TColorCombos, FormDataKeepsTheColourNotTheTexts)
{
  const String text =
      L"object StaticsForm: TStaticsTestForm\n"
      L"  object dxBarManager1: TdxBarManager\n"
      L"    object Colours: TdxBarColorCombo\n"
      L"      Category = 0\n"
      L"      Color = clTeal\n"
      L"      CustomColorText = 'other'\n"
      L"      ShowAutoColor = True\n"
      L"    end\n"
      L"  end\n"
      L"end\n";
  String written = ExpectFormRoundTrip<TStaticsTestForm>(text, [](TComponent* form) {
    auto* combo = Find<TdxBarColorCombo>(form, L"Colours");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetColor(), clTeal);
    EXPECT_EQ(combo->GetItemIndex(), 7);
    EXPECT_EQ(combo->GetCustomColorText(), L"other");
    EXPECT_EQ(combo->GetDropDownCount(), 17);
  });
  EXPECT_EQ(written.find(L"AutoColorText"), String::npos);
  EXPECT_EQ(written.find(L"DropDownCount"), String::npos);
  EXPECT_EQ(written.find(L"Text = "), written.find(L"CustomColorText = ") + 11) << "only the custom text";
}

TEST_F(TColorCombos, ListEntriesShowTheirColourBeforeTheName)
{
  TdxBarColorCombo* combo = NewCombo();
  TDib32 dib(160, 20 * 3);
  TCanvas canvas;
  canvas.SetHandle(dib.DC());
  canvas.GetBrush()->SetColor(clWindow);
  combo->SetColor(TColor(0x336699));
  const int entries[3] = {9, 14, -1};
  for (int row = 0; row < 3; ++row)
    combo->DrawItem(&canvas, entries[row], Rect(0, row * 20, 160, row * 20 + 20), TOwnerDrawState{});
  canvas.SetHandle(nullptr);
  SaveShotOnRequest(dib, "colour-list-entries");
  EXPECT_TRUE(ColorNear(dib.Pixel(15, 10), RGB(255, 0, 0)));
  EXPECT_TRUE(ColorNear(dib.Pixel(15, 30), RGB(0, 255, 255)));
  EXPECT_TRUE(ColorNear(dib.Pixel(15, 50), RGB(0x99, 0x66, 0x33))) << "the custom colour in its own sample";
  EXPECT_TRUE(ColorNear(dib.Pixel(1, 10), ColorToRGB(clBtnShadow))) << "the sample's inner frame";
  // The names start right of the samples.
  int textPixels = CountPixels(dib, RECT{30, 0, 160, 20}, [](COLORREF c) { return c != ColorToRGB(clWindow); });
  EXPECT_GT(textPixels, 10);
}

TEST_F(TColorCombos, PointerAndKeysPickANamedColourOnAToolbar)
{
  TdxBarColorCombo* combo = NewCombo();
  auto* control = OnBar<TdxBarColorComboControl>(combo);
  ASSERT_NE(control, nullptr);
  EXPECT_TRUE(ColorNear(SamplePixel(control), RGB(0, 0, 0)));

  // The text part opens the list; a click on an entry takes it.
  const RECT text = ScreenRectOf(control, control->GetPartRects().at(dxBarEditPartText));
  ASSERT_TRUE(ClickAt(POINT{text.left + 10, (text.top + text.bottom) / 2}));
  ASSERT_TRUE(PumpUntil([&] { return ListShown(combo); }));
  RECT list{};
  ::GetWindowRect(List(combo), &list);
  TDib32 shot = CaptureScreen(list);
  SaveShotOnRequest(shot, "colour-list-open");
  ASSERT_TRUE(ClickAt(ListEntry(combo, 10)));
  EXPECT_TRUE(PumpUntil([&] { return !ListShown(combo); }));
  EXPECT_EQ(combo->GetColor(), TColor(0x00FF00));
  EXPECT_EQ(combo->GetText(), L"Lime");
  EXPECT_TRUE(ColorNear(SamplePixel(control), RGB(0, 255, 0)));

  // By keys: open, two down, Enter.
  ASSERT_TRUE(ClickAt(ScreenCentreOf(control)));
  ASSERT_TRUE(PumpUntil([&] { return ListShown(combo); }));
  ASSERT_TRUE(PressKey(VK_DOWN) && PressKey(VK_DOWN) && PressKey(VK_RETURN));
  EXPECT_TRUE(PumpUntil([&] { return !ListShown(combo); }));
  EXPECT_EQ(combo->GetColor(), TColor(0xFF0000));
  EXPECT_EQ(combo->GetText(), L"Blue");
  // Esc leaves the colour.
  ASSERT_TRUE(ClickAt(ScreenCentreOf(control)));
  ASSERT_TRUE(PumpUntil([&] { return ListShown(combo); }));
  ASSERT_TRUE(PressKey(VK_UP) && PressKey(VK_ESCAPE));
  EXPECT_TRUE(PumpUntil([&] { return !ListShown(combo); }));
  EXPECT_EQ(combo->GetColor(), TColor(0xFF0000));
}

TEST_F(TColorCombos, AMenuComboPicksByKeys)
{
  TdxBarColorCombo* combo = NewCombo(SubItem->GetItemLinks());
  ASSERT_NE(OpenMenu(), nullptr);
  auto* control = InMenu<TdxBarColorComboControl>(combo);
  ASSERT_NE(control, nullptr);
  ASSERT_TRUE(ClickAt(ScreenCentreOf(control)));
  ASSERT_TRUE(PumpUntil([&] { return ListShown(combo); }));
  ASSERT_TRUE(PressKey(VK_NEXT));
  EXPECT_EQ(combo->GetListBox()->GetItemIndex(), 15);
  EXPECT_EQ(control->GetItemIndex(), 15);
  ASSERT_TRUE(PressKey(VK_RETURN));
  EXPECT_TRUE(PumpUntil([&] { return !ListShown(combo); }));
  EXPECT_EQ(combo->GetColor(), TColor(0xFFFFFF));
  if (Menu() && ::IsWindowVisible(Menu()->GetHandle())) {
    TDib32 shot = CaptureWindow(Menu()->GetHandle());
    SaveShotOnRequest(shot, "colour-combo-menu");
  }
}

TEST_F(TColorCombos, CtrlEnterAsksTheColourDialogForACustomColour)
{
  TdxBarColorCombo* combo = NewCombo();
  combo->SetColor(TColor(0x0000FF));
  auto* control = OnBar<TdxBarColorComboControl>(combo);
  ASSERT_NE(control, nullptr);
  ASSERT_TRUE(ClickAt(ScreenCentreOf(control)));
  ASSERT_TRUE(PumpUntil([&] { return ListShown(combo); }));
  const DWORD thread = ::GetCurrentThreadId();
  std::atomic<bool> found{false};
  RunWithHelperThread([&] { PressKey(VK_RETURN, {VK_CONTROL}); },
                      [&] { AnswerColorDialog(thread, RGB(0x12, 0x34, 0x56), found); });
  ASSERT_TRUE(found) << "the colour dialog opened";
  EXPECT_EQ(Opened, RGB(255, 0, 0)) << "with the colour of the entry the list showed";
  EXPECT_TRUE(PumpUntil([&] { return combo->GetColor() == TColor(RGB(0x12, 0x34, 0x56)); }));
  EXPECT_EQ(combo->GetItemIndex(), -1);
  EXPECT_FALSE(ListShown(combo));
  EXPECT_TRUE(ColorNear(SamplePixel(control), RGB(0x12, 0x34, 0x56)));

  // Cancel keeps the colour; an OnClick handler takes the click instead of the dialog.
  ASSERT_TRUE(ClickAt(ScreenCentreOf(control)));
  ASSERT_TRUE(PumpUntil([&] { return ListShown(combo); }));
  found = false;
  RunWithHelperThread([&] { PressKey(VK_RETURN, {VK_CONTROL}); },
                      [&] { AnswerColorDialog(thread, std::nullopt, found); });
  ASSERT_TRUE(found);
  PumpPending();
  EXPECT_EQ(combo->GetColor(), TColor(RGB(0x12, 0x34, 0x56)));
  int clicks = 0;
  combo->SetOnClick(TNotifyEvent([&](TObject*) { ++clicks; }));
  combo->Click();
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(FindThreadDialog(thread));
}

TEST_F(TColorCombos, TheCustomColourButtonOpensTheDialogWithTheShownColour)
{
  TdxBarColorCombo* combo = NewCombo();
  combo->SetShowCustomColorButton(true);
  combo->SetColor(TColor(0x008000));
  PumpPending();
  auto* control = OnBar<TdxBarColorComboControl>(combo);
  ASSERT_NE(control, nullptr);
  const TRect button = control->GetCustomColorButtonRect();
  ASSERT_FALSE(IsRectEmpty(button));
  const TRect dropDown = control->GetPartRects().at(dxBarComboPartButton);
  EXPECT_LE(button.right, dropDown.left);
  EXPECT_LE(control->GetPartRects().at(dxBarEditPartText).right, button.left);
  WaitPainted(control->GetParent());
  TDib32 shot = CaptureWindow(control->GetParent()->GetHandle());
  SaveShotOnRequest(shot, "colour-combo-toolbar");

  const DWORD thread = ::GetCurrentThreadId();
  std::atomic<bool> found{false};
  RECT screen = ScreenRectOf(control, button);
  // The pointer rests on the button until the item's hint shows.
  const POINT onButton{(screen.left + screen.right) / 2, (screen.top + screen.bottom) / 2};
  ASSERT_TRUE(MoveMouseTo(POINT{onButton.x, onButton.y - 2}));
  ASSERT_TRUE(MoveMouseTo(onButton));
  ASSERT_TRUE(PumpUntil([] { return dxBarIsHintShowing(); }, 4000));
  HWND hint = dxBarHintWindow()->GetHandle();
  std::atomic<bool> hintOverDialog{false};
  RunWithHelperThread([&] { ClickAt(onButton); },
                      [&] {
                        HWND dialog = WaitForThreadDialog(thread);
                        // The hint does not stay over the dialog.
                        for (int i = 0; dialog && i < 20 && ::IsWindowVisible(hint); ++i)
                          ::Sleep(50);
                        hintOverDialog = dialog && ::IsWindowVisible(hint);
                        AnswerColorDialog(thread, RGB(200, 100, 50), found);
                      });
  ASSERT_TRUE(found);
  EXPECT_FALSE(hintOverDialog) << "the item's hint stayed above the dialog";
  EXPECT_EQ(Opened, RGB(0, 128, 0)) << "the dialog opens with the colour shown";
  EXPECT_TRUE(PumpUntil([&] { return combo->GetColor() == TColor(RGB(200, 100, 50)); }));
  EXPECT_FALSE(control->IsCustomColorButtonPressed());
  // Once the focus and the pointer have gone, the combo is drawn as any other item.
  RECT edit{};
  ::GetWindowRect(FormEdit->GetHandle(), &edit);
  ASSERT_TRUE(ClickAt(POINT{(edit.left + edit.right) / 2, (edit.top + edit.bottom) / 2}));
  ASSERT_TRUE(MoveMouseTo(POINT{edit.right + 40, edit.bottom + 20}));
  EXPECT_TRUE(PumpUntil([&] { return !control->IsSelected() && control->GetHotPartIndex() == -1; }));
}

TEST_F(TColorCombos, AChangeHandlerMayFreeTheCombo)
{
  TdxBarColorCombo* combo = NewCombo();
  combo->SetShowAutoColor(true);
  TWeakRef<TdxBarColorCombo> ref(combo);
  combo->OnChange = TNotifyEvent([&](TObject*) { combo->Free(); });
  combo->SetColor(TColor(0x0000FF));
  EXPECT_FALSE(ref);
  PumpPending();
  EXPECT_EQ(Bar->GetItemLinks()->Count(), 1) << "only the sub item is left";
}

// In a popup menu a colour combo and a date combo without a caption show their text part
// and their drop-down buttons as on a toolbar, each time the menu opens, in every look.
TEST_F(TColorCombos, InAPopupMenuTheCombosShowTheirTextAndButtons)
{
  auto* colour = new TdxBarColorCombo(Host.Form());
  colour->SetCaption(L"Colour");
  colour->SetWidth(110);
  auto* date = new TdxBarDateCombo(Host.Form());
  date->SetCaption(L"");
  date->SetWidth(120);
  date->SetDate(cxEncodeDate(2008, 12, 24));
  auto* popup = new TdxBarPopupMenu(Host.Form());
  popup->GetItemLinks()->AddItem(colour);
  popup->GetItemLinks()->AddItem(date);
  for (TdxBarManagerStyle style : {bmsStandard, bmsEnhanced, bmsFlat, bmsXP, bmsOffice11}) {
    SCOPED_TRACE(int(style));
    Manager->SetStyle(style);
    PumpPending();
    popup->PopupWithOptions(300, 300, 0, false);
    TCustomdxBarControl* menu = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (menu = popup->GetBarControl()) && ::IsWindowVisible(menu->GetHandle()); }));
    ASSERT_TRUE(WaitPainted(menu));
    const std::string name = "popup-combos-" + std::to_string(int(style));
    SaveShotOnRequest(CaptureWindow(menu->GetHandle()), name.c_str());
    for (TdxBarItem* item : std::initializer_list<TdxBarItem*>{colour, date}) {
      auto* control = dynamic_cast<TCustomdxBarComboControl*>(ControlOf(popup->GetItemLinks(), item));
      ASSERT_NE(control, nullptr);
      const std::vector<TRect>& parts = control->GetPartRects();
      ASSERT_GT(parts.size(), size_t(dxBarEditPartText)) << "laid out";
      EXPECT_GT(RectWidth(parts[dxBarEditPartText]), 40) << "a text part";
      EXPECT_GT(RectWidth(control->GetDropDownRect()), 0) << "a drop-down button";
    }
    // The text part shows the text: dark ink on its background.
    auto* dateControl = dynamic_cast<TCustomdxBarComboControl*>(ControlOf(popup->GetItemLinks(), date));
    const RECT text = ScreenRectOf(dateControl, dateControl->GetPartRects()[dxBarEditPartText]);
    EXPECT_GT(CountPixels(CaptureScreen(text), RECT{0, 0, text.right - text.left, text.bottom - text.top},
                          [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 200; }),
              10)
        << "the date is drawn";
    popup->CloseDropDownMenu();
    ASSERT_TRUE(PumpUntil([&] { return !popup->GetBarControl(); }));
  }
}
