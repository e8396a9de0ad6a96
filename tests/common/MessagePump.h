// Runs the test thread's message loop until a condition holds: windows under
// test get their posted and input messages, and no test sleeps for a fixed
// time.
#pragma once

#include <windows.h>

#include <functional>

#include "tests/common/TimeBounds.h"

// Dispatches this thread's messages and checks `condition` after each round,
// until it holds (true) or `timeoutMs` have passed (false). Conditions that
// depend on other processes (a file appearing) are checked at least every
// 10 ms.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = kStepTimeoutMs);

// Dispatches what is queued for this thread now and returns.
void PumpPending();
