// The five texts of a site, as a person types and sees them, for tests that
// compare sites whatever their dates and keys: what an import made, or what
// two vaults hold.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "storage/DatabasePasswordSet.h"
#include "storage/PasswordRecStruct.h"
#include "tests/storage/VaultBytes.h"

struct SiteTexts {
  std::wstring title, user, password, address, notes;

  bool operator==(const SiteTexts& other) const {
    return title == other.title && user == other.user && password == other.password &&
           address == other.address && notes == other.notes;
  }
};

inline void PrintTo(const SiteTexts& site, std::ostream* out) {
  for (const std::wstring* text :
       {&site.title, &site.user, &site.password, &site.address, &site.notes})
    *out << testing::PrintToString(*text) << (text == &site.notes ? "" : " ");
}

inline SiteTexts TextsOf(const SiteFields& site) {
  return {site.title, site.user, site.password, site.address, site.notes};
}

inline SiteTexts TextsOf(const PasswordRecStruct& site) {
  return {site.m_SiteTitle, site.m_UserName, site.m_Password, site.m_WebsiteAddress,
          site.m_Notes};
}

// The program's site set, in title order.
inline std::vector<SiteTexts> SetTexts() {
  std::vector<SiteTexts> texts;
  for (const PasswordRecStruct& site : DatabasePasswordSet::GetInstance().Records())
    texts.push_back(TextsOf(site));
  return texts;
}

// A site of the set with these texts; its dates and key are left empty, as
// what reads them here never looks at them.
inline PasswordRecStruct SiteRecord(const std::wstring& title, const std::wstring& user,
                                    const std::wstring& password, const std::wstring& address,
                                    const std::wstring& notes) {
  PasswordRecStruct site;
  site.m_SiteTitle = title;
  site.m_UserName = user;
  site.m_Password = password;
  site.m_WebsiteAddress = address;
  site.m_Notes = notes;
  return site;
}
