// TcxCanvas and TcxScreenCanvas: the canvas wrapper with its DC, state and clip stacks.
#include "lookandfeel/cxGraphics.h"

IMPLEMENT_CLASS(TcxCanvas, TObject)
IMPLEMENT_CLASS(TcxScreenCanvas, TcxCanvas)

namespace {

// The square that stands for "no clip region": larger than any surface we paint.
constexpr int NoClipExtent = 30000;

}  // namespace

struct TcxCanvas::TSavedState {
  int DC = 0;
  TFont Font;
  TBrush Brush;
  TPen Pen;
};

TcxCanvas::TcxCanvas(TCanvas* ACanvas) : FCanvas(ACanvas) {}

TcxCanvas::~TcxCanvas() = default;

HDC TcxCanvas::GetHandle() const
{
  return FCanvas->GetHandle();
}

TPoint TcxCanvas::GetWindowOrg() const
{
  POINT p{};
  GetWindowOrgEx(GetHandle(), &p);
  return p;
}

void TcxCanvas::SetWindowOrg(const TPoint& P)
{
  SetWindowOrgEx(GetHandle(), P.x, P.y, nullptr);
}

void TcxCanvas::SynchronizeObjects(HDC ADC)
{
  if (!ADC)
    return;
  LOGFONTW font{};
  if (GetLogFont(HFONT(GetCurrentObject(ADC, OBJ_FONT)), font)) {
    TColor color = GetFont()->GetColor();
    GetFont()->Assign(font);
    GetFont()->SetColor(color);
  }
  GetFont()->SetColor(TColor(GetTextColor(ADC)));
  LOGBRUSH brush{};
  if (GetLogBrushInfo(HBRUSH(GetCurrentObject(ADC, OBJ_BRUSH)), brush)) {
    if (brush.lbStyle == BS_NULL)
      GetBrush()->SetStyle(bsClear);
    else {
      GetBrush()->SetColor(TColor(brush.lbColor));
      GetBrush()->SetStyle(bsSolid);
    }
  }
  LOGPEN pen{};
  if (GetObjectW(GetCurrentObject(ADC, OBJ_PEN), sizeof pen, &pen) == sizeof pen) {
    GetPen()->SetColor(TColor(pen.lopnColor));
    GetPen()->SetWidth(pen.lopnWidth.x);
    GetPen()->SetStyle(pen.lopnStyle == PS_NULL   ? psClear
                       : pen.lopnStyle == PS_DASH ? psDash
                       : pen.lopnStyle == PS_DOT  ? psDot
                                                  : psSolid);
  }
}

void TcxCanvas::CopyRect(const TRect& ADest, TCanvas* ASource, const TRect& ASourceRect)
{
  FCanvas->CopyRect(ADest, ASource, ASourceRect);
}

void TcxCanvas::Draw(int X, int Y, TGraphic* AGraphic)
{
  if (AGraphic)
    FCanvas->Draw(X, Y, AGraphic);
}

void TcxCanvas::MoveTo(int X, int Y)
{
  FCanvas->MoveTo(X, Y);
}

void TcxCanvas::LineTo(int X, int Y)
{
  FCanvas->LineTo(X, Y);
}

void TcxCanvas::FrameRect(const TRect& R, TColor AColor, int ALineWidth, int ABorders)
{
  if (AColor == clNone || IsRectEmpty(R))
    return;
  int w = std::max(ALineWidth, 1);
  HDC dc = GetHandle();
  if (ABorders & cxBordersLeft)
    FillRectByColor(dc, Rect(R.left, R.top, std::min(R.left + w, R.right), R.bottom), AColor);
  if (ABorders & cxBordersTop)
    FillRectByColor(dc, Rect(R.left, R.top, R.right, std::min(R.top + w, R.bottom)), AColor);
  if (ABorders & cxBordersRight)
    FillRectByColor(dc, Rect(std::max(R.right - w, R.left), R.top, R.right, R.bottom), AColor);
  if (ABorders & cxBordersBottom)
    FillRectByColor(dc, Rect(R.left, std::max(R.bottom - w, R.top), R.right, R.bottom), AColor);
}

void TcxCanvas::FillRect(const TRect& R, TColor AColor)
{
  FillRectByColor(GetHandle(), R, AColor);
}

TSize TcxCanvas::TextExtent(const String& Text)
{
  return FCanvas->TextExtent(Text);
}

int TcxCanvas::TextHeight(const String& Text)
{
  return FCanvas->TextHeight(Text);
}

int TcxCanvas::TextWidth(const String& Text)
{
  return FCanvas->TextWidth(Text);
}

void TcxCanvas::SaveDC()
{
  HDC dc = GetHandle();
  FCanvas->Refresh();
  FSavedDCs.push_back(::SaveDC(dc));
}

