// Waiting in tests without blind sleeps: pump this thread's messages (and calls other
// threads synchronise onto it) until a condition holds or a time limit passes. Key
// messages go through the control layer first, as the application's loop does.
#pragma once

#include <functional>

#include "platform/Win.h"

// True as soon as Condition holds; false when TimeoutMs passed first.
bool PumpUntil(const std::function<bool()>& Condition, int TimeoutMs = 5000);
// Handles everything queued now, and what that queues in turn, without waiting.
void PumpPending();
// Keeps handling messages for Ms milliseconds, waking on each one; for letting the
// system settle where there is nothing to wait for.
void PumpFor(int Ms);
// Handles one message already removed from the queue, as the pumps above do.
void DispatchOne(MSG& Msg);
