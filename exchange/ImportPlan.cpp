#include "exchange/ImportPlan.h"

#include <functional>

#include "support/SecureWipe.h"
#include "support/StringFunctions.h"

namespace {

size_t ContentHash(const PasswordRecStruct& site) {
  const std::hash<std::wstring> hash;
  size_t value = hash(site.m_UserName);
  value = value * 31 + hash(site.m_Password);
  return value * 31 + hash(site.m_WebsiteAddress);
}

bool SameContent(const PasswordRecStruct& a, const PasswordRecStruct& b) {
  return a.m_UserName == b.m_UserName && a.m_Password == b.m_Password &&
         a.m_WebsiteAddress == b.m_WebsiteAddress;
}

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

// `title` is `base`, or one of the titles the clash rule makes of it for
// the user name `user`.
bool InFamily(const std::wstring& title, const std::wstring& base, const std::wstring& user) {
  if (SiteTitleLess::Equal(title, base)) return true;
  const size_t affixes = 3;  // " (" and ")"
  if (title.size() <= base.size() + affixes) return false;
  if (!EqualAt(title, 0, base.size(), base)) return false;
  if (title.compare(base.size(), 2, L" (") != 0 || title.back() != L')') return false;
  const size_t innerStart = base.size() + 2;
  const size_t innerLength = title.size() - base.size() - affixes;
  return (!user.empty() && EqualAt(title, innerStart, innerLength, user)) ||
         IsClashNumber(title, innerStart, innerLength);
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
  for (const PasswordRecStruct& site : set.Records()) Remember(site, &site.m_SiteTitle);
}

ImportPlan::~ImportPlan() {
  for (const std::unique_ptr<std::wstring>& title : m_PlannedTitles) SecureWipe(*title);
}

void ImportPlan::Remember(const PasswordRecStruct& content, const std::wstring* title) {
  m_ByContent.emplace(ContentHash(content), Entry{&content, title});
}

bool ImportPlan::Taken(const std::wstring& title) const {
  return m_Set.FindTitle(title) != nullptr || m_Planned.find(title) != m_Planned.end();
}

bool ImportPlan::AlreadyThere(const PasswordRecStruct& site) const {
  const auto same = m_ByContent.equal_range(ContentHash(site));
  for (auto entry = same.first; entry != same.second; ++entry) {
    const Entry& there = entry->second;
    if (SameContent(*there.content, site) &&
        InFamily(*there.title, site.m_SiteTitle, site.m_UserName))
      return true;
  }
  return false;
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
  if (AlreadyThere(site)) return IP_AlreadyThere;
  const bool free = !Taken(site.m_SiteTitle);
  title = free ? site.m_SiteTitle : FreeTitle(site);
  auto planned = std::make_unique<std::wstring>(title);
  Remember(site, planned.get());
  m_Planned.insert(planned.get());
  m_PlannedTitles.push_back(std::move(planned));
  return free ? IP_Add : IP_AddRenamed;
}
