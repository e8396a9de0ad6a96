#include "exchange/ImportPlan.h"

#include <vector>

#include "exchange/SiteHost.h"
#include "exchange/TextFile.h"
#include "support/SecureWipe.h"
#include "support/StringFunctions.h"

namespace {

// The `length` units of `text` from `start` are a number that the clash rule
// gives: 2 or more, written without a leading zero.
bool IsClashNumber(const std::wstring& text, size_t start, size_t length) {
  if (length == 0 || text[start] == L'0' || (length == 1 && text[start] == L'1')) return false;
  for (size_t i = start; i < start + length; ++i)
    if (text[i] < L'0' || text[i] > L'9') return false;
  return true;
}

// The `length` units of `text` from `start` are `part`, under the title rule.
bool EqualAt(const std::wstring& text, size_t start, size_t length, const std::wstring& part) {
  if (length != part.size()) return false;
  for (size_t i = 0; i < length; ++i)
    if (UpperUnit(text[start + i]) != UpperUnit(part[i])) return false;
  return true;
}

// The titles that `title` is, or is made of by the clash rule for the user
// name `user`: itself, and without " (user)" or " (2)" at its end.
std::vector<std::wstring> TitleFamily(const std::wstring& title, const std::wstring& user) {
  std::vector<std::wstring> bases{title};
  if (title.empty() || title.back() != L')') return bases;
  const size_t affixes = 3;  // " (" and ")"
  if (!user.empty() && title.size() > user.size() + affixes) {
    const size_t open = title.size() - user.size() - affixes;
    if (title.compare(open, 2, L" (") == 0 && EqualAt(title, open + 2, user.size(), user))
      bases.push_back(title.substr(0, open));
  }
  const size_t open = title.rfind(L" (");
  if (open != std::wstring::npos && open != 0 &&
      IsClashNumber(title, open + 2, title.size() - open - affixes))
    bases.push_back(title.substr(0, open));
  return bases;
}

// A site with a user name or a password and an address is known by the host
// alone; any other by its title too.
bool KnownByHost(const PasswordRecStruct& site) {
  return !site.m_WebsiteAddress.empty() && (!site.m_UserName.empty() || !site.m_Password.empty());
}

// What makes a site the login it is, as one text: the user name and the
// password at the host of its address; without an address, with the title
// `base`; with neither user name nor password, the notes and the address
// under the title. Titles fold as the set folds them; a broken character
// compares as the U+FFFD that an import makes of it, so that a vault from
// before that rule meets its own export. Made at its final size: it holds
// the password.
std::wstring LoginKey(const PasswordRecStruct& site, const std::wstring& base) {
  const bool byHost = KnownByHost(site);
  const bool note = site.m_UserName.empty() && site.m_Password.empty();
  const std::wstring host = byHost ? SiteHost::Compared(SiteHost::Of(site.m_WebsiteAddress)) : L"";
  const std::wstring& first = note ? site.m_Notes : site.m_UserName;
  const std::wstring& second = note ? site.m_WebsiteAddress : site.m_Password;
  const std::wstring& last = byHost ? host : base;
  std::wstring key;
  key.reserve(1 + first.size() + 1 + second.size() + 1 + last.size());
  key += byHost ? L'H' : note ? L'N' : L'T';
  key += first;
  key += L'\0';
  key += second;
  key += L'\0';
  for (const wchar_t unit : last) key += byHost ? unit : UpperUnit(unit);
  TextFile::ReplaceLoneSurrogates(key);
  return key;
}

std::wstring InParentheses(const std::wstring& base, const std::wstring& inner) {
  std::wstring title;
  title.reserve(base.size() + inner.size() + 3);
  title += base;
  title += L" (";
  title += inner;
  title += L')';
  return title;
}

}  // namespace

ImportPlan::ImportPlan(const DatabasePasswordSet& set) : m_Set(set) {
  for (const PasswordRecStruct& site : set.Records())
    Remember(site, site.m_SiteTitle, Origin::Vault);
}

ImportPlan::~ImportPlan() {
  m_Logins.clear();
  for (std::wstring& key : m_Keys) SecureWipe(key);
  for (std::wstring& title : m_PlannedTitles) SecureWipe(title);
}

// Under every key that a later row of the same login would have.
void ImportPlan::Remember(const PasswordRecStruct& site, const std::wstring& title, Origin origin) {
  const std::vector<std::wstring> bases =
      KnownByHost(site) ? std::vector<std::wstring>{L""} : TitleFamily(title, site.m_UserName);
  for (const std::wstring& base : bases) {
    std::wstring key = LoginKey(site, base);
    if (m_Logins.count(key) != 0) {
      SecureWipe(key);
      continue;
    }
    m_Keys.push_back(std::move(key));
    m_Logins.emplace(m_Keys.back(), origin);
  }
}

bool ImportPlan::Taken(const std::wstring& title) const {
  return m_Set.FindTitle(title) != nullptr || m_Planned.find(title) != m_Planned.end();
}

std::wstring ImportPlan::FreeTitle(const PasswordRecStruct& site) {
  const std::wstring& base = site.m_SiteTitle;
  if (!site.m_UserName.empty()) {
    std::wstring title = InParentheses(base, site.m_UserName);
    if (!Taken(title)) return title;
    SecureWipe(title);
  }
  // Every number below the remembered one is taken: the set only grows.
  const auto next = m_NextNumber.find(&base);
  int number = next == m_NextNumber.end() ? 2 : next->second;
  std::wstring title;
  for (;; ++number) {
    title = InParentheses(base, std::to_wstring(number));
    if (!Taken(title)) break;
    SecureWipe(title);
  }
  if (next == m_NextNumber.end())
    m_NextNumber.emplace(&base, number + 1);
  else
    next->second = number + 1;
  return title;
}

ImportPlan::Fate ImportPlan::Place(const PasswordRecStruct& site, std::wstring& title) {
  std::wstring key = LoginKey(site, site.m_SiteTitle);
  const auto there = m_Logins.find(key);
  SecureWipe(key);
  if (there != m_Logins.end())
    return there->second == Origin::File ? IP_RepeatedInFile : IP_AlreadyThere;
  const bool free = !Taken(site.m_SiteTitle);
  title = free ? site.m_SiteTitle : FreeTitle(site);
  m_PlannedTitles.push_back(title);
  m_Planned.insert(&m_PlannedTitles.back());
  Remember(site, title, Origin::File);
  return free ? IP_Add : IP_AddRenamed;
}
