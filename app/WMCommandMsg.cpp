#include "app/WMCommandMsg.h"

#include <vector>

#include "app/BackUpVaultCommand.h"
#include "app/Clipboard.h"
#include "app/Editor.h"
#include "app/ExportSitesCommand.h"
#include "app/HelpPage.h"
#include "app/ImportSitesCommand.h"
#include "app/ProgramLock.h"
#include "app/WebAddress.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/DeletePasswordInDB.h"
#include "dialogs/DisclaimerMessage.h"
#include "dialogs/EditPasswordToDB.h"
#include "dialogs/FindSiteDialog.h"
#include "dialogs/NewPasswordToDB.h"
#include "security/PasswordProtection.h"
#include "storage/DatabasePasswordSet.h"
#include "support/DebugLog.h"
#include "support/ResourceIds.h"
#include "ui/ShellOpen.h"

namespace {

// What the Copy and Go buttons read of a field, terminator included.
constexpr int kFieldBufferLength = 10240;

// A field's text as the Copy and Go buttons see it: at most 10239
// characters. The buffer is wiped when it goes: it may hold a password.
class FieldText {
 public:
  explicit FieldText(HWND field) : m_buffer(kFieldBufferLength, L'\0') {
    const LRESULT length = SendMessageW(field, WM_GETTEXT, kFieldBufferLength,
                                        reinterpret_cast<LPARAM>(m_buffer.data()));
    m_length = length > 0 ? static_cast<size_t>(length) : 0;
  }
  FieldText(const FieldText&) = delete;
  FieldText& operator=(const FieldText&) = delete;
  ~FieldText() { SecureZeroMemory(m_buffer.data(), m_buffer.size() * sizeof(wchar_t)); }

  std::wstring Text() const { return std::wstring(m_buffer.data(), m_length); }
  // The text without a copy, for the password.
  const wchar_t* Data() const { return m_buffer.data(); }
  size_t Length() const { return m_length; }

 private:
  std::vector<wchar_t> m_buffer;
  size_t m_length = 0;
};

void ShowMessage(HWND owner, const wchar_t* text, const wchar_t* caption = L"Keyfolio") {
  MessageBoxW(owner, text, caption, MB_OK);
}

}  // namespace

LRESULT WMCommandMsg::Dispatch(HWND mainWindow, HWND, int id, UINT notifyCode) {
  // The window is disabled under the master password question, but another
  // program can still post it commands: until the person is let in, the
  // start-up check is all that runs, and it runs once, when the program has
  // armed it (WindowInitialization::Initialize says why).
  if (id == ::ID_Intro_Dialog) {
    m_Lock.AskAtStartup(mainWindow);
    return 0;
  }
  if (!m_Lock.IsUnlocked()) {
    DebugLog(L"WMCommandMsg::Dispatch: command %i while locked", id);
    return 0;
  }
  switch (id) {
    case IDM_PASSWORD_ADD:
    case IDB_ADDNEWSITE: AddSite(mainWindow); break;
    case IDM_PASSWORD_DELETE: DeleteSite(mainWindow); break;
    case IDM_IMPORT_SITES: ImportSitesCommand::Run(mainWindow); break;
    case IDM_EXPORT_SITES: ExportSitesCommand::Run(mainWindow); break;
    case IDM_BACKUP_VAULT: BackUpVaultCommand::Run(mainWindow); break;
    case IDM_LOCK: m_Lock.Request(mainWindow); break;
    case IDM_EXIT: SendMessageW(mainWindow, WM_CLOSE, 0, 0); break;
    case IDM_PASSWORD_EDIT: EditSite(mainWindow); break;
    case IDM_FIND_SITE: FindSite(mainWindow); break;
    case IDM_PASSWORD_HIDE: ShowPassword(false); break;
    case IDM_PASSWORD_SHOW: ShowPassword(true); break;
    case IDM_MASTERPASSWORD_CHANGE: PasswordProtection().OnCommand(mainWindow, id); break;
    case IDM_HELP: OpenHelpPage(mainWindow); break;
    case IDM_DISCLAIMER: DisclaimerMessage{mainWindow}; break;
    case IDM_ABOUT: AboutDialog{mainWindow, ShippedHelpPage(), OpenHelpPage}; break;
    case IDCB_DBPASSWORD: IDCB_DBPassword(notifyCode); break;
    case IDB_USERNAME:
    case IDB_PASSWORD: CopyField(mainWindow, id - IDB_USERNAME); break;
    case IDB_WEBSITEURL: OpenWebsite(mainWindow); break;
    default: break;
  }
  return 0;
}

