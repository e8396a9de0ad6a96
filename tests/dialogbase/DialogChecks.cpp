#include "tests/dialogbase/DialogChecks.h"

#include <cstdlib>

#include "support/WindowText.h"
#include "tests/dialogbase/DialogTestWindows.h"

void Click(HWND dialog, int id) {
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void DoubleClick(HWND dialog, int listId) {
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(listId, LBN_DBLCLK),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, listId)));
}

void PostKey(HWND dialog, int id, WPARAM key) {
  PostMessageW(GetDlgItem(dialog, id), WM_KEYDOWN, key, 1);
}

void Type(HWND dialog, int id, const std::wstring& text) {
  const HWND control = GetDlgItem(dialog, id);
  for (const wchar_t character : text) SendMessageW(control, WM_CHAR, character, 1);
}

void PumpDialog(HWND dialog) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (IsDialogMessageW(dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

std::wstring Text(HWND dialog, int id) {
  return WindowText(GetDlgItem(dialog, id));
}

std::vector<std::wstring> ListItems(HWND dialog, int listId) {
  std::vector<std::wstring> items;
  const HWND list = GetDlgItem(dialog, listId);
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring item(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
    item.resize(static_cast<size_t>(
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&item[0]))));
    items.push_back(item);
  }
  return items;
}

void SetText(HWND dialog, int id, const std::wstring& text) {
  SetDlgItemTextW(dialog, id, text.c_str());
}

bool IsChecked(HWND dialog, int id) {
  return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void SetChecked(HWND dialog, int id, bool checked) {
  CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

HFONT FontOf(HWND dialog, int id) {
  return reinterpret_cast<HFONT>(SendDlgItemMessageW(dialog, id, WM_GETFONT, 0, 0));
}

std::wstring ShownText(const std::wstring& text) {
  std::wstring shown;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) ++i;
    shown += text[i];
  }
  return shown;
}

int TextWidth(HWND dialog, int id) {
  const HWND control = GetDlgItem(dialog, id);
  const std::wstring text = ShownText(WindowText(control));
  const HDC dc = GetDC(control);
  const HGDIOBJ old = SelectObject(dc, FontOf(dialog, id));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return size.cx;
}

int VisibleWidth(HWND dialog, int id) {
  const HWND control = GetDlgItem(dialog, id);
  const RECT own = RectInParent(control);
  RECT client{};
  GetClientRect(dialog, &client);
  LONG right = own.right < client.right ? own.right : client.right;
  for (HWND other = GetWindow(dialog, GW_CHILD); other; other = GetWindow(other, GW_HWNDNEXT)) {
    if (other == control || !(GetWindowLongW(other, GWL_STYLE) & WS_VISIBLE)) continue;
    const RECT place = RectInParent(other);
    const bool besideIt = place.top < own.bottom && place.bottom > own.top;
    if (besideIt && place.left > own.left && place.left < right) right = place.left;
  }
  return right - own.left;
}

bool IsOpen(HWND dialog) {
  const HWND owner = GetWindow(dialog, GW_OWNER);
  return IsWindow(dialog) && owner && !IsWindowEnabled(owner);
}

bool IsCentredOver(HWND window, HWND owner) {
  RECT inner{};
  RECT outer{};
  GetWindowRect(window, &inner);
  GetWindowRect(owner, &outer);
  const int dx = (inner.left - outer.left) - (outer.right - inner.right);
  const int dy = (inner.top - outer.top) - (outer.bottom - inner.bottom);
  return std::abs(dx) <= 1 && std::abs(dy) <= 1;
}
