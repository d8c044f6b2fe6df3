// Forms: the top-level windows of a program. A form is read from its form data (the RCDATA
// resource named after its class, or a text), owns the components made from it, binds their
// events to its published handlers, and adds modal showing, closing, activation and MDI.
// The application object, the mouse and the screen are declared in Application.h and Screen.h.
#pragma once

#include "platform/Controls.h"
#include "platform/Messages.h"  // CM_RELEASE, posted by Release

class TCustomForm;
class TForm;

// ---------------------------------------------------------------------------
// Enumerations of the form layer.

enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
DECLARE_ENUM_INFO(TFormStyle)
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
DECLARE_ENUM_INFO(TWindowState)
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
DECLARE_ENUM_INFO(TFormBorderStyle)
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
DECLARE_ENUM_INFO(TBorderIcon)
using TBorderIcons = TSet<TBorderIcon>;
enum TPosition {
  poDesigned,         // where Left and Top say
  poDefault,          // the system chooses position and size
  poDefaultPosOnly,   // the system chooses the position
  poDefaultSizeOnly,  // the system chooses the size
  poScreenCenter,     // centred on the monitor of the main form (the primary one without)
  poDesktopCenter,    // centred on the whole desktop
  poMainFormCenter,   // centred over the main form (the screen without one)
  poOwnerFormCenter,  // centred over the owner form (the main form, then the screen without one)
};
DECLARE_ENUM_INFO(TPosition)
enum TCloseAction { caNone, caHide, caFree, caMinimize };
DECLARE_ENUM_INFO(TCloseAction)

enum TFormStateE {
  fsCreating,         // between construction and the end of OnCreate
  fsVisible,          // Visible was set while creating; shown when creation ends
  fsShowing,          // its window is being shown or hidden
  fsModal,            // running ShowModal
  fsCreatedMDIChild,  // its window is an MDI child of the main form's client
  fsActivated,        // has been active at least once
};
using TFormState = TSet<TFormStateE>;

// What ShowModal returns; the values are the IDOK ... IDCONTINUE of message boxes.
using TModalResult = int32_t;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrClose = 8;
constexpr TModalResult mrHelp = 9;
constexpr TModalResult mrTryAgain = 10;
constexpr TModalResult mrContinue = 11;
constexpr TModalResult mrAll = 12;
constexpr TModalResult mrNoToAll = 13;
constexpr TModalResult mrYesToAll = 14;

using TCloseEvent = TEvent<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TEvent<void(TObject* Sender, bool& CanClose)>;

// ---------------------------------------------------------------------------
// TCustomForm

class TCustomForm : public TWinControl {
  DECLARE_CLASS(TCustomForm, TWinControl)
public:
  // Builds the object only; AfterConstruction reads the form data and runs OnCreate.
  // Metaclass construction and Create/CreateNew/CreateFromText call it; a plain `new`
  // must be followed by AfterConstruction().
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  // A form of class T read from its class's RCDATA resource (none for TForm itself).
  template <class T>
  static T* Create(TComponent* AOwner)
  {
    return Construct<T>(AOwner, fdResource, String());
  }
  // A form of class T without form data.
  template <class T>
  static T* CreateNew(TComponent* AOwner)
  {
    return Construct<T>(AOwner, fdNone, String());
  }
  // A form of class T read from form data text (whose top object names class T or an ancestor).
  template <class T>
  static T* CreateFromText(const String& Text, TComponent* AOwner)
  {
    return Construct<T>(AOwner, fdText, Text);
  }

  // Reads the form data, runs OnCreate and shows the form when it was made visible. When
  // reading or that first showing fails, the form frees itself and the error goes on to
  // the caller. An exception of OnCreate goes to the application's HandleException.
  void AfterConstruction() override;
  // Runs OnDestroy while the form still has its full type.
  void BeforeDestruction() override;

  TCustomForm* AsForm() override { return this; }

  // Showing, hiding and closing.
  void Show();
  void Hide();
  void SetVisible(bool Value) override;
  // Shows the form with every other window of the program disabled and returns when
  // ModalResult becomes nonzero and OnCloseQuery agrees (mrCancel when the application
  // terminates). Raises EInvalidOperation for a visible form or an MDI child.
  virtual TModalResult ShowModal();
  // Asks OnCloseQuery, then OnClose decides: hide, minimise, free or nothing. Closing the
  // main form ends the application; closing a modal form sets ModalResult to mrCancel.
  void Close();
  // OnCloseQuery of the MDI children (of an MDI form) and then of the form.
  virtual bool CloseQuery();
  // Frees the form once the messages now waiting have been handled.
  void Release();
  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  TFormState GetFormState() const { return FFormState; }

