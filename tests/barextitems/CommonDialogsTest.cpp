// The colour and font dialogs answered through the replaceable routines: what they hand the
// system dialog, what they take back on OK, and that a cancelled dialog changes nothing.
#include <gtest/gtest.h>

#include <vector>

#include "barextras/dxBarExtItems.h"
#include "bars/dxBar.h"
#include "platform/Filer.h"
#include "support/BarTestHost.h"
#include "platform/Forms.h"
#include "platform/Win.h"

#include <commdlg.h>

namespace {

// Installs an answering routine for one case and puts the previous one back.
class TColorAnswer {
public:
  explicit TColorAnswer(TChooseColorProc Proc) : FPrevious(SetChooseColorProc(std::move(Proc))) {}
  ~TColorAnswer() { SetChooseColorProc(std::move(FPrevious)); }

private:
  TChooseColorProc FPrevious;
};

class TFontAnswer {
public:
  explicit TFontAnswer(TChooseFontProc Proc) : FPrevious(SetChooseFontProc(std::move(Proc))) {}
  ~TFontAnswer() { SetChooseFontProc(std::move(FPrevious)); }

private:
  TChooseFontProc FPrevious;
};

// What the routine was handed, copied while the parameter block was alive.
struct TColorSeen {
  int Calls = 0;
  HWND Owner = nullptr;
  COLORREF Result = 0;
  DWORD Flags = 0;
  std::vector<COLORREF> Custom;
};

TColorAnswer Answering(TColorSeen& Seen, bool Ok, COLORREF Result, int CustomIndex = -1, COLORREF Custom = 0)
{
  return TColorAnswer([&Seen, Ok, Result, CustomIndex, Custom](CHOOSECOLORW& params) {
    ++Seen.Calls;
    Seen.Owner = params.hwndOwner;
    Seen.Result = params.rgbResult;
    Seen.Flags = params.Flags;
    Seen.Custom.assign(params.lpCustColors, params.lpCustColors + 16);
    // The user's changes, whatever button ends the dialog.
    params.rgbResult = Result;
    if (CustomIndex >= 0)
      params.lpCustColors[CustomIndex] = Custom;
    return Ok;
  });
}

struct TFontSeen {
  int Calls = 0;
  HWND Owner = nullptr;
  LOGFONTW Font{};
  COLORREF Color = 0;
  DWORD Flags = 0;
  int SizeMin = 0;
  int SizeMax = 0;
};

// The user's choice: a face name, a height, weight, italic, underline and a colour.
TFontAnswer Answering(TFontSeen& Seen, bool Ok, const wchar_t* Face, int Height, bool Underline, COLORREF Color)
{
  return TFontAnswer([&Seen, Ok, Face, Height, Underline, Color](CHOOSEFONTW& params) {
    ++Seen.Calls;
    Seen.Owner = params.hwndOwner;
    Seen.Font = *params.lpLogFont;
    Seen.Color = params.rgbColors;
    Seen.Flags = params.Flags;
    Seen.SizeMin = params.nSizeMin;
    Seen.SizeMax = params.nSizeMax;
    LOGFONTW& lf = *params.lpLogFont;
    wcsncpy(lf.lfFaceName, Face, LF_FACESIZE - 1);
    lf.lfHeight = Height;
    lf.lfWeight = FW_NORMAL;
    lf.lfItalic = TRUE;
    lf.lfUnderline = Underline;
    lf.lfStrikeOut = FALSE;
    params.rgbColors = Color;
    return Ok;
  });
}

HWND SomeWindow()
{
  return Application ? Application->GetHandle() : nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------

TEST(ColorDialog, HandsTheColourAndCustomColoursToTheSystemDialog)
{
  TOwned<TColorDialog> dialog(new TColorDialog(nullptr));
  dialog->SetColor(clBtnFace);
  dialog->GetCustomColors()->SetText(L"ColorA=FF0000\r\nColorB=XYZ\r\nColorC=00ff80\r\nColorD=1234567\r\n");
  TColorSeen seen;
  auto answer = Answering(seen, false, 0);
  HWND owner = SomeWindow();
  EXPECT_FALSE(dialog->Execute(owner));
  ASSERT_EQ(seen.Calls, 1);
  EXPECT_EQ(seen.Owner, owner);
  EXPECT_EQ(seen.Result, GetSysColor(COLOR_BTNFACE)) << "a system colour opens as its RGB value";
  EXPECT_TRUE(seen.Flags & CC_RGBINIT);
  ASSERT_EQ(seen.Custom.size(), 16u);
  EXPECT_EQ(seen.Custom[0], RGB(0xFF, 0, 0)) << "red first";
  EXPECT_EQ(seen.Custom[1], RGB(255, 255, 255)) << "an unreadable line opens as white";
  EXPECT_EQ(seen.Custom[2], RGB(0, 0xFF, 0x80));
  EXPECT_EQ(seen.Custom[3], RGB(255, 255, 255)) << "seven digits are not a colour";
  EXPECT_EQ(seen.Custom[15], RGB(255, 255, 255)) << "a missing line opens as white";
}

TEST(ColorDialog, OkTakesTheColourAndWritesChangedCustomColoursBack)
{
  TOwned<TColorDialog> dialog(new TColorDialog(nullptr));
  dialog->SetColor(clRed);
  dialog->GetCustomColors()->SetText(L"Note=kept\r\nColorA=FF0000\r\nColorB=XYZ\r\n");
  TColorSeen seen;
  auto answer = Answering(seen, true, RGB(1, 2, 3), 2, RGB(0x12, 0x34, 0x56));
  EXPECT_TRUE(dialog->Execute(nullptr));
  EXPECT_EQ(dialog->GetColor(), TColor(0x030201));
  TStrings* custom = dialog->GetCustomColors();
  EXPECT_EQ(custom->Values(L"ColorA"), L"FF0000");
  EXPECT_EQ(custom->Values(L"ColorB"), L"FFFFFF") << "a line that was there is rewritten with what the dialog held";
  EXPECT_EQ(custom->Values(L"ColorC"), L"123456");
  EXPECT_EQ(custom->IndexOfName(L"ColorD"), -1) << "white custom colours without a line add none";
  EXPECT_EQ(custom->Values(L"Note"), L"kept");
  EXPECT_EQ(custom->Count(), 4);
}

TEST(ColorDialog, CancelChangesNothing)
{
  TOwned<TColorDialog> dialog(new TColorDialog(nullptr));
  dialog->SetColor(clNavy);
  dialog->GetCustomColors()->SetText(L"ColorA=FF0000\r\n");
  String before = dialog->GetCustomColors()->Text();
  TColorSeen seen;
  auto answer = Answering(seen, false, RGB(9, 9, 9), 0, RGB(1, 1, 1));
  EXPECT_FALSE(dialog->Execute(nullptr));
  EXPECT_EQ(seen.Calls, 1);
  EXPECT_EQ(dialog->GetColor(), clNavy);
  EXPECT_EQ(dialog->GetCustomColors()->Text(), before);
}

namespace {

struct TShowWatcher : TObject {
  std::vector<String> Log;
  void Shown(TObject*) { Log.push_back(L"show"); }
  void Closed(TObject*) { Log.push_back(L"close"); }
};

}  // namespace

TEST(ColorDialog, ExecuteWithoutOwnerTakesTheActiveOrApplicationWindowAndFiresShowAndClose)
{
  TOwned<TColorDialog> dialog(new TColorDialog(nullptr));
  TShowWatcher watcher;
  dialog->OnShow = TNotifyEvent(&watcher, &TShowWatcher::Shown);
  dialog->OnClose = TNotifyEvent(&watcher, &TShowWatcher::Closed);
  TColorSeen seen;
  auto answer = TColorAnswer([&](CHOOSECOLORW& params) {
    watcher.Log.push_back(L"dialog");
    seen.Owner = params.hwndOwner;
    return false;
  });
  dialog->Execute();
  HWND expected = GetActiveWindow() ? GetActiveWindow() : Application->GetHandle();
  EXPECT_EQ(seen.Owner, expected);
  EXPECT_EQ(watcher.Log, (std::vector<String>{L"show", L"dialog", L"close"}));
}

// ---------------------------------------------------------------------------

TEST(FontDialog, HandsTheFontToTheSystemDialog)
{
  TOwned<TFontDialog> dialog(new TFontDialog(nullptr));
  TFont* font = dialog->GetFont();
  font->SetName(L"Arial");
  font->SetHeight(-15);
  font->SetStyle({fsBold, fsStrikeOut});
  font->SetColor(clBtnShadow);
  TFontSeen seen;
  auto answer = Answering(seen, false, L"Courier New", -20, false, 0);
  HWND owner = SomeWindow();
  dialog->Execute(owner);
  ASSERT_EQ(seen.Calls, 1);
  EXPECT_EQ(seen.Owner, owner);
  EXPECT_STREQ(seen.Font.lfFaceName, L"Arial");
  EXPECT_EQ(seen.Font.lfHeight, -15);
  EXPECT_EQ(seen.Font.lfWeight, FW_BOLD);
  EXPECT_TRUE(seen.Font.lfStrikeOut);
  EXPECT_FALSE(seen.Font.lfItalic);
  EXPECT_EQ(seen.Color, GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(seen.Flags, DWORD(CF_INITTOLOGFONTSTRUCT | CF_SCREENFONTS | CF_EFFECTS));
}

TEST(FontDialog, OkTakesNameSizeStyleAndColour)
{
  TOwned<TFontDialog> dialog(new TFontDialog(nullptr));
  dialog->GetFont()->SetName(L"Arial");
  dialog->GetFont()->SetSize(10);
  dialog->GetFont()->SetStyle({fsBold});
  TFontSeen seen;
  auto answer = Answering(seen, true, L"Courier New", -16, true, RGB(255, 0, 0));
  EXPECT_TRUE(dialog->Execute(nullptr));
  TFont* font = dialog->GetFont();
  EXPECT_EQ(font->GetName(), L"Courier New");
  EXPECT_EQ(font->GetHeight(), -16);
  EXPECT_EQ(font->GetSize(), 12) << "16 pixels at 96 dots per inch";
  EXPECT_EQ(font->GetStyle(), (TFontStyles{fsItalic, fsUnderline}));
  EXPECT_EQ(font->GetColor(), clRed);
}

TEST(FontDialog, WithoutEffectsColourUnderlineAndStrikeOutAreKept)
{
  TOwned<TFontDialog> dialog(new TFontDialog(nullptr));
  dialog->SetOptions({});
  dialog->GetFont()->SetStyle({fsStrikeOut});
  dialog->GetFont()->SetColor(clGreen);
  TFontSeen seen;
  auto answer = Answering(seen, true, L"Courier New", -16, true, RGB(255, 0, 0));
  EXPECT_TRUE(dialog->Execute(nullptr));
  EXPECT_FALSE(seen.Flags & CF_EFFECTS);
  TFont* font = dialog->GetFont();
  EXPECT_EQ(font->GetName(), L"Courier New");
  EXPECT_EQ(font->GetStyle(), (TFontStyles{fsItalic, fsStrikeOut}));
  EXPECT_EQ(font->GetColor(), clGreen);
}

TEST(FontDialog, CancelChangesNothing)
{
  TOwned<TFontDialog> dialog(new TFontDialog(nullptr));
  dialog->GetFont()->SetName(L"Arial");
  dialog->GetFont()->SetHeight(-13);
  dialog->GetFont()->SetColor(clMaroon);
  int changes = 0;
  dialog->GetFont()->OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  TFontSeen seen;
  auto answer = Answering(seen, false, L"Courier New", -30, true, RGB(255, 0, 0));
  EXPECT_FALSE(dialog->Execute(nullptr));
  EXPECT_EQ(seen.Calls, 1);
  EXPECT_EQ(dialog->GetFont()->GetName(), L"Arial");
  EXPECT_EQ(dialog->GetFont()->GetHeight(), -13);
  EXPECT_EQ(dialog->GetFont()->GetStyle(), TFontStyles{});
  EXPECT_EQ(dialog->GetFont()->GetColor(), clMaroon);
  EXPECT_EQ(changes, 0);
}

// ---------------------------------------------------------------------------

TEST(ExtItemsSharedDialogsUse, TheSharedColourDialogAnswersThroughTheReplaceableRoutine)
{
  TColorDialog* dialog = dxBarColorDialog();
  ASSERT_NE(dialog, nullptr);
  TColor old = dialog->GetColor();
  TColorSeen seen;
  auto answer = Answering(seen, true, RGB(0x80, 0, 0x80));
  dialog->SetColor(clLime);
  EXPECT_TRUE(dialog->Execute());
  EXPECT_EQ(seen.Result, RGB(0, 0xFF, 0));
  EXPECT_EQ(dialog->GetColor(), clPurple);
  dialog->SetColor(old);
}
