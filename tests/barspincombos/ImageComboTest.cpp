// The image combo: images kept with their entries, stored indexes, entry drawing and sizes,
// the image list going away, and the combo on a toolbar, in a menu and in its select window.
#include "ExtrasTestUtil.h"
#include "bars/barwindows/dropdownlistbox.h"
#include "platform/Canvas.h"
#include "support/FormRoundTrip.h"
#include "support/Pixels.h"

namespace {

const COLORREF Red = RGB(255, 0, 0), Green = RGB(0, 160, 0), Blue = RGB(0, 0, 255);

class TImageComboModel : public testing::Test {
protected:
  void SetUp() override
  {
    Combo->GetItems()->Add(L"Red");
    Combo->GetItems()->Add(L"Green");
    Combo->GetItems()->Add(L"Blue");
  }
  // The entry drawn into a white 32-bit picture of AWidth x AHeight.
  TDib32 DrawEntry(int AIndex, int AWidth = 80, int AHeight = 20)
  {
    TDib32 dib(AWidth, AHeight);
    TCanvas canvas;
    canvas.SetHandle(dib.DC());
    canvas.GetBrush()->SetColor(clWhite);
    canvas.GetFont()->SetColor(clBlack);
    Combo->DrawItem(&canvas, AIndex, TRect{0, 0, AWidth, AHeight}, TOwnerDrawState{});
    canvas.SetHandle(nullptr);
    return dib;
  }

  TOwned<TComponent> Owner{new TComponent(nullptr)};
  TdxBarImageCombo* Combo{new TdxBarImageCombo(Owner.Get())};
};

TEST_F(TImageComboModel, ImagesLiveInTheEntriesAndMoveWithThem)
{
  EXPECT_EQ(Combo->GetImageIndexes(0), -1) << "an empty slot has no image";
  Combo->SetImageIndexes(0, 3);
  EXPECT_EQ(reinterpret_cast<intptr_t>(Combo->GetItems()->Objects(0)), 4) << "stored as index + 1";
  Combo->SetImageIndexes(2, 0);
  Combo->SetImageIndexes(7, 1);
  EXPECT_EQ(Combo->GetImageIndexes(7), -1) << "no entry 7";
  Combo->SetImageIndexes(1, -5);
  EXPECT_EQ(Combo->GetImageIndexes(1), -1);
  Combo->SetSorted(true);  // Blue, Green, Red
  EXPECT_EQ(Combo->GetImageIndexes(0), 0) << "Blue keeps its image";
  EXPECT_EQ(Combo->GetImageIndexes(2), 3) << "Red keeps its image";
  EXPECT_FALSE(Combo->GetShowEditor()) << "picked from its list by default";
}

TEST_F(TImageComboModel, EntriesDrawTheirImageBesideOrInsteadOfTheText)
{
  Combo->SetComboImages(MakeColorImages(Owner.Get(), 16, {clRed, TColor(Green), clBlue}));
  Combo->SetImageIndexes(0, 0);
  Combo->SetImageIndexes(1, 2);
  const TDib32 red = DrawEntry(0);
  EXPECT_TRUE(ColorNear(red.Pixel(1, 10), Red)) << "the image starts 1 pixel in";
  EXPECT_FALSE(ColorNear(red.Pixel(0, 10), Red));
  EXPECT_GT(CountPixels(red, RECT{19, 0, 80, 20}, [](COLORREF c) { return GetRValue(c) < 100 && GetGValue(c) < 100; }),
            0)
      << "the text follows the image";
  // Without an image the text starts at the left.
  const TDib32 plain = DrawEntry(2);
  EXPECT_GT(CountPixels(plain, RECT{0, 0, 10, 20}, [](COLORREF c) { return GetRValue(c) < 100; }), 0);
  Combo->SetShowText(false);
  const TDib32 centred = DrawEntry(1);
  EXPECT_TRUE(ColorNear(centred.Pixel(40, 10), Blue)) << "alone the image is centred";
  EXPECT_TRUE(ColorNear(centred.Pixel(31, 10), RGB(255, 255, 255)));
  EXPECT_TRUE(ColorNear(centred.Pixel(32, 10), Blue));
  int width = 0, height = 0;
  Combo->MeasureItemWidth(1, width);
  EXPECT_EQ(width, 18);
  Combo->MeasureItem(1, height);
  EXPECT_GE(height, 18);
}

TEST_F(TImageComboModel, FreeingTheImageListClearsImagesAndDrawingStillWorks)
{
  TImageList* images = MakeColorImages(Owner.Get(), 24, {clRed});
  Combo->SetComboImages(images);
  Combo->SetImageIndexes(0, 0);
  int height = 0;
  Combo->MeasureItem(0, height);
  EXPECT_GE(height, 26);
  images->Free();
  EXPECT_EQ(Combo->GetComboImages(), nullptr);
  const TDib32 after = DrawEntry(0);
  EXPECT_EQ(CountPixelsNear(after, RECT{0, 0, 80, 20}, Red, 30), 0) << "no image drawn any more";
  EXPECT_EQ(Combo->GetImageIndexes(0), 0) << "the entries keep their indexes for another list";
}

TEST(ImageComboFormData, IndexesAreReadUpToTheEntriesAndWrittenOnePerEntry)
{
  const String text =
      LR"(object ComboForm: TSpinTestForm
  object dxBarManager1: TdxBarManager
    object Combo1: TdxBarImageCombo
      Category = 0
      Items.Strings = (
        'One'
        'Two')
      ShowText = False
      ImageIndexes = (
        4
        -1
        7)
    end
  end
end
)";
  const String written = ExpectFormRoundTrip<TSpinTestForm>(text, [](TComponent* AForm) {
    auto* combo = Find<TdxBarImageCombo>(AForm, L"Combo1");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetItems()->Count(), 2);
    EXPECT_EQ(combo->GetImageIndexes(0), 4);
    EXPECT_EQ(combo->GetImageIndexes(1), -1);
    EXPECT_FALSE(combo->GetShowText());
  });
  EXPECT_NE(written.find(L"ImageIndexes = (\n        4\n        -1)"), String::npos) << ToUtf8(written);
}

