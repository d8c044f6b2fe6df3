// Screen tips: the model (names, widths, fonts, the header following a rename), its form
// data, and the tip as the hint window draws it.
#include "HintTestUtil.h"

#include "support/FormRoundTrip.h"
#include "support/Owned.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

class TScreenTipTest : public THintFixture {
protected:
  TScreenTipTest() : Repository(new TdxBarScreenTipRepository(Host.Form())) { Repository->SetName(L"Tips"); }
  TdxBarScreenTipRepository* Repository;
};

}  // namespace

TEST(TScreenTipWidth, ScaledWithHalvesToEven)
{
  const struct {
    int Value, PixelsPerInch, Expected;
  } cases[] = {{210, 96, 210}, {210, 144, 315}, {210, 120, 262}, {318, 96, 318}, {318, 144, 477}, {318, 120, 398}};
  for (const auto& k : cases)
    EXPECT_EQ(TdxBarScreenTip::ScaleTipWidth(k.Value, k.PixelsPerInch), k.Expected)
        << k.Value << " at " << k.PixelsPerInch;
}

TEST_F(TScreenTipTest, NamesWidthsAndTheFollowingHeader)
{
  TdxBarScreenTip* first = Repository->GetItems()->Add();
  TdxBarScreenTip* second = Repository->GetItems()->Add();
  EXPECT_EQ(first->Name(), L"TipsScreenTip1");
  EXPECT_EQ(second->Name(), L"TipsScreenTip2");
  EXPECT_EQ(first->GetRepository(), Repository);

  first->GetHeader()->SetText(first->Name());
  first->SetName(L"Tip1");
  EXPECT_EQ(first->GetHeader()->GetText(), L"Tip1");
  EXPECT_EQ(first->GetDisplayName(), L"Tip1 - 'Tip1'");
  first->GetHeader()->SetText(L"Header");
  first->SetName(L"Tip9");
  EXPECT_EQ(first->GetHeader()->GetText(), L"Header");
  EXPECT_EQ(first->GetDisplayName(), L"Tip9 - 'Header'");

  EXPECT_EQ(first->GetTipWidth(), TdxBarScreenTip::ScaleTipWidth(210, Screen->GetPixelsPerInch()));
  first->GetDescription()->GetGlyph()->SetSize(16, 16);
  EXPECT_EQ(first->GetTipWidth(), TdxBarScreenTip::ScaleTipWidth(318, Screen->GetPixelsPerInch()));
  first->SetWidth(250);
  EXPECT_EQ(first->GetTipWidth(), 250);

  // Freeing the repository frees its tips.
  TWeakRef<TdxBarScreenTip> ref(second);
  Repository->Free();
  EXPECT_FALSE(ref);
}

TEST_F(TScreenTipTest, FontsAreTheHintFontUntilAssigned)
{
  EXPECT_TRUE(Repository->GetAssignedFonts().Empty());
  const struct {
    TdxBarScreenTipBandType Type;
    bool Bold;
  } cases[] = {{stbHeader, true}, {stbDescription, false}, {stbFooter, true}};
  for (const auto& k : cases) {
    TFont font;
    Repository->GetFont(k.Type, &font);
    EXPECT_EQ(font.GetName(), Screen->GetHintFont()->GetName());
    EXPECT_EQ(font.GetColor(), TColor(0x4C4C4C));
    EXPECT_EQ(font.GetStyle().Contains(fsBold), k.Bold) << int(k.Type);
  }
  Repository->GetHeaderFont()->SetName(L"Courier New");
  EXPECT_TRUE(Repository->GetAssignedFonts().Contains(stbHeader));
  EXPECT_FALSE(Repository->GetAssignedFonts().Contains(stbFooter));
  TFont header;
  Repository->GetFont(stbHeader, &header);
  EXPECT_EQ(header.GetName(), L"Courier New");
  TFont footer;
  Repository->GetFont(stbFooter, &footer);
  EXPECT_EQ(footer.GetName(), Screen->GetHintFont()->GetName());
}

