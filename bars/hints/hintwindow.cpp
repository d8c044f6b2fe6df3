// The hint window and the view infos of plain hints and screen tips.
#include "bars/hints/hintwindow.h"

#include <algorithm>

#include "bars/model/bar.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/manager.h"
#include "bars/hints/screentips.h"
#include "bars/model/startup.h"
#include "bars/barwindows/toolbar.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxControls.h"
#include "lookandfeel/cxGraphics.h"
#include "platform/Application.h"
#include "platform/ExtCtrls.h"
#include "platform/Screen.h"

IMPLEMENT_CLASS(TdxBarCustomHintViewInfo, TObject)
IMPLEMENT_CLASS(TdxBarHintViewInfo, TdxBarCustomHintViewInfo)
IMPLEMENT_CLASS(TdxBarScreenTipViewInfo, TdxBarCustomHintViewInfo)
IMPLEMENT_CLASS(TdxBarHintWindow, TCustomControl)

namespace {

// Plain hints.
constexpr UINT HintCalcFlags = DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK;  // 0xC10
constexpr UINT HintDrawFlags = DT_NOPREFIX | DT_NOCLIP | DT_WORDBREAK;    // 0x910
constexpr int HintSizeExtra = 6;                                          // frame and margins, both axes
constexpr int HintAboveOffset = 20;                                       // a hint moved above the point

// Screen tips, at 96 dots per inch.
constexpr int TipMargin = 6;              // frame to content, every side
constexpr int TipBandSpacing = 8;         // between header, description and footer
constexpr int TipDescriptionIndent = 12;  // the description under the header
constexpr int TipGlyphSpacing = 6;        // glyph to its text
constexpr TColor TipFrameColor = 0x767676;
constexpr TColor TipTopColor = 0xFFFFFF;
constexpr TColor TipBottomColor = 0xEFE4E4;  // light blue-grey
constexpr TColor TipSeparatorColor = 0xC5C5C5;

// A font selected into a DC for a scope.
class TSelectedFont {
public:
  TSelectedFont(HDC DC, TFont* AFont) : FDC(DC), FOld(SelectObject(DC, AFont->GetHandle())) {}
  ~TSelectedFont() { SelectObject(FDC, FOld); }
  TSelectedFont(const TSelectedFont&) = delete;
  TSelectedFont& operator=(const TSelectedFont&) = delete;

private:
  HDC FDC;
  HGDIOBJ FOld;
};

int MeasureText(HDC DC, TFont* AFont, const String& AText, int AWidth, TSize& ASize)
{
  TSelectedFont font(DC, AFont);
  RECT r{0, 0, std::max(AWidth, 1), 0};
  int height = DrawTextW(DC, AText.c_str(), int(AText.size()), &r, HintCalcFlags);
  ASize = {r.right - r.left, r.bottom - r.top};
  return height;
}

void PaintText(HDC DC, TFont* AFont, const String& AText, const TRect& R)
{
  TSelectedFont font(DC, AFont);
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, ColorToRGB(AFont->GetColor()));
  RECT r = R;
  DrawTextW(DC, AText.c_str(), int(AText.size()), &r, HintDrawFlags);
}

int ScaleToScreen(int Value)
{
  const int ppi = Screen ? Screen->GetPixelsPerInch() : 96;
  return MulDiv(Value, ppi, 96);
}

}  // namespace

// ---------------------------------------------------------------------------
// View infos

TdxBarCustomHintViewInfo::TdxBarCustomHintViewInfo(const TdxBarManager* AManager) : FBarManager(AManager) {}

void TdxBarCustomHintViewInfo::InitializeWindow(TdxBarHintWindow* AWindow)
{
  AWindow->SetScreenTip(IsScreenTip());
  AWindow->HandleNeeded();
}

TdxBarHintViewInfo::TdxBarHintViewInfo(const TdxBarManager* AManager, const String& AText, const TPoint& P)
    : TdxBarCustomHintViewInfo(AManager), FText(AText), FPoint(P)
{
}