void WMCommandMsg::SaveAfterDialog() {
  if (m_Lock.IsUnlocked()) Editor::GetInstance().SaveFileValues();
}

void WMCommandMsg::AddSite(HWND mainWindow) {
  NewPasswordToDB{mainWindow};
  SaveAfterDialog();
}

void WMCommandMsg::EditSite(HWND mainWindow) {
  if (DatabasePasswordSet::GetInstance().DatabaseIsEmpty()) {
    ShowMessage(mainWindow, L"There are no sites to edit.");
    return;
  }
  EditPasswordToDB{mainWindow};
  SaveAfterDialog();
}

// Choosing a site changes nothing on disk, as choosing it in the site list
// does: nothing is saved.
void WMCommandMsg::FindSite(HWND mainWindow) {
  if (DatabasePasswordSet::GetInstance().DatabaseIsEmpty()) {
    ShowMessage(mainWindow, L"There are no sites to find.");
    return;
  }
  const FindSiteDialog dialog(mainWindow);
  if (dialog.GetChosenPosition() != -1) Editor::GetInstance().ShowSite(dialog.GetChosenPosition());
}

void WMCommandMsg::DeleteSite(HWND mainWindow) {
  DatabasePasswordSet& sites = DatabasePasswordSet::GetInstance();
  if (sites.DatabaseIsEmpty()) {
    ShowMessage(mainWindow, L"There are no sites to delete.");
    return;
  }
  DeletePasswordInDB{mainWindow};
  const int chosen = DeletePasswordInDB::GetChosenIndex();
  if (chosen != -1) {
    sites.SetCurrentRecord(chosen);
    sites.DeleteCurrentRecord();
    Editor::GetInstance().RefreshSiteList();
  }
  SaveAfterDialog();
}

void WMCommandMsg::ShowPassword(bool shown) {
  Editor& editor = Editor::GetInstance();
  editor.MaskPasswordField(!shown);
  editor.SetPasswordDisplayed(shown ? 1 : 0);
  editor.SaveFileValues();
}

LRESULT WMCommandMsg::WM_InitMenuPopup(HMENU popup, int position, bool systemMenu) {
  constexpr int kViewMenu = 2;
  if (systemMenu) {
    DebugLog(L"WMCommandMsg::WM_InitMenuPopup: system menu");
    return 0;
  }
  if (position != kViewMenu) return 0;
  const bool shown = Editor::GetInstance().IsPasswordDisplayed();
  CheckMenuItem(popup, IDM_PASSWORD_HIDE, MF_BYCOMMAND | (shown ? MF_UNCHECKED : MF_CHECKED));
  CheckMenuItem(popup, IDM_PASSWORD_SHOW, MF_BYCOMMAND | (shown ? MF_CHECKED : MF_UNCHECKED));
  return 0;
}

// The selection is read from the program's own list: the handle in the
// message may name any window of any program.
void WMCommandMsg::IDCB_DBPassword(UINT notifyCode) {
  if (notifyCode != CBN_SELCHANGE) return;
  Editor& editor = Editor::GetInstance();
  editor.ShowSite(static_cast<int>(SendMessageW(editor.GetSiteList(), CB_GETCURSEL, 0, 0)));
}

void WMCommandMsg::CopyField(HWND mainWindow, int field) {
  const FieldText text(Editor::GetInstance().GetEditField(field));
  if (!Clipboard::GetInstance().CopyText(mainWindow, text.Data(), text.Length()))
    ShowMessage(mainWindow, L"Unable to copy to the clipboard.", L"Error");
}

void WMCommandMsg::OpenWebsite(HWND mainWindow) {
  const FieldText text(Editor::GetInstance().GetEditField(Editor::FIELD_WebsiteAddress));
  const std::wstring address = WebAddressToOpen(text.Text());
  if (address.empty()) {
    DebugLog(L"WMCommandMsg::OpenWebsite: not a web address");
    return;
  }
  OpenWithShell(mainWindow, address);
}
