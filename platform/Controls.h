// Controls: the visual components. TControl has bounds, alignment, colour, font, text and
// mouse handling; TWinControl owns an HWND made on demand and dispatches its messages to
// named handlers; TCustomControl paints itself on a canvas; TGraphicControl has no window
// and is painted and fed mouse messages by its parent.
#pragma once

#include "platform/Canvas.h"
#include "platform/Classes.h"
#include "platform/GraphicsObjects.h"
#include "platform/Messages.h"
#include "platform/Types.h"

class TControl;
class TWinControl;
class TCustomForm;

// ---------------------------------------------------------------------------
// Enumerations and sets of the control layer.

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
DECLARE_ENUM_INFO(TAlign)
// How a control names its help topic: by keyword or by context number.
enum THelpType { htKeyword, htContext };
DECLARE_ENUM_INFO(THelpType)
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
DECLARE_ENUM_INFO(TAnchorKind)
using TAnchors = TSet<TAnchorKind>;
enum TMouseButton { mbLeft, mbRight, mbMiddle };
DECLARE_ENUM_INFO(TMouseButton)
// Horizontal placement of a text in its box.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
DECLARE_ENUM_INFO(TAlignment)

enum TControlStyleE {
  csAcceptsControls,    // other controls may be placed on it
  csCaptureMouse,       // captures the mouse while a button is held over it
  csDesignInteractive,  // right clicks reach it at design time
  csClickEvents,        // a press and release over it is a click
  csFramed,
  csSetCaption,    // its name becomes its caption when named at design time
  csOpaque,        // covers its whole client area: nothing behind it is erased
  csDoubleClicks,  // a double click is reported as such (else as a second press)
  csFixedWidth,
  csFixedHeight,
  csNoDesignVisible,
  csReplicatable,
  csNoStdEvents,  // no mouse or key events are fired
  csDisplayDragImage,
  csReflector,
  csActionClient,
  csMenuEvents,
  csNeedsBorderPaint,
  csParentBackground,
};
DECLARE_ENUM_INFO(TControlStyleE)
using TControlStyle = TSet<TControlStyleE>;

enum TControlStateE {
  csLButtonDown,  // the left button went down over it and is still held
  csClicked,      // a click is under way (pressed over a csClickEvents control)
  csPalette,
  csReadingState,     // being read from form data
  csAlignmentNeeded,  // a realignment was asked for while alignment was disabled
  csFocusing,         // SetFocus is moving the focus to it
  csCreating,         // its window is being created
  csPaintCopy,
  csCustomPaint,       // paints itself even with native default handling
  csDestroyingHandle,  // its window is being destroyed
  csDocking,
  csDesignerHide,
  csPanning,
  csRecreating,  // RecreateWnd is remaking its window
  csAligning,    // its parent is placing it (bounds changes are not anchoring changes)
  csGlassPaint,
  csPrintClient,  // painting into a DC given by WM_PRINTCLIENT
};
using TControlState = TSet<TControlStateE>;

// Cursor identifiers; negative ones are the platform's predefined cursors, positive ones
// are custom cursors registered with the screen object.
using TCursor = int16_t;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crSize = crSizeAll;
// The identifiers form data writes for cursor values ("crHandPoint").
const TIdentMap& CursorIdents();
bool CursorToIdent(int32_t Cursor, String& Ident);
bool IdentToCursor(const String& Ident, int32_t& Cursor);

// ---------------------------------------------------------------------------
// Events.

using TWndMethod = TEvent<void(TMessage& Message)>;
using TMouseEvent = TEvent<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = TEvent<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = TEvent<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = TEvent<void(TObject* Sender, wchar_t& Key)>;
using TContextPopupEvent = TEvent<void(TObject* Sender, TPoint MousePos, bool& Handled)>;
using TMouseWheelEvent =
    TEvent<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;

// Modifier and button state from a mouse message's WParam, a key message's LParam, or the
// keyboard right now.
TShiftState KeysToShiftState(WORD Keys);
TShiftState KeyDataToShiftState(LPARAM KeyData);
TShiftState GetShiftState();

// The parts of a hint "short|long": the short one a tooltip shows, the long one a status
// line shows; without "|" both are the whole text.
String GetShortHint(const String& Hint);
String GetLongHint(const String& Hint);