void TdxBarHintViewInfo::Calculate(TCanvas* ACanvas)
{
  FBounds = {};
  if (FText.empty())
    return;
  TRect workArea = GetMonitorWorkAreaAtPoint(FPoint);
  TSize size{};
  MeasureText(ACanvas->GetHandle(), ACanvas->GetFont(), FText, RectWidth(workArea), size);
  TRect r{0, 0, size.cx, size.cy};
  AdjustSize(r);
  FBounds = r;
}

void TdxBarHintViewInfo::AdjustSize(TRect& R) const
{
  R.right += HintSizeExtra;
  R.bottom += HintSizeExtra;
}

TRect TdxBarHintViewInfo::GetTextRect() const
{
  return {FBounds.left + 3, FBounds.top + 3, FBounds.right - 1, FBounds.bottom - 1};
}

void TdxBarHintViewInfo::Paint(TCanvas* ACanvas)
{
  HDC dc = ACanvas->GetHandle();
  RECT r = FBounds;
  DrawEdge(dc, &r, BDR_RAISEDOUTER, BF_RECT);
  DrawText(ACanvas);
}

void TdxBarHintViewInfo::DrawText(TCanvas* ACanvas)
{
  PaintText(ACanvas->GetHandle(), ACanvas->GetFont(), FText, GetTextRect());
}

void TdxBarHintViewInfo::InitializeWindow(TdxBarHintWindow* AWindow)
{
  TdxBarCustomHintViewInfo::InitializeWindow(AWindow);
  AWindow->SetText(FText);
  SetFont(AWindow->GetCanvas()->GetFont());
  AWindow->SetColor(Application ? Application->GetHintColor() : clInfoBk);
}

void TdxBarHintViewInfo::SetFont(TFont* AFont) const
{
  if (FBarManager && !FBarManager->GetUseSystemFont())
    AFont->Assign(FBarManager->GetFont());
  else {
    if (const std::optional<NONCLIENTMETRICSW> metrics = ReadNonClientMetrics())
      AFont->Assign(metrics->lfStatusFont);
    else
      AFont->SetSize(8);
  }
  AFont->SetColor(Screen && Screen->GetHintFont() ? Screen->GetHintFont()->GetColor() : clInfoText);
}

// Screen tips

TdxBarScreenTipViewInfo::TdxBarScreenTipViewInfo(const TdxBarManager* AManager, TdxBarScreenTip* AScreenTip,
                                                 const String& AHint, const String& AShortCut)
    : TdxBarCustomHintViewInfo(AManager), FScreenTip(AScreenTip), FHint(AHint), FShortCut(AShortCut)
{
}

TdxBarScreenTipViewInfo::~TdxBarScreenTipViewInfo() = default;

void TdxBarScreenTipViewInfo::CalculateBand(TCanvas* ACanvas, TBandLayout& ABand, bool ATextLeftOfGlyph, int ALeft,
                                            int ATop, int AWidth)
{
  int glyphWidth = ABand.Glyph ? ABand.Glyph->GetWidth() : 0;
  int glyphHeight = ABand.Glyph ? ABand.Glyph->GetHeight() : 0;
  int textLeft = ALeft;
  int textWidth = AWidth;
  if (glyphWidth > 0) {
    textWidth -= glyphWidth + ScaleToScreen(TipGlyphSpacing);
    if (!ATextLeftOfGlyph)
      textLeft += glyphWidth + ScaleToScreen(TipGlyphSpacing);
  }
  TSize size{};
  if (!ABand.Text.empty())
    MeasureText(ACanvas->GetHandle(), ABand.Font.get(), ABand.Text, textWidth, size);
  ABand.TextRect = {textLeft, ATop, textLeft + textWidth, ATop + size.cy};
  if (glyphWidth > 0) {
    int glyphLeft = ATextLeftOfGlyph ? ALeft + AWidth - glyphWidth : ALeft;
    ABand.GlyphRect = {glyphLeft, ATop, glyphLeft + glyphWidth, ATop + glyphHeight};
  }
}

