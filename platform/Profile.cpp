#include "platform/Profile.h"

#include "platform/Win.h"

namespace {

TProfileFigures Figures;
TProfilePhase Current = TProfilePhase::Other;
LARGE_INTEGER Mark;
double TicksPerSecond = 1;
// Only the thread that started the profile is measured: phases nest on one stack.
DWORD ProfiledThread = 0;

void ChargeUntilNow()
{
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  Figures.Seconds[int(Current)] += double(now.QuadPart - Mark.QuadPart) / TicksPerSecond;
  Mark = now;
}

}  // namespace

namespace profile_detail {

bool Enabled = false;

void Enter(TProfilePhase APhase, TProfilePhase& ASaved)
{
  ASaved = Current;
  if (GetCurrentThreadId() != ProfiledThread)
    return;
  ChargeUntilNow();
  Current = APhase;
}

void Leave(TProfilePhase ASaved)
{
  if (GetCurrentThreadId() != ProfiledThread)
    return;
  ChargeUntilNow();
  Current = ASaved;
}

void Count(TSystemRequest ARequest, int AHowMany)
{
  if (GetCurrentThreadId() == ProfiledThread)
    Figures.Requests[int(Current)][int(ARequest)] += uint64_t(AHowMany);
}

}  // namespace profile_detail

void ProfileStart()
{
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  TicksPerSecond = double(frequency.QuadPart);
  Figures = TProfileFigures{};
  Current = TProfilePhase::Other;
  ProfiledThread = GetCurrentThreadId();
  QueryPerformanceCounter(&Mark);
  profile_detail::Enabled = true;
}

void ProfileStop()
{
  if (!profile_detail::Enabled)
    return;
  ChargeUntilNow();
  profile_detail::Enabled = false;
}

const TProfileFigures& ProfileFigures()
{
  return Figures;
}