// The flags of a key message's LParam (the system's KF_ bits in its high word).
inline bool KeyDataIsUp(LPARAM KeyData)
{
  return (HIWORD(KeyData) & KF_UP) != 0;
}
inline bool KeyDataIsRepeat(LPARAM KeyData)
{
  return (HIWORD(KeyData) & KF_REPEAT) != 0;
}
inline bool KeyDataHasAlt(LPARAM KeyData)
{
  return (HIWORD(KeyData) & KF_ALTDOWN) != 0;
}
// The LParam of one press (or release) of a key, as the system sends it.
inline LPARAM MakeKeyData(bool AUp, bool AAlt)
{
  return 1 | LPARAM(AAlt ? KF_ALTDOWN : 0) << 16 | LPARAM(AUp ? KF_UP | KF_REPEAT : 0) << 16;
}

// ---------------------------------------------------------------------------
// Space kept around a control aligned with AlignWithMargins.

class TMargins : public TPersistent {
  DECLARE_CLASS(TMargins, TPersistent)
public:
  explicit TMargins(TControl* Control = nullptr) : FControl(Control) {}
  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() const override;

  int GetLeft() const { return FLeft; }
  int GetTop() const { return FTop; }
  int GetRight() const { return FRight; }
  int GetBottom() const { return FBottom; }
  void SetLeft(int Value) { SetMargins(Value, FTop, FRight, FBottom); }
  void SetTop(int Value) { SetMargins(FLeft, Value, FRight, FBottom); }
  void SetRight(int Value) { SetMargins(FLeft, FTop, Value, FBottom); }
  void SetBottom(int Value) { SetMargins(FLeft, FTop, FRight, Value); }
  // Negative values are taken as 0.
  void SetMargins(int ALeft, int ATop, int ARight, int ABottom);

  TNotifyEvent OnChange;

private:
  TControl* FControl;
  int FLeft = 3, FTop = 3, FRight = 3, FBottom = 3;
};

// ---------------------------------------------------------------------------
// TControl

class TControl : public TComponent {
  DECLARE_CLASS(TControl, TComponent)
  friend class TWinControl;
  friend class TCustomForm;

public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;
  void BeforeDestruction() override;

  // Parent: the windowed control it lies on. Setting it inserts into the new parent's
  // Controls, which owns nothing: the Owner frees the control.
  TWinControl* GetParent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

  // Bounds, in the parent's client coordinates (screen coordinates without a parent).
  int GetLeft() const { return FLeft; }
  int GetTop() const { return FTop; }
  int GetWidth() const { return FWidth; }
  int GetHeight() const { return FHeight; }
  void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  // Negative extents are taken as 0.
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect GetBoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  // Scales the bounds, and the font when it is the control's own, by M / D: what a form
  // laid out at D dots per inch does to show at M. A windowed control scales its children.
  virtual void ChangeScale(int M, int D);
  void SetBoundsRect(const TRect& R) { SetBounds(R.left, R.top, RectWidth(R), RectHeight(R)); }
  // The client area in client coordinates (0, 0, ClientWidth, ClientHeight).
  virtual TRect GetClientRect() const;
  int GetClientWidth() const { return RectWidth(GetClientRect()); }
  int GetClientHeight() const { return RectHeight(GetClientRect()); }
  void SetClientWidth(int Value);
  void SetClientHeight(int Value);
  virtual void SetClientSize(int AWidth, int AHeight);
  // Screen position of the client area's top-left corner.
  virtual TPoint GetClientOrigin();
  TPoint ClientToScreen(const TPoint& P);
  TPoint ScreenToClient(const TPoint& P);
  TRect ClientToScreen(const TRect& R);
  TRect ScreenToClient(const TRect& R);
  // Client point of this control to client point of AParent (an ancestor; nil = Parent).
  TPoint ClientToParent(const TPoint& P, TWinControl* AParent = nullptr);
  TPoint ParentToClient(const TPoint& P, TWinControl* AParent = nullptr);

  TAlign GetAlign() const { return FAlign; }
  void SetAlign(TAlign Value);
  TAnchors GetAnchors() const { return FAnchors; }
  void SetAnchors(TAnchors Value);
  TMargins* GetMargins() const { return FMargins; }
  void SetMargins(TMargins* Value) { FMargins->Assign(Value); }
  bool GetAlignWithMargins() const { return FAlignWithMargins; }
  void SetAlignWithMargins(bool Value);