void TdxBarScreenTipViewInfo::PrepareBands()
{
  TdxBarScreenTip* tip = FScreenTip.Get();
  if (!tip)
    return;
  TdxBarScreenTipRepository* repository = tip->GetRepository();
  const TdxBarCustomScreenTipBand* sources[3] = {tip->GetHeader(), tip->GetDescription(), tip->GetFooter()};
  if (tip->GetUseStandardFooter() && repository)
    sources[stbFooter] = repository->GetStandardFooter();
  for (int i = 0; i < 3; ++i) {
    TBandLayout& band = FBands[i];
    const TdxBarCustomScreenTipBand* source = sources[i];
    band = {};
    band.Text = source->GetText();
    if (source->HasGlyph()) {
      band.Glyph = std::make_unique<TBitmap>();
      band.Glyph->Assign(source->GetGlyph());
      band.Glyph->SetTransparent(true);
    }
    band.Font = std::make_unique<TFont>();
    source->GetFont(band.Font.get());
  }
  if (tip->GetUseHintAsHeader() || FBands[stbHeader].Text.empty())
    FBands[stbHeader].Text = FHint;
  FBands[stbHeader].Text += FShortCut;
  if (repository && !repository->GetShowDescription())
    FBands[stbDescription] = {};
  for (int i = 0; i < 3; ++i)
    FTextLeftOfGlyph[i] = sources[i]->GetTextAlign() == stbtaLeft;
}

void TdxBarScreenTipViewInfo::Calculate(TCanvas* ACanvas)
{
  FBounds = {};
  FSeparatorY = -1;
  TdxBarScreenTip* tip = FScreenTip.Get();
  if (!tip)
    return;
  const int width = tip->GetTipWidth();
  const int margin = ScaleToScreen(TipMargin);
  const int spacing = ScaleToScreen(TipBandSpacing);
  const int contentWidth = width - 2 * margin;
  int y = margin;
  for (int i = 0; i < 3; ++i) {
    TBandLayout& band = FBands[i];
    if (!band.Font || (band.Text.empty() && !band.Glyph))
      continue;
    if (i == stbFooter) {
      FSeparatorY = y;
      y += 1 + spacing;
    }
    const int indent = i == stbDescription ? ScaleToScreen(TipDescriptionIndent) : 0;
    CalculateBand(ACanvas, band, FTextLeftOfGlyph[i], margin + indent, y, contentWidth - indent);
    y = std::max(band.TextRect.bottom, band.GlyphRect.bottom) + spacing;
  }
  if (y == margin)
    return;
  FBounds = {0, 0, width, y - spacing + margin};
}

void TdxBarScreenTipViewInfo::Paint(TCanvas* ACanvas)
{
  HDC dc = ACanvas->GetHandle();
  FillGradientRect(dc, FBounds, TipTopColor, TipBottomColor, false);
  FrameRectByColor(dc, FBounds, TipFrameColor);
  if (FSeparatorY >= 0) {
    const int margin = ScaleToScreen(TipMargin);
    FillRectByColor(dc, TRect{margin, FSeparatorY, FBounds.right - margin, FSeparatorY + 1}, TipSeparatorColor);
  }
  for (TBandLayout& band : FBands) {
    if (band.Glyph)
      ACanvas->Draw(band.GlyphRect.left, band.GlyphRect.top, band.Glyph.get());
    if (!band.Text.empty())
      PaintText(dc, band.Font.get(), band.Text, band.TextRect);
  }
}

void TdxBarScreenTipViewInfo::InitializeWindow(TdxBarHintWindow* AWindow)
{
  TdxBarCustomHintViewInfo::InitializeWindow(AWindow);
  PrepareBands();
  AWindow->SetText(FBands[stbHeader].Text);
}

