#include "storage/SiteSearch.h"

#include "storage/DatabasePasswordSet.h"

SiteSearch::SiteSearch(const std::wstring& text) : m_text(text) {}

bool SiteSearch::Matches(const PasswordRecStruct& site) const {
  return m_text.FoundIn(site.m_SiteTitle) || m_text.FoundIn(site.m_UserName) ||
         m_text.FoundIn(site.m_WebsiteAddress) || m_text.FoundIn(site.m_Notes);
}

std::vector<FoundSite> SiteSearch::FindIn(const DatabasePasswordSet& sites) const {
  std::vector<FoundSite> found;
  int position = 0;
  for (const PasswordRecStruct& site : sites.Records()) {
    if (Matches(site)) found.push_back({position, &site});
    ++position;
  }
  return found;
}