  bool GetVisible() const { return FVisible; }
  virtual void SetVisible(bool Value);
  void Show();
  void Hide();
  // Visible here and in every parent (for a windowed control: its window is shown).
  virtual bool IsShowing();
  bool GetEnabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);
  // Enabled here and in every parent.
  bool IsEnabledInParents() const;

  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  bool GetParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  TFont* GetFont() const { return FFont; }
  void SetFont(TFont* Value);
  bool GetParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);

  // Caption and Text are the same value; a windowed control keeps it in its window.
  String GetText();
  void SetText(const String& Value);
  String GetCaption() { return GetText(); }
  void SetCaption(const String& Value) { SetText(Value); }
  int GetTextLen();
  // Copies at most BufSize - 1 characters and a terminating zero; returns the count copied.
  int GetTextBuf(wchar_t* Buffer, int BufSize);
  void SetTextBuf(const wchar_t* Buffer);

  const String& GetHint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  bool GetShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  bool GetParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value);
  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  // The help topic: a keyword or a context number; giving one makes it the kind in use.
  THelpType GetHelpType() const { return FHelpType; }
  void SetHelpType(THelpType Value) { FHelpType = Value; }
  const String& GetHelpKeyword() const { return FHelpKeyword; }
  void SetHelpKeyword(const String& Value);
  THelpContext GetHelpContext() const { return FHelpContext; }
  void SetHelpContext(THelpContext Value);

  TControlStyle GetControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
  TControlState GetControlState() const { return FControlState; }
  void SetControlState(TControlState Value) { FControlState = Value; }

  // Mouse capture: for a windowed control its window's, for a graphic control its
  // parent's window, with the mouse messages routed to it.
  bool GetMouseCapture();
  void SetMouseCapture(bool Value);

  // Messages: Perform sends through WindowProc without the system; WindowProc starts
  // as the virtual WndProc and may be replaced (keep the old one and call it).
  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
  const TWndMethod& GetWindowProc() const { return FWindowProc; }
  void SetWindowProc(const TWndMethod& Value);
  virtual void WndProc(TMessage& Message);
  // Calls the named handler of the message, or DefaultHandler.
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);

  void Invalidate();
  virtual void InvalidateRect(const TRect& R, bool Erase = true);
  virtual void Update();
  void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront() { SetZOrder(true); }
  void SendToBack() { SetZOrder(false); }
  virtual void SetZOrder(bool TopMost);

  virtual void Click();
  virtual void DblClick();

  void Loaded() override;
  void ReadState(TReader* Reader) override;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TMouseWheelEvent OnMouseWheel;
  TContextPopupEvent OnContextPopup;
  TNotifyEvent OnResize;

protected:
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void Resize();
  virtual void DoContextPopup(TPoint MousePos, bool& Handled);
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
  // Asks the parent to place this control again (alignment or anchors changed).
  virtual void RequestAlign();
  // Stores the bounds without going through the window (the window already has them).
  void UpdateBoundsRect(const TRect& R);
  // Remembers the position relative to the parent's edges that the anchors keep.
  void UpdateAnchorRules();
  virtual void VisibleChanged() {}
  void FontChanged(TObject* Sender);
  // The font's height by M / D when the font is the control's own.
  void ScaleFont(int M, int D);
  void MarginsChanged(TObject* Sender);

  // Named message handlers.
  virtual void WMLButtonDown(TMessage& Message);
  virtual void WMLButtonUp(TMessage& Message);
  virtual void WMLButtonDblClk(TMessage& Message);
  virtual void WMRButtonDown(TMessage& Message);
  virtual void WMRButtonUp(TMessage& Message);
  virtual void WMRButtonDblClk(TMessage& Message);
  virtual void WMMButtonDown(TMessage& Message);
  virtual void WMMButtonUp(TMessage& Message);
  virtual void WMMButtonDblClk(TMessage& Message);
  virtual void WMMouseMove(TMessage& Message);
  virtual void WMMouseWheel(TMessage& Message);
  virtual void WMContextMenu(TMessage& Message);
  virtual void WMCancelMode(TMessage& Message);
  virtual void CMVisibleChanged(TMessage& Message);
  virtual void CMEnabledChanged(TMessage& Message);
  virtual void CMFontChanged(TMessage& Message);
  virtual void CMColorChanged(TMessage& Message);
  virtual void CMParentFontChanged(TMessage& Message);
  virtual void CMParentColorChanged(TMessage& Message);
  virtual void CMParentShowHintChanged(TMessage& Message);
  virtual void CMTextChanged(TMessage& Message) {}
  virtual void CMMouseEnter(TMessage& Message);
  virtual void CMMouseLeave(TMessage& Message);
  virtual void CMMouseWheel(TMessage& Message);
  virtual void CMHitTest(TMessage& Message);
  virtual void CMCancelMode(TMessage& Message);

  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  TMargins* FMargins = nullptr;
  bool FAlignWithMargins = false;
  bool FVisible = true;
  bool FEnabled = true;
  TColor FColor = clWindow;
  bool FParentColor = true;
  TFont* FFont = nullptr;
  bool FParentFont = true;
  String FText;
  String FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TCursor FCursor = crDefault;
  THelpType FHelpType = htContext;
  String FHelpKeyword;
  THelpContext FHelpContext = 0;
  TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState FControlState;
  TWndMethod FWindowProc;
  // What the anchors keep: the bounds and the parent's client size when last placed by hand.
  TRect FAnchorRect{};
  TSize FAnchorParentSize{};
  bool FAnchorRulesValid = false;