// ---------------------------------------------------------------------------
// The window

TdxBarHintWindow::TdxBarHintWindow(TComponent* AOwner) : TCustomControl(AOwner)
{
  SetVisible(false);
  SetColor(clInfoBk);
  GetCanvas()->GetBrush()->SetStyle(bsClear);
}

TdxBarHintWindow::~TdxBarHintWindow() = default;

void TdxBarHintWindow::CreateParams(TCreateParams& Params)
{
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP;
  if (!FScreenTip)
    Params.Style |= WS_DISABLED;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  Params.WndParent = nullptr;
  Params.WindowClass.style = CS_SAVEBITS;
  // The drop shadow is a class style: a screen tip has a window class of its own, since a
  // class cannot change while windows of it exist.
  if (FScreenTip && WinXPFlag) {
    Params.WindowClass.style |= CS_DROPSHADOW;
    Params.WinClassName += L"ScreenTip";
  }
}

bool TdxBarHintWindow::IsShowing() const
{
  return HandleAllocated() && IsWindowVisible(const_cast<TdxBarHintWindow*>(this)->GetHandle());
}

void TdxBarHintWindow::SetScreenTip(bool Value)
{
  if (FScreenTip == Value)
    return;
  if (HandleAllocated())
    ShowWindow(GetHandle(), SW_HIDE);
  FScreenTip = Value;
  RecreateWindow();
}

void TdxBarHintWindow::RecreateWindow()
{
  if (HandleAllocated())
    RecreateWnd();
}

TPoint TdxBarHintWindow::AdjustPosition(const TPoint& P) const
{
  TRect workArea = GetMonitorWorkAreaAtPoint(P);
  TPoint result = P;
  if (result.x + GetWidth() > workArea.right)
    result.x = workArea.right - GetWidth();
  if (result.y + GetHeight() > workArea.bottom)
    result.y = result.y - GetHeight() - HintAboveOffset;
  result.x = std::max<int>(result.x, workArea.left);
  result.y = std::max<int>(result.y, workArea.top);
  return result;
}

bool TdxBarHintWindow::ActivateHint(TObject* ASource, const String& AText, const String& AShortCut)
{
  FViewInfo.reset();
  const TPoint cursor = GetMouseCursorPos();
  auto* source = dynamic_cast<IdxBarHintSource*>(ASource);
  auto* barControl = dynamic_cast<TCustomdxBarControl*>(ASource);
  if (source)
    FViewInfo = source->CreateHintViewInfo(AText, AShortCut);
  else if (barControl)
    FViewInfo = barControl->CreateHintViewInfo(AText, AShortCut, nullptr);
  if (!FViewInfo)
    FViewInfo = std::make_unique<TdxBarHintViewInfo>(nullptr, AText.empty() ? AText : AText + AShortCut, cursor);
  FViewInfo->InitializeWindow(this);
  FViewInfo->Calculate(GetCanvas());
  const TRect bounds = FViewInfo->GetBounds();
  SetBounds(GetLeft(), GetTop(), RectWidth(bounds), RectHeight(bounds));
  if (RectWidth(bounds) == 0 || RectHeight(bounds) == 0) {
    FViewInfo.reset();
    return false;
  }
  TPoint p = source ? source->GetHintPosition(cursor) : barControl ? barControl->GetHintPosition(cursor) : cursor;
  p = AdjustPosition(p);
  SetWindowPos(GetHandle(), HWND_TOPMOST, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  ::InvalidateRect(GetHandle(), nullptr, TRUE);
  UpdateWindow(GetHandle());
  return true;
}

void TdxBarHintWindow::Paint()
{
  // Nothing to draw before the first hint, or after one that had nothing to show.
  if (!FViewInfo)
    return;
  FViewInfo->Paint(GetCanvas());
}

void TdxBarHintWindow::WndProc(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_NCHITTEST:
      Message.Result = HTTRANSPARENT;
      return;
    case WM_MOUSEACTIVATE:
      Message.Result = MA_NOACTIVATE;
      return;
    default:
      TCustomControl::WndProc(Message);
  }
}

