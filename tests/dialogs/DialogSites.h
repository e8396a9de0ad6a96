// The site set as the site dialogs find and leave it: sites put straight
// into the program's own set, read back in title order, and an editor of the
// test's own that counts what the dialogs ask of the main window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "dialogbase/EditorInterface.h"
#include "storage/PasswordRecStruct.h"

// A site whose other texts are made from its title.
PasswordRecStruct MakeSite(const std::wstring& title, const std::wstring& password);

// Empties the set and adds the sites; the site at `current` (a position in
// title order) becomes the current one.
void PutSites(const std::vector<PasswordRecStruct>& sites, int current);

// Every site in title order; the current site stays as it was.
std::vector<PasswordRecStruct> SitesInOrder();
std::vector<std::wstring> TitlesInOrder();

class RecordingEditor : public EditorInterface {
 public:
  void RefreshSiteList() override;
  // The dialogs never set a master password or save; the commands save.
  void SetMasterPassword(const std::wstring& text) override;
  bool SaveFileValues() override;

  int Refreshes() const { return m_refreshes; }

 private:
  int m_refreshes = 0;
};