// --- On a form.

class TImageComboOnBars : public TSpinFixture {
protected:
  void SetUp() override
  {
    TSpinFixture::SetUp();
    Combo = new TdxBarImageCombo(Host.Form());
    Combo->SetWidth(120);
    for (const wchar_t* name : {L"Red", L"Green", L"Blue"})
      Combo->GetItems()->Add(name);
    Combo->SetComboImages(MakeColorImages(Host.Form(), 16, {clRed, TColor(Green), clBlue}));
    for (int i = 0; i < 3; ++i)
      Combo->SetImageIndexes(i, i);
    Bar->GetItemLinks()->AddItem(Combo);
    Sub->GetItemLinks()->AddItem(Combo);
    PumpPending();
  }
  TdxBarImageComboControl* ToolbarCombo() const
  {
    return dynamic_cast<TdxBarImageComboControl*>(Bar->GetItemLinks()->Items(2)->GetControl());
  }
  TdxBarImageComboControl* MenuCombo() const
  {
    return dynamic_cast<TdxBarImageComboControl*>(Sub->GetItemLinks()->Items(1)->GetControl());
  }
  bool ListShown() const
  {
    HWND list =
        Combo->GetListBox() && Combo->GetListBox()->HandleAllocated() ? Combo->GetListBox()->GetHandle() : nullptr;
    return list && ::IsWindowVisible(list);
  }

  TdxBarImageCombo* Combo = nullptr;
};

TEST_F(TImageComboOnBars, TheListOpensPicksByMouseAndTheClosedComboShowsTheImage)
{
  TdxBarImageComboControl* control = ToolbarCombo();
  ASSERT_NE(control, nullptr);
  EXPECT_GE(
      control->GetParent()->GetItemScreenRect(control).bottom - control->GetParent()->GetItemScreenRect(control).top,
      16 + 6);
  ASSERT_TRUE(ClickAt(ScreenCentreOf(control, control->GetDropDownRect())));
  ASSERT_TRUE(PumpUntil([&] { return ListShown(); }));
  // The combo is picked from its list: the painter draws its text, no editor covers it.
  RECT editor{};
  ::GetClientRect(control->GetHandle(), &editor);
  EXPECT_TRUE(!::IsWindowVisible(control->GetHandle()) || ::IsRectEmpty(&editor));
  TdxBarDropDownListBox* list = Combo->GetListBox();
  EXPECT_GE(list->ItemRect(0).bottom - list->ItemRect(0).top, 18) << "entries fit their images";
  const TDib32 shown = CaptureWindow(list->GetHandle());
  SaveShotOnRequest(shown, "imagecombo-list");
  EXPECT_GT(CountPixelsNear(shown, RECT{0, 0, shown.Width(), shown.Height()}, Green, 30), 100) << "the images show";
  const TRect blue = list->ItemRect(2);
  POINT p{(blue.left + blue.right) / 2, (blue.top + blue.bottom) / 2};
  ::ClientToScreen(list->GetHandle(), &p);
  ASSERT_TRUE(ClickAt(p));
  ASSERT_TRUE(PumpUntil([&] { return !ListShown(); }));
  Key(VK_RETURN);
  EXPECT_EQ(Combo->GetItemIndex(), 2);
  EXPECT_EQ(Combo->GetText(), L"Blue");
  PumpPending();
  RECT item{};
  const TRect r = control->GetParent()->GetItemScreenRect(control);
  item = RECT{r.left, r.top, r.right, r.bottom};
  const TDib32 closed = CaptureScreen(item);
  SaveShotOnRequest(closed, "imagecombo-closed");
  EXPECT_GT(CountPixelsNear(closed, RECT{0, 0, closed.Width(), closed.Height()}, Blue, 30), 100)
      << "the closed combo shows the chosen image";
}

