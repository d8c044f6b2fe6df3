// TControl: bounds, alignment requests and anchors, visibility, colour, font, text,
// painting requests, the message entry points and the published properties every control
// shares. Mouse handling is in ControlMouse.cpp.
#include "platform/Controls.h"
#include "platform/ControlsPrivate.h"

DEFINE_ENUM_INFO(TAlign, L"alNone", L"alTop", L"alBottom", L"alLeft", L"alRight", L"alClient", L"alCustom")
DEFINE_ENUM_INFO(THelpType, L"htKeyword", L"htContext")
DEFINE_ENUM_INFO(TAlignment, L"taLeftJustify", L"taRightJustify", L"taCenter")
DEFINE_ENUM_INFO(TAnchorKind, L"akLeft", L"akTop", L"akRight", L"akBottom")
DEFINE_ENUM_INFO(TMouseButton, L"mbLeft", L"mbRight", L"mbMiddle")
DEFINE_ENUM_INFO(TControlStyleE, L"csAcceptsControls", L"csCaptureMouse", L"csDesignInteractive", L"csClickEvents",
                 L"csFramed", L"csSetCaption", L"csOpaque", L"csDoubleClicks", L"csFixedWidth", L"csFixedHeight",
                 L"csNoDesignVisible", L"csReplicatable", L"csNoStdEvents", L"csDisplayDragImage", L"csReflector",
                 L"csActionClient", L"csMenuEvents", L"csNeedsBorderPaint", L"csParentBackground")

// ---------------------------------------------------------------------------
// TMargins

PUBLISHED(TMargins, TPersistent)
{
  p.Prop(L"Left", &TMargins::GetLeft, &TMargins::SetLeft).Default(3);
  p.Prop(L"Top", &TMargins::GetTop, &TMargins::SetTop).Default(3);
  p.Prop(L"Right", &TMargins::GetRight, &TMargins::SetRight).Default(3);
  p.Prop(L"Bottom", &TMargins::GetBottom, &TMargins::SetBottom).Default(3);
}

void TMargins::Assign(TPersistent* Source)
{
  if (auto* m = dynamic_cast<TMargins*>(Source)) {
    SetMargins(m->FLeft, m->FTop, m->FRight, m->FBottom);
    return;
  }
  TPersistent::Assign(Source);
}

TPersistent* TMargins::GetOwner() const
{
  return FControl;
}

void TMargins::SetMargins(int ALeft, int ATop, int ARight, int ABottom)
{
  ALeft = std::max(ALeft, 0);
  ATop = std::max(ATop, 0);
  ARight = std::max(ARight, 0);
  ABottom = std::max(ABottom, 0);
  if (ALeft == FLeft && ATop == FTop && ARight == FRight && ABottom == FBottom)
    return;
  FLeft = ALeft;
  FTop = ATop;
  FRight = ARight;
  FBottom = ABottom;
  CallEvent(OnChange, this);
}

// ---------------------------------------------------------------------------
// TControl: construction and the published properties