private:
  String ReadCaption() const;
  bool IsColorStored() const;
  bool IsFontStored() const;
  bool IsShowHintStored() const;
  void DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift);
  void DoMouseUp(TMessage& Message, TMouseButton Button);
};

// ---------------------------------------------------------------------------
// TWinControl

// What CreateWnd asks CreateWindowEx for; descendants adjust it in CreateParams.
struct TCreateParams {
  String Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASSW WindowClass{};
  String WinClassName;
};

class TWinControl : public TControl {
  DECLARE_CLASS(TWinControl, TControl)
  friend class TControl;
  friend class TCustomForm;

public:
  explicit TWinControl(TComponent* AOwner);
  // A control placed in a window this layer does not own.
  static TWinControl* CreateParented(TClass Class, HWND ParentWindow);
  ~TWinControl() override;
  void BeforeDestruction() override;

  // The window, made on first use (HandleNeeded).
  HWND GetHandle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded();
  // The parent window of a control without Parent (a control hosted in a foreign window).
  HWND GetParentWindow() const { return FParentWindow; }
  void SetParentWindow(HWND Value);
  // The original window procedure of a subclassed native class, or DefWindowProcW.
  WNDPROC GetDefWndProc() const { return FDefWndProc; }

  int GetControlCount() const { return int(FControls.size()); }
  // Child controls, windowed and not, in z order (the last is on top).
  TControl* GetControls(int Index) const;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  // True for this control itself and every control below it.
  bool ContainsControl(TControl* Control) const;
  // The child under a client point (the topmost); nil when none.
  TControl* ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls = false);
  // Sends Message to every child (stops early when one sets Result).
  void Broadcast(TMessage& Message);
  void NotifyControls(UINT Msg);

  bool IsShowing() override;
  bool GetShowing() const { return FShowing; }
  virtual void SetFocus();
  bool Focused() const;
  virtual bool CanFocus();
  bool GetTabStop() const { return FTabStop; }
  void SetTabStop(bool Value);
  int GetTabOrder() const;
  void SetTabOrder(int Value);
  void GetTabOrderList(std::vector<TWinControl*>& List);
  // The next control in tab order after CurControl (wrapping), or nil.
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent);
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

  void DisableAlign();
  void EnableAlign();
  void Realign();
  bool AlignDisabled() const { return FAlignLevel > 0; }
  // Places the children with Align and anchors inside Rect (the client rect less padding).
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  // The rectangle children are aligned in.
  virtual void AdjustClientRect(TRect& Rect) {}

  TBrush* GetBrush() const { return FBrush; }
  bool GetDoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }

  // Destroys the window and makes it again with the current CreateParams (state such as
  // the text and list items is kept). Done at once when the window exists.
  void RecreateWnd();
  // Re-checks whether the control and its children are showing.
  void UpdateControlState();
  // Paints this control and its children into DC at X, Y.
  void PaintTo(HDC DC, int X, int Y);

  // A form overrides these two; they let the control layer reach forms without them.
  virtual TCustomForm* AsForm() { return nullptr; }
  // Focus bookkeeping of the top container when Control got the focus; false when this
  // container keeps none (then the control itself is told CM_ENTER).
  virtual bool SetFocusedControl(TWinControl* Control) { return false; }
  // A form previewing its controls' keys answers true (KeyPreview).
  virtual bool WantsKeyPreview() { return false; }

  // False while the control, though shown, would show nothing and may go without a window:
  // it is then made when first asked for, or when UpdateControlState finds this true.
  virtual bool WantsWindowToShow() { return true; }
  // Window creation and destruction, in the order they run.
  virtual void CreateHandle();
  virtual void CreateParams(TCreateParams& Params);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void DestroyHandle();
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  // Makes the window class a copy of a native class, whose procedure becomes the default
  // handling. Call from CreateParams.
  void CreateSubClass(TCreateParams& Params, const wchar_t* ControlClassName);

  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  // The entry point from the window procedure: WindowProc with exceptions caught.
  void MainWndProc(TMessage& Message);

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  TRect GetClientRect() const override;
  TPoint GetClientOrigin() override;
  void SetClientSize(int AWidth, int AHeight) override;
  void InvalidateRect(const TRect& R, bool Erase = true) override;
  void Update() override;
  void SetZOrder(bool TopMost) override;

  void Loaded() override;
  void ChangeScale(int M, int D) override;
  // Streams the children this root owns, so form data nests them.
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

  // The window procedure's binding of a window to this control (internal).
  void BindHandle(HWND Window);
  void UnbindHandle(HWND Window);

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

