// Shared pieces of the form tests: a focusable control that records clicks, a form class
// with published handlers for form data to bind, message-box capture, and guards that free
// forms at the end of a case.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "support/Input.h"
#include "support/Owned.h"
#include "support/Pump.h"

// A coloured, focusable control.
class TTile : public TCustomControl {
  DECLARE_CLASS(TTile, TCustomControl)
public:
  explicit TTile(TComponent* AOwner) : TCustomControl(AOwner)
  {
    SetBounds(0, 0, 80, 40);
    SetTabStop(true);
  }

protected:
  void Paint() override
  {
    GetCanvas()->GetBrush()->SetColor(GetColor());
    GetCanvas()->FillRect(GetClientRect());
  }
};

// A form whose published handlers form data binds by name; each records its call.
class TTestForm : public TForm {
  DECLARE_CLASS(TTestForm, TForm)
public:
  explicit TTestForm(TComponent* AOwner) : TForm(AOwner) {}

  std::vector<std::wstring> Log;
  bool AllowClose = true;
  // What OnClose answers; unset leaves the form's own choice.
  std::optional<TCloseAction> CloseAction;
  TModalResult ResultOnClick = mrNone;
  bool ThrowOnClick = false;
  bool AbortOnClick = false;

  void TileClick(TObject* Sender);
  void FormCreate(TObject* Sender) { Log.push_back(L"create"); }
  void FormDestroy(TObject* Sender) { Log.push_back(L"destroy"); }
  void FormShow(TObject* Sender) { Log.push_back(L"show"); }
  void FormHide(TObject* Sender) { Log.push_back(L"hide"); }
  void FormActivate(TObject* Sender) { Log.push_back(L"activate"); }
  void FormDeactivate(TObject* Sender) { Log.push_back(L"deactivate"); }
  void FormCloseQuery(TObject* Sender, bool& CanClose)
  {
    Log.push_back(L"closequery");
    CanClose = AllowClose;
  }
  void FormClose(TObject* Sender, TCloseAction& Action)
  {
    Log.push_back(L"close");
    if (CloseAction)
      Action = *CloseAction;
  }
  int Count(const std::wstring& Entry) const;
};

// A form class whose form data comes from the test program's resources.
class TResourceForm : public TForm {
  DECLARE_CLASS(TResourceForm, TForm)
public:
  explicit TResourceForm(TComponent* AOwner) : TForm(AOwner) {}
  int Clicks = 0;
  void ButtonClick(TObject* Sender) { ++Clicks; }
};

// An MDI form class whose form data comes from the resources.
class TMDIFrameForm : public TForm {
  DECLARE_CLASS(TMDIFrameForm, TForm)
public:
  explicit TMDIFrameForm(TComponent* AOwner) : TForm(AOwner) {}
};

// A form class that has no form data anywhere.
class TMissingDataForm : public TForm {
  DECLARE_CLASS(TMissingDataForm, TForm)
public:
  explicit TMissingDataForm(TComponent* AOwner) : TForm(AOwner) {}
};

// Frees a component at the end of a scope unless it is gone already.
// Answers every message box with Answer and records what was asked, for its lifetime.
class TMessageBoxRecorder {
public:
  struct TCall {
    std::wstring Text;
    std::wstring Caption;
    uint32_t Flags;
  };
  explicit TMessageBoxRecorder(int Answer = IDOK);
  ~TMessageBoxRecorder();
  std::vector<TCall> Calls;

private:
  TMessageBoxProc FPrevious;
};

// Replaces Application->OnException for its lifetime and records the messages.
class TExceptionRecorder {
public:
  TExceptionRecorder();
  ~TExceptionRecorder();
  std::vector<std::wstring> Messages;
  std::vector<TObject*> Senders;

private:
  void Record(TObject* Sender, Exception* E);
  TExceptionEvent FPrevious;
};

// A form of class T read from Text; the fixture frees it.
template <class T = TTestForm>
T* FormFromText(const std::wstring& Text)
{
  return TCustomForm::CreateFromText<T>(Text, nullptr);
}

// The screen point at the middle of a control.
inline POINT CenterOf(TControl* Control)
{
  return Control->ClientToScreen(Point(Control->GetWidth() / 2, Control->GetHeight() / 2));
}

// Shows a form and waits until it is the active window.
bool ShowAndActivate(TCustomForm* Form);

// Moves the cursor where no test window lies.
void ParkMouse();

// Posts a left click at a screen point once the current message has been handled: for
// clicking inside modal loops, which the test cannot leave until they end.
void ClickLater(POINT ScreenPos);
