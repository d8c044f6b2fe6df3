// The toolbar window: construction, window kinds (docked child, floating popup), the two
// window handles while a bar is moved, sizes for each docking style and the layout glue.
#include "bars/barwindows/toolbar.h"

#include <algorithm>

#include "bars/model/bar.h"
#include "bars/barwindows/dockcontrol.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/itemlinks.h"
#include "bars/model/items.h"
#include "bars/painters/painter.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxGraphics.h"
#include "platform/ControlsPrivate.h"
#include "platform/Forms.h"
#include "platform/Profile.h"

IMPLEMENT_CLASS(TdxBarControlViewInfo, TCustomdxBarControlViewInfo)
IMPLEMENT_CLASS(TdxBarControl, TCustomdxBarControl)

namespace {

TComponent* ManagerOf(TdxBar* ABar)
{
  return ABar ? ABar->GetBarManager() : nullptr;
}

// An oriented rectangle (x along the bar, y across it) in client coordinates.
TRect Unorient(const TRect& R, bool AVertical)
{
  return AVertical ? Rect(R.top, R.left, R.bottom, R.right) : R;
}

TPoint Unorient(int ALength, int AThickness, bool AVertical)
{
  return AVertical ? Point(AThickness, ALength) : Point(ALength, AThickness);
}

// The widest floating client a stored FloatClientWidth may ask for: beyond it the frame
// added to it overflows and the window would come out without width.
constexpr int MaxFloatClientWidth = 32767;

}  // namespace

TdxBarMDIButtonsState& dxBarMDIButtonsState()
{
  static TdxBarMDIButtonsState state;
  return state;
}

// ---------------------------------------------------------------------------
// TdxBarControlViewInfo

TdxBarControlViewInfo::TdxBarControlViewInfo(TCustomdxBarControl* ABarControl)
    : TCustomdxBarControlViewInfo(ABarControl)
{
}

void TdxBarControlViewInfo::Calculate()
{
  Clear();
  auto* bar = dynamic_cast<TdxBarControl*>(GetBarControl());
  TdxBarItemLinks* links = bar ? bar->GetItemLinks() : nullptr;
  if (!links)
    return;
  const auto& shown = links->GetShownItems();
  int count = std::min(bar->GetVisibleCount(), int(shown.size()));
  for (int i = 0; i < count; ++i)
    if (TdxBarItemControl* control = shown[size_t(i)]->GetControl())
      AddItemControlViewInfo(control->GetViewInfo());
  for (const TdxBarToolbarSeparator& s : bar->GetSeparators()) {
    TdxBarItemControl* control =
        s.LinkIndex >= 0 && s.LinkIndex < int(shown.size()) ? shown[size_t(s.LinkIndex)]->GetControl() : nullptr;
    AddSeparatorInfo(s.Bounds, s.Horizontal, control ? control->GetViewInfo() : nullptr);
  }
}

// ---------------------------------------------------------------------------
// Construction

TdxBarControl::TdxBarControl(TdxBar* ABar) : TdxBarControl(ManagerOf(ABar), ABar, false) {}

TdxBarControl::TdxBarControl(TComponent* AOwner, TdxBar* ABar, bool AInternal)
    : TCustomdxBarControl(AOwner), FBar(ABar), FInternal(AInternal)
{
  Init();
}

void TdxBarControl::Init()
{
  FMDIButtonSize = Size(GetSystemMetrics(SM_CXSMSIZE) - 2, GetSystemMetrics(SM_CYSMSIZE) - 4);
  if (FBar && !FInternal)
    FDockingStyle = FBar->GetDockingStyle();
}

TdxBarControl* TdxBarControl::CreateInternal(TComponent* AOwner, TCustomdxBarControl* AParentBarControl)
{
  TdxBar* bar = AddInternalBar(AOwner, AParentBarControl);
  TdxBarControl* control = nullptr;
  try {
    control = new TdxBarControl(bar->GetBarManager(), bar, true);
  } catch (...) {
    bar->Free();
    throw;
  }
  control->AfterConstruction();
  control->AttachInternal(AParentBarControl, true);
  return control;
}

TdxBar* TdxBarControl::AddInternalBar(TComponent* AOwner, TCustomdxBarControl* AParentBarControl)
{
  auto* manager = dynamic_cast<TdxBarManager*>(AOwner);
  if (!manager && AParentBarControl)
    manager = AParentBarControl->GetBarManager();
  if (!manager || !manager->GetBars())
    throw EInvalidOperation(L"An internal toolbar needs a bar manager");
  TdxBar* bar = manager->GetBars()->Add();
  bar->SetAllowQuickCustomizing(false);
  bar->SetHidden(true);
  if (AParentBarControl && AParentBarControl->GetFont())
    bar->GetFont()->Assign(AParentBarControl->GetFont());
  bar->SetUseOwnFont(false);
  return bar;
}

void TdxBarControl::AttachInternal(TCustomdxBarControl* AParentBarControl, bool AAsChild)
{
  FDockingStyle = dsNone;
  SetItemLinks(FBar ? FBar->GetItemLinks() : nullptr);
  if (FBar)
    FBar->GetItemLinks()->SetShowingBarControl(this);
  if (auto* parent = dynamic_cast<TWinControl*>(AParentBarControl); parent && AAsChild)
    SetParent(parent);
  SetParentBarControl(AParentBarControl);
}

