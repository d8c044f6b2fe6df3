// Real input for tests: SendInput moves the one cursor of the display, presses buttons and
// keys, and each helper pumps messages until this thread has received what it sent (seen
// by thread hooks), so a test goes on only once the input has arrived.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>

#include "platform/Win.h"

enum class TInputButton { Left, Right, Middle };

// Moves the cursor to a screen point. True when the cursor is there and, if a window of
// this thread lies under it, that window has been told.
bool MoveMouseTo(POINT ScreenPos, int TimeoutMs = 3000);
// Presses and/or releases a button at the current cursor position; true when this
// thread received the message.
bool MouseButtonDown(TInputButton Button = TInputButton::Left, int TimeoutMs = 3000);
bool MouseButtonUp(TInputButton Button = TInputButton::Left, int TimeoutMs = 3000);
// Moves there, presses and releases; true when the release arrived.
bool ClickAt(POINT ScreenPos, TInputButton Button = TInputButton::Left, int TimeoutMs = 3000);
bool DoubleClickAt(POINT ScreenPos, int TimeoutMs = 3000);
// Presses and releases a virtual key with the modifiers held (VK_SHIFT, VK_CONTROL,
// VK_MENU); true when the focused window of this thread got the key release.
bool PressKey(WORD VirtualKey, std::initializer_list<WORD> Modifiers = {}, int TimeoutMs = 3000);
// Handles messages until this thread's queue holds no key message, then what that queued:
// the wait for keys a bar hook may take before the focused window sees them, where PressKey
// would wait for ever. False when key messages were still queued after TimeoutMs.
bool WaitUntilKeysTaken(int TimeoutMs = 2000);
// Presses and releases a virtual key with the modifiers held, one transition at a time, and
// waits so.
bool StrokeKey(WORD VirtualKey, std::initializer_list<WORD> Modifiers = {}, int TimeoutMs = 2000);
// Types characters as Unicode key input; true when the last one arrived.
bool TypeText(const std::wstring& Text, int TimeoutMs = 3000);
// Brings a top-level window to the front and waits until it is the foreground window.
bool ActivateWindow(HWND Window, int TimeoutMs = 3000);
// Messages the hooks have seen so far on this thread (for tests of the helpers).
int MouseMessagesSeen(UINT Msg);

// Input from a helper thread, for scripts that run while this thread sits in a modal loop
// (a drag, a menu): an absolute move, a left button or key press or release, a key's press
// and release, not waited for, and the pause a user leaves between such steps.
void SendMouseMove(POINT ScreenPos);
void SendMouseButton(bool Down);
void SendKeyTransition(WORD VirtualKey, bool Down);
void SendKeyStroke(WORD VirtualKey);
void PauseScript(int Ms);
// From a script: waits until Condition holds, such as a step's effect on the user-interface
// thread (a busy machine may take it far longer than a user's pause); false after TimeoutMs.
bool WaitInScript(const std::function<bool()>& Condition, int TimeoutMs = 3000);
// The window holding the mouse captured on a thread; nil for none.
HWND CaptureOfThread(DWORD ThreadId);
// Runs Script on a helper thread after DelayMs while this thread pumps messages, until the
// script has finished and Done answers true; false when TimeoutMs passed first.
bool RunScript(const std::function<void()>& Script, const std::function<bool()>& Done, int DelayMs = 100,
               int TimeoutMs = 4000);
// A window that appears under the pointer may make Wine report the pointer where the display
// server last had it, behind the moves a script sent from its own thread since (a busy
// machine shows it). A script whose outcome such a report can undo is run again while its
// outcome is not AAsExpected, up to four tries; true asks for another try.
bool TryAgainAfterStalePointer(int AAttempt, bool AAsExpected);
// Ends a press-drag from a script: the button's release drops; with ADrop false Esc cancels
// the drag first.
void EndDragFromScript(bool ADrop);
// Runs Script on a helper thread after DelayMs while Loop (a modal loop) runs on this thread.
void RunWithHelperThread(const std::function<void()>& Loop, const std::function<void()>& Script, int DelayMs = 150);
