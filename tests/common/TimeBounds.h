// Every bound the tests put on a wait for another process, for the desktop
// or for a window, in one place. A wait ends as soon as what it waits for
// has come, so a bound costs a passing test nothing: they are generous, and
// a slow or loaded machine makes a test slower, never red. None of them
// measures speed.
#pragma once

#include <windows.h>

// One step: a window to show or to answer, a dialog to close, a file to
// appear, a process to start or to end. The first start of a program in a
// cold Wine session takes seconds.
constexpr DWORD kStepTimeoutMs = 30000;

// A step whose effect can be lost on the way (Wine hands programs the X
// server's focus events late, and a late one can swallow a key, a click or a
// pointer move) is done again when its effect has not come within this
// wait; each later attempt waits twice as long as the one before, so a slow
// machine is waited for instead of being sent the step again and again.
constexpr DWORD kEffectWaitMs = 2000;
// With the doubling, 2 + 4 + 8 + 16 s in all.
constexpr int kStepAttempts = 4;