PUBLISHED(TControl, TComponent)
{
  p.Prop(L"Left", &TControl::GetLeft, &TControl::SetLeft);
  p.Prop(L"Top", &TControl::GetTop, &TControl::SetTop);
  p.Prop(L"Width", &TControl::GetWidth, &TControl::SetWidth);
  p.Prop(L"Height", &TControl::GetHeight, &TControl::SetHeight);
  p.Prop(L"Align", &TControl::GetAlign, &TControl::SetAlign).Default(alNone);
  p.Prop(L"Anchors", &TControl::GetAnchors, &TControl::SetAnchors).Default(TAnchors{akLeft, akTop});
  p.Prop(L"AlignWithMargins", &TControl::GetAlignWithMargins, &TControl::SetAlignWithMargins).Default(false);
  p.Object(L"Margins", &TControl::GetMargins, &TControl::SetMargins);
  p.Prop(L"Caption", &TControl::ReadCaption, &TControl::SetText);
  p.Prop(L"Color", &TControl::GetColor, &TControl::SetColor)
      .Idents(&ColorIdents())
      .NoDefault()
      .Stored(&TControl::IsColorStored);
  p.Prop(L"ParentColor", &TControl::GetParentColor, &TControl::SetParentColor).Default(true);
  p.Object(L"Font", &TControl::GetFont, &TControl::SetFont).Stored(&TControl::IsFontStored);
  p.Prop(L"ParentFont", &TControl::GetParentFont, &TControl::SetParentFont).Default(true);
  p.Prop(L"Cursor", &TControl::GetCursor, &TControl::SetCursor).Idents(&CursorIdents()).Default(crDefault);
  p.Prop(L"Enabled", &TControl::GetEnabled, &TControl::SetEnabled).Default(true);
  p.Prop(L"Hint", &TControl::GetHint, &TControl::SetHint);
  p.Prop(L"ShowHint", &TControl::GetShowHint, &TControl::SetShowHint).Stored(&TControl::IsShowHintStored);
  p.Prop(L"ParentShowHint", &TControl::GetParentShowHint, &TControl::SetParentShowHint).Default(true);
  p.Prop(L"HelpType", &TControl::GetHelpType, &TControl::SetHelpType).Default(htContext);
  p.Prop(L"HelpKeyword", &TControl::GetHelpKeyword, &TControl::SetHelpKeyword);
  p.Prop(L"HelpContext", &TControl::GetHelpContext, &TControl::SetHelpContext).Default(0);
  p.Prop(L"Visible", &TControl::GetVisible, &TControl::SetVisible).Default(true);
  p.Event(L"OnClick", &TControl::OnClick);
  p.Event(L"OnDblClick", &TControl::OnDblClick);
  p.Event(L"OnMouseDown", &TControl::OnMouseDown);
  p.Event(L"OnMouseMove", &TControl::OnMouseMove);
  p.Event(L"OnMouseUp", &TControl::OnMouseUp);
  p.Event(L"OnMouseEnter", &TControl::OnMouseEnter);
  p.Event(L"OnMouseLeave", &TControl::OnMouseLeave);
  p.Event(L"OnMouseWheel", &TControl::OnMouseWheel);
  p.Event(L"OnContextPopup", &TControl::OnContextPopup);
  p.Event(L"OnResize", &TControl::OnResize);
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner)
{
  FWindowProc = TWndMethod(this, &TControl::WndProc);
  FFont = new TFont();
  FFont->OnChange = TNotifyEvent(this, &TControl::FontChanged);
  FMargins = new TMargins(this);
  FMargins->OnChange = TNotifyEvent(this, &TControl::MarginsChanged);
}

TControl::~TControl()
{
  if (FParent)
    FParent->RemoveControl(this);
  ForgetControl(this);
  delete FMargins;
  delete FFont;
}

void TControl::BeforeDestruction()
{
  TComponent::BeforeDestruction();
  if (GetMouseCapture())
    SetMouseCapture(false);
}

String TControl::ReadCaption() const
{
  return const_cast<TControl*>(this)->GetText();
}

bool TControl::IsColorStored() const
{
  return !FParentColor;
}

bool TControl::IsFontStored() const
{
  return !FParentFont;
}

bool TControl::IsShowHintStored() const
{
  return !FParentShowHint;
}

// ---------------------------------------------------------------------------
// Parent

void TControl::SetParent(TWinControl* AParent)
{
  if (FParent == AParent)
    return;
  if (AParent == this)
    throw EInvalidOperation(L"A control cannot have itself as its parent");
  if (auto* self = dynamic_cast<TWinControl*>(this); self && AParent && self->ContainsControl(AParent))
    throw EInvalidOperation(L"A control cannot be placed on one of its own children");
  if (FParent)
    FParent->RemoveControl(this);
  if (AParent)
    AParent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const
{
  return FParent;
}

void TControl::SetParentComponent(TComponent* Value)
{
  if (auto* parent = dynamic_cast<TWinControl*>(Value))
    SetParent(parent);
}

// ---------------------------------------------------------------------------
// Bounds

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
    return;
  bool resized = AWidth != FWidth || AHeight != FHeight;
  Invalidate();
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  Invalidate();
  if (!FControlState.Contains(csAligning)) {
    UpdateAnchorRules();
    RequestAlign();
  }
  if (resized)
    Resize();
}

