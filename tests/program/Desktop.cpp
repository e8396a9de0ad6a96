#include "tests/program/Desktop.h"

#include <algorithm>

#include "tests/common/MessagePump.h"

namespace {

bool IsExtendedKey(WORD key) {
  switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_INSERT:
    case VK_DELETE:
    case VK_RCONTROL:
    case VK_RMENU: return true;
    default: return false;
  }
}

INPUT KeyInput(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(key) ? KEYEVENTF_EXTENDEDKEY : 0);
  return input;
}

INPUT UnicodeInput(wchar_t unit, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wScan = unit;
  input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
  return input;
}

void Send(std::vector<INPUT> inputs) {
  const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  if (sent != inputs.size()) throw StepFailed("SendInput refused the input");
}

INPUT MouseInput(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  return input;
}

// Absolute pointer positions are in 1/65536 of the primary screen, and the
// system truncates them to pixels: rounding up lands on the pixel meant.
LONG Normalised(LONG pixel, int screenSize) {
  return static_cast<LONG>((static_cast<LONGLONG>(pixel) * 65536 + screenSize - 1) / screenSize);
}

void SendPointerTo(POINT point) {
  INPUT input = MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE);
  input.mi.dx = Normalised(point.x, GetSystemMetrics(SM_CXSCREEN));
  input.mi.dy = Normalised(point.y, GetSystemMetrics(SM_CYSCREEN));
  Send({input});
}

// Makes the thread of `window` take what waits in its queue: the second
// message is answered only after the thread has waited again, and Wine's X11
// driver reads the X server's events before each wait.
void LetTakeItsEvents(HWND window) {
  for (int round = 0; round < 2; ++round) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kStepTimeoutMs, &ignored);
  }
}

// Wine hands a program the X server's crossing events only when its thread
// next waits; a program that was busy when its window appeared under the
// pointer then reports where the pointer was, and the system puts it back
// there, under a click that follows (seen after restarts of a program that
// loads many sites). So once the pointer is in place, the programs under it
// and in front take their events, and a move undone is sent again.
void MovePointer(POINT point) {
  const auto inPlace = [&] {
    POINT now{};
    return GetCursorPos(&now) && now.x == point.x && now.y == point.y;
  };
  Retry("the pointer to stay in its place", [&](DWORD waitMs) {
    SendPointerTo(point);
    if (!WaitFor(inPlace, waitMs)) return false;
    for (HWND window : {WindowFromPoint(point), GetForegroundWindow()})
      if (window) LetTakeItsEvents(window);
    return inPlace();
  });
}

}  // namespace

std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (wchar_t unit : text) narrow += unit < 0x80 ? static_cast<char>(unit) : '?';
  return narrow;
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
  return PumpUntil(condition, timeoutMs);
}

void Expect(const std::function<bool()>& condition, const std::string& what, DWORD timeoutMs) {
  if (!WaitFor(condition, timeoutMs)) throw StepFailed("timed out waiting for " + what);
}

void Retry(const std::string& what, const std::function<bool(DWORD waitMs)>& attempt) {
  DWORD waitMs = kEffectWaitMs;
  for (int tries = 0; tries < kStepAttempts; ++tries, waitMs *= 2)
    if (attempt(waitMs)) return;
  throw StepFailed("timed out waiting for " + what);
}

// Windows lets a process take the foreground only in some cases; Wine lets
// it always. Restoring a minimised window is left to the caller: a person
// must click its button on the taskbar first.
void BringToFront(HWND window) {
  if (!IsWindow(window)) throw StepFailed("bringing a window to the front that is gone");
  if (GetForegroundWindow() == window) return;
  SetForegroundWindow(window);
  Expect([&] { return GetForegroundWindow() == window; }, "a window to come to the front");
}

void PressKey(WORD key) {
  Send({KeyInput(key, false), KeyInput(key, true)});
}

void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) inputs.push_back(KeyInput(key, false));
  for (auto key = keys.end(); key != keys.begin();) inputs.push_back(KeyInput(*--key, true));
  Send(inputs);
}

void TypeText(const std::wstring& text) {
  for (wchar_t unit : text) {
    // Enter makes a line break in an edit field, "\r\n" in its text.
    if (unit == L'\r') continue;
    if (unit == L'\n') {
      PressKey(VK_RETURN);
      continue;
    }
    const SHORT mapped = unit < 0x80 ? VkKeyScanW(unit) : -1;
    const bool typable = mapped != -1 && (HIBYTE(mapped) & ~1) == 0;
    if (!typable) {
      Send({UnicodeInput(unit, false), UnicodeInput(unit, true)});
    } else if (HIBYTE(mapped) & 1) {
      PressKeys({VK_SHIFT, LOBYTE(mapped)});
    } else {
      PressKey(LOBYTE(mapped));
    }
  }
}

POINT CentreOf(HWND window) {
  RECT rect{};
  if (!GetWindowRect(window, &rect)) throw StepFailed("the place of a window that is gone");
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

void ClickAt(POINT point) {
  MovePointer(point);
  Send({MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)});
}

void DoubleClickAt(POINT point) {
  MovePointer(point);
  Send({MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP),
        MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)});
}

