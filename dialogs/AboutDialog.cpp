#include "dialogs/AboutDialog.h"

#include <string>

#include "dialogs/DialogTemplates.h"
#include "storage/FlashDriveFolders.h"
#include "support/ResourceIds.h"
#include "ui/HotLinkText.h"

namespace {

const wchar_t kHelpPage[] = L"help\\Keyfolio-Flash-Instructions.htm";
constexpr int kIconSize = 32;

}  // namespace

AboutDialog::AboutDialog(HWND parent) {
  DoModal(parent);
}

AboutDialog::~AboutDialog() {
  if (m_hIcon) DestroyIcon(m_hIcon);
}

int AboutDialog::GetTemplateID() const {
  return DLG_About;
}

INT_PTR AboutDialog::OnInitDialog(WPARAM wParam, LPARAM lParam) {
  // A link without an address ignores clicks: a missing page is simply not
  // opened.
  const std::wstring page = FlashDriveFolders::ProgramFolder() + kHelpPage;
  if (GetFileAttributesW(page.c_str()) != INVALID_FILE_ATTRIBUTES)
    SetHotLinkAddress(Item(IDC_HOTLINK), page.c_str());
  m_hIcon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_KEYFOLIO),
                                          IMAGE_ICON, kIconSize, kIconSize, LR_CREATEDIBSECTION));
  SendMessageW(Item(IDC_ABOUT_ICON), STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(m_hIcon));
  SetItemFont(1, IDC_LABEL_FIRST, IDC_LABEL_LAST);
  SetItemFont(1, IDC_HOTLINK, IDC_HOTLINK);
  SetItemFont(1, IDOK, IDOK);
  ::SetFocus(Item(IDOK));
  DialogBase::OnInitDialog(wParam, lParam);
  return FALSE;
}

HBRUSH AboutDialog::OnCTLColorStatic(HDC, HWND) {
  return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
}

HBRUSH AboutDialog::OnCTLColorDlg(HDC, HWND) {
  return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
}