void TControl::ChangeScale(int M, int D)
{
  if (M == D || M <= 0 || D <= 0)
    return;
  // The edges are scaled, so that controls that touch still touch.
  const int left = MulDiv(FLeft, M, D), top = MulDiv(FTop, M, D);
  SetBounds(left, top, MulDiv(FLeft + FWidth, M, D) - left, MulDiv(FTop + FHeight, M, D) - top);
  ScaleFont(M, D);
}

void TControl::ScaleFont(int M, int D)
{
  if (FParentFont)
    return;
  FFont->SetHeight(MulDiv(FFont->GetHeight(), M, D));
  FParentFont = false;
}

void TControl::UpdateBoundsRect(const TRect& R)
{
  FLeft = R.left;
  FTop = R.top;
  FWidth = RectWidth(R);
  FHeight = RectHeight(R);
  if (!FControlState.Contains(csAligning))
    UpdateAnchorRules();
}

TRect TControl::GetClientRect() const
{
  return Rect(0, 0, FWidth, FHeight);
}

void TControl::SetClientWidth(int Value)
{
  SetClientSize(Value, GetClientHeight());
}

void TControl::SetClientHeight(int Value)
{
  SetClientSize(GetClientWidth(), Value);
}

void TControl::SetClientSize(int AWidth, int AHeight)
{
  SetBounds(FLeft, FTop, AWidth, AHeight);
}

TPoint TControl::GetClientOrigin()
{
  if (!FParent)
    return Point(FLeft, FTop);
  TPoint p = FParent->GetClientOrigin();
  return Point(p.x + FLeft, p.y + FTop);
}

TPoint TControl::ClientToScreen(const TPoint& P)
{
  TPoint o = GetClientOrigin();
  return Point(P.x + o.x, P.y + o.y);
}

TPoint TControl::ScreenToClient(const TPoint& P)
{
  TPoint o = GetClientOrigin();
  return Point(P.x - o.x, P.y - o.y);
}

TRect TControl::ClientToScreen(const TRect& R)
{
  return Rect(ClientToScreen(TopLeft(R)), ClientToScreen(BottomRight(R)));
}

TRect TControl::ScreenToClient(const TRect& R)
{
  return Rect(ScreenToClient(TopLeft(R)), ScreenToClient(BottomRight(R)));
}

TPoint TControl::ClientToParent(const TPoint& P, TWinControl* AParent)
{
  if (!AParent)
    AParent = FParent;
  if (!AParent)
    throw EInvalidOperation(L"Control '" + Name() + L"' has no parent window");
  TPoint r = P;
  for (TControl* c = this; c != AParent; c = c->FParent) {
    if (!c->FParent)
      throw EInvalidOperation(L"'" + AParent->Name() + L"' is not a parent of '" + Name() + L"'");
    r.x += c->FLeft;
    r.y += c->FTop;
  }
  return r;
}

TPoint TControl::ParentToClient(const TPoint& P, TWinControl* AParent)
{
  TPoint origin = ClientToParent(Point(0, 0), AParent);
  return Point(P.x - origin.x, P.y - origin.y);
}

// ---------------------------------------------------------------------------
// Alignment and anchors

void TControl::SetAlign(TAlign Value)
{
  if (FAlign == Value)
    return;
  TAlign old = FAlign;
  FAlign = Value;
  FAnchors = Value == alNone || Value == alCustom ? FAnchors : TAnchors{akLeft, akTop};
  if (old == alNone || Value == alNone)
    UpdateAnchorRules();
  RequestAlign();
}

