// The Find Site dialog: a field and, below it, the sites whose title, user
// name, website address or notes hold what the field holds (SiteSearch), in
// the main window's order, each line the title and then the user name. The
// list follows every keystroke and highlights its first line; Up and Down
// move the highlight while the focus stays in the field. OK, Enter or a
// double click choose the highlighted site, which the Find command then
// shows as the drop-down list would; Cancel and Esc choose nothing, and the
// dialog itself never changes anything.
//
// The list is drawn here, so that a title or user name too long for its
// column ends in an ellipsis instead of being cut, and the lines come from
// the site set in place: a keystroke copies no site, and a vault of 10,000
// sites fills the list with its redrawing held until the last line is in.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "dialogbase/DialogBase.h"
#include "storage/SiteSearch.h"
#include "ui/ListSteeringEdit.h"

class FindSiteDialog : public DialogBase {
 public:
  // What the list's one line says when no site holds the text.
  static constexpr wchar_t kNoMatch[] = L"No site matches.";

  // Shows the dialog over `parent` and returns when it is closed.
  explicit FindSiteDialog(HWND parent);
  ~FindSiteDialog() override;

  // The chosen site's position in title order; -1 when none was chosen.
  int GetChosenPosition() const { return m_chosenPosition; }

  int GetTemplateID() const override;
  INT_PTR OnInitDialog(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnCommand(int id, HWND control, UINT notifyCode) override;
  INT_PTR OnDrawItem(WPARAM wParam, const DRAWITEMSTRUCT* item) override;
  // The list's font is the one for the new DPI by now: its lines follow.
  void OnDpiChanged(UINT dpi) override;

 private:
  // Lines of the list's own font's height, and the list cut to whole lines.
  void FitListToFont();
  // Fills the list with the sites that hold the field's text.
  void ShowMatches();
  // Takes the highlighted site as the choice; false when there is none.
  bool Choose();
  void DrawLine(const DRAWITEMSTRUCT& item) const;

  std::unique_ptr<ListSteeringEdit> m_field;
  // Line i of the list is m_found[i]; no line is a site while it is empty.
  std::vector<FoundSite> m_found;
  int m_columnGap = 0;
  int m_textPadding = 0;
  int m_chosenPosition = -1;
};
