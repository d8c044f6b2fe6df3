// Timing helpers the benchmarks share: a monotonic clock, a message pump and the median of
// repeated measurements.
#pragma once

#include <algorithm>
#include <vector>

#include "platform/Win.h"

inline double Now()
{
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return double(counter.QuadPart) / double(frequency.QuadPart);
}

inline void PumpPending()
{
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

inline double Median(std::vector<double> Values)
{
  std::sort(Values.begin(), Values.end());
  return Values[Values.size() / 2];
}
