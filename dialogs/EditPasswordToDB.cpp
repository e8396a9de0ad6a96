#include "dialogs/EditPasswordToDB.h"

#include "dialogbase/DialogTemplates.h"
#include "storage/DatabasePasswordSet.h"

EditPasswordToDB::EditPasswordToDB(HWND parent) {
  DoModal(parent);
}

int EditPasswordToDB::GetTemplateID() const {
  return DLG_EditPassword;
}

INT_PTR EditPasswordToDB::OnInitDialog(WPARAM wParam, LPARAM lParam) {
  m_Record = DatabasePasswordSet::GetInstance().GetCurrentRecord();
  m_HadPassword = !m_Record.m_Password.empty();
  SetDlgItemTextW(m_hWnd, IDC_SITE_TITLE, m_Record.m_SiteTitle.c_str());
  SetDlgItemTextW(m_hWnd, IDC_SITE_USER_NAME, m_Record.m_UserName.c_str());
  SetDlgItemTextW(m_hWnd, IDC_SITE_PASSWORD, m_Record.m_Password.c_str());
  SetDlgItemTextW(m_hWnd, IDC_SITE_WEBSITE_URL, m_Record.m_WebsiteAddress.c_str());
  SetDlgItemTextW(m_hWnd, IDC_SITE_NOTES, m_Record.m_Notes.c_str());
  return NewPasswordToDB::OnInitDialog(wParam, lParam);
}

bool EditPasswordToDB::ApplyRecord() {
  return DatabasePasswordSet::GetInstance().EditCurrentRecord(m_hWnd, m_Record);
}
