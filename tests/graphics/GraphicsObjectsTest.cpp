// Fonts, brushes and pens: lazily made handles, remade after a change, one change event
// per change, and every handle freed.
#include <gtest/gtest.h>

#include "GdiCheck.h"

namespace {

struct TChangeCounter : TObject {
  int Count = 0;
  TObject* LastSender = nullptr;
  void Changed(TObject* Sender)
  {
    ++Count;
    LastSender = Sender;
  }
};

LOGFONTW LogFontOf(HFONT Font)
{
  LOGFONTW lf{};
  GetObjectW(Font, sizeof lf, &lf);
  return lf;
}

}  // namespace

class FontTest : public TGdiLeakTest {};

TEST_F(FontTest, HandleIsMadeOnFirstUseAndCounted)
{
  int before = GdiObjectsInUse();
  TFont font;
  EXPECT_FALSE(font.HandleAllocated());
  EXPECT_EQ(GdiObjectsInUse(), before);
  HFONT handle = font.GetHandle();
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(GdiObjectsInUse(), before + 1);
  EXPECT_EQ(font.GetHandle(), handle) << "a second read must not make another font";
  LOGFONTW lf = LogFontOf(handle);
  EXPECT_EQ(lf.lfHeight, font.GetHeight());
  EXPECT_STREQ(lf.lfFaceName, font.GetName().c_str());
}

TEST_F(FontTest, ChangesRemakeTheHandleAndFireOnce)
{
  TFont font;
  TChangeCounter counter;
  font.OnChange = TNotifyEvent(&counter, &TChangeCounter::Changed);
  HFONT first = font.GetHandle();
  int inUse = GdiObjectsInUse();

  font.SetStyle({fsBold, fsItalic});
  EXPECT_EQ(counter.Count, 1);
  EXPECT_EQ(counter.LastSender, &font);
  EXPECT_EQ(GdiObjectsInUse(), inUse - 1) << "the old handle is freed at the change";
  HFONT second = font.GetHandle();
  LOGFONTW lf = LogFontOf(second);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_EQ(GdiObjectsInUse(), inUse);

  font.SetName(L"Courier New");
  EXPECT_EQ(counter.Count, 2);
  EXPECT_STREQ(LogFontOf(font.GetHandle()).lfFaceName, L"Courier New");
  font.SetSize(20);
  EXPECT_EQ(counter.Count, 3);
  EXPECT_EQ(LogFontOf(font.GetHandle()).lfHeight, font.GetHeight());
  (void)first;
}

TEST_F(FontTest, EqualValuesAndTheColourKeepTheHandle)
{
  TFont font;
  TChangeCounter counter;
  font.OnChange = TNotifyEvent(&counter, &TChangeCounter::Changed);
  HFONT handle = font.GetHandle();
  font.SetName(font.GetName());
  font.SetHeight(font.GetHeight());
  font.SetStyle(font.GetStyle());
  font.SetName(L"");  // refused: an empty face would let GDI pick anything
  EXPECT_EQ(counter.Count, 0);
  font.SetColor(clRed);
  EXPECT_EQ(counter.Count, 1);
  EXPECT_TRUE(font.HandleAllocated());
  EXPECT_EQ(font.GetHandle(), handle);
}

TEST_F(FontTest, AdoptedHandleIsOwnedAndReadBack)
{
  LOGFONTW lf{};
  lf.lfHeight = -15;
  lf.lfUnderline = TRUE;
  wcscpy(lf.lfFaceName, L"Tahoma");
  HFONT made = CreateFontIndirectW(&lf);
  int before = GdiObjectsInUse();
  {
    TFont font;
    font.SetHandle(made);
    EXPECT_EQ(GdiObjectsInUse(), before + 1);
    EXPECT_EQ(font.GetHandle(), made);
    EXPECT_EQ(font.GetHeight(), -15);
    EXPECT_TRUE(font.GetStyle().Contains(fsUnderline));
  }
  EXPECT_EQ(GdiObjectsInUse(), before);
  EXPECT_EQ(GetObjectType(made), 0u) << "the adopted font is deleted with its owner";
  TFont font;
  EXPECT_THROW(font.SetHandle(reinterpret_cast<HFONT>(GetStockObject(WHITE_BRUSH))), EInvalidGraphic);
}

class BrushPenTest : public TGdiLeakTest {};

