// The About box: the program's icon, name, version and maker on white, and a
// link to the help page that ships beside the program (it works offline).
#pragma once

#include <windows.h>

#include "dialogbase/DialogBase.h"

class AboutDialog : public DialogBase {
 public:
  // Shows the box over `parent` and returns when it is closed.
  explicit AboutDialog(HWND parent);
  ~AboutDialog() override;

  int GetTemplateID() const override;
  INT_PTR OnInitDialog(WPARAM wParam, LPARAM lParam) override;
  HBRUSH OnCTLColorStatic(HDC dc, HWND control) override;
  HBRUSH OnCTLColorDlg(HDC dc, HWND dialog) override;

 private:
  // Loaded for this box, not shared: destroyed with the object.
  HICON m_hIcon = nullptr;
};
