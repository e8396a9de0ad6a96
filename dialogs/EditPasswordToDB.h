// The Edit Site dialog: the Add Site dialog's fields, filled with the current
// site, whose dates and number the record carries along. The site may keep
// its own title; another site's title is refused. A site that has no
// password (an imported note, a login whose other program kept none) may
// keep having none, or it could not be edited at all; one that has a
// password needs one still.
#pragma once

#include <windows.h>

#include "dialogs/NewPasswordToDB.h"

class EditPasswordToDB : public NewPasswordToDB {
 public:
  // Shows the dialog for the site set's current site over `parent`.
  explicit EditPasswordToDB(HWND parent);

  int GetTemplateID() const override;
  INT_PTR OnInitDialog(WPARAM wParam, LPARAM lParam) override;

 protected:
  bool ApplyRecord() override;
  bool PasswordRequired() const override { return m_HadPassword; }

 private:
  bool m_HadPassword = true;
};