void TdxBarHintWindow::WMSize(TMessage& Message)
{
  TCustomControl::WMSize(Message);
  if (FScreenTip && HandleAllocated()) {
    RECT r{};
    GetWindowRect(GetHandle(), &r);
    // The window owns the region once it is set.
    SetWindowRgn(GetHandle(), CreateRoundRectRgn(0, 0, r.right - r.left + 1, r.bottom - r.top + 1, 2, 2), TRUE);
  }
}

// ---------------------------------------------------------------------------
// The thread's hint window and the timing of hints

namespace {

TdxBarHintWindow* GHintWindow = nullptr;

// A hint shows at once this long after the last one was hidden (moving along a toolbar).
constexpr int RecentlyHiddenTime = 400;
// How often a shown hint checks that what it explains is still there to be seen.
constexpr int HintWatchInterval = 100;

// The window whose part the hint explains: the bar window of an item control or caption
// button, the window itself for a bar window.
HWND HintSourceWindow(TObject* ASource)
{
  TWinControl* window = nullptr;
  if (auto* control = dynamic_cast<TdxBarItemControl*>(ASource))
    window = control->GetParent();
  else if (auto* button = dynamic_cast<TdxBarCaptionButton*>(ASource))
    window = button->GetCaptionButtons() ? button->GetCaptionButtons()->GetBar()->GetControl() : nullptr;
  else
    window = dynamic_cast<TWinControl*>(ASource);
  return window && window->HandleAllocated() ? window->GetHandle() : nullptr;
}

TdxBarManager* HintSourceManager(TObject* ASource)
{
  if (auto* control = dynamic_cast<TdxBarItemControl*>(ASource))
    return control->GetBarManager();
  if (auto* button = dynamic_cast<TdxBarCaptionButton*>(ASource))
    return button->GetCaptionButtons() ? button->GetCaptionButtons()->GetBar()->GetBarManager() : nullptr;
  if (auto* bar = dynamic_cast<TCustomdxBarControl*>(ASource))
    return bar->GetBarManager();
  return nullptr;
}

bool IsOwnProcessWindow(HWND Wnd)
{
  DWORD process = 0;
  GetWindowThreadProcessId(Wnd, &process);
  return process == GetCurrentProcessId();
}

class THintTiming : public TObject {
public:
  THintTiming()
  {
    for (TTimer* timer : {&FShowTimer, &FRecentTimer, &FHideTimer})
      timer->SetEnabled(false);
    FShowTimer.SetOnTimer(TNotifyEvent(this, &THintTiming::ShowTimerFired));
    FRecentTimer.SetOnTimer(TNotifyEvent(this, &THintTiming::RecentTimerFired));
    FHideTimer.SetOnTimer(TNotifyEvent(this, &THintTiming::HideTimerFired));
    FWatchTimer.SetEnabled(false);
    FWatchTimer.SetOnTimer(TNotifyEvent(this, &THintTiming::WatchTimerFired));
    FRecentTimer.SetInterval(RecentlyHiddenTime);
    FWatchTimer.SetInterval(HintWatchInterval);
  }

  void ShowDelayed(TObject* ASource, const String& AText, const String& AShortCut)
  {
    // A hint that input put away stays away while the pointer rests where it was.
    if (ASource && ASource == FPutAway.Get() && WindowUnderCursor() == FPutAwayWindow)
      return;
    FPutAway = nullptr;
    if (dxBarIsHintShowing())
      Hide();
    FSource = ASource;
    FHasSource = ASource != nullptr;
    FText = AText;
    FShortCut = AShortCut;
    TdxBarHintWindow* window = dxBarHintWindow();
    if (!window)
      return;
    if (FRecentlyHidden) {
      ShowNow();
      return;
    }
    FPending = true;
    FShowTimer.SetEnabled(false);
    FShowTimer.SetInterval(uint32_t(window->GetHintPause()));
    FShowTimer.SetEnabled(true);
  }

