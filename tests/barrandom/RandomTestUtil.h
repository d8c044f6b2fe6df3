// Random real input over a form that holds every kind of bar, menu and item: the options of
// a run, the form, the generator of events and the driver that plays them with SendInput
// from a thread of its own, the replay log, and the watch that ends the program on a hang
// or a dead user-interface thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "barextras/dxBarExtItems.h"
#include "bars/dxBar.h"
#include "bars/menus/popupmenu.h"
#include "platform/Forms.h"
#include "platform/Win.h"

// What a run does; each field is read from a command-line flag (--seed=7) or, without one,
// from an environment variable (RANDOM_SEED=7). The defaults are the CI-sized run.
struct TRandomOptions {
  uint64_t Seed = 20261208;
  int Events = 3000;      // --events, RANDOM_EVENTS: events over all rounds
  int RoundEvents = 100;  // --round-events, RANDOM_ROUND_EVENTS: events between two rebuilds of the form
  int FirstRound = 0;     // --first-round, RANDOM_FIRST_ROUND: replays from that round on
  std::vector<TdxBarManagerStyle> Looks = {bmsStandard, bmsEnhanced, bmsFlat, bmsXP, bmsOffice11};  // --looks
  bool Customize = true;  // --customize, RANDOM_CUSTOMIZE: the Customize dialog through the toolbar popup
  bool DeleteKey = true;  // --delete, RANDOM_DELETE: Delete and Ctrl+Delete among the keys
  bool Extras = true;     // --extras, RANDOM_EXTRAS: every extra item kind on the form
  // --nested-context-menus, RANDOM_NESTED_CONTEXT_MENUS: a context menu asked of a control with
  // a popup menu (the Menu key, Shift+F10, a right click) while that control's popup menu waits;
  // off drops such a request.
  bool NestedContextMenus = true;
  // --close-form, RANDOM_CLOSE_FORM: now and then the form's close button, after which none of
  // the form's windows (menus, bars, dialogs, questions) may stay on the screen.
  bool CloseForm = true;
  int PauseMs = 0;      // --pause-ms, RANDOM_PAUSE_MS: a pause after every event
  std::string LogPath;  // --log, RANDOM_LOG: every event written to this file as it is played
  std::string Error;    // what could not be read

  // The options of this process: defaults, then the environment, then the command line.
  static TRandomOptions FromProcess();
  // The flags that give these options, for the replay line.
  std::string Flags() const;
  int Rounds() const { return (Events + RoundEvents - 1) / RoundEvents; }
};

const char* LookName(TdxBarManagerStyle AStyle);

// A small deterministic generator (SplitMix64): a seed gives the same events on every machine.
class TRandomStream {
public:
  explicit TRandomStream(uint64_t ASeed) : FState(ASeed) {}
  uint64_t Next();
  // 0 <= result < ACount.
  int Below(int ACount) { return ACount > 0 ? int(Next() % uint64_t(ACount)) : 0; }
  // A fraction in [0, 1).
  double Unit() { return double(Next() >> 11) / double(uint64_t(1) << 53); }

private:
  uint64_t FState;
};

class TRandomForm : public TForm {
  DECLARE_CLASS(TRandomForm, TForm)
public:
  explicit TRandomForm(TComponent* AOwner) : TForm(AOwner) {}
};

// Builds the form in a look: a main menu with nested sub-items, toolbars with the bar
// library's item kinds (and, with AOptions.Extras, every extra kind), a floating bar, a panel
// with a popup menu of its own, an edit, and a popup menu on the form. The caller shows and
// frees it. Without AOptions.NestedContextMenus, a context menu asked of a control while one
// is being shown for a control of the form is dropped before it reaches the control.
TRandomForm* BuildRandomForm(TdxBarManagerStyle ALook, const TRandomOptions& AOptions);

// One event as the generator draws it: everything comes from the seed, and the windows it
// aims at are looked up only when it is played.
enum class TEventKind { Move, Click, DoubleClick, RightClick, Drag, Key, Rest, Customize, Close };

struct TRandomEvent {
  TEventKind Kind = TEventKind::Move;
  uint32_t Target = 0, Target2 = 0;  // which of the windows, by rank
  double X = 0, Y = 0, X2 = 0, Y2 = 0;
  uint16_t Key = 0;
  bool Shift = false, Control = false, Alt = false;
  int RestMs = 0;
};

TRandomEvent DrawEvent(TRandomStream& AStream, const TRandomOptions& AOptions);

