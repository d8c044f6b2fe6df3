// Records what reaches the class layer's unexpected-exception handler while a test runs,
// and puts the previous handler back when the test ends.
#pragma once

#include <vector>

#include "platform/SysUtils.h"

struct TUnexpectedExceptions {
  std::vector<String> Messages;
  std::vector<TObject*> Senders;
  TUnexpectedExceptionHandler Previous;
  TUnexpectedExceptions()
  {
    Previous = SetUnexpectedExceptionHandler([this](TObject* Sender) {
      Messages.push_back(CurrentExceptionMessage());
      Senders.push_back(Sender);
    });
  }
  ~TUnexpectedExceptions() { SetUnexpectedExceptionHandler(Previous); }
  TUnexpectedExceptions(const TUnexpectedExceptions&) = delete;
  TUnexpectedExceptions& operator=(const TUnexpectedExceptions&) = delete;
};
