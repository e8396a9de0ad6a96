// Where each imported site goes among the sites already there. Titles are
// unique (the site set's rule, ignoring ASCII case), and browser exports hold
// two accounts on one site under one name, so a clash takes the user name in
// parentheses ("google.com (ann@example.com)"), then a number ("google.com
// (2)") until the title is free. A site that equals one already there in
// user name, password and address, under its own title or under any title
// this rule gives it, is not added again: importing the same file twice adds
// nothing.
//
// Ten thousand rows must not each look through the whole set: the sites are
// indexed once by their user name, password and address, titles are looked
// up in the set's own order, and each clashing title remembers the numbers
// it has used.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "storage/DatabasePasswordSet.h"

class ImportPlan {
 public:
  enum Fate {
    IP_Add,
    // Added under a title made free.
    IP_AddRenamed,
    IP_AlreadyThere,
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
  // A site there or planned: its user name, password and address, and the
  // title it has or will have.
  struct Entry {
    const PasswordRecStruct* content;
    const std::wstring* title;
  };

  bool Taken(const std::wstring& title) const;
  bool AlreadyThere(const PasswordRecStruct& site) const;
  std::wstring FreeTitle(const PasswordRecStruct& site);
  void Remember(const PasswordRecStruct& content, const std::wstring* title);

  const DatabasePasswordSet& m_Set;
  std::unordered_multimap<size_t, Entry> m_ByContent;
  // The titles planned so far, each in a string of its own that stays put.
  std::set<const std::wstring*, TitleLess> m_Planned;
  std::vector<std::unique_ptr<std::wstring>> m_PlannedTitles;
  // For each title that clashed, the first number not yet tried.
  std::map<const std::wstring*, int, TitleLess> m_NextNumber;
};
