#include "tests/program/KeyfolioWindows.h"

#include <algorithm>

#include "tests/program/Desktop.h"

std::vector<HWND> ChildrenOfClass(HWND parent, const std::wstring& className) {
  std::vector<HWND> found;
  for (HWND child : ChildrenOf(parent))
    if (_wcsicmp(ClassOf(child).c_str(), className.c_str()) == 0) found.push_back(child);
  return found;
}

std::wstring CaptionOf(HWND window) {
  wchar_t caption[512] = {};
  GetWindowTextW(window, caption, 512);
  return caption;
}

RECT RectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

std::vector<HWND> SortedFromTop(std::vector<HWND> windows) {
  std::stable_sort(windows.begin(), windows.end(),
                   [](HWND a, HWND b) { return RectOf(a).top < RectOf(b).top; });
  return windows;
}
