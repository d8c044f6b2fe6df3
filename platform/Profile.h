// Phase timers and counters of what the library asks of the system, read by the benchmarks
// to show where the time of building, laying out and painting a bar goes. Off unless a
// benchmark turns them on; while off, a phase scope costs the test of one flag.
#pragma once

#include <cstdint>

enum class TProfilePhase : uint8_t {
  Other,           // whatever no narrower phase claims
  CreateItems,     // making items and setting their properties
  AddLinks,        // adding links to a bar's link list
  CreateControls,  // making the item controls that show the links
  Measure,         // asking item controls for their sizes
  Layout,          // placing links, sizing bars and arranging dock rows
  Paint,           // painting windows
  Count
};

enum class TSystemRequest : uint8_t {
  GdiObject,      // fonts, brushes, pens, bitmaps and regions made
  DeviceContext,  // device contexts taken or made
  FontSelected,   // fonts selected into a device context
  TextMeasured,   // texts measured
  Bitmap,         // bitmaps made
  Window,         // windows made
  MessageSent,    // messages the thread's windows receive, each one passing the call-window hook
  WindowMoved,    // windows moved, sized, shown or hidden
  Invalidated,    // windows or parts of them invalidated or redrawn
  Count
};

struct TProfileFigures {
  double Seconds[int(TProfilePhase::Count)] = {};
  uint64_t Requests[int(TProfilePhase::Count)][int(TSystemRequest::Count)] = {};
};

namespace profile_detail {
extern bool Enabled;
void Enter(TProfilePhase APhase, TProfilePhase& ASaved);
void Leave(TProfilePhase ASaved);
void Count(TSystemRequest ARequest, int AHowMany);
}  // namespace profile_detail

// Starts (clearing the figures) or stops the profile; the figures stay readable after stopping.
void ProfileStart();
void ProfileStop();
const TProfileFigures& ProfileFigures();

// Charges the time from its construction to its destruction to APhase, less the time of
// the narrower phases entered meanwhile.
class TProfileScope {
public:
  explicit TProfileScope(TProfilePhase APhase)
  {
    if (profile_detail::Enabled) {
      FActive = true;
      profile_detail::Enter(APhase, FSaved);
    }
  }
  ~TProfileScope()
  {
    if (FActive)
      profile_detail::Leave(FSaved);
  }
  TProfileScope(const TProfileScope&) = delete;
  TProfileScope& operator=(const TProfileScope&) = delete;

private:
  bool FActive = false;
  TProfilePhase FSaved = TProfilePhase::Other;
};

// Counts a request to the system against the phase running now.
inline void ProfileCount(TSystemRequest ARequest, int AHowMany = 1)
{
  if (profile_detail::Enabled)
    profile_detail::Count(ARequest, AHowMany);
}
