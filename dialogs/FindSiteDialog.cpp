#include "dialogs/FindSiteDialog.h"

#include <string>

#include "dialogbase/DialogScaling.h"
#include "dialogbase/DialogTemplates.h"
#include "storage/DatabasePasswordSet.h"
#include "ui/DpiScale.h"
#include "ui/ScopedGdi.h"

namespace {

// Space between the list's border and a text, at 96 DPI.
constexpr int kTextPadding = 2;
// The title's share of a line that shows a user name too, in twentieths.
constexpr int kTitleShare = 11;

void DrawLineText(HDC dc, const std::wstring& text, RECT area) {
  // DT_NOPREFIX: an "&" in a title is a character, not a mnemonic.
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

}  // namespace

FindSiteDialog::FindSiteDialog(HWND parent) {
  DoModal(parent);
}

FindSiteDialog::~FindSiteDialog() = default;

int FindSiteDialog::GetTemplateID() const {
  return DLG_FindSite;
}

INT_PTR FindSiteDialog::OnInitDialog(WPARAM wParam, LPARAM lParam) {
  SetItemFont(1, IDC_LABEL_FIRST, IDC_LABEL_FIRST);
  SetItemFont(0, IDC_FIND_TEXT, IDC_FIND_LIST);
  m_field = std::make_unique<ListSteeringEdit>(Item(IDC_FIND_TEXT), Item(IDC_FIND_LIST));
  DialogBase::OnInitDialog(wParam, lParam);
  FitListToFont();
  ShowMatches();
  ::SetFocus(Item(IDC_FIND_TEXT));
  return FALSE;
}

// An owner-drawn list asks its item height before the dialog is bound to
// this object, and keeps it when its font changes: it is set here, from the
// font the list has now, as a plain list would take it.
void FindSiteDialog::FitListToFont() {
  const HWND list = Item(IDC_FIND_LIST);
  const WindowDC dc(list);
  const SelectedObject font(dc.Get(),
                            reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics{};
  if (!GetTextMetricsW(dc.Get(), &metrics) || metrics.tmHeight <= 0) return;
  m_columnGap = metrics.tmAveCharWidth;
  m_textPadding = DpiScale(DialogScaling::DpiOf(m_hWnd)).Pixels(kTextPadding);
  SendMessageW(list, LB_SETITEMHEIGHT, 0, metrics.tmHeight);
  RECT frame{}, client{};
  GetWindowRect(list, &frame);
  GetClientRect(list, &client);
  const int spare = client.bottom % metrics.tmHeight;
  SetWindowPos(list, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top - spare,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FindSiteDialog::OnDpiChanged(UINT) {
  FitListToFont();
  InvalidateRect(Item(IDC_FIND_LIST), nullptr, TRUE);
}

void FindSiteDialog::ShowMatches() {
  const HWND list = Item(IDC_FIND_LIST);
  m_found = SiteSearch(ItemText(IDC_FIND_TEXT)).FindIn(DatabasePasswordSet::GetInstance());
  // Drawn once, when every line is in, rather than once per line.
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  if (m_found.empty()) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kNoMatch));
  } else {
    // Room for every line at once instead of growing every few lines.
    size_t units = 0;
    for (const FoundSite& found : m_found)
      units += found.site->m_SiteTitle.size() + found.site->m_UserName.size() + 2;
    SendMessageW(list, LB_INITSTORAGE, m_found.size(), units * sizeof(wchar_t));
    // Title, tab, user name: what the list gives those who read its
    // strings (screen readers, the list's own typing search).
    std::wstring line;
    for (const FoundSite& found : m_found) {
      line.assign(found.site->m_SiteTitle);
      if (!found.site->m_UserName.empty()) line.append(1, L'\t').append(found.site->m_UserName);
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    SendMessageW(list, LB_SETCURSEL, 0, 0);
  }
  // Its one line saying so is no choice: neither a click nor a key selects it.
  EnableWindow(list, !m_found.empty());
  EnableWindow(Item(IDOK), !m_found.empty());
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  RedrawWindow(list, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE);
}

LRESULT FindSiteDialog::OnCommand(int id, HWND, UINT notifyCode) {
  switch (id) {
    case IDC_FIND_TEXT:
      if (notifyCode == EN_CHANGE) ShowMatches();
      break;
    case IDC_FIND_LIST:
      if (notifyCode == LBN_DBLCLK && Choose()) End(IDOK);
      break;
    case IDOK:
      if (Choose()) End(IDOK);
      break;
    case IDCANCEL:
      End(IDCANCEL);
      break;
    default:
      break;
  }
  return 0;
}

bool FindSiteDialog::Choose() {
  const LRESULT selected = SendMessageW(Item(IDC_FIND_LIST), LB_GETCURSEL, 0, 0);
  if (selected < 0 || static_cast<size_t>(selected) >= m_found.size()) return false;
  m_chosenPosition = m_found[static_cast<size_t>(selected)].position;
  return true;
}

// Only the list is drawn here, and only when the message names it: anything
// else goes to the base, which draws the program's button image.
INT_PTR FindSiteDialog::OnDrawItem(WPARAM wParam, const DRAWITEMSTRUCT* item) {
  if (!item || item->hwndItem != Item(IDC_FIND_LIST)) return DialogBase::OnDrawItem(wParam, item);
  const SavedDC saved(item->hDC);
  // Only the focus changed: the dotted frame is drawn by inverting, so
  // drawing it again takes it away.
  if (item->itemAction != ODA_FOCUS && item->itemID != static_cast<UINT>(-1)) DrawLine(*item);
  if (item->itemAction == ODA_FOCUS || (item->itemState & ODS_FOCUS))
    DrawFocusRect(item->hDC, &item->rcItem);
  return TRUE;
}

void FindSiteDialog::DrawLine(const DRAWITEMSTRUCT& item) const {
  const HDC dc = item.hDC;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetBkMode(dc, TRANSPARENT);
  RECT text = item.rcItem;
  InflateRect(&text, -m_textPadding, 0);
  if (m_found.empty()) {
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawLineText(dc, kNoMatch, text);
    return;
  }
  if (item.itemID >= m_found.size()) return;
  const PasswordRecStruct& site = *m_found[item.itemID].site;
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  if (site.m_UserName.empty()) {
    DrawLineText(dc, site.m_SiteTitle, text);
    return;
  }
  RECT title = text, user = text;
  user.left = text.left + (text.right - text.left) * kTitleShare / 20;
  title.right = user.left - m_columnGap;
  DrawLineText(dc, site.m_SiteTitle, title);
  if (!selected) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  DrawLineText(dc, site.m_UserName, user);
}