  void Hide()
  {
    const bool wasShowing = dxBarIsHintShowing();
    Cancel();
    if (!wasShowing)
      return;
    ShowWindow(dxBarHintWindow()->GetHandle(), SW_HIDE);
    FRecentlyHidden = true;
    FRecentTimer.SetEnabled(false);
    FRecentTimer.SetEnabled(true);
  }

  // Input hides the hint and puts its source's hint away.
  void PutAway()
  {
    if (TObject* source = FSource.Get()) {
      FPutAway = source;
      FPutAwayWindow = WindowUnderCursor();
    }
    Hide();
  }

  // The source's selection ended: once the pointer has left, its hint may come again.
  void EndHint()
  {
    // Where the pointer is matters only to a hint put away (asking costs server round trips).
    if (FPutAway && WindowUnderCursor() != FPutAwayWindow)
      FPutAway = nullptr;
    Hide();
  }

  void Reset()
  {
    Cancel();
    FRecentTimer.SetEnabled(false);
    FRecentlyHidden = false;
  }

  // The manager goes: its hint hides and its timers stop.
  void ForgetManager(const TdxBarManager* AManager)
  {
    TObject* source = FSource.Get();
    if (!source && !FPending && !dxBarIsHintShowing())
      return;
    if (!source || HintSourceManager(source) == AManager)
      Hide();
  }

  bool IsRecentlyHidden() const { return FRecentlyHidden; }
  bool IsPending() const { return FPending; }
  bool IsFrom(const TObject* ASource) const
  {
    return ASource && FSource.Get() == ASource && (FPending || dxBarIsHintShowing());
  }

private:
  // A modal window in front of the source's form disables that form (and so the windows it
  // owns take no input): a hint there would cover the modal window.
  static bool IsBehindModalWindow(HWND ASourceWindow)
  {
    if (!ASourceWindow || !IsWindow(ASourceWindow))
      return false;
    return !IsWindowEnabled(GetAncestor(ASourceWindow, GA_ROOT)) ||
           !IsWindowEnabled(GetAncestor(ASourceWindow, GA_ROOTOWNER));
  }

  static HWND WindowUnderCursor()
  {
    POINT p{};
    return GetCursorPos(&p) ? WindowFromPoint(p) : nullptr;
  }

  void Cancel()
  {
    FShowTimer.SetEnabled(false);
    FHideTimer.SetEnabled(false);
    FWatchTimer.SetEnabled(false);
    FPending = false;
    FSource = nullptr;
    FHasSource = false;
    FSourceWindow = nullptr;
  }

  void ShowNow()
  {
    FPending = false;
    FShowTimer.SetEnabled(false);
    TObject* source = FSource.Get();
    TdxBarHintWindow* window = dxBarHintWindow();
    if ((FHasSource && !source) || !window || IsBehindModalWindow(source ? HintSourceWindow(source) : nullptr) ||
        !window->ActivateHint(source, FText, FShortCut))
      return;
    FHideTimer.SetEnabled(false);
    FHideTimer.SetInterval(uint32_t(window->GetHintHidePause()));
    FHideTimer.SetEnabled(true);
    // A hint without a source (a menu's own strips) explains the window under the pointer.
    FSourceWindow = source ? HintSourceWindow(source) : WindowUnderCursor();
    FShownAt = GetMouseCursorPos();
    FWatchTimer.SetEnabled(true);
  }

