// What the driver's steps (Keyfolio*.cpp) read of the program's windows
// besides what Desktop.h offers every test: kept to the driver, so that the
// names stay free for the tests' own helpers.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A top-level window's caption, read without asking the window.
std::wstring CaptionOf(HWND window);
// Where a window is on the screen; empty for a dead one.
RECT RectOf(HWND window);
// The children of `parent` (all levels) of `className` (case ignored).
std::vector<HWND> ChildrenOfClass(HWND parent, const std::wstring& className);
// The windows from the top of the screen down; those on one line keep
// their order.
std::vector<HWND> SortedFromTop(std::vector<HWND> windows);
