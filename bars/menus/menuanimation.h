// The opening animation of a menu window: a worker thread grows the still hidden window step
// by step and copies the part shown from the menu's image, which the user-interface thread
// rendered once beforehand. The thread only moves, sizes and copies; the frame
// arithmetic is a plain function, tested on numbers.
#pragma once

#include "bars/model/manager.h"
#include "platform/Threads.h"
#include "platform/Types.h"

class TdxBarSubMenuControl;

// One animation as the menu sets it up: the final place and size, the kind and the
// direction the menu grows in.
struct TdxBarAnimationInfo {
  TdxBarMenuAnimations Kind = maUnfold;  // maUnfold or maSlide
  bool GrowLeft = false;                 // the right edge stays
  bool GrowUp = false;                   // the bottom edge stays
  int Left = 0;                          // the final window's screen position
  int Top = 0;
  int Width = 0;  // the final client size
  int Height = 0;
  int NonClientWidth = 0;  // window size less client size
  int NonClientHeight = 0;
  int StartOffset = 0;  // unfold: H - W; slide: 0
  int Total = 0;        // what the growing side travels
  int Step = 0;         // pixels per frame
  TRect Drawn{};        // the client part on screen before the first frame
};
// The record for a menu of client size W x H: unfold grows both sides by 8 with their
// difference fixed, slide grows the height by 17 at full width.
TdxBarAnimationInfo dxBarMakeAnimationInfo(TdxBarMenuAnimations AKind, int AWidth, int AHeight);
int dxBarAnimationFrameCount(const TdxBarAnimationInfo& AInfo);
// The client size shown at frame AFrame (1 to the frame count).
TSize dxBarAnimationFrameSize(const TdxBarAnimationInfo& AInfo, int AFrame);
// The part of the full image the client area shows at a size: the rows and columns by the
// edges the menu grows from.
TRect dxBarAnimationSourceRect(const TdxBarAnimationInfo& AInfo, const TSize& AShown);

class TdxBarAnimationThread : public TThread {
  DECLARE_CLASS(TdxBarAnimationThread, TThread)
public:
  // Renders the menu's client area into a memory image (on the calling, user-interface
  // thread); the thread starts with Start.
  TdxBarAnimationThread(TdxBarSubMenuControl* AMenu, const TdxBarAnimationInfo& AInfo);
  ~TdxBarAnimationThread() override;

  const TdxBarAnimationInfo& GetInfo() const { return FInfo; }
  // Frames drawn so far (read after the thread ended).
  int GetFramesDrawn() const { return FFramesDrawn; }
  // Called on the thread after the last frame, before the thread asks the user-interface
  // thread for the final one; for tests that need that moment.
  static void (*AfterFramesHook)();

protected:
  void Execute() override;
  void DoTerminate() override;

private:
  void DrawFrame(int AFrame);

  TdxBarSubMenuControl* FMenu;
  HWND FWnd;
  TdxBarAnimationInfo FInfo;
  HDC FMemoryDC = nullptr;
  HBITMAP FBitmap = nullptr;
  HGDIOBJ FOldBitmap = nullptr;
  HDC FFrameDC = nullptr;  // the non-client frame, rendered with the image
  HBITMAP FFrameBitmap = nullptr;
  HGDIOBJ FOldFrameBitmap = nullptr;
  HPALETTE FPalette = nullptr;  // the menu's less-used palette (palette screens only)
  int FFramesDrawn = 0;
};