void TControl::SetAnchors(TAnchors Value)
{
  if (FAnchors == Value)
    return;
  FAnchors = Value;
  UpdateAnchorRules();
}

void TControl::SetAlignWithMargins(bool Value)
{
  if (FAlignWithMargins == Value)
    return;
  FAlignWithMargins = Value;
  RequestAlign();
}

void TControl::MarginsChanged(TObject*)
{
  if (FAlignWithMargins)
    RequestAlign();
}

void TControl::RequestAlign()
{
  if (FParent)
    FParent->AlignControl(this);
}

void TControl::UpdateAnchorRules()
{
  FAnchorRulesValid = false;
  if (!FParent || FComponentState.Contains(csLoading))
    return;
  TRect client = FParent->GetClientRect();
  FAnchorRect = GetBoundsRect();
  FAnchorParentSize = RectSize(client);
  FAnchorRulesValid = true;
}

void TControl::Resize()
{
  CallEvent(OnResize, this);
}

// ---------------------------------------------------------------------------
// Visible, enabled, colour, font, hints, cursor

void TControl::SetVisible(bool Value)
{
  if (FVisible == Value)
    return;
  FVisible = Value;
  Perform(CM_VISIBLECHANGED, Value ? 1 : 0);
  VisibleChanged();
  RequestAlign();
}

void TControl::Show()
{
  if (FParent)
    FParent->Show();
  SetVisible(true);
}

void TControl::Hide()
{
  SetVisible(false);
}

bool TControl::IsShowing()
{
  return FVisible && FParent && FParent->IsShowing();
}

void TControl::SetEnabled(bool Value)
{
  if (FEnabled == Value)
    return;
  FEnabled = Value;
  Perform(CM_ENABLEDCHANGED);
}

bool TControl::IsEnabledInParents() const
{
  for (const TControl* c = this; c; c = c->FParent)
    if (!c->FEnabled)
      return false;
  return true;
}

void TControl::SetColor(TColor Value)
{
  if (FColor == Value) {
    FParentColor = false;
    return;
  }
  FColor = Value;
  FParentColor = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool Value)
{
  if (FParentColor == Value)
    return;
  FParentColor = Value;
  if (Value && FParent && !FComponentState.Contains(csReading))
    Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetFont(TFont* Value)
{
  FFont->Assign(Value);
}

void TControl::FontChanged(TObject*)
{
  FParentFont = false;
  Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool Value)
{
  if (FParentFont == Value)
    return;
  FParentFont = Value;
  if (Value && FParent && !FComponentState.Contains(csReading))
    Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetHelpKeyword(const String& Value)
{
  FHelpKeyword = Value;
  if (!Value.empty())
    FHelpType = htKeyword;
}

void TControl::SetHelpContext(THelpContext Value)
{
  FHelpContext = Value;
  if (Value != 0)
    FHelpType = htContext;
}

void TControl::SetShowHint(bool Value)
{
  FParentShowHint = false;
  if (FShowHint == Value)
    return;
  FShowHint = Value;
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool Value)
{
  if (FParentShowHint == Value)
    return;
  FParentShowHint = Value;
  if (Value && FParent && !FComponentState.Contains(csReading))
    Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetCursor(TCursor Value)
{
  if (FCursor == Value)
    return;
  FCursor = Value;
  Perform(CM_CURSORCHANGED);
}

// ---------------------------------------------------------------------------
// Text: kept in FText without a window; a windowed control's window holds it while it
// exists, so WM_SETTEXT and WM_GETTEXT reach the window through the default handling.

String TControl::GetText()
{
  int len = GetTextLen();
  if (len <= 0)
    return String();
  String text(size_t(len) + 1, L'\0');
  int got = GetTextBuf(text.data(), len + 1);
  text.resize(size_t(std::clamp(got, 0, len)));
  return text;
}

void TControl::SetText(const String& Value)
{
  if (GetText() != Value)
    SetTextBuf(Value.c_str());
}

int TControl::GetTextLen()
{
  return int(Perform(WM_GETTEXTLENGTH));
}

int TControl::GetTextBuf(wchar_t* Buffer, int BufSize)
{
  if (!Buffer || BufSize <= 0)
    return 0;
  return int(Perform(WM_GETTEXT, WPARAM(BufSize), reinterpret_cast<LPARAM>(Buffer)));
}

void TControl::SetTextBuf(const wchar_t* Buffer)
{
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Buffer ? Buffer : L""));
  Perform(CM_TEXTCHANGED);
}

// ---------------------------------------------------------------------------
// Painting requests

void TControl::Invalidate()
{
  InvalidateRect(Rect(0, 0, FWidth, FHeight), !FControlStyle.Contains(csOpaque));
}

void TControl::InvalidateRect(const TRect& R, bool Erase)
{
  if (!FParent || !FParent->HandleAllocated() || !FVisible || ::IsRectEmpty(&R))
    return;
  TRect r = OffsetRect(R, FLeft, FTop);
  ::InvalidateRect(FParent->FHandle, &r, Erase ? TRUE : FALSE);
}

void TControl::Update()
{
  if (FParent)
    FParent->Update();
}

void TControl::Repaint()
{
  Invalidate();
  Update();
}

void TControl::SetZOrder(bool TopMost)
{
  if (!FParent)
    return;
  auto& list = FParent->FControls;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end())
    return;
  list.erase(it);
  if (TopMost)
    list.push_back(this);
  else
    list.insert(list.begin(), this);
  Invalidate();
}