  // Focus inside the form.
  TWinControl* GetActiveControl() const { return FActiveControl; }
  // Focuses Control at once when the form is active; raises when it cannot take the focus.
  void SetActiveControl(TWinControl* Control);
  // The control that has (or last had) the focus in this form.
  TWinControl* GetFocusedControl() const { return FFocusedControl; }
  bool SetFocusedControl(TWinControl* Control) override;
  void FocusControl(TWinControl* Control);
  // Ends a mouse mode of the active control (and of the active MDI child).
  void SendCancelMode(TControl* Sender);
  bool GetActive() const { return FActive; }
  // With KeyPreview the form sees the keys of its controls before they do.
  bool GetKeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }
  bool WantsKeyPreview() override { return FKeyPreview; }
  // Focuses the active control, activating the form's window.
  void SetFocus() override;

  // Window appearance.
  TFormStyle GetFormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle Value);
  TFormBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons GetBorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value);
  TPosition GetPosition() const { return FPosition; }
  void SetPosition(TPosition Value);
  TWindowState GetWindowState() const;
  void SetWindowState(TWindowState Value);
  // Client extent as form data stores it (applied when loading ends).
  int GetFormClientWidth() const;
  int GetFormClientHeight() const;
  void SetFormClientWidth(int Value);
  void SetFormClientHeight(int Value);
  void SetClientSize(int AWidth, int AHeight) override;
  // Form data laid out at PixelsPerInch dots per inch is scaled to the screen's as loading
  // ends, while Scaled is on: the client size, the fonts and every control. Form data that
  // does not say is taken as laid out at the screen's; a form written at 96 does not say.
  int GetPixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int Value);
  bool GetScaled() const { return FScaled; }
  void SetScaled(bool Value) { FScaled = Value; }
  // The form keeps its place; its client area, font and controls scale.
  void ChangeScale(int M, int D) override;
  // Without a window the client area is what the border styles would leave.
  TRect GetClientRect() const override;

  TCanvas* GetCanvas();

  // MDI: the client window of an MDI form, its children and the active one.
  HWND GetClientHandle() const { return FClientHandle; }
  TCustomForm* GetActiveMDIChild() const;
  int GetMDIChildCount() const;
  // Children in the client's z order: 0 is the active one. Nil when out of range.
  TCustomForm* GetMDIChildren(int Index) const;
  void Cascade();
  void Tile();
  void ArrangeIcons();
  void Next();
  void Previous();

  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

protected:
  enum TFormDataSource { fdNone, fdResource, fdText };

  // The window styles the border style, icons and form style ask for.
  void FrameStyles(DWORD& Style, DWORD& ExStyle) const;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void DestroyWindowHandle() override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void PaintWindow(HDC DC) override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& Action);
  virtual void Activate();
  virtual void Deactivate();
  virtual void Paint();
  // Runs CloseQuery and OnClose for a modal form whose ModalResult was set.
  void CloseModal();
  void SetActive(bool Value);
  // Gives the focus to the active control (or the form) when the form is active.
  void SetWindowFocus();
  // Moves the window where Position asks, before it is shown.
  void ApplyPosition();
  void ShowWindowForState();
  // The MDI client the window of an MDI child is made in; raises when there is none.
  HWND FindMDIClientWindow() const;
  void CreateMDIClient();

  void CMShowingChanged(TMessage& Message) override;
  void CMDialogKey(TMessage& Message) override;
  void WMActivate(TMessage& Message);
  void WMMDIActivate(TMessage& Message);
  void WMClose(TMessage& Message);
  void WMSize(TMessage& Message) override;
  void WMQueryEndSession(TMessage& Message);
  void WMActivateApp(TMessage& Message);
  void CMActivate(TMessage& Message);
  void CMDeactivate(TMessage& Message);

  TFormState FFormState;
  TFormStyle FFormStyle = fsNormal;
  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TPosition FPosition = poDesigned;
  TWindowState FWindowState = wsNormal;
  TModalResult FModalResult = mrNone;
  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;
  bool FActive = false;
  bool FKeyPreview = false;
  // Client size read from form data; applied in Loaded once the border is known.
  int FPendingClientWidth = -1;
  int FPendingClientHeight = -1;
  int FPixelsPerInch;
  bool FScaled = true;
  HWND FClientHandle = nullptr;
  std::unique_ptr<TControlCanvas> FCanvas;

private:
  template <class T>
  static T* Construct(TComponent* AOwner, TFormDataSource Source, const String& Text)
  {
    T* form = new T(AOwner);
    form->FSource = Source;
    form->FSourceText = Text;
    form->AfterConstruction();  // frees the form itself when it fails
    return form;
  }
  void ReadFormData();

  TFormDataSource FSource = fdResource;
  String FSourceText;
  bool FCreated = false;  // OnCreate has run: OnDestroy may run too
};

// The form class programs derive from; publishes what form data sets on a form.
class TForm : public TCustomForm {
  DECLARE_CLASS(TForm, TCustomForm)
public:
  explicit TForm(TComponent* AOwner);
};

// The nearest form of a control that must have one; raises EInvalidOperation naming the
// control when it lies on none.
TCustomForm* ValidParentForm(TControl* Control, bool TopForm = true);

#include "platform/Application.h"
#include "platform/Screen.h"
