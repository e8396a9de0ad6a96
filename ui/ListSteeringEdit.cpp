#include "ui/ListSteeringEdit.h"

namespace {

bool IsListKey(WPARAM key) {
  return key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT;
}

}  // namespace

ListSteeringEdit::ListSteeringEdit(HWND edit, HWND list) : m_list(list) {
  AttachHWND(edit);
}

// The field never sees these keys: a single-line edit would move its caret
// to the start or the end of the text.
LRESULT ListSteeringEdit::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN && IsListKey(wParam)) {
    if (IsWindowEnabled(m_list)) SendMessageW(m_list, WM_KEYDOWN, wParam, lParam);
    return 0;
  }
  return Window::Dispatch(message, wParam, lParam);
}