// ---------------------------------------------------------------------------
// Messages

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam)
{
  TMessage m{Msg, WParam, LParam, 0};
  if (FWindowProc.Assigned())
    FWindowProc(m);
  else
    WndProc(m);
  return m.Result;
}

void TControl::SetWindowProc(const TWndMethod& Value)
{
  FWindowProc = Value.Assigned() ? Value : TWndMethod(this, &TControl::WndProc);
}

namespace ControlsImpl {

namespace {

// The dispatches running on this thread, innermost first (a window's messages are
// handled on the thread that made it).
thread_local TDispatchScope* innermostDispatch = nullptr;

}  // namespace

TDispatchScope::TDispatchScope(const TControl* Control, const TMessage& Message)
    : FControl(Control), FMessage(&Message), FMsg(Message.Msg), FOuter(innermostDispatch)
{
  innermostDispatch = this;
}

TDispatchScope::~TDispatchScope()
{
  innermostDispatch = FOuter;
}

bool TDispatchScope::IsDispatching(const TControl* Control, const TMessage& Message)
{
  for (const TDispatchScope* s = innermostDispatch; s; s = s->FOuter)
    if (s->FMessage == &Message && s->FControl == Control && s->FMsg == Message.Msg)
      return true;
  return false;
}

}  // namespace ControlsImpl

