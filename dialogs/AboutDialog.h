// The About box: the program's icon, name, version and maker on white, and a
// link to the help page that ships beside the program (it works offline).
// Where the page is, the program knows: the box is given the page, and what
// to do with a click while it is missing (its link then has no address), so
// that the person is told where the page was looked for.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "dialogbase/DialogBase.h"
#include "ui/ProgramIcon.h"

class AboutDialog : public DialogBase {
 public:
  // Shows the box over `parent` and returns when it is closed. `helpPage` is
  // the page's full path, empty while it is missing; a click on the link
  // then calls `openHelpPage` with the box, which looks for the page again.
  AboutDialog(HWND parent, const std::wstring& helpPage,
              std::function<void(HWND owner)> openHelpPage);
  ~AboutDialog() override;

  int GetTemplateID() const override;
  INT_PTR OnInitDialog(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnCommand(int id, HWND control, UINT notifyCode) override;
  HBRUSH OnCTLColorStatic(HDC dc, HWND control) override;
  HBRUSH OnCTLColorDlg(HDC dc, HWND dialog) override;
  // The icon at the size for the new DPI.
  void OnDpiChanged(UINT dpi) override;

 private:
  // The program's icon, 32 x 32 at 96 DPI, at the size for `dpi`.
  void ShowIcon(UINT dpi);

  std::wstring m_HelpPage;
  std::function<void(HWND owner)> m_OpenHelpPage;
  // Loaded for this box, not shared: destroyed with the object.
  ProgramIcon m_hIcon;
};
