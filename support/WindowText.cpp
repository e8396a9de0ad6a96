#include "support/WindowText.h"

std::wstring WindowText(HWND window) {
  if (!window) return std::wstring();
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  // The text may have shrunk since its length was asked: keep what came.
  text.resize(static_cast<size_t>(GetWindowTextW(window, &text[0], length + 1)));
  return text;
}
