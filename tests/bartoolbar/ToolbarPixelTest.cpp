// What a docked and a floating toolbar show on the screen: the caption colour and close
// button of a floating bar, the button face of a docked one, and the items' own pixels.
// Each capture is also written as a BMP into the folder TOOLBAR_SHOTS names, to look at.
#include "ToolbarTestUtil.h"

#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"

#include <cstdlib>
#include <string>

namespace {

// Pictures to look at are written only when a folder is named for them.
void SaveShot(const TDib32& AShot, const char* AName)
{
  if (const char* folder = std::getenv("TOOLBAR_SHOTS"); folder && *folder) {
    std::string path = std::string(folder) + "/" + AName + ".bmp";
    AShot.SaveBmp(std::wstring(path.begin(), path.end()));
  }
}

}  // namespace

using TToolbarPixels = TToolbarFixture;

TEST_F(TToolbarPixels, DockedToolbarShowsItsItemsOnTheButtonFace)
{
  ShowForm(60, 60, 520, 300);
  TdxBar* bar = AddBar({L"Open", L"Save", L"|Print"});
  bar->SetVisible(true);
  TdxBarControl* c = bar->GetControl();
  ASSERT_NE(c, nullptr);
  MoveMouseTo(POINT{5, 5});
  PumpFor(100);
  RedrawWindow(c->GetHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpFor(50);
  TRect w = ScreenRect(c->GetHandle());
  TDib32 shot = CaptureScreen(w);
  ASSERT_TRUE(shot.Valid());
  SaveShot(shot, "toolbar-docked");
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  // Most of the bar is the button face; the captions bring dark text pixels.
  RECT all{0, 0, shot.Width(), shot.Height()};
  int area = shot.Width() * shot.Height();
  EXPECT_GT(CountPixelsNear(shot, all, face, 12), area / 2);
  TRect item = bar->GetItemLinks()->Items(0)->GetItemRect();
  POINT o{item.left, item.top};
  ClientToScreen(c->GetHandle(), &o);
  RECT itemInShot{o.x - w.left, o.y - w.top, o.x - w.left + RectWidth(item), o.y - w.top + RectHeight(item)};
  EXPECT_GT(CountPixels(shot, itemInShot, [](COLORREF px) { return GetRValue(px) < 90 && GetGValue(px) < 90; }), 5);
  // The separator before the group is an etched line: a shadow-coloured column.
  ASSERT_FALSE(c->GetSeparators().empty());
  TRect s = c->GetSeparators()[0].Bounds;
  POINT so{s.left, s.top};
  ClientToScreen(c->GetHandle(), &so);
  RECT sepInShot{so.x - w.left, so.y - w.top, so.x - w.left + RectWidth(s), so.y - w.top + RectHeight(s)};
  EXPECT_GT(CountPixelsNear(shot, sepInShot, GetSysColor(COLOR_BTNSHADOW), 12), 2);
}

TEST_F(TToolbarPixels, FloatingToolbarShowsCaptionAndCloseButton)
{
  ShowForm(60, 60, 420, 260);
  TdxBar* bar = AddBar({L"Cut", L"Copy", L"Paste"}, dsNone);
  bar->SetCaption(L"Edit");
  bar->SetFloatLeft(200);
  bar->SetFloatTop(360);
  bar->SetFloatClientWidth(160);
  bar->SetVisible(true);
  TdxBarControl* c = bar->GetControl();
  ASSERT_NE(c, nullptr);
  MoveMouseTo(POINT{5, 5});
  PumpFor(100);
  RedrawWindow(c->GetHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpFor(50);
  TRect w = ScreenRect(c->GetHandle());
  TDib32 shot = CaptureScreen(w);
  ASSERT_TRUE(shot.Valid());
  SaveShot(shot, "toolbar-floating");
  TRect caption = c->GetCaptionRect();
  ASSERT_FALSE(IsRectEmpty(caption));
  int index = c->GetPainter()->GetSysColorByIndex(c, c->IsActive());
  COLORREF captionColour = GetSysColor(index);
  TRect close = c->GetCloseButtonRect();
  RECT textPart{caption.left, caption.top, close.left - 1, caption.bottom};
  EXPECT_GT(CountPixelsNear(shot, textPart, captionColour, 12), RectWidth(textPart) * RectHeight(textPart) / 2);
  // The close button shows its look's glyph alone, as the painter draws it.
  TDib32 alone(RectWidth(close), RectHeight(close));
  const TRect cell = Rect(0, 0, RectWidth(close), RectHeight(close));
  c->GetPainter()->DrawCaptionButton(c, alone.DC(), cell, c->GetCloseButtonState());
  c->GetPainter()->DrawCaptionCloseButton(c, alone.DC(), cell, c->GetCloseButtonState());
  EXPECT_LT(CountPixelsNear(alone, cell, captionColour, 12), RectWidth(cell) * RectHeight(cell)) << "a glyph";
  EXPECT_EQ(CountDifferentPixels(shot, close, alone), 0);
  // The client area below the caption is the button face, with text on it.
  TRect client = c->GetClientRect();
  TPoint frame = c->GetFrameSize(dsNone);
  EXPECT_EQ(RectWidth(w), RectWidth(client) + frame.x);
  POINT co{0, 0};
  ClientToScreen(c->GetHandle(), &co);
  RECT clientInShot{co.x - w.left, co.y - w.top, co.x - w.left + RectWidth(client), co.y - w.top + RectHeight(client)};
  EXPECT_GT(CountPixelsNear(shot, clientInShot, GetSysColor(COLOR_BTNFACE), 12), 10);
}