protected:
  virtual void KeyDown(WORD& Key, TShiftState Shift);
  virtual void KeyUp(WORD& Key, TShiftState Shift);
  virtual void KeyPress(wchar_t& Key);
  // Fire the key events; true when the key was consumed (set to 0).
  bool DoKeyDown(TMessage& Message);
  bool DoKeyUp(TMessage& Message);
  bool DoKeyPress(TMessage& Message);
  virtual void DoEnter();
  virtual void DoExit();
  virtual void PaintWindow(HDC DC);
  // Paints the window (PaintWindow) and then the graphic children into DC.
  void PaintHandler(HDC DC);
  // Paints the visible graphic children from First (nil = all) upwards into DC.
  void PaintControls(HDC DC, TControl* First);
  // Mouse messages for a graphic child (capture or under the point) go to it: true when sent.
  bool IsControlMouseMsg(TMessage& Message);
  // Aligns one control's change (nil: everything) unless alignment is disabled.
  void AlignControl(TControl* AControl);
  // Reads the window's rectangle back into the bounds.
  void UpdateBounds();
  // Shows or hides the window to match Showing, creating it when it comes to show.
  void UpdateShowing();
  void UpdateTabOrder(int Value);
  bool IsTabOrderStored() const { return FTabStop || FParent; }
  // The top container (a form, or the topmost parent).
  TWinControl* TopParent();
  void ReflectToChild(TMessage& Message, HWND Child);
  // Mouse enter and leave tracking across this window's graphic children.
  void TrackMouse(TMessage& Message);

  virtual void WMPaint(TMessage& Message);
  virtual void WMPrintClient(TMessage& Message);
  virtual void WMEraseBkgnd(TMessage& Message);
  virtual void WMSize(TMessage& Message);
  virtual void WMMove(TMessage& Message);
  virtual void WMWindowPosChanged(TMessage& Message);
  virtual void WMSetFocus(TMessage& Message);
  virtual void WMKillFocus(TMessage& Message);
  virtual void WMKeyDown(TMessage& Message);
  virtual void WMKeyUp(TMessage& Message);
  virtual void WMChar(TMessage& Message);
  virtual void WMSetCursor(TMessage& Message);
  virtual void WMMouseLeave(TMessage& Message);
  virtual void WMCommand(TMessage& Message);
  virtual void WMNotify(TMessage& Message);
  virtual void WMDrawItem(TMessage& Message);
  virtual void WMMeasureItem(TMessage& Message);
  virtual void WMCtlColor(TMessage& Message);
  virtual void WMReflected(TMessage& Message);
  virtual void WMNCDestroy(TMessage& Message);
  virtual void CNKeyDown(TMessage& Message);
  virtual void CNKeyUp(TMessage& Message);
  virtual void CNChar(TMessage& Message);
  void CMVisibleChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMColorChanged(TMessage& Message) override;
  virtual void CMShowingChanged(TMessage& Message);
  virtual void CMRecreateWnd(TMessage& Message);
  virtual void CMEnter(TMessage& Message);
  virtual void CMExit(TMessage& Message);
  virtual void CMDialogKey(TMessage& Message);
  virtual void CMDialogChar(TMessage& Message);
  virtual void CMChildKey(TMessage& Message);
  virtual void CMControlListChange(TMessage& Message) {}

  HWND FHandle = nullptr;
  HWND FParentWindow = nullptr;
  WNDPROC FDefWndProc = nullptr;
  std::vector<TControl*> FControls;
  std::vector<TWinControl*> FTabList;
  TBrush* FBrush = nullptr;
  bool FShowing = false;
  bool FTabStop = false;
  bool FDoubleBuffered = false;
  int FTabOrderWanted = -1;  // TabOrder read from form data before the parent is known
  int FAlignLevel = 0;
  // The client size the children were last placed in; a change moves anchored children.
  TSize FLastClientSize{-1, -1};
};

