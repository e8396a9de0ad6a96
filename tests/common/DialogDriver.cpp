#include "tests/common/DialogDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "tests/common/TimeBounds.h"

namespace {

// What the drivers of one thread share: one hook for all of them, the
// drivers still waiting for a dialog in the order they were made, and the
// dialogs taken so far.
struct ThreadDrivers {
  HHOOK hook = nullptr;
  std::vector<DialogDriver*> all;
  std::deque<DialogDriver*> waiting;
  std::vector<HWND> taken;
};

thread_local ThreadDrivers t_drivers;

constexpr UINT kLookAgainMs = 10;

bool IsDialogOfThisThread(HWND window) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  return std::wstring(className) == L"#32770" &&
         GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

}  // namespace

DialogDriver::DialogDriver(std::function<void(HWND dialog)> action) : m_action(std::move(action)) {
  if (!t_drivers.hook)
    t_drivers.hook = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
  t_drivers.all.push_back(this);
  t_drivers.waiting.push_back(this);
}

DialogDriver::~DialogDriver() {
  if (m_actionTimer) KillTimer(nullptr, m_actionTimer);
  if (m_settleTimer) KillTimer(nullptr, m_settleTimer);
  auto& waiting = t_drivers.waiting;
  waiting.erase(std::remove(waiting.begin(), waiting.end(), this), waiting.end());
  auto& all = t_drivers.all;
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
  if (all.empty()) {
    UnhookWindowsHookEx(t_drivers.hook);
    t_drivers = ThreadDrivers{};
  }
}

// HCBT_ACTIVATE comes when the dialog is shown, and again when it becomes
// active after a nested dialog or a message box closed: each window is taken
// once. Under Wine it can also name a window of another process that took
// the focus.
LRESULT CALLBACK DialogDriver::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && !t_drivers.waiting.empty()) {
    HWND window = reinterpret_cast<HWND>(wParam);
    auto& taken = t_drivers.taken;
    if (IsDialogOfThisThread(window) &&
        std::find(taken.begin(), taken.end(), window) == taken.end()) {
      DialogDriver* driver = t_drivers.waiting.front();
      t_drivers.waiting.pop_front();
      taken.push_back(window);
      driver->Take(window);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Taken when it is activated, which can come before it shows: the focus
// that the dialog manager gives a control activates the hidden dialog.
void DialogDriver::Take(HWND dialog) {
  m_dialog = dialog;
  m_showDeadline = GetTickCount64() + kStepTimeoutMs;
  m_actionTimer = SetTimer(nullptr, 0, 0, ActionTimer);
}

void CALLBACK DialogDriver::ActionTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  for (DialogDriver* driver : t_drivers.all) {
    if (driver->m_actionTimer == id) {
      driver->m_actionTimer = 0;
      driver->RunAction();
      return;
    }
  }
}

void CALLBACK DialogDriver::SettleTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  for (DialogDriver* driver : t_drivers.all) {
    if (driver->m_settleTimer == id) {
      driver->m_settleTimer = 0;
      driver->Settle();
      return;
    }
  }
}

void DialogDriver::RunAction() {
  if (!IsWindow(m_dialog)) return;
  // Back in the modal loop, which shows the dialog once it finds no
  // message; one never shown gets its action all the same, late.
  if (!IsWindowVisible(m_dialog) && GetTickCount64() < m_showDeadline) {
    m_actionTimer = SetTimer(nullptr, 0, kLookAgainMs, ActionTimer);
    return;
  }
  m_actionRan = true;
  // An exception would have to unwind through the modal loop in user32.
  try {
    m_action(m_dialog);
  } catch (...) {
    ADD_FAILURE() << "the action of a DialogDriver threw";
  }
  m_settleDeadline = GetTickCount64() + kStepTimeoutMs;
  m_settleTimer = SetTimer(nullptr, 0, 0, SettleTimer);
}

// EndDialog hides the dialog at once; its window lives on until the modal
// loop notices. A dialog still visible here was left open. A hidden one has
// ended: it is looked at again until its window is gone, and ended all the
// same once the time-out has passed.
void DialogDriver::Settle() {
  if (!IsWindow(m_dialog)) return;
  if (IsWindowVisible(m_dialog) || GetTickCount64() >= m_settleDeadline) {
    m_endedByDriver = true;
    EndDialog(m_dialog, kEndedByDriver);
    return;
  }
  m_settleTimer = SetTimer(nullptr, 0, kLookAgainMs, SettleTimer);
}
