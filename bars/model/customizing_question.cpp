// The questions asked while customizing: one at a time, over the window they ask about, and
// answered as Cancel when what they ask about ends under them.
#include "bars/model/customizing.h"

#include "bars/model/manager.h"
#include "bars/keyboard/navigation.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/Scope.h"

namespace {

struct TQuestion {
  TWeakRef<TdxBarManager> Manager;
  HWND About = nullptr;
  HWND Box = nullptr;
  bool Placed = false;
  bool Cancelled = false;
};

TQuestion* GQuestion = nullptr;
HHOOK GQuestionHook = nullptr;

bool IsDialogBox(HWND AWnd)
{
  wchar_t name[16] = {};
  ::GetClassNameW(AWnd, name, 16);
  return String(name) == L"#32770" && !(::GetWindowLongW(AWnd, GWL_STYLE) & WS_CHILD);
}

// Centred over the part of AAbout that lies on its monitor's work area, and kept whole on
// that work area: a window half off the screen still gets a box the user can reach.
void PlaceOver(HWND ABox, HWND AAbout)
{
  RECT box{};
  ::GetWindowRect(ABox, &box);
  RECT about = box;
  if (AAbout && ::IsWindow(AAbout))
    ::GetWindowRect(AAbout, &about);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!::GetMonitorInfoW(::MonitorFromRect(&about, MONITOR_DEFAULTTONEAREST), &monitor))
    return;
  const RECT& work = monitor.rcWork;
  RECT seen{};
  if (!::IntersectRect(&seen, &about, &work))
    seen = work;
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  const int left = std::max<int>(work.left, std::min<int>((seen.left + seen.right - width) / 2, work.right - width));
  const int top = std::max<int>(work.top, std::min<int>((seen.top + seen.bottom - height) / 2, work.bottom - height));
  ::SetWindowPos(ABox, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Finds the question's box as it is made and places it as it first activates, once the box
// has laid itself out.
LRESULT CALLBACK QuestionHookProc(int Code, WPARAM WParam, LPARAM LParam)
{
  TQuestion* question = GQuestion;
  HWND wnd = reinterpret_cast<HWND>(WParam);
  if (question && Code == HCBT_CREATEWND && !question->Box && IsDialogBox(wnd))
    question->Box = wnd;
  else if (question && Code == HCBT_ACTIVATE && wnd == question->Box && !question->Placed) {
    question->Placed = true;
    PlaceOver(wnd, question->About);
  }
  return ::CallNextHookEx(GQuestionHook, Code, WParam, LParam);
}

HWND RootOf(HWND AWnd)
{
  return AWnd ? ::GetAncestor(AWnd, GA_ROOT) : nullptr;
}

HWND DefaultQuestionWindow(TdxBarManager* AManager)
{
  HWND active = ::GetActiveWindow();
  if (active && ::GetWindowThreadProcessId(active, nullptr) == ::GetCurrentThreadId())
    return active;
  if (HWND dialog = AManager ? AManager->GetCustomizingFormHandle() : nullptr)
    return dialog;
  TCustomForm* form = AManager ? AManager->GetTopLevelForm() : nullptr;
  return form && form->HandleAllocated() ? form->GetHandle() : nullptr;
}

}  // namespace

int dxBarAskCustomizingQuestion(TdxBarManager* AManager, HWND AAbout, const String& AText, uint32_t AFlags)
{
  if (TQuestion* up = GQuestion) {
    // The question up is answered first: the second does nothing but show where it is.
    dxBarBeep();
    if (up->Box && ::IsWindow(up->Box))
      ::SetActiveWindow(up->Box);
    return IDCANCEL;
  }
  TQuestion question;
  question.Manager = TWeakRef<TdxBarManager>(AManager);
  question.About = RootOf(AAbout ? AAbout : DefaultQuestionWindow(AManager));
  GQuestion = &question;
  GQuestionHook = ::SetWindowsHookExW(WH_CBT, QuestionHookProc, nullptr, ::GetCurrentThreadId());
  TFinally done([&]() noexcept {
    if (GQuestionHook)
      ::UnhookWindowsHookEx(GQuestionHook);
    GQuestionHook = nullptr;
    GQuestion = nullptr;
  });
  const String caption = Application ? Application->GetTitle() : String();
  const int answer = ShowMessageBox(question.About, AText, caption, AFlags);
  // A box that went with its window was not answered either.
  return question.Cancelled || answer == 0 ? IDCANCEL : answer;
}

bool dxBarIsCustomizingQuestionUp()
{
  return GQuestion != nullptr;
}

void dxBarCancelCustomizingQuestion(const TdxBarManager* AManager)
{
  TQuestion* question = GQuestion;
  if (!question || question->Cancelled)
    return;
  TdxBarManager* asker = question->Manager.Get();
  if (AManager && asker && asker != AManager)
    return;
  question->Cancelled = true;
  if (question->Box && ::IsWindow(question->Box))
    ::EndDialog(question->Box, IDCANCEL);
}
