// The display scale a test runs at, and a change of it as Windows makes one.
//
// The layout tests run once at each scale: CTest gives them KFO_DPI, and
// build/wine-run runs them in the build's copy of the Wine prefix whose
// LogPixels is that DPI. Wine 8 has one DPI for every window, the prefix's,
// and never changes it while a program runs, so it sends no
// WM_GETDPISCALEDSIZE or WM_DPICHANGED; the tests send them as Windows does
// to a per-monitor (v2) window that moves to a screen of another scale:
// first the question for the size at the new DPI, then the change with a
// rectangle of that size where the window is.
#pragma once

#include <windows.h>

// KFO_DPI, 96 without it.
UINT TestDpi();

// What the system's frame adds around the window's client area at `dpi`,
// across and down: borders, caption, and the menu bar when the window has a
// menu (AdjustWindowRectExForDpi, Windows 10 1607 on and Wine 8).
SIZE FrameAt(HWND window, UINT dpi);

// WM_GETDPISCALEDSIZE: the size the window asks for at `dpi`; empty when it
// leaves that to the system (its answer is FALSE).
SIZE AskedSizeAt(HWND window, UINT dpi);
// WM_DPICHANGED with the rectangle Windows would suggest: the window's top
// left corner and the size it asked for. Returns that rectangle.
RECT ChangeDpi(HWND window, UINT dpi);