// Header, description and footer as the window shows them: dark bold header text at the
// top, the description indented under it beside its glyph, a separator, the footer; a light
// background in a dark frame, a rounded region and the drop shadow's class.
TEST_F(TScreenTipTest, TipWithHeaderDescriptionAndFooterIsDrawn)
{
  TdxBarScreenTip* tip = Repository->GetItems()->Add();
  tip->GetHeader()->SetText(L"Save");
  tip->GetDescription()->SetText(L"Writes the songs of the list into the output folder.");
  tip->GetFooter()->SetText(L"Press F1 for help");
  // A red glyph on white: the corner pixel is the transparent colour.
  TBitmap* glyph = tip->GetDescription()->GetGlyph();
  glyph->SetSize(16, 16);
  glyph->GetCanvas()->GetBrush()->SetColor(clWhite);
  glyph->GetCanvas()->FillRect(TRect{0, 0, 16, 16});
  glyph->GetCanvas()->GetBrush()->SetColor(clRed);
  glyph->GetCanvas()->FillRect(TRect{2, 2, 14, 14});
  ShowForm();
  TdxBar* bar = AddBar({L"Save", L"Open"});
  auto* button = static_cast<TdxBarButton*>(bar->GetItemLinks()->Items(0)->GetItem());
  button->SetScreenTip(tip);
  button->SetShortCut(ShortCut(L'S', TShiftState{ssCtrl}));
  Manager->SetShowShortCutInHint(true);
  ASSERT_TRUE(MoveMouseTo(LinkCentre(bar, 0)));
  ASSERT_TRUE(PumpUntil([] { return dxBarIsHintShowing(); }, 4000));
  TdxBarHintWindow* window = dxBarHintWindow();
  ASSERT_TRUE(window->IsScreenTip());
  HWND h = window->GetHandle();
  EXPECT_NE(GetClassLongW(h, GCL_STYLE) & CS_DROPSHADOW, 0u);
  EXPECT_FALSE(GetWindowLongPtrW(h, GWL_STYLE) & WS_DISABLED);
  EXPECT_EQ(window->GetWidth(), tip->GetTipWidth());
  RECT region{};
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(h, rgn), ERROR);
  GetRgnBox(rgn, &region);
  DeleteObject(rgn);
  EXPECT_EQ(region.right, window->GetWidth());  // (0, 0, w + 1, h + 1) with rounded corners
  EXPECT_EQ(window->GetText(), L"Save (Ctrl+S)");

  auto* viewInfo = dynamic_cast<TdxBarScreenTipViewInfo*>(window->GetViewInfo());
  ASSERT_NE(viewInfo, nullptr);
  const TRect header = viewInfo->GetBand(stbHeader).TextRect;
  const TRect description = viewInfo->GetBand(stbDescription).TextRect;
  const TRect footer = viewInfo->GetBand(stbFooter).TextRect;
  EXPECT_LT(header.bottom, description.top);
  EXPECT_GT(description.left, header.left);
  EXPECT_LT(description.bottom, viewInfo->GetSeparatorY());
  EXPECT_LT(viewInfo->GetSeparatorY(), footer.top);
  EXPECT_LE(footer.bottom, window->GetHeight());
  const TRect glyphRect = viewInfo->GetBand(stbDescription).GlyphRect;
  EXPECT_LE(glyphRect.right, description.left) << "the text right of its glyph by default";

  RECT w{};
  GetWindowRect(h, &w);
  TDib32 shot = CaptureScreen(w);
  SaveShotOnRequest(shot, "screentip");
  const COLORREF text = RGB(0x4C, 0x4C, 0x4C);
  auto dark = [&](const TRect& r) {
    return CountPixels(shot, r, [&](COLORREF c) { return ColorsClose(c, text, 60); });
  };
  EXPECT_GT(dark(header), 10) << "header text";
  EXPECT_GT(dark(description), 10) << "description text";
  EXPECT_GT(dark(footer), 10) << "footer text";
  EXPECT_EQ(CountPixels(shot, glyphRect, [](COLORREF c) { return ColorsClose(c, RGB(255, 0, 0), 40); }), 12 * 12)
      << "the glyph's red square";
  EXPECT_TRUE(ColorNear(shot.Pixel(1, 1), RGB(255, 255, 255), 12)) << "light top";
  EXPECT_TRUE(ColorNear(shot.Pixel(w.right - w.left - 1, (w.bottom - w.top) / 2), RGB(0x76, 0x76, 0x76), 12))
      << "frame";
  EXPECT_TRUE(ColorNear(shot.Pixel((w.right - w.left) / 2, viewInfo->GetSeparatorY()), RGB(0xC5, 0xC5, 0xC5), 12))
      << "separator";
}

// Form data: the tips are written inside their repository, with only what differs from the
// defaults, and an item finds its tip by name when the form is read.
TEST(TScreenTipFormData, TipsAndTheirItemsReadWriteAndReadBack)
{
  const wchar_t* const text =
      L"object HintForm: THintTestForm\n"
      L"  object dxBarManager1: TdxBarManager\n"
      L"    object btnSave: TdxBarButton\n"
      L"      Caption = 'Save'\n      Category = 0\n      ScreenTip = stSave\n"
      L"    end\n"
      L"  end\n"
      L"  object Tips: TdxBarScreenTipRepository\n"
      L"    AssignedFonts = [stbHeader]\n"
      L"    HeaderFont.Name = 'Courier New'\n"
      L"    ShowDescription = False\n"
      L"    object stSave: TdxBarScreenTip\n"
      L"      Header.Text = 'Save'\n"
      L"      Description.Text = 'Writes the songs.'\n"
      L"      Description.TextAlign = stbtaLeft\n"
      L"      Footer.Text = 'Press F1 for help'\n"
      L"      UseHintAsHeader = True\n"
      L"      Width = 250\n"
      L"    end\n"
      L"  end\n"
      L"end\n";
  ExpectFormRoundTrip<THintTestForm>(text, [](TComponent* AForm) {
    auto* tips = Find<TdxBarScreenTipRepository>(AForm, L"Tips");
    auto* tip = Find<TdxBarScreenTip>(AForm, L"stSave");
    auto* button = Find<TdxBarButton>(AForm, L"btnSave");
    ASSERT_TRUE(tips && tip && button);
    EXPECT_EQ(tip->GetRepository(), tips);
    EXPECT_EQ(tips->GetItems()->GetCount(), 1);
    EXPECT_EQ(button->GetScreenTip(), tip);
    EXPECT_EQ(tip->GetHeader()->GetText(), L"Save");
    EXPECT_EQ(tip->GetDescription()->GetText(), L"Writes the songs.");
    EXPECT_EQ(tip->GetDescription()->GetTextAlign(), stbtaLeft);
    EXPECT_EQ(tip->GetFooter()->GetTextAlign(), stbtaRight);
    EXPECT_EQ(tip->GetFooter()->GetText(), L"Press F1 for help");
    EXPECT_TRUE(tip->GetUseHintAsHeader());
    EXPECT_EQ(tip->GetWidth(), 250);
    EXPECT_FALSE(tips->GetShowDescription());
    EXPECT_TRUE(tips->GetAssignedFonts().Contains(stbHeader));
    EXPECT_FALSE(tips->GetAssignedFonts().Contains(stbFooter)) << "reading a font marks nothing else";
    EXPECT_EQ(tips->GetHeaderFont()->GetName(), L"Courier New");
  });
}