  // A shown hint outlives neither what it explains nor the user's attention: its source
  // freed, its bar hidden, its form minimised, the pointer moved off to another window, or
  // another program brought to the front.
  bool ShouldHide() const
  {
    if (FHasSource && !FSource.Get())
      return true;
    if (FSourceWindow) {
      if (!IsWindow(FSourceWindow) || !IsWindowVisible(FSourceWindow) ||
          (FHasSource && IsBehindModalWindow(FSourceWindow)) || IsIconic(GetAncestor(FSourceWindow, GA_ROOT)) ||
          IsIconic(GetAncestor(FSourceWindow, GA_ROOTOWNER)))
        return true;
      const TPoint cursor = GetMouseCursorPos();
      if (cursor.x != FShownAt.x || cursor.y != FShownAt.y) {
        HWND under = WindowFromPoint(POINT{cursor.x, cursor.y});
        HWND hint =
            dxBarHintWindow() && dxBarHintWindow()->HandleAllocated() ? dxBarHintWindow()->GetHandle() : nullptr;
        if (under != FSourceWindow && !IsChild(FSourceWindow, under) && under != hint)
          return true;
      }
    }
    HWND foreground = GetForegroundWindow();
    return foreground && !IsOwnProcessWindow(foreground);
  }

  void ShowTimerFired(TObject*) { ShowNow(); }
  void RecentTimerFired(TObject*)
  {
    FRecentTimer.SetEnabled(false);
    FRecentlyHidden = false;
  }
  void HideTimerFired(TObject*) { Hide(); }
  void WatchTimerFired(TObject*)
  {
    if (!dxBarIsHintShowing())
      FWatchTimer.SetEnabled(false);
    else if (ShouldHide())
      Hide();
  }

  TTimer FShowTimer{nullptr};
  TTimer FRecentTimer{nullptr};
  TTimer FHideTimer{nullptr};
  TTimer FWatchTimer{nullptr};
  TWeakRef<TObject> FSource;
  // A source was given: once it is freed, its hint goes.
  bool FHasSource = false;
  HWND FSourceWindow = nullptr;
  TPoint FShownAt{};
  TWeakRef<TObject> FPutAway;
  HWND FPutAwayWindow = nullptr;
  String FText;
  String FShortCut;
  bool FPending = false;
  bool FRecentlyHidden = false;
};

THintTiming* GHintTiming = nullptr;

}  // namespace

void dxBarShowHintDelayed(TObject* ASource, const String& AText, const String& AShortCut)
{
  if (GHintTiming)
    GHintTiming->ShowDelayed(ASource, AText, AShortCut);
}

void dxBarCancelHint()
{
  if (GHintTiming)
    GHintTiming->PutAway();
}

void dxBarEndHint()
{
  if (GHintTiming)
    GHintTiming->EndHint();
}

bool dxBarIsHintRecentlyHidden()
{
  return GHintTiming && GHintTiming->IsRecentlyHidden();
}

bool dxBarIsHintFrom(const TObject* ASource)
{
  return GHintTiming && GHintTiming->IsFrom(ASource);
}

bool dxBarIsHintPending()
{
  return GHintTiming && GHintTiming->IsPending();
}

void dxBarHideHintOfManager(const TdxBarManager* AManager)
{
  if (GHintTiming)
    GHintTiming->ForgetManager(AManager);
}

void dxBarResetHintTiming()
{
  if (GHintTiming)
    GHintTiming->Reset();
}

void dxBarCreateHintWindow()
{
  if (GHintWindow || dxBarIsFinalizing())
    return;
  GHintWindow = new TdxBarHintWindow(nullptr);
  GHintTiming = new THintTiming;
}

void dxBarFreeHintWindow()
{
  delete GHintTiming;
  GHintTiming = nullptr;
  TdxBarHintWindow* window = GHintWindow;
  GHintWindow = nullptr;
  if (window)
    window->Free();
}

TdxBarHintWindow* dxBarHintWindow()
{
  return GHintWindow;
}

bool dxBarIsHintShowing()
{
  return GHintWindow && GHintWindow->IsShowing();
}
