// Finds the real message boxes this thread shows by their windows and answers them: every
// box is read and the button pressed while the scope guard lives, in whatever modal loop the
// box runs.
#pragma once

#include <vector>

#include "platform/Win.h"
#include "platform/System.h"

// Presses AButton (IDYES, IDNO, IDOK) on every message box this thread shows while it lives,
// and keeps what the boxes said.
class TMessageBoxAnswerer {
public:
  explicit TMessageBoxAnswerer(int AButton);
  ~TMessageBoxAnswerer();
  TMessageBoxAnswerer(const TMessageBoxAnswerer&) = delete;
  TMessageBoxAnswerer& operator=(const TMessageBoxAnswerer&) = delete;

  struct TBox {
    String Text;
    bool HasYes = false;
    bool HasNo = false;
  };
  const std::vector<TBox>& Boxes() const { return FBoxes; }

private:
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD);
  static TMessageBoxAnswerer* FCurrent;
  int FButton;
  UINT_PTR FTimer = 0;
  HWND FAnswered = nullptr;
  std::vector<TBox> FBoxes;
};