void TcxCanvas::RestoreDC()
{
  if (FSavedDCs.empty())
    return;
  int saved = FSavedDCs.back();
  FSavedDCs.pop_back();
  FCanvas->Refresh();
  ::RestoreDC(GetHandle(), saved);
}

void TcxCanvas::SaveState()
{
  auto state = std::make_unique<TSavedState>();
  HDC dc = GetHandle();
  FCanvas->Refresh();
  state->DC = ::SaveDC(dc);
  state->Font.Assign(GetFont());
  state->Brush.Assign(GetBrush());
  state->Pen.Assign(GetPen());
  FSavedStates.push_back(std::move(state));
}

void TcxCanvas::RestoreState()
{
  if (FSavedStates.empty())
    return;
  std::unique_ptr<TSavedState> state = std::move(FSavedStates.back());
  FSavedStates.pop_back();
  FCanvas->Refresh();
  ::RestoreDC(GetHandle(), state->DC);
  GetFont()->Assign(&state->Font);
  GetBrush()->Assign(&state->Brush);
  GetPen()->Assign(&state->Pen);
}

void TcxCanvas::SaveClipRegion()
{
  auto region = std::make_unique<TcxRegion>();
  if (GetClipRgn(GetHandle(), region->GetHandle()) != 1)
    region.reset();
  FSavedRegions.push_back(std::move(region));
}

void TcxCanvas::RestoreClipRegion()
{
  if (FSavedRegions.empty())
    return;
  std::unique_ptr<TcxRegion> region = std::move(FSavedRegions.back());
  FSavedRegions.pop_back();
  SelectClipRgn(GetHandle(), region ? region->GetHandle() : nullptr);
}

TcxRegion* TcxCanvas::GetClipRegion(bool AConsiderOrigin)
{
  auto* result = new TcxRegion();
  if (GetClipRgn(GetHandle(), result->GetHandle()) != 1)
    SetRectRgn(result->GetHandle(), 0, 0, NoClipExtent, NoClipExtent);
  if (AConsiderOrigin) {
    TPoint origin = GetWindowOrg();
    result->Offset(origin.x, origin.y);
  }
  return result;
}

void TcxCanvas::SetClipRegion(TcxRegion* ARegion, TcxRegionOperation AOperation, bool ADestroyRegion,
                              bool AConsiderOrigin)
{
  // Clip regions are in device units: logical ones lose the window origin first.
  TcxRegion* other = ARegion;
  std::unique_ptr<TcxRegion> shifted;
  if (ARegion && AConsiderOrigin) {
    TPoint origin = GetWindowOrg();
    if (origin.x != 0 || origin.y != 0) {
      shifted = std::make_unique<TcxRegion>();
      shifted->Combine(ARegion, roSet, false);
      shifted->Offset(-origin.x, -origin.y);
      other = shifted.get();
    }
  }
  if (other) {
    // The system combines with the clip as it stands (a DC without one: its whole surface).
    static constexpr int Modes[] = {RGN_COPY, RGN_OR, RGN_DIFF, RGN_AND};
    ExtSelectClipRgn(GetHandle(), other->GetHandle(), Modes[AOperation]);
  } else if (AOperation == roSet || AOperation == roIntersect) {
    TcxRegion empty;  // nothing is drawn
    SelectClipRgn(GetHandle(), empty.GetHandle());
  }
  if (ADestroyRegion && ARegion)
    ARegion->Free();
}

void TcxCanvas::IntersectClipRect(const TRect& R)
{
  ::IntersectClipRect(GetHandle(), R.left, R.top, R.right, R.bottom);
}

void TcxCanvas::ExcludeClipRect(const TRect& R)
{
  ::ExcludeClipRect(GetHandle(), R.left, R.top, R.right, R.bottom);
}

// ---------------------------------------------------------------------------

namespace {

// A platform canvas that measures as the screen does, made on first use and freed with the
// canvas. A memory DC compatible with the screen has its resolution and fonts, and unlike
// the screen's own DC costs Wine no round trip.
class TScreenDCCanvas : public TCanvas {
public:
  ~TScreenDCCanvas() override
  {
    if (HandleAllocated()) {
      HDC dc = GetHandle();
      SetHandle(nullptr);
      DeleteDC(dc);
    }
  }

protected:
  void CreateHandle() override { SetHandle(CreateCompatibleDC(nullptr)); }
};

}  // namespace

TcxScreenCanvas::TcxScreenCanvas() : TcxCanvas(nullptr), FScreen(std::make_unique<TScreenDCCanvas>())
{
  FCanvas = FScreen.get();
}

TcxScreenCanvas::~TcxScreenCanvas() = default;