void TdxBarControl::BeforeDestruction()
{
  StopMarkTimer();
  // The mark's popup belongs to this bar: it goes first.
  if (TCustomdxBarControl* quick = FQuickControl.Get(); quick && !quick->IsDestroying()) {
    FQuickControl = nullptr;
    quick->Free();
  }
  if (FDockingStyle != dsNone && !FInternal)
    if (TdxDockControl* dock = GetDockControl())
      if (!dock->IsDestroying())
        dock->RemoveBarControl(this);
  if (GetActive())
    Deactivate();
  TCustomdxBarControl::BeforeDestruction();
}

TdxBarControl::~TdxBarControl()
{
  // The spare window of a move that never ended goes with the control.
  for (HWND h : {FFloatingHandle, FDockedHandle})
    if (h && h != FHandle && ::IsWindow(h))
      ::DestroyWindow(h);
  FFloatingHandle = FDockedHandle = nullptr;
  if (FInternal && FBar) {
    TdxBar* bar = FBar;
    FBar = nullptr;
    if (!bar->ComponentState().Contains(csDestroying))
      bar->Free();
  }
}

// ---------------------------------------------------------------------------
// Window kinds

TClass TdxBarControl::GetViewInfoClass() const
{
  return TdxBarControlViewInfo::StaticClass();
}

TdxDockControl* TdxBarControl::GetDockControl() const
{
  if (FDockingStyle == dsNone)
    return nullptr;
  return dynamic_cast<TdxDockControl*>(GetParent());
}

TdxDockCol* TdxBarControl::GetDockCol() const
{
  if (FDockCol)
    return FDockCol;
  TdxDockControl* dock = GetDockControl();
  return dock ? dock->FindCol(this) : nullptr;
}

bool TdxBarControl::IsVertical() const
{
  return IsStyleVertical(FDockingStyle);
}

bool TdxBarControl::IsTextRotated() const
{
  return IsVertical() && FBar && FBar->GetRotateWhenVertical();
}

bool TdxBarControl::IsMultiLine() const
{
  return FDockingStyle == dsNone || (FBar && FBar->GetMultiLine());
}

bool TdxBarControl::IsDesigning() const
{
  TdxBarManager* manager = GetBarManager();
  return (manager && manager->IsDesigning()) || (FBar && FBar->GetAllowCustomizing());
}

TCustomForm* TdxBarControl::GetOwnerForm() const
{
  if (TdxDockControl* dock = GetDockControl())
    if (TCustomForm* form = GetParentForm(dock))
      return form;
  TdxBarManager* manager = GetBarManager();
  return manager ? manager->GetTopLevelForm() : nullptr;
}

void TdxBarControl::CreateParams(TCreateParams& Params)
{
  TCustomdxBarControl::CreateParams(Params);
  Params.Style = WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  Params.ExStyle = 0;
  Params.Caption = GetCaption();
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  if (FDockingStyle != dsNone || FInternal) {
    Params.Style |= WS_CHILD;
    if (TWinControl* parent = GetParent())
      Params.WndParent = parent->GetHandle();
  } else {
    Params.Style |= WS_POPUP;
    Params.Style &= ~DWORD(WS_BORDER);
    Params.WndParent = nullptr;
    TdxBarManager* manager = GetBarManager();
    if (TCustomForm* form = manager ? manager->GetTopLevelForm() : nullptr)
      Params.WndParent = form->GetHandle();
  }
}

void TdxBarControl::CreateWindowHandle(const TCreateParams& Params)
{
  // The system sizes the window as it makes it; the rebuild that follows in CreateWnd lays the
  // links out, so the size message leaves the view info to it.
  TRestore deferred(FViewInfoDeferred, true);
  TCustomdxBarControl::CreateWindowHandle(Params);
}

void TdxBarControl::CreateWnd()
{
  // A window made after its row squeezed it keeps the row's flag through the first layout of
  // its links, as one sized by the row does.
  const bool squeezed = FItemsHidden && FDockingStyle != dsNone;
  const unsigned runs = FViewInfoRuns;
  TCustomdxBarControl::CreateWnd();
  if (!FHandle)
    return;
  // A rebuild put off while the manager is locked left the new window's links unplaced.
  if (FViewInfoRuns == runs)
    CalculateViewInfo();
  if (squeezed)
    FItemsHidden = true;
  if (FMoving) {
    if (FDockingStyle == dsNone)
      FFloatingHandle = FHandle;
    else
      FDockedHandle = FHandle;
  }
  ::SendMessageW(FHandle, WM_NCACTIVATE, 1, 0);
  UpdateAlphaBlend();
}

void TdxBarControl::DestroyWindowHandle()
{
  StopMarkTimer();
  if (FMoving) {
    // The other kind's window goes too; the current one is destroyed below.
    HWND other = FDockingStyle == dsNone ? FDockedHandle : FFloatingHandle;
    if (other && other != FHandle && ::IsWindow(other))
      ::DestroyWindow(other);
    FDockedHandle = FFloatingHandle = nullptr;
  }
  TCustomdxBarControl::DestroyWindowHandle();
}

