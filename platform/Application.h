// The application object and the mouse: the message loop (Run, HandleMessage,
// ProcessMessages, idle time), the main form, the hidden application window, exception
// handling for everything raised inside the loop, and the start-up and shut-down of this
// layer (InitializeForms / FinalizeForms). Include it through Forms.h.
#pragma once

#include <exception>

#include "platform/Controls.h"

class TCustomForm;
class TForm;

using TIdleEvent = TEvent<void(TObject* Sender, bool& Done)>;
using TExceptionEvent = TEvent<void(TObject* Sender, Exception* E)>;
using TMessageEvent = TEvent<void(MSG& Msg, bool& Handled)>;
using THelpEvent = TEvent<bool(uint16_t Command, intptr_t Data, bool& CallHelp)>;

class TApplication : public TComponent {
  DECLARE_CLASS(TApplication, TComponent)
public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  // Runs the initialisation procedures the libraries registered (AddApplicationInitProc).
  void Initialize();
  // Creates a form of InstanceClass owned by the application; the first form made
  // becomes the main form. Reference is set when construction succeeded.
  TComponent* CreateForm(TClass InstanceClass);
  template <class T>
  void CreateForm(TClass InstanceClass, T*& Reference)
  {
    Reference = nullptr;
    Reference = dynamic_cast<T*>(CreateForm(InstanceClass));
  }
  template <class T>
  void CreateForm(T*& Reference)
  {
    CreateForm(T::StaticClass(), Reference);
  }
  // Creates a form of class T built in code, without form data, owned by the application;
  // as with CreateForm, the first form made becomes the main form.
  template <class T>
  void CreateNewForm(T*& Reference)
  {
    Reference = nullptr;
    T* form = T::template CreateNew<T>(this);
    AdoptForm(form);
    Reference = form;
  }
  // Shows the main form and handles messages until Terminated. Raises EInvalidOperation when
  // no form was made with CreateForm or CreateNewForm.
  void Run();
  // Handles one message, or idles (and waits for a message) when there is none.
  void HandleMessage();
  // Handles every message waiting, without idling.
  void ProcessMessages();
  // Ends Run: posts WM_QUIT, which sets Terminated when the loop reads it.
  void Terminate();
  bool GetTerminated() const { return FTerminated; }
  bool GetRunning() const { return FRunning; }

  TCustomForm* GetMainForm() const { return FMainForm; }
  bool GetShowMainForm() const { return FShowMainForm; }
  void SetShowMainForm(bool Value) { FShowMainForm = Value; }
  // The hidden top-level window that owns the forms and receives application messages.
  HWND GetHandle() const { return FHandle; }
  // The program file without its extension, until set.
  String GetTitle() const;
  void SetTitle(const String& Value);
  // The full path of the program file.
  String GetExeName() const;
  // Whether one of the program's windows is the active window (WM_ACTIVATEAPP).
  bool GetActive() const { return FActive; }

  // A message box owned by the active window; Caption defaults to Title. It goes
  // through the replaceable message box function of Dialogs.h.
  int MessageBox(const String& Text, const String& Caption = String(), uint32_t Flags = 0);
  // Reports the exception being handled; call it inside a catch block. EAbort is silent;
  // OnException gets the rest when assigned, otherwise ShowException shows its message.
  virtual void HandleException(TObject* Sender);
  void ShowException(Exception* E);
  // Asks OnHelp; false when nobody answers.
  bool HelpContext(intptr_t Context);
  void BringToFront();
  void Minimize();
  void Restore();

