#include "app/ProgramLock.h"

#include <string>

#include "app/Clipboard.h"
#include "app/Editor.h"
#include "app/LoadProblemMessage.h"
#include "app/MessageLoop.h"
#include "security/PasswordProtection.h"
#include "storage/DatabasePasswordSet.h"
#include "storage/EditorUpdater.h"
#include "support/DebugLog.h"
#include "ui/ProcedureGuard.h"

namespace {

void ShowMessage(HWND owner, const wchar_t* text) {
  MessageBoxW(owner, text, L"Keyfolio", MB_OK);
}

// A vault read only in part, or not at all, is told about before anything
// of it is shown.
void TellLoadProblem(HWND mainWindow) {
  const EditorUpdater& vault = EditorUpdater::GetInstance();
  const std::wstring problem =
      LoadProblemMessage(vault.GetLoadProblem(), vault.GetLoadKeptName());
  if (!problem.empty())
    MessageBoxW(mainWindow, problem.c_str(), L"Keyfolio", MB_OK | MB_ICONEXCLAMATION);
}

// A forgotten-password reset has put the header's display flag back to 0:
// the field follows it, as the View menu's check marks do.
void ShowSites() {
  Editor& editor = Editor::GetInstance();
  editor.MaskPasswordField(!editor.IsPasswordDisplayed());
  editor.RefreshSiteList();
}

}  // namespace

void ProgramLock::ArmStartupQuestion() {
  if (m_StartupQuestion == SQ_Unarmed) m_StartupQuestion = SQ_Armed;
}

void ProgramLock::AskAtStartup(HWND mainWindow) {
  if (m_StartupQuestion != SQ_Armed) {
    DebugLog(L"ProgramLock::AskAtStartup: not armed or already asked");
    return;
  }
  m_StartupQuestion = SQ_Asked;
  TellLoadProblem(mainWindow);
  DebugLog(L"**********PASSWORD CHECK+++++++++++");
  PasswordProtection protection;
  const int result = protection.EnterPassword(mainWindow);
  DebugLog(L"iPasswordResult %i", result);
  LetIn(mainWindow, protection, result);
  if (IsWindow(mainWindow)) ShowSites();
}

void ProgramLock::LetIn(HWND mainWindow, PasswordProtection& protection, int result) {
  if (result == PasswordProtection::PASSWORD_ACCEPTED) {
    m_State = LS_Unlocked;
  } else if (result == PasswordProtection::PASSWORD_CANCELLED) {
    DestroyWindow(mainWindow);
  } else if (result == PasswordProtection::PASSWORD_NOT_SET) {
    DebugLog(L"WMCommandMsg::ID_Intro_Dialog BEGIN");
    ShowMessage(mainWindow,
                L"You must first create a master password for\nKeyfolio between 1 to 8 "
                L"characters long.");
    if (protection.CreatePassword(mainWindow) == 0) {
      DestroyWindow(mainWindow);
    } else {
      m_State = LS_Unlocked;
      ShowMessage(mainWindow, L"Next, add a site. Press the \"Add New Site\" button.");
    }
  }
}

void ProgramLock::Request(HWND mainWindow) {
  if (m_State != LS_Unlocked) {
    DebugLog(L"ProgramLock::Request: not unlocked");
    return;
  }
  m_State = LS_Locking;
  m_MainWindow = mainWindow;
  m_Sweep.Start(mainWindow);
  PostMessageW(mainWindow, WM_NULL, 0, 0);
  if (m_Loop && m_Loop->IsWaiting()) Seal();
}

void ProgramLock::CompleteIn(MessageLoop& loop) {
  m_Loop = &loop;
  loop.AddAfterMessageHandler(this);
}

// The loop calls this outside every window procedure's guard.
void ProgramLock::AfterMessage() {
  GuardProcedure(
      L"ProgramLock::AfterMessage", WM_NULL,
      [&]() -> LRESULT {
        if (m_State == LS_Locking) Seal();
        if (m_QuestionDue) {
          m_QuestionDue = false;
          AskAgain();
        }
        return 0;
      },
      []() -> LRESULT { return 0; });
}

void ProgramLock::Seal() {
  DebugLog(L"ProgramLock::Seal");
  m_Sweep.Stop();
  m_State = LS_Locked;
  m_ChosenKey = DatabasePasswordSet::GetInstance().GetCurrentPrimaryKey();
  Clipboard::GetInstance().ClearCopy(m_MainWindow);
  Editor::GetInstance().ForgetVault();
  m_QuestionDue = true;
}

// A minimised window would take the question out of sight with it. The
// password read each time is checked before anything of the vault is
// shown; a vault read only in part is told about then, as at start-up.
void ProgramLock::AskAgain() {
  const HWND mainWindow = m_MainWindow;
  if (IsIconic(mainWindow)) ShowWindow(mainWindow, SW_RESTORE);
  Editor& editor = Editor::GetInstance();
  const auto read = [&] {
    if (editor.ReadVaultAgain()) return true;
    MessageBoxW(mainWindow,
                UnlockProblemMessage(EditorUpdater::GetInstance().GetLoadProblem()).c_str(),
                L"Keyfolio", MB_OK | MB_ICONEXCLAMATION);
    return false;
  };
  PasswordProtection protection;
  const int result =
      protection.EnterPasswordToUnlock(mainWindow, read, [&] { editor.ForgetVault(); });
  DebugLog(L"ProgramLock::AskAgain: %i", result);
  if (result == PasswordProtection::PASSWORD_ACCEPTED) TellLoadProblem(mainWindow);
  LetIn(mainWindow, protection, result);
  if (!IsWindow(mainWindow)) return;
  DatabasePasswordSet::GetInstance().ChoosePrimaryKey(m_ChosenKey);
  ShowSites();
}
