#include "dialogs/NewPasswordToDB.h"

#include "dialogbase/DialogTemplates.h"
#include "dialogbase/EditorInterface.h"
#include "security/GeneratePassword.h"
#include "storage/DatabasePasswordSet.h"
#include "support/SecureWipe.h"

namespace {

const wchar_t kErrorCaption[] = L"Error";
const wchar_t kNeedTitle[] = L"You need to enter a title.";
const wchar_t kNeedPassword[] = L"You need to enter a password.";

// A shorter text written over a longer one would leave the longer one's
// tail in the string's memory.
void ReplaceWiped(std::wstring& target, const std::wstring& value) {
  SecureWipe(target);
  target = value;
}

}  // namespace

NewPasswordToDB::NewPasswordToDB(HWND parent) {
  DoModal(parent);
}

NewPasswordToDB::~NewPasswordToDB() {
  WipeFields();
}

int NewPasswordToDB::GetTemplateID() const {
  return DLG_AddNewPassword;
}

INT_PTR NewPasswordToDB::OnInitDialog(WPARAM wParam, LPARAM lParam) {
  SetItemFont(1, IDC_LABEL_FIRST, IDC_LABEL_FIRST + 4);
  SetItemFont(0, IDC_SITE_TITLE, IDC_SITE_NOTES);
  DialogBase::OnInitDialog(wParam, lParam);
  ::SetFocus(Item(IDC_SITE_TITLE));
  return FALSE;
}

LRESULT NewPasswordToDB::OnCommand(int id, HWND, UINT) {
  switch (id) {
    case IDOK:
      if (ReadEditFields()) End(IDOK);
      break;
    case IDCANCEL:
      End(IDCANCEL);
      break;
    case IDC_GENERATE:
      FillPasswordFromGenerator();
      break;
    default:
      break;
  }
  return 0;
}

// A password only replaces the field when one was made: Cancel in the
// generator leaves the field as it was. The password it replaces is
// overwritten in the field first.
void NewPasswordToDB::FillPasswordFromGenerator() {
  const GeneratePassword generator(m_hWnd);
  if (generator.GetPassword().empty()) return;
  WipeFieldText(Item(IDC_SITE_PASSWORD));
  SetDlgItemTextW(m_hWnd, IDC_SITE_PASSWORD, generator.GetPassword().c_str());
}

// The controls still live: the dialog goes before them.
void NewPasswordToDB::OnDestroy() {
  WipeFieldText(Item(IDC_SITE_PASSWORD));
}

bool NewPasswordToDB::ReadEditFields() {
  WipeFields();
  m_strTitle = ItemText(IDC_SITE_TITLE);
  m_strUserName = ItemText(IDC_SITE_USER_NAME);
  m_strPassword = ItemText(IDC_SITE_PASSWORD);
  m_strWebsiteURL = ItemText(IDC_SITE_WEBSITE_URL);
  m_strNotes = ItemText(IDC_SITE_NOTES);
  // Only an empty field is missing: a title of blanks is a title.
  if (m_strTitle.empty()) {
    MessageBoxW(m_hWnd, kNeedTitle, kErrorCaption, MB_OK);
    return false;
  }
  if (m_strPassword.empty() && PasswordRequired()) {
    MessageBoxW(m_hWnd, kNeedPassword, kErrorCaption, MB_OK);
    return false;
  }
  ReplaceWiped(m_Record.m_SiteTitle, m_strTitle);
  ReplaceWiped(m_Record.m_UserName, m_strUserName);
  ReplaceWiped(m_Record.m_Password, m_strPassword);
  ReplaceWiped(m_Record.m_WebsiteAddress, m_strWebsiteURL);
  ReplaceWiped(m_Record.m_Notes, m_strNotes);
  if (!ApplyRecord()) return false;
  EditorInterface::GetInstance().RefreshSiteList();
  return true;
}

bool NewPasswordToDB::ApplyRecord() {
  return DatabasePasswordSet::GetInstance().AddRecord(m_hWnd, m_Record);
}

void NewPasswordToDB::WipeFields() {
  SecureWipe(m_strTitle);
  SecureWipe(m_strUserName);
  SecureWipe(m_strPassword);
  SecureWipe(m_strWebsiteURL);
  SecureWipe(m_strNotes);
}
