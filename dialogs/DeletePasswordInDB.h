// The Delete Site dialog: a list of every title in title order with the
// current site selected. "&Delete" or a double click asks once more; on Yes
// the dialog ends and the Delete command, which made it, deletes the chosen
// site and saves. The choice outlives the dialog object for that reason.
#pragma once

#include <windows.h>

#include <string>

#include "dialogbase/DialogBase.h"

class DeletePasswordInDB : public DialogBase {
 public:
  // Forgets any earlier choice and shows the dialog over `parent`.
  explicit DeletePasswordInDB(HWND parent);

  // The chosen site's position in title order, -1 when none was chosen.
  static int GetChosenIndex() { return ms_ChosenIndex; }
  static const std::wstring& GetChosenTitle() { return ms_ChosenTitle; }

  int GetTemplateID() const override;
  INT_PTR OnInitDialog(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnCommand(int id, HWND control, UINT notifyCode) override;

 private:
  // Takes the list's selection as the choice; false when there is none.
  bool Choose();
  static void Reset();

  static int ms_ChosenIndex;
  static std::wstring ms_ChosenTitle;
};
