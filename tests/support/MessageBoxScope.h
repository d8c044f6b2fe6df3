// A scope guard over the replaceable message box: every box is answered with one answer and
// recorded, and the previous routine comes back at the end of the scope.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/Dialogs.h"

class TMessageBoxScope {
public:
  struct TAsked {
    String Text;
    uint32_t Flags = 0;
  };
  explicit TMessageBoxScope(int AAnswer)
      : FPrevious(SetMessageBoxProc([this, AAnswer](HWND, const String& AText, const String&, uint32_t AFlags) {
          Asked.push_back({AText, AFlags});
          return AAnswer;
        }))
  {
  }
  ~TMessageBoxScope() { SetMessageBoxProc(std::move(FPrevious)); }
  TMessageBoxScope(const TMessageBoxScope&) = delete;
  TMessageBoxScope& operator=(const TMessageBoxScope&) = delete;

  std::vector<TAsked> Asked;

private:
  TMessageBoxProc FPrevious;
};