void TdxBarControl::SetVisible(bool Value)
{
  // A floating window has no parent control to make it when shown.
  if (Value && FDockingStyle == dsNone && GetParent() == nullptr && !HandleAllocated() && !IsDestroying())
    HandleNeeded();
  TCustomdxBarControl::SetVisible(Value);
}

// Moves the window into the dock site of the new style or out of it.
void TdxBarControl::SetDockingStyle(TdxBarDockingStyle Value)
{
  if (FInternal)
    return;
  TdxDockControl* target = nullptr;
  if (Value != dsNone) {
    auto* current = dynamic_cast<TdxDockControl*>(GetParent());
    if (current && current->GetDockingStyle() == Value)
      target = current;
    else if (TdxDockControl* real = FBar ? FBar->GetRealDockControl() : nullptr;
             real && real->GetDockingStyle() == Value)
      target = real;
    else if (TdxBarManager* manager = GetBarManager(); manager && manager->GetBars())
      target = manager->GetBars()->GetDockControl(Value);
    if (!target)
      return;
  }
  if (Value == FDockingStyle && GetParent() == target)
    return;
  bool madeNow = false;
  if (FMoving && HandleAllocated()) {
    SwitchHandle(Value, target);
  } else {
    bool hadHandle = HandleAllocated();
    if (hadHandle)
      DestroyHandle();
    FDockingStyle = Value;
    SetParent(target);
    // A docked window shows with its site; a floating one when its bar shows it. A bar placing
    // its window from its settings shows it once placed: made then, it is made in its place.
    if (target && !GetVisible() && !(IsDockingLocked() && !hadHandle))
      SetVisible(true);
    else if (hadHandle && GetVisible())
      HandleNeeded();
    madeNow = !hadHandle && HandleAllocated();
  }
  FHitCode = HTNOWHERE;
  FMarkState = TdxBarMarkState::Normal;
  // A window made just now measured its frame for this style; measuring it again costs a
  // frame change the system carries out in full.
  if (!madeNow || FSizeGrip != (FBar && FBar->CanShowSizeGrip()))
    RefreshFrame();
  UpdateAlphaBlend();
}