TEST_F(TImageComboOnBars, InAMenuTheListPicksByKeys)
{
  Combo->SetItemIndex(0);
  ASSERT_TRUE(OpenMenu());
  TdxBarImageComboControl* control = MenuCombo();
  ASSERT_NE(control, nullptr);
  ASSERT_TRUE(ClickAt(ScreenCentreOf(control, control->GetDropDownRect())));
  ASSERT_TRUE(PumpUntil([&] { return ListShown(); }));
  EXPECT_EQ(Combo->GetListBox()->GetItemIndex(), 0);
  Key(VK_DOWN);
  EXPECT_EQ(Combo->GetListBox()->GetItemIndex(), 1);
  Key(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return !ListShown(); }));
  if (control->GetFocused())
    Key(VK_RETURN);
  EXPECT_EQ(Combo->GetItemIndex(), 1);
}

TEST_F(TImageComboOnBars, TheSelectWindowPicksWithKeysAndCancelKeepsTheEntry)
{
  Combo->SetItemIndex(0);
  bool chosen = false;
  RunWithHelperThread([&] { chosen = Combo->SelectItem(); },
                      [] {
                        SendKeyStroke(VK_DOWN);
                        PauseScript(100);
                        SendKeyStroke(VK_RETURN);
                        CancelSelectWindowIfOpen();
                      },
                      400);
  EXPECT_TRUE(chosen);
  EXPECT_EQ(Combo->GetItemIndex(), 1);
  RunWithHelperThread([&] { chosen = Combo->SelectItem(); },
                      [] {
                        SendKeyStroke(VK_DOWN);
                        PauseScript(100);
                        SendKeyStroke(VK_ESCAPE);
                      },
                      400);
  EXPECT_FALSE(chosen);
  EXPECT_EQ(Combo->GetItemIndex(), 1);
}

TEST_F(TImageComboOnBars, ADoubleClickOnAnEntryOfTheSelectWindowChoosesIt)
{
  bool chosen = false;
  RunWithHelperThread([&] { chosen = Combo->SelectItem(); },
                      [] {
                        // The window's list, found from this helper thread as a user sees it.
                        HWND dialog = ::FindWindowW(nullptr, L"Select item");
                        HWND list = ::FindWindowExW(dialog, nullptr, L"TListBox", nullptr);
                        RECT r{};
                        ::SendMessageW(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
                        SendMouseMove(ScreenCentreOf(list, r));
                        for (int i = 0; i < 2; ++i) {
                          SendMouseButton(true);
                          SendMouseButton(false);
                        }
                        CancelSelectWindowIfOpen();
                      },
                      400);
  EXPECT_TRUE(chosen);
  EXPECT_EQ(Combo->GetItemIndex(), 2);
}

TEST_F(TImageComboOnBars, ClickingTheComboShownAsAButtonOpensTheSelectWindow)
{
  // On a vertical toolbar the combo shows as a button: its click picks through the window.
  Bar->SetDockingStyle(dsLeft);
  PumpPending();
  TdxBarItemControl* control = Bar->GetItemLinks()->Items(2)->GetControl();
  ASSERT_NE(control, nullptr);
  const TRect r = control->GetParent()->GetItemScreenRect(control);
  RunWithHelperThread(
      [&] {
        ASSERT_TRUE(ClickAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
        PumpPending();
      },
      [] {
        SendKeyStroke(VK_DOWN);
        PauseScript(100);
        SendKeyStroke(VK_RETURN);
        CancelSelectWindowIfOpen();
      },
      400);
  EXPECT_EQ(Combo->GetItemIndex(), 0);
}

}  // namespace
