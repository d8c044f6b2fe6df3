// Finds the real message boxes this thread shows by their windows and answers them: every
// box is read and the button pressed while the scope guard lives, in whatever modal loop the
// box runs.
#pragma once

#include <functional>
#include <vector>

#include "platform/Win.h"
#include "platform/System.h"

// Presses AButton (IDYES, IDNO, IDOK) on every message box this thread shows while it lives,
// and keeps what the boxes said. AWhileUp, when given, runs on the first box before it is
// answered (with the box's window): what the program meets while its question is up. A box
// it leaves behind is answered as the others; one it ended or freed is not.
class TMessageBoxAnswerer {
public:
  explicit TMessageBoxAnswerer(int AButton, std::function<void(HWND ABox)> AWhileUp = {});
  ~TMessageBoxAnswerer();
  TMessageBoxAnswerer(const TMessageBoxAnswerer&) = delete;
  TMessageBoxAnswerer& operator=(const TMessageBoxAnswerer&) = delete;

  struct TBox {
    String Text;
    bool HasYes = false;
    bool HasNo = false;
    // Where the box showed on the screen.
    RECT Rect{};
  };
  const std::vector<TBox>& Boxes() const { return FBoxes; }
  // The most boxes that were on the screen at one time.
  int MostAtOnce() const { return FMostAtOnce; }

private:
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD);
  void Tick();
  static TMessageBoxAnswerer* FCurrent;
  int FButton;
  std::function<void(HWND)> FWhileUp;
  bool FRanWhileUp = false;
  UINT_PTR FTimer = 0;
  std::vector<HWND> FAnswered;
  std::vector<TBox> FBoxes;
  int FMostAtOnce = 0;
};
