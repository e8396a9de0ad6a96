#include "app/DialogSweep.h"

#include <cwchar>

#include "support/DebugLog.h"
#include "ui/ProcedureGuard.h"

namespace {

constexpr UINT_PTR kSweepTimerId = 0x4B4C;
// Dialogs and message boxes alike, the program's own and the system's
// (the Open and Save dialogs, the boxes that they show).
constexpr wchar_t kDialogClass[] = L"#32770";

bool ShowsButton(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  return button && IsWindowVisible(button);
}

// The button of a person who gives up: Cancel, or No, or OK where there is
// neither (the only button of an information box or the About box). A
// dialog with none of them gets what Esc and its close box send.
int GivingUpButton(HWND dialog) {
  for (int id : {IDCANCEL, IDNO, IDOK})
    if (ShowsButton(dialog, id)) return id;
  return IDCANCEL;
}

// A dialog that has ended is hidden at once (EndDialog), so each is given
// up once, however often the sweep comes by before its loop returns.
BOOL CALLBACK GiveUpIfDialog(HWND window, LPARAM) {
  wchar_t className[16] = {};
  if (!IsWindowVisible(window) || !GetClassNameW(window, className, 16) ||
      std::wcscmp(className, kDialogClass) != 0)
    return TRUE;
  const int id = GivingUpButton(window);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
  return TRUE;
}

void GiveUpOpenDialogs() {
  EndMenu();
  EnumThreadWindows(GetCurrentThreadId(), GiveUpIfDialog, 0);
}

}  // namespace

DialogSweep::~DialogSweep() {
  Stop();
}

void DialogSweep::Start(HWND window) {
  GiveUpOpenDialogs();
  m_Window = window;
  if (!SetTimer(window, kSweepTimerId, kSweepMs, OnTimer))
    DebugLog(L"DialogSweep::Start: no timer, error %i", static_cast<int>(GetLastError()));
}

void DialogSweep::Stop() {
  if (!m_Window) return;
  KillTimer(m_Window, kSweepTimerId);
  m_Window = nullptr;
}

// DispatchMessageW calls a timer's callback itself, past every window
// procedure's guard.
void CALLBACK DialogSweep::OnTimer(HWND, UINT message, UINT_PTR, DWORD) {
  GuardProcedure(
      L"DialogSweep::OnTimer", message,
      []() -> LRESULT {
        GiveUpOpenDialogs();
        return 0;
      },
      []() -> LRESULT { return 0; });
}
