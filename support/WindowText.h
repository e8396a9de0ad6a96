// A window's text as a string: the one way the program and its tests read
// back what a control shows.
#pragma once

#include <windows.h>

#include <string>

// Empty for a null or dead window.
std::wstring WindowText(HWND window);
