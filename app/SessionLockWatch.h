// Windows tells a window that asks for it when the session is locked
// (WM_WTSSESSION_CHANGE with WTS_SESSION_LOCK): Win+L, the screen saver's
// lock, a switch to another user. The functions are wtsapi32's, which is not
// among the DLLs that Windows always maps from its system folder, so they
// are taken from there through SystemLibrary, never imported. The program
// locks whether or not they can be had: the idle time and sleep still lock
// it, and so does File > Lock.
#pragma once

#include <windows.h>

// Asks for the session's changes to be sent to `window`; false, traced,
// when Windows would not.
bool WatchSessionLock(HWND window);
// Before `window` goes: the registration is the system's, not the window's.
void StopWatchingSessionLock(HWND window);
