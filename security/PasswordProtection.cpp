#include "security/PasswordProtection.h"

#include "support/ResourceIds.h"
#include "dialogbase/DialogScaling.h"
#include "dialogbase/DialogTemplateBuilder.h"
#include "dialogbase/DialogTemplates.h"
#include "dialogbase/EditorInterface.h"
#include "security/PasswordBuffer.h"
#include "storage/EditorUpdater.h"
#include "storage/Initialization.h"
#include "support/SecureWipe.h"
#include "ui/FontManager.h"
#include "ui/PasswordMask.h"
#include "ui/ProcedureGuard.h"

std::wstring PasswordProtection::m_strPassword;

namespace {

const wchar_t kKeyfolio[] = L"Keyfolio";
const wchar_t kPasswordIncorrect[] = L"Password Incorrect";
const wchar_t kPasswordError[] = L"Password Error";
const wchar_t kNotCorrect[] = L"The master password you entered is not correct.";
const wchar_t kNoMatch[] = L"The two passwords you entered do not match.";
const wchar_t kOldNotCorrect[] = L"The old password you entered is not correct.";
const wchar_t kCreated[] =
    L"Your master password has been set. Store your master password\nin a safe place because "
    L"it cannot be recovered.";
const wchar_t kChanged[] =
    L"Your master password has been set. Be sure to store your master password,\nin a safe "
    L"place because it cannot be recovered.";
const wchar_t kChangedCaption[] = L"New Password Set";
const wchar_t kLengthMessage[] = L"Master password needs to be 1 to 8 characters in length.";
const wchar_t kOldLengthMessage[] =
    L"Your old password needs to be between 1 to 8 characters long.";
const wchar_t kNewLengthMessage[] =
    L"Your new password needs to be between 1 to 8 characters long.";
const wchar_t kForgotten[] =
    L"If you have forgotten your master password, there is no way to recover it. You must make a "
    L"new set of passwords with a new master password. To do this, you need to delete your "
    L"existing data. Do you want to delete your existing data now?";
const wchar_t kReallyDelete[] =
    L"This action is not reversible. Are you sure you want to delete your data?";
const wchar_t kDeleted[] =
    L"Your data has been deleted. You will now be able to create a new master password.";

constexpr int kMostCharacters = PasswordBuffer::kLength - 1;

// Why the forgotten-password reset left the vault where it was, or could not
// make sure that it went.
std::wstring NotDeletedMessage(const FileRemoval& removal) {
  std::wstring text = removal.partly
                          ? L"Keyfolio could not make sure that your data was deleted. "
                          : L"Your data could not be deleted. ";
  switch (removal.error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      text += L"Another program is using the file\n" + removal.stays +
              L"\n\nClose that program and try again.";
      break;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      text += L"The file\n" + removal.stays +
              L"\ncannot be removed: the flash drive may be write-protected.";
      break;
    default:
      text += L"Keyfolio cannot reach\n" + removal.stays +
              L"\nThe flash drive may have been removed: put it back and try again.";
      break;
  }
  return text + (removal.partly
                     ? L"\n\nYour data may still be there. Your master password is unchanged."
                     : L"\n\nYour sites and your master password are unchanged.");
}

struct PasswordPair {
  PasswordBuffer* old;
  PasswordBuffer* fresh;
};

// One entry field of a password dialog: the buffer it shows and fills, and
// the message that refuses it empty (none: an empty entry goes through).
struct EntryField {
  int id = 0;
  PasswordBuffer* buffer = nullptr;
  const wchar_t* emptyMessage = nullptr;
  // At most 8 characters can be typed; elsewhere more can, and the entry is
  // cut to 8 when it is read, so that what follows a right password counts
  // for nothing.
  bool limited = false;
};

// What the three password dialogs differ in; their procedures share every
// step and work from this alone.
struct PasswordForm {
  int boldLabels = 1;
  bool hidden = false;
  bool hasHelp = false;
  // The entry dialog asked again while the program is open: its "&Help"
  // button is hidden.
  bool helpHidden = false;
  EntryField fields[2];
  int fieldCount = 1;
};

// The form of the one password dialog that is open, from WM_INITDIALOG
// until it ends.
PasswordForm g_form;

void SetFont(HWND dialog, int id, int fontIndex) {
  const HFONT font =
      FontManager::GetInstance().GetFontHandle(fontIndex, DialogScaling::DpiOf(dialog));
  SendDlgItemMessageW(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

// At most 8 characters: what is typed beyond is cut off, not refused.
void ReadEntry(HWND dialog, int id, PasswordBuffer& buffer) {
  buffer.Clear();
  GetDlgItemTextW(dialog, id, buffer.text, PasswordBuffer::kLength);
}

// Keeps the dialog open with the focus on the empty field.
void RefuseEmpty(HWND dialog, int id, const wchar_t* message) {
  SetFocus(GetDlgItem(dialog, id));
  MessageBoxW(dialog, message, kPasswordError, MB_OK | MB_ICONINFORMATION);
}

// RunTemplateDialog gives 0 for a dialog that could not be shown, whether
// its template could not be built or the system could not make its window,
// after its own "Insufficient memory." box. The flows take that as a cancel:
// nobody is let in, nothing is stored, and no flow asks again, which would
// only show the same failure for ever.
bool Confirmed(INT_PTR result) {
  return result == IDOK;
}

// The client rectangle of a control of the dialog.
RECT ControlRect(HWND dialog, int id) {
  RECT rect{};
  GetWindowRect(GetDlgItem(dialog, id), &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// Hides "&Help" and moves OK and Cancel to the middle of the row the three
// shared.
void HideHelp(HWND dialog) {
  const RECT help = ControlRect(dialog, IDC_HELP_PASSWORD);
  const LONG shift = (help.right - ControlRect(dialog, IDCANCEL).right) / 2;
  ShowWindow(GetDlgItem(dialog, IDC_HELP_PASSWORD), SW_HIDE);
  for (const int id : {IDOK, IDCANCEL}) {
    const RECT button = ControlRect(dialog, id);
    SetWindowPos(GetDlgItem(dialog, id), nullptr, button.left + shift, button.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void InitForm(HWND dialog) {
  CenterOverParent(dialog);
  if (g_form.helpHidden) HideHelp(dialog);
  for (int label = 0; label < g_form.boldLabels; ++label) SetFont(dialog, IDC_LABEL_FIRST + label, 1);
  for (int index = 0; index < g_form.fieldCount; ++index) {
    const EntryField& field = g_form.fields[index];
    SetFont(dialog, field.id, 0);
    if (field.limited) SendDlgItemMessageW(dialog, field.id, EM_LIMITTEXT, kMostCharacters, 0);
    if (g_form.hidden)
      SendDlgItemMessageW(dialog, field.id, EM_SETPASSWORDCHAR, kPasswordMask, 0);
    SetDlgItemTextW(dialog, field.id, field.buffer->text);
  }
}

void OnOk(HWND dialog) {
  for (int index = 0; index < g_form.fieldCount; ++index)
    ReadEntry(dialog, g_form.fields[index].id, *g_form.fields[index].buffer);
  for (int index = 0; index < g_form.fieldCount; ++index) {
    const EntryField& field = g_form.fields[index];
    if (field.emptyMessage && field.buffer->Empty()) {
      RefuseEmpty(dialog, field.id, field.emptyMessage);
      return;
    }
  }
  EndDialog(dialog, IDOK);
}

// The steps of every password dialog; `describe` turns the creation
// parameter into the dialog's form.
template <typename Describe>
INT_PTR HandlePasswordDialog(const wchar_t* name, HWND dialog, UINT message, WPARAM wParam,
                             LPARAM lParam, Describe describe) {
  return GuardProcedure(
      name, message,
      [&]() -> LRESULT {
        switch (message) {
          case WM_INITDIALOG:
            g_form = describe(lParam);
            InitForm(dialog);
            return TRUE;
          // The buttons have just been put back in their places of the
          // template, for the new scale.
          case WM_DPICHANGED:
            if (g_form.helpHidden) HideHelp(dialog);
            return FALSE;
          // The fields still live: the dialog goes before its controls.
          case WM_DESTROY:
            for (int index = 0; index < g_form.fieldCount; ++index)
              WipeFieldText(GetDlgItem(dialog, g_form.fields[index].id));
            return FALSE;
          case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (id == IDOK) {
              OnOk(dialog);
              return TRUE;
            }
            // The Help button shares its id with the change dialog's second
            // field, whose notifications must not end that dialog.
            if (id == IDCANCEL || (g_form.hasHelp && id == IDC_HELP_PASSWORD)) {
              EndDialog(dialog, id);
              return TRUE;
            }
            return FALSE;
          }
          default:
            return FALSE;
        }
      },
      []() -> LRESULT { return FALSE; });
}

// Create, confirm and confirm-new: one entry shown in clear, 1 to 8
// characters.
INT_PTR CALLBACK PasswordEntryProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return HandlePasswordDialog(L"PasswordEntryProc", dialog, message, wParam, lParam,
                              [](LPARAM parameter) {
                                PasswordForm form;
                                form.boldLabels = 3;
                                form.fields[0] = {IDC_PASSWORD_ENTRY,
                                                  reinterpret_cast<PasswordBuffer*>(parameter),
                                                  kLengthMessage, true};
                                return form;
                              });
}

// What the check's dialog is given: the buffer that its entry fills, and
// whether it offers "&Help" for a forgotten password (the start-up's
// question) or hides it (the question asked again while the program is
// open, where the reset has no place).
struct CheckEntry {
  PasswordBuffer* buffer;
  bool withHelp;
};

// The check of the master password: the entry is hidden, and an empty one
// is simply a wrong one.
INT_PTR CALLBACK PasswordCheckProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return HandlePasswordDialog(L"PasswordCheckProc", dialog, message, wParam, lParam,
                              [](LPARAM parameter) {
                                const CheckEntry& entry =
                                    *reinterpret_cast<const CheckEntry*>(parameter);
                                PasswordForm form;
                                form.hidden = true;
                                form.hasHelp = entry.withHelp;
                                form.helpHidden = !entry.withHelp;
                                form.fields[0] = {IDC_PASSWORD_ENTRY, entry.buffer, nullptr,
                                                  false};
                                return form;
                              });
}

// The change: the old password (no limit, so a too-long one is simply
// wrong) and the new one (1 to 8), both in clear.
INT_PTR CALLBACK PasswordChangeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return HandlePasswordDialog(
      L"PasswordChangeProc", dialog, message, wParam, lParam, [](LPARAM parameter) {
        const PasswordPair& pair = *reinterpret_cast<const PasswordPair*>(parameter);
        PasswordForm form;
        form.boldLabels = 2;
        form.fields[0] = {IDC_PASSWORD_ENTRY, pair.old, kOldLengthMessage, false};
        form.fields[1] = {IDC_NEW_PASSWORD_ENTRY, pair.fresh, kNewLengthMessage, true};
        form.fieldCount = 2;
        return form;
      });
}

INT_PTR RunEntry(HWND owner, int templateId, DLGPROC procedure, PasswordBuffer& buffer) {
  return RunTemplateDialog(owner, templateId, procedure, reinterpret_cast<LPARAM>(&buffer));
}

INT_PTR RunCheck(HWND owner, PasswordBuffer& buffer, bool withHelp) {
  CheckEntry entry = {&buffer, withHelp};
  return RunTemplateDialog(owner, DLG_EnterPassword, PasswordCheckProc,
                           reinterpret_cast<LPARAM>(&entry));
}

enum class Confirmation { Matched, AskAgain, Cancelled };

// The second typing of a new password, in `templateId`: Cancel there goes
// back to the first dialog, and so does a mismatch, after saying so.
Confirmation ConfirmNewPassword(HWND owner, int templateId, const PasswordBuffer& typed) {
  PasswordBuffer confirm;
  const INT_PTR confirmed = RunEntry(owner, templateId, PasswordEntryProc, confirm);
  if (confirmed == IDCANCEL) return Confirmation::AskAgain;
  if (!Confirmed(confirmed)) return Confirmation::Cancelled;
  if (!confirm.Equals(typed.text)) {
    MessageBoxW(owner, kNoMatch, kPasswordIncorrect, MB_OK);
    return Confirmation::AskAgain;
  }
  return Confirmation::Matched;
}

}  // namespace

PasswordProtection::~PasswordProtection() {
  SecureWipe(m_strPassword);
}

bool PasswordProtection::HasPassword() {
  SecureWipe(m_strPassword);
  m_strPassword = Initialization::GetInstance().GetMasterPassword();
  return !m_strPassword.empty();
}

int PasswordProtection::EnterPassword(HWND owner) {
  if (!HasPassword()) return PASSWORD_NOT_SET;
  return AskUntilAnswered(owner, nullptr, nullptr);
}

int PasswordProtection::EnterPasswordToUnlock(HWND owner, const std::function<bool()>& readVault,
                                              const std::function<void()>& forgetVault) {
  return AskUntilAnswered(owner, readVault, forgetVault);
}

int PasswordProtection::AskUntilAnswered(HWND owner, const std::function<bool()>& readVault,
                                         const std::function<void()>& forgetVault) {
  PasswordBuffer entry;
  for (;;) {
    entry.Clear();
    const INT_PTR result = RunCheck(owner, entry, true);
    if (result == IDC_HELP_PASSWORD) {
      if (ForgottenPasswordHelp(owner) == 0) return PASSWORD_NOT_SET;
      continue;
    }
    if (!Confirmed(result)) return PASSWORD_CANCELLED;
    if (readVault) {
      if (!readVault()) continue;
      if (!HasPassword()) return PASSWORD_NOT_SET;
    }
    if (entry.Equals(m_strPassword.c_str())) return PASSWORD_ACCEPTED;
    if (forgetVault) {
      forgetVault();
      SecureWipe(m_strPassword);
    }
    MessageBoxW(owner, kNotCorrect, L"Keyfolio for Flash Drives", MB_OK);
  }
}

bool PasswordProtection::ConfirmMasterPassword(HWND owner) {
  if (!HasPassword()) return false;
  PasswordBuffer entry;
  for (;;) {
    entry.Clear();
    if (!Confirmed(RunCheck(owner, entry, false))) return false;
    if (entry.Equals(m_strPassword.c_str())) return true;
    MessageBoxW(owner, kNotCorrect, L"Keyfolio for Flash Drives", MB_OK);
  }
}

int PasswordProtection::CreatePassword(HWND owner) {
  PasswordBuffer first;
  for (;;) {
    if (!Confirmed(RunEntry(owner, DLG_CreatePassword, PasswordEntryProc, first))) return 0;
    const Confirmation confirmation = ConfirmNewPassword(owner, DLG_ConfirmPassword, first);
    if (confirmation == Confirmation::AskAgain) continue;
    if (confirmation == Confirmation::Cancelled) return 0;
    // The password is in force even when its save failed: the user has seen
    // why, and every later save writes it.
    if (StorePassword(first.text)) MessageBoxW(owner, kCreated, kKeyfolio, MB_OK);
    return 1;
  }
}

void PasswordProtection::ChangePassword(HWND owner) {
  HasPassword();
  PasswordBuffer old, fresh;
  PasswordPair pair = {&old, &fresh};
  for (;;) {
    if (!Confirmed(RunTemplateDialog(owner, DLG_ChangePassword, PasswordChangeProc,
                                     reinterpret_cast<LPARAM>(&pair))))
      return;
    if (!old.Equals(m_strPassword.c_str())) {
      if (MessageBoxW(owner, kOldNotCorrect, kPasswordIncorrect, MB_RETRYCANCEL) == IDRETRY)
        continue;
      return;
    }
    const Confirmation confirmation = ConfirmNewPassword(owner, DLG_ConfirmNewPassword, fresh);
    if (confirmation == Confirmation::AskAgain) continue;
    if (confirmation == Confirmation::Cancelled) return;
    std::wstring previous = m_strPassword;
    ScopedWipe wipePrevious(previous);
    if (!StorePassword(fresh.text)) {
      // The vault on disk still holds the old password: it stays in force,
      // so the password that opens the vault is the one the user knows.
      SecureWipe(m_strPassword);
      m_strPassword = previous;
      Initialization::GetInstance().SetMasterPassword(previous);
      EditorInterface::GetInstance().SetMasterPassword(previous);
      return;
    }
    MessageBoxW(owner, kChanged, kChangedCaption, MB_OK);
    return;
  }
}

// No is the default of both questions: only a deliberate Yes, twice,
// deletes the vault, never Enter pressed on.
int PasswordProtection::ForgottenPasswordHelp(HWND owner) {
  if (MessageBoxW(owner, kForgotten, kKeyfolio, MB_YESNO | MB_DEFBUTTON2) != IDYES) return 1;
  if (MessageBoxW(owner, kReallyDelete, kKeyfolio, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) !=
      IDYES)
    return 1;
  const FileRemoval removal = EditorUpdater::GetInstance().DeleteAllData();
  if (removal.error != ERROR_SUCCESS) {
    // The vault and its password are still in force: the person goes back
    // to the question, never on to a new password over the old vault.
    MessageBoxW(owner, NotDeletedMessage(removal).c_str(), kKeyfolio, MB_OK | MB_ICONEXCLAMATION);
    return 1;
  }
  // The working copy follows the current master password, which is gone.
  SecureWipe(m_strPassword);
  MessageBoxW(owner, kDeleted, kKeyfolio, MB_OK);
  return 0;
}

void PasswordProtection::OnCommand(HWND owner, int id) {
  if (id == IDM_MASTERPASSWORD_CHANGE) ChangePassword(owner);
}

bool PasswordProtection::StorePassword(const wchar_t* password) {
  SecureWipe(m_strPassword);
  m_strPassword = password;
  Initialization::GetInstance().SetMasterPassword(m_strPassword);
  EditorInterface& editor = EditorInterface::GetInstance();
  editor.SetMasterPassword(m_strPassword);
  return editor.SaveFileValues();
}