TEST_F(BrushPenTest, BrushHandleFollowsColourAndStyle)
{
  TBrush brush;
  TChangeCounter counter;
  brush.OnChange = TNotifyEvent(&counter, &TChangeCounter::Changed);
  LOGBRUSH lb{};
  ASSERT_EQ(GetObjectW(brush.GetHandle(), sizeof lb, &lb), int(sizeof lb));
  EXPECT_EQ(lb.lbStyle, UINT(BS_SOLID));
  EXPECT_EQ(lb.lbColor, RGB(255, 255, 255));

  brush.SetColor(clBtnFace);
  EXPECT_EQ(counter.Count, 1);
  GetObjectW(brush.GetHandle(), sizeof lb, &lb);
  EXPECT_EQ(lb.lbColor, GetSysColor(COLOR_BTNFACE));

  brush.SetStyle(bsClear);
  GetObjectW(brush.GetHandle(), sizeof lb, &lb);
  EXPECT_EQ(lb.lbStyle, UINT(BS_HOLLOW));
  brush.SetStyle(bsDiagCross);
  GetObjectW(brush.GetHandle(), sizeof lb, &lb);
  EXPECT_EQ(lb.lbStyle, UINT(BS_HATCHED));
  EXPECT_EQ(lb.lbHatch, ULONG_PTR(HS_DIAGCROSS));

  brush.SetStyle(bsClear);
  brush.SetColor(clRed);
  EXPECT_EQ(brush.GetStyle(), bsSolid) << "a colour on a clear brush makes it solid";
  EXPECT_EQ(counter.Count, 5);
}

TEST_F(BrushPenTest, PenHandleWidthStyleAndMode)
{
  TPen pen;
  TChangeCounter counter;
  pen.OnChange = TNotifyEvent(&counter, &TChangeCounter::Changed);
  HPEN first = pen.GetHandle();
  LOGPEN lp{};
  GetObjectW(first, sizeof lp, &lp);
  EXPECT_EQ(lp.lopnColor, RGB(0, 0, 0));
  EXPECT_EQ(lp.lopnWidth.x, 1);

  pen.SetWidth(3);
  pen.SetColor(clGreen);
  pen.SetStyle(psDash);
  EXPECT_EQ(counter.Count, 3);
  GetObjectW(pen.GetHandle(), sizeof lp, &lp);
  EXPECT_EQ(lp.lopnWidth.x, 3);
  EXPECT_EQ(lp.lopnColor, RGB(0, 0x80, 0));
  EXPECT_EQ(lp.lopnStyle, UINT(PS_DASH));

  pen.SetWidth(0);
  EXPECT_EQ(pen.GetWidth(), 1) << "widths below one are one";
  HPEN handle = pen.GetHandle();
  pen.SetMode(pmXor);
  EXPECT_EQ(pen.Rop2(), R2_XORPEN);
  EXPECT_EQ(pen.GetHandle(), handle) << "the mode is a DC setting, not part of the pen";
  EXPECT_EQ(counter.Count, 5);
  pen.SetMode(pmXor);
  EXPECT_EQ(counter.Count, 5);
}

// A component publishing a font, as controls do.
class TFontHolder : public TComponent {
  DECLARE_CLASS(TFontHolder, TComponent)
public:
  explicit TFontHolder(TComponent* AOwner) : TComponent(AOwner) {}
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }

private:
  std::unique_ptr<TFont> FFont = std::make_unique<TFont>();
};

PUBLISHED(TFontHolder, TComponent)
{
  p.Object(L"Font", &TFontHolder::GetFont, &TFontHolder::SetFont);
}

TEST_F(FontTest, StreamsAsNestedProperties)
{
  RegisterClass(TFontHolder::StaticClass());
  {
    TFontHolder holder(nullptr);
    holder.SetName(L"Holder");
    holder.GetFont()->SetName(L"Arial");
    holder.GetFont()->SetStyle({fsBold});
    holder.GetFont()->SetColor(clRed);
    holder.GetFont()->SetHeight(-15);
    String text = ComponentToText(&holder);
    EXPECT_NE(text.find(L"Font.Name = 'Arial'"), String::npos) << ToUtf8(text);
    EXPECT_NE(text.find(L"Font.Style = [fsBold]"), String::npos);
    EXPECT_NE(text.find(L"Font.Color = clRed"), String::npos);
    EXPECT_NE(text.find(L"Font.Height = -15"), String::npos);
    EXPECT_EQ(text.find(L"Font.Size"), String::npos) << "Size is not stored";
    EXPECT_EQ(text.find(L"Font.Charset"), String::npos) << "defaults are left out";
    std::unique_ptr<TComponent> read(TextToComponent(text));
    auto* back = dynamic_cast<TFontHolder*>(read.get());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetFont()->GetName(), L"Arial");
    EXPECT_EQ(back->GetFont()->GetStyle(), TFontStyles{fsBold});
    EXPECT_EQ(back->GetFont()->GetColor(), clRed);
    EXPECT_EQ(back->GetFont()->GetHeight(), -15);
  }
  UnRegisterClass(TFontHolder::StaticClass());
}