// Whether counts taken after each round (once its form was freed) keep growing: after the
// first AWarmUp rounds they grew in both halves of the rest, by more than ASlack in all. A
// single step (something made once for the process) is no growth.
bool KeepsGrowing(const std::vector<int>& ACounts, size_t AWarmUp, int ASlack);

// The replay log: every event played, as one line; the last ones are kept for the failure
// report, which can be written from a crash handler without allocating.
void LogEvent(const std::string& ALine);
// The start of a round, which a failure report names.
void LogRound(int ARound, int AFirstEvent, TdxBarManagerStyle ALook);
// Writes the seed, the round, the last events and how to replay them to standard error.
void WriteFailureReport(const char* AWhat);
// Keeps the options for the replay line, opens the log file, and has a crash (which the test
// support's handler reports and ends the program on) write the failure report first.
void SetReportOptions(const TRandomOptions& AOptions);

// The windows a user of this process sees: visible, on the screen, in a stable order.
struct TOurWindow {
  HWND Wnd = nullptr;
  HWND TopLevel = nullptr;
  RECT Rect{};
  std::wstring Class;
  std::wstring Text;
};
std::vector<TOurWindow> VisibleWindowsOfProcess();
std::string Describe(const TOurWindow& AWindow);

// Plays events from a thread of its own while the user-interface thread runs its loop, and
// waits after each until that thread has taken the input.
class TRandomDriver {
public:
  TRandomDriver(const TRandomOptions& AOptions, HWND AForm);
  // Plays events [AFirst, AFirst + ACount) of the round's stream; stops early when the form
  // is hidden or minimised (a closed form ends its round).
  void PlayRound(TRandomStream& AStream, int AFirst, int ACount);
  // Ends whatever modal state is open (menus, drags, boxes, dialogs) until AAtTop holds;
  // false when it did not within a long time.
  bool Unwind(const std::atomic<bool>& AAtTop);
  int Played() const { return FPlayed; }
  int Skipped() const { return FSkipped; }
  // Inputs the user-interface thread did not take within a short time (sent where no window
  // of that thread takes them).
  int Untaken() const { return FUntaken; }
  // Clicks unwinding needed where Esc did not end what was open.
  int UnwindClicks() const { return FUnwindClicks; }
  // The windows a closed form left on the screen (empty when none did).
  const std::string& ClosedFormWindows() const { return FClosedFormWindows; }

private:
  void Play(const TRandomEvent& AEvent, int AIndex);
  bool PointerTarget(uint32_t ARank, double AX, double AY, POINT& APoint, std::string& AWhat) const;
  bool OpensSystemMenu(POINT APoint, bool ARightClick) const;
  bool CloseButton(POINT& APoint) const;
  void CheckClosedForm();
  // Sends the inputs at once and waits until the user-interface thread has taken them.
  void Send(const std::vector<INPUT>& AInputs);
  void Button(int AButton, bool ADown);
  void Clicks(int AButton, int ACount);
  void MoveTo(POINT APoint);
  void Key(uint16_t AKey, bool AShift, bool AControl, bool AAlt);
  bool ForegroundIsOurs() const;
  void OpenCustomize(const TRandomEvent& AEvent, int AIndex);

  TRandomOptions FOptions;
  HWND FForm;
  int FPlayed = 0;
  int FSkipped = 0;
  int FUntaken = 0;
  int FUnwindClicks = 0;
  std::string FClosedFormWindows;
};

// Counts the input the user-interface thread takes from its queue (installed on that thread
// once its form's manager has hooked it), so the driver knows its input has arrived; and keeps
// the system's own window commands beyond moving, sizing and closing (Wine's window menu opens
// an about box) out of the run.
void InstallInputHooks();
void RemoveInputHooks();
int InputTaken();
// A window of the user-interface thread that answers at once; the driver and the watch send
// to it.
HWND ProbeWindow();

// A stage of the user-interface thread that runs no input and must end in time (building,
// freeing the form): the watch ends the program when it does not; nil clears it.
void SetStageDeadline(const char* AStage, int AMilliseconds = 30000);

// Watches the user-interface thread from another thread: a window of the process that
// answers no message for 10 s, a stage past its deadline, or the thread ended, writes the
// failure report (with where the thread stands) and ends the program.
class TRandomWatch {
public:
  explicit TRandomWatch(DWORD AUiThread);
  ~TRandomWatch();
  TRandomWatch(const TRandomWatch&) = delete;
  TRandomWatch& operator=(const TRandomWatch&) = delete;

private:
  static DWORD WINAPI Run(void* AParam);
  DWORD FUiThread;
  HANDLE FThread = nullptr;
  HANDLE FStop = nullptr;
};
