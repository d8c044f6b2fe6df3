// Modal forms played from inside their own loop: the form whose loop runs now, and phases of
// real input run one per tick of a timer while the loop waits.
#pragma once

#include <functional>
#include <vector>

#include "platform/Forms.h"

// The modal form whose loop runs now (the innermost), as a T; nil when none.
TCustomForm* ModalForm();
template <class T>
T* ActiveModalDialog()
{
  return dynamic_cast<T*>(ModalForm());
}

// Runs AShow, which enters a modal loop, and plays APhases inside that loop, one per timer
// tick, so that the loop handles what a phase did (a modal result and its close query)
// before the next phase begins. Phases may wait for input with the helpers of
// support/Input.h. When phases are left over after the modal form closed, or the form is
// still open a while after the last phase, the case fails (the form is then closed with
// mrAbort so that the run goes on). Returns the number of phases played.
int PlayInModalLoop(const std::function<void()>& AShow, std::vector<std::function<void()>> APhases);
