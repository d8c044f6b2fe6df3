#include "FormsTestUtil.h"

IMPLEMENT_CLASS(TTile, TCustomControl)

PUBLISHED(TTestForm, TForm)
{
  p.Method(L"TileClick", &TTestForm::TileClick);
  p.Method(L"FormCreate", &TTestForm::FormCreate);
  p.Method(L"FormDestroy", &TTestForm::FormDestroy);
  p.Method(L"FormShow", &TTestForm::FormShow);
  p.Method(L"FormHide", &TTestForm::FormHide);
  p.Method(L"FormActivate", &TTestForm::FormActivate);
  p.Method(L"FormDeactivate", &TTestForm::FormDeactivate);
  p.Method(L"FormCloseQuery", &TTestForm::FormCloseQuery);
  p.Method(L"FormClose", &TTestForm::FormClose);
}

PUBLISHED(TResourceForm, TForm)
{
  p.Method(L"ButtonClick", &TResourceForm::ButtonClick);
}

IMPLEMENT_CLASS(TMissingDataForm, TForm)
IMPLEMENT_CLASS(TMDIFrameForm, TForm)

void TTestForm::TileClick(TObject* Sender)
{
  auto* component = dynamic_cast<TComponent*>(Sender);
  Log.push_back(L"click " + (component ? component->Name() : std::wstring()));
  if (ThrowOnClick)
    throw EInvalidOperation(L"The tile refused the click");
  if (AbortOnClick)
    Abort();
  if (ResultOnClick != mrNone)
    SetModalResult(ResultOnClick);
}

int TTestForm::Count(const std::wstring& Entry) const
{
  return int(std::count(Log.begin(), Log.end(), Entry));
}

// ---------------------------------------------------------------------------

TMessageBoxRecorder::TMessageBoxRecorder(int Answer)
{
  FPrevious = SetMessageBoxProc([this, Answer](HWND, const String& Text, const String& Caption, uint32_t Flags) {
    Calls.push_back({Text, Caption, Flags});
    return Answer;
  });
}

TMessageBoxRecorder::~TMessageBoxRecorder()
{
  SetMessageBoxProc(std::move(FPrevious));
}

TExceptionRecorder::TExceptionRecorder()
{
  FPrevious = Application->OnException;
  Application->OnException = TExceptionEvent([this](TObject* Sender, Exception* E) { Record(Sender, E); });
}

TExceptionRecorder::~TExceptionRecorder()
{
  if (Application)
    Application->OnException = FPrevious;
}

void TExceptionRecorder::Record(TObject* Sender, Exception* E)
{
  Messages.push_back(E->Message());
  Senders.push_back(Sender);
}

// ---------------------------------------------------------------------------

bool ShowAndActivate(TCustomForm* Form)
{
  Form->Show();
  return ActivateWindow(Form->GetHandle()) && PumpUntil([Form] { return Form->GetActive(); });
}

void ParkMouse()
{
  MoveMouseTo(POINT{::GetSystemMetrics(SM_CXSCREEN) - 3, ::GetSystemMetrics(SM_CYSCREEN) - 3});
}

void ClickLater(POINT ScreenPos)
{
  // A thread timer fires inside whatever loop runs next on this thread.
  static POINT target;
  target = ScreenPos;
  ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR Id, DWORD) {
    ::KillTimer(nullptr, Id);
    ::SetCursorPos(target.x, target.y);
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, inputs, sizeof(INPUT));
  });
}

// ---------------------------------------------------------------------------
// The form layer lives for the whole run, as in a program: made before the first case
// and freed after the last.

namespace {

class TFormsEnvironment : public testing::Environment {
public:
  void SetUp() override
  {
    InitializeForms();
    RegisterClasses({TTile::StaticClass(), TTestForm::StaticClass(), TResourceForm::StaticClass()});
  }
  void TearDown() override { FinalizeForms(); }
};

[[maybe_unused]] testing::Environment* const FormsEnvironment =
    testing::AddGlobalTestEnvironment(new TFormsEnvironment);

}  // namespace
