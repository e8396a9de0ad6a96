#include "dialogs/AboutDialog.h"

#include <utility>

#include "dialogbase/DialogScaling.h"
#include "dialogbase/DialogTemplates.h"
#include "ui/DpiScale.h"
#include "ui/HotLinkText.h"

namespace {

// At 96 DPI.
constexpr int kIconSize = 32;

}  // namespace

AboutDialog::AboutDialog(HWND parent, const std::wstring& helpPage,
                         std::function<void(HWND owner)> openHelpPage)
    : m_HelpPage(helpPage), m_OpenHelpPage(std::move(openHelpPage)) {
  DoModal(parent);
}

AboutDialog::~AboutDialog() = default;

int AboutDialog::GetTemplateID() const {
  return DLG_About;
}

INT_PTR AboutDialog::OnInitDialog(WPARAM wParam, LPARAM lParam) {
  if (!m_HelpPage.empty()) SetHotLinkAddress(Item(IDC_HOTLINK), m_HelpPage.c_str());
  ShowIcon(DialogScaling::DpiOf(m_hWnd));
  SetItemFont(1, IDC_LABEL_FIRST, IDC_LABEL_LAST);
  SetItemFont(1, IDC_HOTLINK, IDC_HOTLINK);
  SetItemFont(1, IDOK, IDOK);
  ::SetFocus(Item(IDOK));
  DialogBase::OnInitDialog(wParam, lParam);
  return FALSE;
}

void AboutDialog::OnDpiChanged(UINT dpi) {
  ShowIcon(dpi);
}

// The icon static takes the icon's size; the one it showed goes once it
// shows the next.
void AboutDialog::ShowIcon(UINT dpi) {
  ProgramIcon icon(LoadProgramIcon(DpiScale(dpi).Pixels(kIconSize)));
  SendMessageW(Item(IDC_ABOUT_ICON), STM_SETIMAGE, IMAGE_ICON,
               reinterpret_cast<LPARAM>(icon.get()));
  m_hIcon = std::move(icon);
}

// The page is looked for again: it may have come since the box opened.
LRESULT AboutDialog::OnCommand(int id, HWND control, UINT notifyCode) {
  if (id == IDC_HOTLINK && notifyCode == HLN_CLICKED) {
    if (m_OpenHelpPage) m_OpenHelpPage(m_hWnd);
    return 0;
  }
  return DialogBase::OnCommand(id, control, notifyCode);
}

HBRUSH AboutDialog::OnCTLColorStatic(HDC, HWND) {
  return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
}

HBRUSH AboutDialog::OnCTLColorDlg(HDC, HWND) {
  return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
}