// ---------------------------------------------------------------------------
// A canvas on a control's device context. Inside a paint it is given the paint DC; used
// outside one it takes a DC of the control's window (its parent's, offset and clipped,
// for a graphic control) and keeps it until FreeHandle or FreeDeviceContexts.

class TControlCanvas : public TCanvas {
  DECLARE_CLASS(TControlCanvas, TCanvas)
public:
  TControlCanvas() = default;
  ~TControlCanvas() override;

  TControl* GetControl() const { return FControl; }
  void SetControl(TControl* Value);
  // Releases a DC taken from the window; a DC given with SetHandle is only let go.
  void FreeHandle();

protected:
  void CreateHandle() override;

private:
  TControl* FControl = nullptr;
  HDC FDeviceContext = nullptr;
  HWND FWindowHandle = nullptr;
};

// Releases the window DCs that control canvases took outside a paint (idle time work).
void FreeDeviceContexts();

// Whether the system draws any part of the window's non-client area (a border, a caption or a
// scroll bar). A window without one gains nothing from the default non-client painting but
// its cost: a device context of the window, taken to draw nothing.
bool HasSystemFrame(HWND Wnd);

// ---------------------------------------------------------------------------
// TCustomControl: a window that paints itself with Paint on its Canvas.

class TCustomControl : public TWinControl {
  DECLARE_CLASS(TCustomControl, TWinControl)
public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas* GetCanvas() const;

protected:
  virtual void Paint() {}
  void PaintWindow(HDC DC) override;

  TControlCanvas* FCanvas = nullptr;
};

// ---------------------------------------------------------------------------
// TGraphicControl: no window; its parent paints it inside its own WM_PAINT and routes
// mouse messages to it.

class TGraphicControl : public TControl {
  DECLARE_CLASS(TGraphicControl, TControl)
public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas* GetCanvas() const;

  void Dispatch(TMessage& Message) override;

protected:
  virtual void Paint() {}
  virtual void WMPaint(TMessage& Message);

  TControlCanvas* FCanvas = nullptr;
};

// ---------------------------------------------------------------------------
// Lookups and the mouse state the layer keeps.

// The control of a window made by this layer (in this process), or nil.
TWinControl* FindControl(HWND Handle);
// The control of the window under a screen point, or of its nearest ancestor that has one.
TWinControl* FindWindowControl(const TPoint& ScreenPos);
// The form a control lies on: the topmost one, or with TopForm false the nearest.
TCustomForm* GetParentForm(TControl* Control, bool TopForm = true);
// Cursor handles: Screen.Cursors plugs in here; until then the predefined ids map to the
// system cursors and others to the arrow. The screen's global cursor (crDefault when none)
// overrides a control's own in WM_SETCURSOR.
using TCursorHandleProc = std::function<HCURSOR(TCursor Cursor)>;
void SetCursorHandleProc(TCursorHandleProc Proc);
HCURSOR GetCursorHandle(TCursor Cursor);
using TScreenCursorProc = std::function<TCursor()>;
void SetScreenCursorProc(TScreenCursorProc Proc);
// The control (windowed or graphic) that holds the mouse capture, or nil.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
// The control the mouse is over as last tracked (for enter/leave), or nil.
TControl* GetMouseControl();
// Hands a key message to the focused control first (CN_KEYDOWN and friends, dialog keys);
// true when it consumed the key and the loop must not dispatch it. The message loop calls it.
bool IsControlKeyMessage(MSG& Msg);

// An observer of every message a window of this layer receives on one thread, before its
// window procedure runs (Before) and after (After): what a call-window hook would see of
// these windows, without the hook's cost to every message the thread sends. Posted messages
// pass it too. One observer at a time; installing returns the previous one.
struct TWindowMessageObserver {
  void (*Before)(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) = nullptr;
  void (*After)(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) = nullptr;
  DWORD ThreadId = 0;
};
TWindowMessageObserver SetWindowMessageObserver(const TWindowMessageObserver& AObserver);
