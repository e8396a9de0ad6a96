#include "dialogs/DeletePasswordInDB.h"

#include "dialogbase/DialogTemplates.h"
#include "storage/DatabasePasswordSet.h"

int DeletePasswordInDB::ms_ChosenIndex = -1;
std::wstring DeletePasswordInDB::ms_ChosenTitle;

DeletePasswordInDB::DeletePasswordInDB(HWND parent) {
  Reset();
  DoModal(parent);
}

void DeletePasswordInDB::Reset() {
  ms_ChosenIndex = -1;
  ms_ChosenTitle.clear();
}

int DeletePasswordInDB::GetTemplateID() const {
  return DLG_DeletePassword;
}

INT_PTR DeletePasswordInDB::OnInitDialog(WPARAM wParam, LPARAM lParam) {
  SetItemFont(1, IDC_LABEL_FIRST, IDC_LABEL_FIRST);
  DatabasePasswordSet::GetInstance().FillListbox(Item(IDC_DELETE_LIST));
  DialogBase::OnInitDialog(wParam, lParam);
  ::SetFocus(Item(IDC_DELETE_LIST));
  return FALSE;
}

LRESULT DeletePasswordInDB::OnCommand(int id, HWND, UINT notifyCode) {
  if (id == IDOK || (id == IDC_DELETE_LIST && notifyCode == LBN_DBLCLK)) {
    if (!Choose()) {
      Reset();
      return 0;
    }
    // Built here rather than formatted into a fixed buffer, so that no title
    // is too long to be asked about.
    const std::wstring question =
        L"Site:  " + ms_ChosenTitle + L"\nAre you sure you want to delete this site?";
    if (MessageBoxW(m_hWnd, question.c_str(), L"Delete Verification",
                    MB_YESNO | MB_ICONEXCLAMATION) == IDYES) {
      End(IDOK);
    } else {
      Reset();
    }
  } else if (id == IDCANCEL) {
    Reset();
    End(IDCANCEL);
  }
  return 0;
}

bool DeletePasswordInDB::Choose() {
  HWND list = Item(IDC_DELETE_LIST);
  const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR) return false;
  ms_ChosenIndex = static_cast<int>(selected);
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, selected, 0);
  if (length == LB_ERR) {
    ms_ChosenIndex = -1;
    return false;
  }
  ms_ChosenTitle.assign(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendMessageW(list, LB_GETTEXT, selected, reinterpret_cast<LPARAM>(&ms_ChosenTitle[0]));
  if (copied == LB_ERR) {
    ms_ChosenIndex = -1;
    return false;
  }
  ms_ChosenTitle.resize(static_cast<size_t>(copied));
  return true;
}
