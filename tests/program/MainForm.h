// The main window's form as it was drawn, at 96 DPI, and the check that a
// main window shows it at a display scale: the client area and each child
// that size times DPI / 96, to the pixel that rounding allows, and exactly
// at 96 DPI. It reads only what another process can read of a window, so it
// serves the program started as a process of its own as well as a main
// window in the test's process.
#pragma once

#include <windows.h>

// The children in creation order: five labels, the site list, four fields,
// four buttons; as x, y, width, height. The list's height is its closed
// one, which the system sets from its font.
struct FormChild {
  int x, y, width, height;
};
extern const FormChild kMainForm[14];
constexpr int kSiteListChild = 5;

// The window's size (exactly 487 x 320 at 96 DPI), and each child's place.
// The size is the client area at 96 DPI (what 487 x 320 leave inside the
// frame and the menu bar that the system draws at 96 DPI) scaled, in the
// frame that the system draws at `dpi`.
void ExpectMainFormAt(HWND main, UINT dpi);
// The client area: the one at 96 DPI, scaled. Only where the window is at
// that DPI: under Wine, whose DPI never changes, a window told of another
// keeps the frame it has (see DisplayScale.h).
void ExpectMainClientAt(HWND main, UINT dpi);
