// Where each imported site goes among the sites already there. Titles are
// unique (the site set's rule, ignoring ASCII case), and browser exports hold
// two accounts on one site under one name, so a clash takes the user name in
// parentheses ("google.com (ann@example.com)"), then a number ("google.com
// (2)") until the title is free.
//
// A site that is the same login as one there is not added again, so that
// importing a file twice adds nothing, and neither does importing one
// browser's export after another's. The same login is the same user name
// and password at the same host (SiteHost), whatever the titles and the rest
// of the addresses: browsers keep a login under the page where it was typed,
// with or without "www." or a trailing slash. A site without an address is
// the same as one with its user name and password under its own title or
// any title the clash rule gives it, and one with neither user name nor
// password (a note) the same as one with its notes and address under such a
// title. A row that repeats an earlier row of the same file is told apart
// from one that the vault already holds.
//
// Nothing is compared pairwise: each site there and each site planned is
// remembered under a key of what makes it that login, and each row is one
// lookup, however many rows look alike; titles are looked up in the set's
// own order, and each clashing title remembers the numbers it has used. The
// keys hold passwords: they are wiped when the plan goes.
#pragma once

#include <cstddef>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>

#include "storage/DatabasePasswordSet.h"

class ImportPlan {
 public:
  enum Fate {
    IP_Add,
    // Added under a title made free.
    IP_AddRenamed,
    // The same login as a site of the vault.
    IP_AlreadyThere,
    // The same login as a row before it in the file.
    IP_RepeatedInFile,
  };

  // Plans against the sites of `set` as they are now; the set must not
  // change while the plan is used.
  explicit ImportPlan(const DatabasePasswordSet& set);
  ImportPlan(const ImportPlan&) = delete;
  ImportPlan& operator=(const ImportPlan&) = delete;
  ~ImportPlan();

  // Decides about `site`, whose title is not empty, and counts it as one of
  // the sites there for the rows that follow, unless it is there already.
  // `site` must live as long as the plan. `title` receives the title it is
  // to be added under.
  Fate Place(const PasswordRecStruct& site, std::wstring& title);

 private:
  struct TitleLess {
    using is_transparent = void;
    bool operator()(const std::wstring* a, const std::wstring* b) const {
      return SiteTitleLess::Less(*a, *b);
    }
    bool operator()(const std::wstring* a, const std::wstring& b) const {
      return SiteTitleLess::Less(*a, b);
    }
    bool operator()(const std::wstring& a, const std::wstring* b) const {
      return SiteTitleLess::Less(a, *b);
    }
  };
  enum class Origin { Vault, File };

  void Remember(const PasswordRecStruct& site, const std::wstring& title, Origin origin);
  bool Taken(const std::wstring& title) const;
  std::wstring FreeTitle(const PasswordRecStruct& site);

  const DatabasePasswordSet& m_Set;
  // Every key, each in a string of its own that stays put, and the logins
  // looked up by them.
  std::deque<std::wstring> m_Keys;
  std::unordered_map<std::wstring_view, Origin> m_Logins;
  // The titles planned so far, likewise.
  std::deque<std::wstring> m_PlannedTitles;
  std::set<const std::wstring*, TitleLess> m_Planned;
  // For each title that clashed, the first number not yet tried.
  std::map<const std::wstring*, int, TitleLess> m_NextNumber;
};