  // Hints: the text and the timing the hint machinery uses.
  const String& GetHint() const { return FHint; }
  void SetHint(const String& Value);
  TColor GetHintColor() const { return FHintColor; }
  void SetHintColor(TColor Value) { FHintColor = Value; }
  int GetHintPause() const { return FHintPause; }
  void SetHintPause(int Value) { FHintPause = Value < 0 ? 0 : Value; }
  int GetHintShortPause() const { return FHintShortPause; }
  void SetHintShortPause(int Value) { FHintShortPause = Value < 0 ? 0 : Value; }
  int GetHintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(int Value) { FHintHidePause = Value < 0 ? 0 : Value; }
  bool GetHintShortCuts() const { return FHintShortCuts; }
  void SetHintShortCuts(bool Value) { FHintShortCuts = Value; }
  bool GetShowHint() const { return FShowHint; }
  void SetShowHint(bool Value) { FShowHint = Value; }

  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TExceptionEvent OnException;
  TIdleEvent OnIdle;
  TMessageEvent OnMessage;
  TNotifyEvent OnHint;
  THelpEvent OnHelp;
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;

  // Form bookkeeping the forms call.
  void ReleaseForm(TCustomForm* Form);
  void FormDestroying(TCustomForm* Form);
  // Counts the modal loops running (ShowModal nests).
  void ModalStarted() { ++FModalLevel; }
  void ModalFinished() { --FModalLevel; }
  int GetModalLevel() const { return FModalLevel; }
  // Records whether the program is the active one and fires OnActivate / OnDeactivate.
  void SetActiveState(bool Value);
  void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
  // Reads and handles one message; false when the queue was empty.
  bool ProcessMessage(MSG& Msg);
  void Idle(const MSG& Msg);
  bool IsMDIMsg(MSG& Msg);
  void WndProc(TMessage& Message);

private:
  static LRESULT CALLBACK AppWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  void CreateHandle();
  // Makes Form the main form when there is none yet.
  void AdoptForm(TCustomForm* Form);
  void FreeReleasedForms();

  HWND FHandle = nullptr;
  TCustomForm* FMainForm = nullptr;
  String FTitle;
  bool FTerminated = false;
  bool FRunning = false;
  bool FShowMainForm = true;
  bool FActive = true;
  int FModalLevel = 0;
  String FHint;
  TColor FHintColor = clInfoBk;
  int FHintPause = 500;
  int FHintShortPause = 50;
  int FHintHidePause = 2500;
  bool FHintShortCuts = true;
  bool FShowHint = true;
  std::vector<TWeakRef<TCustomForm>> FReleased;
};

// ---------------------------------------------------------------------------
// The mouse: cursor position, capture and dragging thresholds.

class TMouse : public TObject {
  DECLARE_CLASS(TMouse, TObject)
public:
  TMouse();

  TPoint GetCursorPos() const;
  void SetCursorPos(const TPoint& Value);
  // The window holding the capture on this thread (nil when none); setting nil releases.
  HWND GetCapture() const;
  void SetCapture(HWND Value);
  bool GetMousePresent() const;
  int GetWheelScrollLines() const;
  // Pixels the mouse must move with a button down before a drag starts.
  int GetDragThreshold() const { return FDragThreshold; }
  void SetDragThreshold(int Value) { FDragThreshold = Value < 0 ? 0 : Value; }
  bool GetDragImmediate() const { return FDragImmediate; }
  void SetDragImmediate(bool Value) { FDragImmediate = Value; }
  // True while a drag started by the control layer is under way.
  bool GetIsDragging() const { return FDragging; }
  void SetIsDragging(bool Value) { FDragging = Value; }

private:
  int FDragThreshold = 5;
  bool FDragImmediate = true;
  bool FDragging = false;
};

// ---------------------------------------------------------------------------
// The objects this layer makes at start-up; nil before InitializeForms and after
// FinalizeForms.

extern TApplication* Application;
extern TMouse* Mouse;

// Creates Screen, Mouse and Application in that order and plugs the application into the
// control and thread layers (exception handling, cursors, main-thread wake-up). Calling
// it again while initialised does nothing.
void InitializeForms();
// Frees the application (and the forms it owns), then Mouse and Screen, and unplugs them.
void FinalizeForms();

// Initialisation procedures run by Application->Initialize, in the order added. Libraries
// add theirs during their own start-up; adding one twice keeps one entry.
using TProcedure = void (*)();
void AddApplicationInitProc(TProcedure Proc);
void RemoveApplicationInitProc(TProcedure Proc);