void TControl::WndProc(TMessage& Message)
{
  if (ControlsImpl::TDispatchScope::IsDispatching(this, Message)) {
    DefaultHandler(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The capture and the click state are taken before the handlers run, so that a
      // handler may cancel them.
      if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(true);
      if (FControlStyle.Contains(csClickEvents))
        FControlState += csClicked;
      FControlState += csLButtonDown;
      break;
    case WM_LBUTTONUP:
      FControlState -= csLButtonDown;
      break;
    default:
      break;
  }
  ControlsImpl::TDispatchScope dispatching(this, Message);
  Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message)
{
  // clang-format off
  switch (Message.Msg) {
    case WM_LBUTTONDOWN: return WMLButtonDown(Message);
    case WM_LBUTTONUP: return WMLButtonUp(Message);
    case WM_LBUTTONDBLCLK: return WMLButtonDblClk(Message);
    case WM_RBUTTONDOWN: return WMRButtonDown(Message);
    case WM_RBUTTONUP: return WMRButtonUp(Message);
    case WM_RBUTTONDBLCLK: return WMRButtonDblClk(Message);
    case WM_MBUTTONDOWN: return WMMButtonDown(Message);
    case WM_MBUTTONUP: return WMMButtonUp(Message);
    case WM_MBUTTONDBLCLK: return WMMButtonDblClk(Message);
    case WM_MOUSEMOVE: return WMMouseMove(Message);
    case WM_MOUSEWHEEL: return WMMouseWheel(Message);
    case WM_CONTEXTMENU: return WMContextMenu(Message);
    case WM_CANCELMODE: return WMCancelMode(Message);
    case CM_VISIBLECHANGED: return CMVisibleChanged(Message);
    case CM_ENABLEDCHANGED: return CMEnabledChanged(Message);
    case CM_FONTCHANGED: return CMFontChanged(Message);
    case CM_COLORCHANGED: return CMColorChanged(Message);
    case CM_PARENTFONTCHANGED: return CMParentFontChanged(Message);
    case CM_PARENTCOLORCHANGED: return CMParentColorChanged(Message);
    case CM_PARENTSHOWHINTCHANGED: return CMParentShowHintChanged(Message);
    case CM_TEXTCHANGED: return CMTextChanged(Message);
    case CM_MOUSEENTER: return CMMouseEnter(Message);
    case CM_MOUSELEAVE: return CMMouseLeave(Message);
    case CM_MOUSEWHEEL: return CMMouseWheel(Message);
    case CM_HITTEST: return CMHitTest(Message);
    case CM_CANCELMODE: return CMCancelMode(Message);
    default: return DefaultHandler(Message);
  }
  // clang-format on
}

void TControl::DefaultHandler(TMessage& Message)
{
  switch (Message.Msg) {
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<wchar_t*>(Message.LParam);
      size_t size = size_t(Message.WParam);
      if (!buffer || size == 0) {
        Message.Result = 0;
        return;
      }
      size_t n = std::min(FText.size(), size - 1);
      std::copy_n(FText.data(), n, buffer);
      buffer[n] = L'\0';
      Message.Result = LRESULT(n);
      return;
    }
    case WM_GETTEXTLENGTH:
      Message.Result = LRESULT(FText.size());
      return;
    case WM_SETTEXT: {
      auto* text = reinterpret_cast<const wchar_t*>(Message.LParam);
      FText = text ? text : L"";
      Message.Result = 1;
      return;
    }
    default:
      return;
  }
}

// ---------------------------------------------------------------------------
// CM_ notifications

void TControl::CMVisibleChanged(TMessage& Message)
{
  // The area it covered or now covers must be repainted by the parent.
  if (FParent && FParent->HandleAllocated()) {
    TRect r = GetBoundsRect();
    ::InvalidateRect(FParent->FHandle, &r, TRUE);
  }
}

void TControl::CMEnabledChanged(TMessage& Message)
{
  Invalidate();
}

void TControl::CMFontChanged(TMessage& Message)
{
  Invalidate();
}

void TControl::CMColorChanged(TMessage& Message)
{
  Invalidate();
}

void TControl::CMParentFontChanged(TMessage& Message)
{
  if (!FParentFont || !FParent)
    return;
  FFont->Assign(FParent->FFont);
  FParentFont = true;  // Assign's change notice cleared it
}

void TControl::CMParentColorChanged(TMessage& Message)
{
  if (!FParentColor || !FParent)
    return;
  SetColor(FParent->FColor);
  FParentColor = true;
}

void TControl::CMParentShowHintChanged(TMessage& Message)
{
  if (!FParentShowHint || !FParent)
    return;
  SetShowHint(FParent->FShowHint);
  FParentShowHint = true;
}

// ---------------------------------------------------------------------------
// Form data

void TControl::ReadState(TReader* Reader)
{
  TStateFlag reading(FControlState, csReadingState);
  TComponent::ReadState(Reader);
}

void TControl::Loaded()
{
  TComponent::Loaded();
  UpdateAnchorRules();
  RequestAlign();
}
