#include "tests/security/PasswordFlowFixture.h"

#include "app/Editor.h"
#include "dialogbase/DialogTemplates.h"
#include "storage/Initialization.h"
#include "support/UserMessages.h"
#include "ui/FontManager.h"

const wchar_t kEnterCaption[] = L"Keyfolio";
const wchar_t kCreateCaption[] = L"Create Master Password";
const wchar_t kConfirmCaption[] = L"Confirm Master Password";
const wchar_t kChangeCaption[] = L"Change Master Password";
const wchar_t kConfirmNewCaption[] = L"Confirm New Master Password";
const wchar_t kProgramCaption[] = L"Keyfolio";
const wchar_t kNotCorrect[] = L"The master password you entered is not correct.";
const wchar_t kNoMatch[] = L"The two passwords you entered do not match.";
const wchar_t kOldNotCorrect[] = L"The old password you entered is not correct.";
const wchar_t kCreated[] =
    L"Your master password has been set. Store your master password\nin a safe place because it "
    L"cannot be recovered.";
const wchar_t kChanged[] =
    L"Your master password has been set. Be sure to store your master password,\nin a safe place "
    L"because it cannot be recovered.";
const wchar_t kOpenForSaveFailed[] = L"Unable to open the selected file for saving. Check the disk.";

namespace {

SiteFields Site(const std::wstring& title, int32_t key) {
  return {title,        L"user of " + title,          L"pw of " + title,
          L"https://" + title + L".example", L"notes", L"Monday, January 05, 2026",
          L"Monday, January 05, 2026",       key};
}

}  // namespace

PasswordFlowTest::PasswordFlowTest() : m_dataFolder(m_folder.File(L"KFOdata")) {
  CreateDirectoryW(m_dataFolder.c_str(), nullptr);
  // What the main window sets up while it is created.
  FontManager::GetInstance().CreateFonts(Owner());
  InitDialogTemplates();
  ErrorMessageBox::SetOwner(Owner());
}

void PasswordFlowTest::StartWithVault(const std::wstring& masterPassword) {
  WriteBytes(VaultPath(), VaultWithSites(masterPassword));
  BuildEditor();
  ASSERT_EQ(CurrentPassword(), masterPassword);
}

void PasswordFlowTest::StartWithoutVault() {
  BuildEditor();
  ASSERT_EQ(CurrentPassword(), L"");
}

void PasswordFlowTest::BuildEditor() {
  Editor& editor = Editor::GetInstance();
  editor.SetDatabaseFolder(m_dataFolder + L"\\");
  editor.ConstructWindows(Owner());
}

Bytes PasswordFlowTest::VaultWithSites(const std::wstring& masterPassword) {
  return Vault(masterPassword, 0, 2, {Site(L"Alpha", 1), Site(L"Beta", 2)});
}

Bytes PasswordFlowTest::VaultWithoutSites(const std::wstring& masterPassword) {
  return Vault(masterPassword, 0, 0, {});
}

std::wstring PasswordFlowTest::CurrentPassword() {
  return Initialization::GetInstance().GetMasterPassword();
}

FlowScript::Action EnterAndOk(const std::wstring& text) {
  return [text](HWND dialog) {
    Type(dialog, IDC_PASSWORD_ENTRY, text);
    Press(dialog, IDOK);
  };
}

FlowScript::Action ChangeAndOk(const std::wstring& oldPassword, const std::wstring& newPassword) {
  return [oldPassword, newPassword](HWND dialog) {
    Type(dialog, IDC_PASSWORD_ENTRY, oldPassword);
    Type(dialog, IDC_NEW_PASSWORD_ENTRY, newPassword);
    Press(dialog, IDOK);
  };
}

FlowScript::Action PressOnly(int buttonId) {
  return [buttonId](HWND dialog) { Press(dialog, buttonId); };
}
