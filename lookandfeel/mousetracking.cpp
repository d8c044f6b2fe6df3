// Mouse-leave tracking: one list of trackers per process, polled by a 10 ms timer on a
// hidden window of the thread that started the first tracking.
#include <algorithm>

#include "lookandfeel/cxControls.h"
#include "lookandfeel/cxGeometry.h"

namespace {

constexpr UINT TrackingInterval = 10;  // ms between two looks at the cursor
constexpr UINT_PTR TrackingTimerId = 1;

struct TTracker {
  IcxMouseTrackingCaller* Caller;
  TWeakRef<TWinControl> Control;
  bool HasControl;
  TRect Bounds;
  uint64_t Id;  // tells a record apart from a later one for the same caller
};

std::vector<TTracker> gTrackers;
uint64_t gNextTrackerId = 1;

class TMouseTrackingWindow : public TcxMessageWindow {
public:
  void StartTimer()
  {
    if (!FTimerOn)
      FTimerOn = SetTimer(Handle(), TrackingTimerId, TrackingInterval, nullptr) != 0;
  }
  void StopTimer()
  {
    if (FTimerOn)
      KillTimer(Handle(), TrackingTimerId);
    FTimerOn = false;
  }

protected:
  void WndProc(TMessage& Message) override
  {
    if (Message.Msg == WM_TIMER && Message.WParam == TrackingTimerId)
      Check();
    else
      TcxMessageWindow::WndProc(Message);
  }

private:
  void Check();
  bool FTimerOn = false;
};

TMouseTrackingWindow* gTrackingWindow = nullptr;

std::vector<TTracker>::iterator FindTracker(IcxMouseTrackingCaller* ACaller)
{
  return std::find_if(gTrackers.begin(), gTrackers.end(), [&](const TTracker& t) { return t.Caller == ACaller; });
}

void StopTimerWhenIdle()
{
  if (gTrackers.empty() && gTrackingWindow)
    gTrackingWindow->StopTimer();
}

void TMouseTrackingWindow::Check()
{
  TPoint cursor = GetMouseCursorPos();
  std::vector<uint64_t> ids;
  for (const TTracker& t : gTrackers)
    ids.push_back(t.Id);
  for (uint64_t id : ids) {
    // Earlier callbacks may have ended or begun trackings: look the record up again.
    auto it = std::find_if(gTrackers.begin(), gTrackers.end(), [&](const TTracker& t) { return t.Id == id; });
    if (it == gTrackers.end())
      continue;
    bool controlGone = it->HasControl && !it->Control.Alive();
    if (!controlGone && IsPointInRect(cursor, it->Bounds))
      continue;
    // Ended before the call, so the caller may free itself (and end again) inside it.
    IcxMouseTrackingCaller* caller = it->Caller;
    gTrackers.erase(it);
    try {
      caller->MouseLeave();
    } catch (...) {
      HandleUnexpectedException(nullptr);
    }
  }
  StopTimerWhenIdle();
}

}  // namespace

void BeginMouseTracking(TWinControl* AControl, const TRect& ABounds, IcxMouseTrackingCaller* ACaller)
{
  if (!ACaller || FindTracker(ACaller) != gTrackers.end())
    return;
  if (!gTrackingWindow)
    gTrackingWindow = new TMouseTrackingWindow;
  gTrackers.push_back(
      TTracker{ACaller, TWeakRef<TWinControl>(AControl), AControl != nullptr, ABounds, gNextTrackerId++});
  gTrackingWindow->StartTimer();
}

void EndMouseTracking(IcxMouseTrackingCaller* ACaller)
{
  auto it = FindTracker(ACaller);
  if (it == gTrackers.end())
    return;
  gTrackers.erase(it);
  StopTimerWhenIdle();
}

bool IsMouseTracking(IcxMouseTrackingCaller* ACaller)
{
  return ACaller && FindTracker(ACaller) != gTrackers.end();
}

void FinalizeMouseTracking()
{
  gTrackers.clear();
  if (gTrackingWindow) {
    gTrackingWindow->StopTimer();
    delete gTrackingWindow;
    gTrackingWindow = nullptr;
  }
}
