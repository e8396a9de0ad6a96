// Which sites hold a text that a person looks for: the title, the user name,
// the website address or the notes, ignoring case as TextSearch does. The
// password is never looked at, so a search can never tell which site's
// password holds what was typed.
#pragma once

#include <string>
#include <vector>

#include "storage/PasswordRecStruct.h"
#include "support/TextSearch.h"

class DatabasePasswordSet;

// A site that matched, where it stands in title order (the main window's
// list position) and the site itself, read in place: nothing is copied.
struct FoundSite {
  int position;
  const PasswordRecStruct* site;
};

class SiteSearch {
 public:
  explicit SiteSearch(const std::wstring& text);

  // True for every site when the text is empty.
  bool Matches(const PasswordRecStruct& site) const;
  // The matching sites in title order. The pointers stay good until the set
  // changes.
  std::vector<FoundSite> FindIn(const DatabasePasswordSet& sites) const;

 private:
  TextSearch m_text;
};