void PressMouseButton(POINT point) {
  MovePointer(point);
  Send({MouseInput(MOUSEEVENTF_LEFTDOWN)});
}

void ReleaseMouseButton() {
  Send({MouseInput(MOUSEEVENTF_LEFTUP)});
}

// Another program's window may lie over the one meant.
void Click(HWND window) {
  BringToFront(GetAncestor(window, GA_ROOT));
  const POINT centre = CentreOf(window);
  Expect(
      [&] {
        HWND under = WindowFromPoint(centre);
        return under == window || IsChild(window, under);
      },
      "the window to be under the pointer");
  ClickAt(centre);
}

// While a window is sized, the system may hold the pointer back at the
// window's limits: the moves are made, wherever the pointer stays.
void Drag(POINT from, POINT to) {
  PressMouseButton(from);
  constexpr int kSteps = 8;
  for (int step = 1; step <= kSteps; ++step)
    SendPointerTo(
        {from.x + (to.x - from.x) * step / kSteps, from.y + (to.y - from.y) * step / kSteps});
  ReleaseMouseButton();
}

// The window itself answers where its parts are (WM_NCHITTEST), as it does
// for the mouse. Only the frame around the client area is asked, every
// third pixel (a sizing border is wider than that); the part's point is the
// one nearest the middle of all its points, so that a click lands well
// inside a box and a drag starts on the middle of a border.
POINT PointOfPart(HWND window, LRESULT hit) {
  RECT rect{}, client{};
  if (!GetWindowRect(window, &rect) || !GetClientRect(window, &client))
    throw StepFailed("the parts of a window that is gone");
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  std::vector<POINT> points;
  for (LONG y = rect.top; y < rect.bottom; y += 3) {
    for (LONG x = rect.left; x < rect.right; x += 3) {
      if (PtInRect(&client, {x, y})) continue;
      DWORD_PTR part = HTNOWHERE;
      if (!SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG,
                               kStepTimeoutMs, &part))
        throw StepFailed("a window did not say where its parts are");
      if (static_cast<LRESULT>(part) == hit) points.push_back({x, y});
    }
  }
  if (points.empty()) throw StepFailed("the window has no such part");
  LONGLONG sumX = 0, sumY = 0;
  for (const POINT& point : points) {
    sumX += point.x;
    sumY += point.y;
  }
  const LONGLONG middleX = sumX / static_cast<LONGLONG>(points.size());
  const LONGLONG middleY = sumY / static_cast<LONGLONG>(points.size());
  return *std::min_element(points.begin(), points.end(), [&](const POINT& a, const POINT& b) {
    return (a.x - middleX) * (a.x - middleX) + (a.y - middleY) * (a.y - middleY) <
           (b.x - middleX) * (b.x - middleX) + (b.y - middleY) * (b.y - middleY);
  });
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kStepTimeoutMs,
                           &length))
    return std::wstring();
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                           SMTO_ABORTIFHUNG, kStepTimeoutMs, &copied))
    return std::wstring();
  text.resize(copied);
  return text;
}

std::wstring LabelOf(HWND window) {
  std::wstring label;
  for (wchar_t unit : TextOf(window))
    if (unit != L'&') label += unit;
  return label;
}

std::vector<HWND> ChildrenOf(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM list) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  return children;
}

HWND FindChild(HWND parent, const std::wstring& className, const std::wstring& label) {
  for (HWND child : ChildrenOf(parent))
    if (_wcsicmp(ClassOf(child).c_str(), className.c_str()) == 0 && LabelOf(child) == label)
      return child;
  return nullptr;
}

namespace {

GUITHREADINFO ThreadInfoOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info;
}

}  // namespace

HWND FocusIn(HWND window) {
  return ThreadInfoOf(window).hwndFocus;
}

HWND CaptureIn(HWND window) {
  return ThreadInfoOf(window).hwndCapture;
}

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kStepTimeoutMs,
                           &result))
    throw StepFailed("a window of the program did not answer");
  return static_cast<LRESULT>(result);
}

namespace {

bool IsComboBox(HWND list) {
  return _wcsicmp(ClassOf(list).c_str(), L"ComboBox") == 0;
}

}  // namespace

std::wstring ListItem(HWND list, int index) {
  const bool combo = IsComboBox(list);
  const LRESULT size = Ask(list, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, index);
  if (size < 0) throw StepFailed("the list has no such item");
  std::wstring item(static_cast<size_t>(size) + 1, L'\0');
  const LRESULT length =
      Ask(list, combo ? CB_GETLBTEXT : LB_GETTEXT, index, reinterpret_cast<LPARAM>(&item[0]));
  item.resize(length > 0 ? static_cast<size_t>(length) : 0);
  return item;
}

std::vector<std::wstring> ListItems(HWND list) {
  std::vector<std::wstring> items;
  const LRESULT count = Ask(list, IsComboBox(list) ? CB_GETCOUNT : LB_GETCOUNT);
  for (int index = 0; index < count; ++index) items.push_back(ListItem(list, index));
  return items;
}

std::wstring SelectedItem(HWND list) {
  const LRESULT index = Ask(list, IsComboBox(list) ? CB_GETCURSEL : LB_GETCURSEL);
  return index < 0 ? std::wstring() : ListItem(list, static_cast<int>(index));
}
