// The first half of a lock alone: begun while a dialog of the thread is open
// with a question over it, the sweep ends both as a person who gives up
// (No, Cancel), then the box that the dialog's flow shows next (its only
// OK), and leaves the window that carries it alone.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/DialogSweep.h"
#include "dialogbase/DialogTemplateBuilder.h"
#include "dialogbase/DialogTemplates.h"
#include "tests/common/DialogDriver.h"
#include "tests/common/ProcedureWindow.h"

namespace {

DialogSweep* g_sweep = nullptr;
HWND g_window = nullptr;

// The lock's request comes while the question waits for an answer.
void CALLBACK BeginSweep(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_sweep->Start(g_window);
}

INT_PTR CALLBACK EndOnButton(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message != WM_COMMAND || (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL))
    return FALSE;
  EndDialog(dialog, LOWORD(wParam));
  return TRUE;
}

}  // namespace

TEST(DialogSweep, EndsEachDialogAndBoxOfTheThreadAsGivenUp) {
  const ProcedureWindow window(L"KfoDialogSweep", DefWindowProcW, WS_OVERLAPPEDWINDOW);
  InitDialogTemplates();
  DialogSweep sweep;
  g_sweep = &sweep;
  g_window = window.Get();
  // A flow as the program's have them: a question over the dialog, and a
  // box after it whatever the answer.
  int question = 0;
  int next = 0;
  DialogDriver driver([&](HWND dialog) {
    SetTimer(nullptr, 0, USER_TIMER_MINIMUM, BeginSweep);
    question = MessageBoxW(dialog, L"Delete the site?", L"Keyfolio", MB_YESNO);
    next = MessageBoxW(dialog, L"The site stays.", L"Keyfolio", MB_OK);
  });
  const INT_PTR dialog = RunTemplateDialog(window.Get(), DLG_DeletePassword, EndOnButton, 0);
  sweep.Stop();
  EXPECT_EQ(question, IDNO);
  EXPECT_EQ(next, IDOK);
  EXPECT_EQ(dialog, IDCANCEL);
  EXPECT_FALSE(driver.EndedByDriver());
  EXPECT_TRUE(IsWindow(window.Get()));
}
