// Modal forms played from inside their own loop.
#include "support/ModalLoop.h"

#include <gtest/gtest.h>

#include "platform/ExtCtrls.h"
#include "platform/Scope.h"
#include "support/Owned.h"

TCustomForm* ModalForm()
{
  // The most recently made modal form is the innermost loop's.
  TCustomForm* found = nullptr;
  for (int i = 0; Screen && i < Screen->GetCustomFormCount(); ++i)
    if (TCustomForm* form = Screen->GetCustomForms(i); form->GetFormState().Contains(fsModal))
      found = found ? found : form;
  return found;
}

int PlayInModalLoop(const std::function<void()>& AShow, std::vector<std::function<void()>> APhases)
{
  size_t next = 0;
  bool playing = false;
  int idleTicks = 0;
  TOwned<TTimer> timer(new TTimer(nullptr));
  timer->SetInterval(50);
  timer->SetOnTimer(TNotifyEvent([&](TObject*) {
    // A phase that waits pumps messages, this timer's among them.
    if (playing)
      return;
    TCustomForm* dialog = ModalForm();
    // Input goes to the foreground window: a phase begins once the dialog is active.
    if (next < APhases.size() && dialog && dialog->HandleAllocated() && ::GetActiveWindow() == dialog->GetHandle()) {
      playing = true;
      TFinally done([&]() noexcept { playing = false; });
      APhases[next++]();
      idleTicks = 0;
      return;
    }
    // 3 s after the last phase (or without a dialog to play in) the loop is ended for it.
    if (++idleTicks < 60)
      return;
    if (dialog) {
      ADD_FAILURE() << "the dialog is still open after " << next << " phases";
      dialog->SetModalResult(mrAbort);
    }
  }));
  AShow();
  EXPECT_EQ(next, APhases.size()) << "the modal loop ended before every phase was played";
  return int(next);
}