// While moving: the window of the new kind is switched in and the old one parked hidden.
void TdxBarControl::SwitchHandle(TdxBarDockingStyle ANewStyle, TdxDockControl* ATarget)
{
  HWND old = FHandle;
  bool wasFloating = FDockingStyle == dsNone;
  ::ShowWindow(old, SW_HIDE);
  UnbindHandle(old);
  if (wasFloating)
    FFloatingHandle = old;
  else
    FDockedHandle = old;
  if (GetParent() && GetParent() != ATarget)
    SetParent(nullptr);  // no window bound: nothing is destroyed
  FDockingStyle = ANewStyle;
  HWND target = ANewStyle == dsNone ? FFloatingHandle : FDockedHandle;
  if (target && !::IsWindow(target))
    target = nullptr;
  if (!target) {
    // The first switch to this kind makes its window through the usual creation.
    if (ATarget)
      SetParent(ATarget);
    HandleNeeded();
  } else {
    if (ATarget)
      ::SetParent(target, ATarget->GetHandle());
    BindHandle(target);
    if (ATarget)
      SetParent(ATarget);
    UpdateBounds();
    // The links still stand where the other window had them: laid out for this one, which may
    // keep its size and so get no size message to do it.
    CalculateViewInfo();
  }
  // The bar being moved shows in whichever window it is in now.
  if (!GetVisible())
    SetVisible(true);
  UpdateControlState();
  if (FHandle)
    ::SetWindowPos(FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TdxBarControl::SetMoving(bool Value)
{
  if (FMoving == Value)
    return;
  if (Value) {
    FMoving = true;
    if (FDockingStyle == dsNone)
      FFloatingHandle = FHandle;
    else
      FDockedHandle = FHandle;
    UpdateAlphaBlend();
    return;
  }
  FMoving = false;
  HWND spare = FDockingStyle == dsNone ? FDockedHandle : FFloatingHandle;
  FFloatingHandle = FDockedHandle = nullptr;
  if (spare && spare != FHandle && ::IsWindow(spare))
    ::DestroyWindow(spare);
  UpdateAlphaBlend();
  StoreDockingState();
}

// The window alone goes floating, or docked again at its bar's docked style.
void TdxBarControl::SwitchDockedFloating()
{
  if (!FBar || FInternal)
    return;
  if (FDockingStyle != dsNone) {
    SetDockingStyle(dsNone);
    return;
  }
  TdxBarDockingStyle style = FBar->GetDockedDockingStyle();
  SetDockingStyle(style == dsNone ? dsTop : style);
}

void TdxBarControl::StoreDockingState()
{
  if (!FBar || FInternal)
    return;
  if (FDockingStyle == dsNone) {
    FBar->SetDocking(dsNone, nullptr);
    if (HandleAllocated()) {
      TRect r;
      ::GetWindowRect(FHandle, &r);
      FBar->SetFloatLeft(r.left);
      FBar->SetFloatTop(r.top);
    }
    return;
  }
  TdxDockControl* dock = GetDockControl();
  auto* placed = dynamic_cast<TdxBarDockControl*>(dock);
  FBar->SetDocking(FDockingStyle, placed);
  FBar->SetDockedDockingStyle(FDockingStyle);
  FBar->SetDockedDockControl(placed);
  if (dock)
    if (TdxDockCol* col = dock->FindCol(this)) {
      if (TdxDockRow* row = col->GetRow()) {
        FBar->SetRow(row->GetIndex());
        FBar->SetOneOnRow(row->GetColCount() == 1);
      }
    }
  FBar->SetDockedLeft(GetLeft());
  FBar->SetDockedTop(GetTop());
}

void TdxBarControl::UpdateAlphaBlend()
{
  if (!HandleAllocated() || FInternal)
    return;
  uint8_t alpha = 255;
  if ((FDockingStyle == dsNone || FMoving) && FBar)
    alpha = FBar->GetAlphaBlendValue();
  // Only floating (popup) windows can be layered here.
  if (alpha < 255 && (::GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD))
    alpha = 255;
  if (alpha < 255 || (::GetWindowLongPtrW(FHandle, GWL_EXSTYLE) & WS_EX_LAYERED))
    SetWindowAlphaBlend(FHandle, alpha);
}

void TdxBarControl::RefreshFrame()
{
  FSizeGrip = FBar && FBar->CanShowSizeGrip();
  UpdateFrame();
}

void TdxBarControl::UpdateFrame()
{
  if (HandleAllocated())
    ::SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

String TdxBarControl::GetCaption() const
{
  return FBar ? FBar->GetCaption() : String();
}

void TdxBarControl::UpdateCaption()
{
  if (!HandleAllocated())
    return;
  ::SetWindowTextW(FHandle, GetCaption().c_str());
  if (FDockingStyle == dsNone)
    ::RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

TFont* TdxBarControl::GetBarFont() const
{
  if (FBar && FBar->GetUseOwnFont())
    return FBar->GetFont();
  TdxBarManager* manager = GetBarManager();
  return manager ? manager->GetFont() : nullptr;
}

void TdxBarControl::UpdateFont()
{
  if (TFont* font = GetBarFont())
    GetFont()->Assign(font);
  RefreshFont();
}

void TdxBarControl::UpdateShadow()
{
  UpdateShadowPosition(true);
}

// ---------------------------------------------------------------------------
// What the window answers items and the painter

int TdxBarControl::GetSeparatorSize() const
{
  TdxBarPainter* painter = GetPainter();
  return painter ? painter->GetToolbarSeparatorSize() : 6;
}

int TdxBarControl::GetBarKind() const
{
  return IsTextRotated() ? bkVertical : bkHorizontal;
}

bool TdxBarControl::IsMainMenu() const
{
  return FBar && FBar->IsMainMenu();
}

bool TdxBarControl::IsStatusBar() const
{
  return FBar && FBar->IsStatusBar();
}

bool TdxBarControl::CanAlignControl(const TdxBarItemControl* AControl) const
{
  return !FInternal;
}

bool TdxBarControl::IsBackgroundShownThrough() const
{
  return NeedsFullRepaint();
}

bool TdxBarControl::IsActive() const
{
  return true;
}

bool TdxBarControl::HasOwnBackground() const
{
  if (FBar && FBar->GetColor() != clDefault)
    return true;
  if (FBar && FBar->GetBackgroundBitmap() && !FBar->GetBackgroundBitmap()->Empty())
    return true;
  TdxBarManager* manager = GetBarManager();
  if (manager && manager->GetBackgrounds() && manager->GetBackgrounds()->GetBar() &&
      !manager->GetBackgrounds()->GetBar()->Empty())
    return true;
  TdxDockControl* dock = FDockingStyle != dsNone ? GetDockControl() : nullptr;
  return dock && dock->HasBackgroundBitmap();
}

bool TdxBarControl::NeedsFullRepaint() const
{
  if (HasOwnBackground())
    return true;
  TdxBarPainter* painter = GetPainter();
  return painter && painter->IsBackgroundDrawnFirst();
}

// ---------------------------------------------------------------------------
// Mark and MDI buttons

bool TdxBarControl::HasMark() const
{
  if (FInternal || !FBar || !FBar->GetShowMark())
    return false;
  if (FDockingStyle == dsNone)
    return FBar->GetAllowQuickCustomizing();
  return FBar->GetAllowQuickCustomizing() || FItemsHidden;
}

int TdxBarControl::GetFullMarkSize() const
{
  return MarkLengthFor(FDockingStyle);
}

int TdxBarControl::MarkSizeFor(TdxBarDockingStyle AStyle) const
{
  // The mark a bar always shows; a bar that shows it only for hidden items keeps the
  // room for it out of its full length (the dock site reserves it in the minimum).
  if (FInternal || !FBar || !FBar->GetShowMark() || !FBar->GetAllowQuickCustomizing())
    return 0;
  return MarkLengthFor(AStyle);
}

int TdxBarControl::MarkLengthFor(TdxBarDockingStyle AStyle) const
{
  // Floating, the mark is one caption button; docked, a strip at the bar's end of the
  // painter's width, so that the layout leaves the room the painter draws the mark in.
  if (AStyle != dsNone)
    return DockedMarkSize();
  TdxBarPainter* painter = GetPainter();
  if (!painter)
    return 0;
  return painter->GetCaptionButtonSize().cx;
}

int TdxBarControl::DockedMarkSize() const
{
  TdxBarPainter* painter = GetPainter();
  return (painter ? painter->Metrics() : dxBarPainterMetrics).DockedMarkSize;
}

TSize TdxBarControl::GetMarkSize() const
{
  int size = HasMark() ? GetFullMarkSize() : 0;
  return Size(size, size);
}

bool TdxBarControl::HasCloseButton() const
{
  return FDockingStyle == dsNone && !FInternal && FBar && FBar->GetAllowClose();
}

// ---------------------------------------------------------------------------
// Sizes

TdxBarDockingStyle TdxBarControl::EffectiveStyle(TdxBarDockingStyle AStyle) const
{
  return (GetOptions() & dxBarOptionNotDocked) ? dsNone : AStyle;
}

TRect TdxBarControl::GetBorders(TdxBarDockingStyle AStyle)
{
  FSizeGrip = FBar && FBar->CanShowSizeGrip();
  TdxBarPainter* painter = GetPainter();
  if (!painter || !FBar || FInternal)
    return TRect{};
  return painter->GetBarBorders(FBar, int(AStyle), FSizeGrip && AStyle != dsNone);
}

TPoint TdxBarControl::GetFrameSize(TdxBarDockingStyle AStyle)
{
  TRect b = GetBorders(AStyle);
  return Point(b.left + b.right, b.top + b.bottom);
}

TdxBarControl::TMeasureOnce::TMeasureOnce(TdxBarControl* ABarControl) : FBarControl(ABarControl)
{
  ++FBarControl->FMeasureOnceCount;
}

TdxBarControl::TMeasureOnce::~TMeasureOnce()
{
  if (--FBarControl->FMeasureOnceCount != 0)
    return;
  for (int i = 0; i < 2; ++i) {
    FBarControl->FMeasuredValid[i] = false;
    FBarControl->FMeasured[i].clear();
  }
  // The measuring took a DC of the window; held until idle time, the DCs of many toolbars
  // would slow every later window change and DC the system hands out.
  if (FBarControl->HandleAllocated())
    FreeControlCanvases(FBarControl);
}

void TdxBarControl::CollectLinks(std::vector<TdxBarLayoutLink>& ALinks, bool AVertical)
{
  if (FMeasureOnceCount > 0 && FMeasuredValid[AVertical]) {
    ALinks = FMeasured[AVertical];
    return;
  }
  ALinks.clear();
  if (!FItemLinks)
    return;
  TProfileScope phase(TProfilePhase::Measure);
  const auto& shown = FItemLinks->GetShownItems();
  ALinks.reserve(shown.size());
  for (TdxBarItemLink* link : shown) {
    if (!link->GetControl())
      link->CreateControl();
    TdxBarLayoutLink l;
    l.BeginGroup = link->GetBeginGroup();
    if (TdxBarItemControl* control = link->GetControl()) {
      int w = control->CalcWidth();
      int h = control->CalcHeight();
      l.Length = AVertical ? h : w;
      l.Thickness = AVertical ? w : h;
      l.MinLength = std::max(1, AVertical ? control->GetMinHeight() : control->GetMinWidth());
      l.Align = control->GetAlignment();
    }
    ALinks.push_back(l);
  }
  if (FMeasureOnceCount > 0) {
    FMeasured[AVertical] = ALinks;
    FMeasuredValid[AVertical] = true;
  }
}

int TdxBarControl::DefaultItemLength() const
{
  TdxBarPainter* painter = GetPainter();
  if (!painter)
    return 23;
  TcxScreenCanvas canvas;
  if (TFont* font = GetBarFont())
    canvas.SetFont(font);
  TSize zero{};
  ::GetTextExtentPoint32W(canvas.GetHandle(), L"0", 1, &zero);
  return painter->GetDefaultItemWidth(this, zero.cx);
}

namespace {

int SumLength(const std::vector<TdxBarLayoutLink>& ALinks, int ASeparatorSize, int ACount = -1)
{
  int n = ACount < 0 ? int(ALinks.size()) : std::min(ACount, int(ALinks.size()));
  int sum = 0;
  for (int i = 0; i < n; ++i)
    sum += ALinks[size_t(i)].Length + (ALinks[size_t(i)].BeginGroup && i > 0 ? ASeparatorSize : 0);
  return sum;
}

int Widest(const std::vector<TdxBarLayoutLink>& ALinks, bool ALength)
{
  int w = 0;
  for (const TdxBarLayoutLink& l : ALinks)
    w = std::max(w, ALength ? l.Length : l.Thickness);
  return w;
}

int Thickest(const std::vector<TdxBarLayoutLink>& ALinks, int ACount)
{
  int t = 0;
  for (int i = 0; i < std::min(ACount, int(ALinks.size())); ++i)
    t = std::max(t, ALinks[size_t(i)].Thickness);
  return t;
}

}  // namespace

// The minimum along the style's own axis (x for floating, top and bottom; y for left and right).
int TdxBarControl::MinLength(TdxBarDockingStyle AStyle)
{
  bool vertical = IsStyleVertical(AStyle);
  std::vector<TdxBarLayoutLink> links;
  CollectLinks(links, vertical);
  int mdi = MDIAreaFor(AStyle);
  bool multi = AStyle == dsNone || (FBar && FBar->GetMultiLine());
  if (AStyle != dsNone && !multi) {
    int first = links.empty() ? DefaultItemLength() : links.front().Length;
    return first + mdi + MarkSizeFor(AStyle);
  }
  int widest = Widest(links, true);
  if (links.empty() && AStyle != dsNone)
    widest = DefaultItemLength();
  int result = std::max(widest, mdi);
  if (AStyle == dsNone) {
    int close = 0;
    if (FBar && FBar->GetAllowClose() && GetPainter())
      close = GetPainter()->GetCaptionButtonSize().cx;
    result = std::max({result, MarkSizeFor(AStyle) + close, dxBarFloatingMinClientWidth});
  }
  return result;
}

int TdxBarControl::PreferredLength(TdxBarDockingStyle AStyle)
{
  bool vertical = IsStyleVertical(AStyle);
  std::vector<TdxBarLayoutLink> links;
  CollectLinks(links, vertical);
  int result;
  if (AStyle != dsNone)
    result = SumLength(links, GetSeparatorSize()) + MDIAreaFor(AStyle) + MarkSizeFor(AStyle);
  else
    result = std::max(Widest(links, true), MDIAreaFor(AStyle));
  return std::max(result, MinLength(AStyle));
}

int TdxBarControl::GetMinWidth(TdxBarDockingStyle AStyle)
{
  AStyle = EffectiveStyle(AStyle);
  if (!IsStyleVertical(AStyle))
    return MinLength(AStyle);
  // Across a vertical bar: the widest link, at least the MDI buttons.
  std::vector<TdxBarLayoutLink> links;
  CollectLinks(links, true);
  int w = links.empty() ? DefaultItemLength() : Widest(links, false);
  return std::max(w, HasMDIButtons() ? int(FMDIButtonSize.cx) : 0);
}

int TdxBarControl::GetMinHeight(TdxBarDockingStyle AStyle)
{
  AStyle = EffectiveStyle(AStyle);
  if (IsStyleVertical(AStyle))
    return MinLength(AStyle);
  std::vector<TdxBarLayoutLink> links;
  CollectLinks(links, false);
  int h = Widest(links, false);
  return std::max(h, HasMDIButtons() ? int(FMDIButtonSize.cy) : 0);
}

int TdxBarControl::GetPreferredWidth(TdxBarDockingStyle AStyle)
{
  AStyle = EffectiveStyle(AStyle);
  if (!IsStyleVertical(AStyle))
    return PreferredLength(AStyle);
  return SizeForLength(AStyle, PreferredLength(AStyle)).x;
}

int TdxBarControl::GetPreferredHeight(TdxBarDockingStyle AStyle)
{
  AStyle = EffectiveStyle(AStyle);
  if (IsStyleVertical(AStyle))
    return PreferredLength(AStyle);
  return SizeForLength(AStyle, PreferredLength(AStyle)).y;
}

TPoint TdxBarControl::SizeForLength(TdxBarDockingStyle AStyle, int ALength, int* ALinesLength)
{
  bool vertical = IsStyleVertical(AStyle);
  std::vector<TdxBarLayoutLink> links;
  CollectLinks(links, vertical);
  ALength = std::max(ALength, MinLength(AStyle));
  int sep = GetSeparatorSize();
  int mdi = MDIAreaFor(AStyle);
  int mdiThickness = mdi ? (vertical ? FMDIButtonSize.cx : FMDIButtonSize.cy) : 0;
  bool docked = AStyle != dsNone;
  bool multi = !docked || (FBar && FBar->GetMultiLine());
  if (ALinesLength)
    *ALinesLength = ALength;
  if (links.empty()) {
    TdxBarPainter* painter = GetPainter();
    int thickness = painter ? painter->GetDefaultItemHeight(this, GetTextHeight()) : 22;
    return Unorient(ALength, std::max(thickness, mdiThickness), vertical);
  }
  if (docked && !multi) {
    int mark = MarkSizeFor(AStyle);
    TdxBarManager* manager = GetBarManager();
    bool designing = manager && manager->IsDesigning();
    int n = designing ? int(links.size()) : dxBarSingleLineFitCount(links, ALength - mark - mdi, sep);
    FVisibleCount = n;
    int length = SumLength(links, sep, n) + mdi + mark;
    if (n < int(links.size()) && mark == 0 && FBar && FBar->GetShowMark())
      length += DockedMarkSize();  // the mark appears for the hidden links
    return Unorient(std::max(length, MinLength(AStyle)), std::max(Thickest(links, n), mdiThickness), vertical);
  }
  int mark = docked ? MarkSizeFor(AStyle) : 0;
  TdxBarLineBreak lines = dxBarBreakLines(links, ALength - mark, sep, mdi, mdiThickness);
  FLineStarts.assign(links.size(), false);
  for (size_t i = 0; i < links.size(); ++i)
    FLineStarts[i] = links[i].LineStart;
  FVisibleCount = int(links.size());
  int length = std::max(lines.Length + mark, MinLength(AStyle));
  if (ALinesLength)
    *ALinesLength = length;
  // A floating window snaps to its longest line; its caption is clipped before the buttons.
  return Unorient(length, lines.Thickness, vertical);
}

TPoint TdxBarControl::SizeForThickness(TdxBarDockingStyle AStyle, int AThickness)
{
  bool vertical = IsStyleVertical(AStyle);
  bool multi = AStyle == dsNone || (FBar && FBar->GetMultiLine());
  int length = PreferredLength(AStyle);
  if (!multi)
    return SizeForLength(AStyle, length);
  int minLength = MinLength(AStyle);
  // The length comes down from the preferred one until the lines reach the asked thickness.
  // A length between the longest line and the present one breaks the same way, so each step
  // goes straight below the longest line.
  for (int guard = 0; guard < 100000; ++guard) {
    int used = length;
    TPoint s = SizeForLength(AStyle, length, &used);
    int thickness = vertical ? s.x : s.y;
    if (thickness >= AThickness || length <= minLength)
      return s;
    length = std::max(minLength, std::min(length, used) - 1);
  }
  return SizeForLength(AStyle, length);
}

TPoint TdxBarControl::GetSizeForWidth(TdxBarDockingStyle AStyle, int AWidth)
{
  AStyle = EffectiveStyle(AStyle);
  return IsStyleVertical(AStyle) ? SizeForThickness(AStyle, AWidth) : SizeForLength(AStyle, AWidth);
}

TPoint TdxBarControl::GetSizeForHeight(TdxBarDockingStyle AStyle, int AHeight)
{
  AStyle = EffectiveStyle(AStyle);
  return IsStyleVertical(AStyle) ? SizeForLength(AStyle, AHeight) : SizeForThickness(AStyle, AHeight);
}

TPoint TdxBarControl::DockClientSize() const
{
  TdxDockControl* dock = GetDockControl();
  if (!dock && FBar && !FInternal)
    dock = FBar->GetRealDockControl();
  if (!dock)
    return Point(0, 0);
  TRect r = dock->GetClientRect();
  return Point(r.right - r.left, r.bottom - r.top);
}

TPoint TdxBarControl::CalcSize(TdxBarDockingStyle AStyle)
{
  TProfileScope phase(TProfilePhase::Layout);
  TMeasureOnce measureOnce(this);
  AStyle = EffectiveStyle(AStyle);
  int savedCount = FVisibleCount;
  std::vector<bool> savedStarts = FLineStarts;
  TPoint frame = GetFrameSize(AStyle);
  bool wholeRow = FBar && FBar->GetWholeRow() && AStyle != dsNone;
  TPoint result;
  switch (AStyle) {
    case dsNone: {
      int width = FBar ? std::clamp(FBar->GetFloatClientWidth(), 0, MaxFloatClientWidth) : 0;
      TPoint s = GetSizeForWidth(dsNone, width);
      result = Point(s.x + frame.x, s.y + frame.y);
      break;
    }
    case dsLeft:
    case dsRight: {
      TPoint dock = DockClientSize();
      int h = wholeRow ? dock.y - frame.y : GetPreferredHeight(AStyle);
      TPoint s = GetSizeForHeight(AStyle, h);
      result = Point(s.x + frame.x, wholeRow ? dock.y : s.y + frame.y);
      break;
    }
    default: {
      TPoint dock = DockClientSize();
      int w = wholeRow ? dock.x - frame.x : GetPreferredWidth(AStyle);
      TPoint s = GetSizeForWidth(AStyle, w);
      result = Point(wholeRow ? dock.x : s.x + frame.x, s.y + frame.y);
      break;
    }
  }
  // The layout's own state stays as the window shows it.
  bool changed = FVisibleCount != savedCount;
  FVisibleCount = savedCount;
  FLineStarts = savedStarts;
  if (changed && HandleAllocated())
    CalculateViewInfo();
  return result;
}

void TdxBarControl::SetDragSizeRatios(int AWidthNum, int AWidthDen, int AHeightNum, int AHeightDen)
{
  FRatioWNum = AWidthNum;
  FRatioWDen = AWidthDen;
  FRatioHNum = AHeightNum;
  FRatioHDen = AHeightDen;
}

TPoint TdxBarControl::GetSize(TdxBarDockingStyle AStyle)
{
  TPoint s = CalcSize(AStyle);
  if (FMoving && FRatioWDen != 0)
    s.x = MulDiv(s.x, FRatioWNum, FRatioWDen);
  if (FMoving && FRatioHDen != 0)
    s.y = MulDiv(s.y, FRatioHNum, FRatioHDen);
  return s;
}

void TdxBarControl::SizeForFloating()
{
  if (FDockingStyle != dsNone || FInternal)
    return;
  TPoint s = CalcSize(dsNone);
  SetBounds(GetLeft(), GetTop(), s.x, s.y);
}

// ---------------------------------------------------------------------------
// Layout

void TdxBarControl::ShowAllLinks()
{
  FItemsHidden = false;
  FVisibleCount = FItemLinks ? FItemLinks->ShownItemCount() : 0;
}

void TdxBarControl::CalculateViewInfo()
{
  if (FCalculating || FViewInfoDeferred || !FItemLinks || IsDestroying())
    return;
  TProfileScope phase(TProfilePhase::Layout);
  TMeasureOnce measureOnce(this);
  {
    TRestore calculating(FCalculating, true);
    bool vertical = IsVertical();
    std::vector<TdxBarLayoutLink> links;
    CollectLinks(links, vertical);
    TRect client = GetClientRect();
    int clientLength = vertical ? client.bottom - client.top : client.right - client.left;
    int clientThickness = vertical ? client.right - client.left : client.bottom - client.top;
    bool docked = FDockingStyle != dsNone && !FInternal;
    bool multi = IsMultiLine();
    int sep = GetSeparatorSize();
    int mdi = GetMDIAreaLength();
    int mdiThickness = mdi ? (vertical ? FMDIButtonSize.cx : FMDIButtonSize.cy) : 0;
    int staticMark = docked ? MarkSizeFor(FDockingStyle) : 0;
    TdxBarPlacementParams params;
    params.ClientThickness = clientThickness;
    params.SeparatorSize = sep;
    params.MultiLine = multi;
    params.MDIAreaLength = mdi;
    auto place = [&](int AMark) {
      params.AvailableLength = clientLength - AMark - (multi ? 0 : mdi);
      if (multi) {
        // The line-start marks come from breaking at this very length.
        dxBarBreakLines(links, clientLength - AMark, sep, mdi, mdiThickness);
      }
      return dxBarPlaceLinks(links, params);
    };
    TdxBarPlacementResult result = place(staticMark);
    if (docked && staticMark == 0 && result.ItemsHidden && FBar && FBar->GetShowMark())
      result = place(DockedMarkSize());  // the mark shows the hidden links: make room for it
    TdxBarManager* manager = GetBarManager();
    if (manager && manager->IsDesigning() && !multi && result.ShownCount < int(links.size())) {
      // While designing every link stays visible.
      result.ShownCount = int(links.size());
    }
    FItemsHidden = result.ItemsHidden;
    FVisibleCount = result.ShownCount;
    FLineStarts.assign(links.size(), false);
    for (size_t i = 0; i < links.size(); ++i)
      FLineStarts[i] = links[i].LineStart;
    int lineLength = clientLength - (docked && HasMark() ? GetFullMarkSize() : 0);
    std::vector<TdxBarToolbarSeparator> separators =
        multi || docked ? dxBarCalcSeparators(links, lineLength, sep) : std::vector<TdxBarToolbarSeparator>{};
    FSeparators.clear();
    for (TdxBarToolbarSeparator s : separators) {
      s.Bounds = Unorient(s.Bounds, vertical);
      FSeparators.push_back(s);
    }
    const auto& shown = FItemLinks->GetShownItems();
    for (size_t i = 0; i < shown.size() && i < links.size(); ++i) {
      TRect r = links[i].Shown ? Unorient(links[i].Bounds, vertical) : TRect{};
      shown[i]->SetItemRect(r);
      if (TdxBarItemControl* control = shown[i]->GetControl())
        control->GetViewInfo()->SetBounds(r);
    }
    FPlacement = std::move(links);
    if (TCustomdxBarControlViewInfo* viewInfo = TCustomdxBarControl::GetViewInfo())
      viewInfo->Calculate();
  }
  ++FViewInfoRuns;
}

void TdxBarControl::RecalculateLayout()
{
  const unsigned runs = FViewInfoRuns;
  TCustomdxBarControl::RecalculateLayout();
  // The inherited layout ends with Recalculate1's view info; only when that did not run is
  // it calculated here.
  if (FViewInfoRuns == runs)
    CalculateViewInfo();
  InvalidateRect(TRect{0, 0, GetWidth(), GetHeight()}, false);
}

void TdxBarControl::RebuildBar()
{
  FRebuildPosted = false;
  if (DeferRebuild())
    return;
  const unsigned runs = FViewInfoRuns;
  const bool realigns = !IsDockingLocked() && !FInternal && FDockingStyle != dsNone && GetDockControl();
  {
    // The row's layout below calculates the view info of a docked window: the rebuild's own
    // would be undone by it.
    TRestore deferred(FViewInfoDeferred, realigns);
    TCustomdxBarControl::RebuildBar();
  }
  if (IsDestroying())
    return;
  if (!IsDockingLocked() && !FInternal) {
    if (FDockingStyle == dsNone) {
      if (HandleAllocated())
        SizeForFloating();
    } else if (TdxDockControl* dock = GetDockControl()) {
      // Only this window changed: its row is laid out again, the rows after it move.
      if (FDockCol && FDockCol->GetRow() && FDockCol->GetRow()->GetDockControl() == dock)
        dock->RealignRow(FDockCol->GetRow());
      else
        dock->RealignBars();
    }
  }
  // Unless a layout since the rebuild began calculated it (a resize, the row's layout).
  if (FViewInfoRuns == runs)
    CalculateViewInfo();
  RepaintAll();
}

void TdxBarControl::PostRebuild()
{
  if (FDockingStyle != dsNone && HandleAllocated()) {
    if (!FRebuildPosted) {
      FRebuildPosted = true;
      ::PostMessageW(FHandle, DXM_BAR_REBUILD, 0, 0);
    }
  } else {
    RebuildBar();
  }
}
