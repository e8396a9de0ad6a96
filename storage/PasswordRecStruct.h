// One site of the vault: the title, the four texts that belong to it, two
// date stamps and the number the site set gave it. A plain value that the
// site set and the site dialogs copy freely; its texts are wiped when a copy
// goes, because the password and often the notes are secrets.
#pragma once

#include <cstdint>
#include <string>

class PasswordRecStruct {
 public:
  PasswordRecStruct() = default;
  PasswordRecStruct(const PasswordRecStruct&) = default;
  PasswordRecStruct& operator=(const PasswordRecStruct&) = default;
  // Moving hands the texts' memory over instead of leaving copies behind.
  PasswordRecStruct(PasswordRecStruct&&) = default;
  PasswordRecStruct& operator=(PasswordRecStruct&&) = default;
  virtual ~PasswordRecStruct();

  std::wstring m_SiteTitle;
  std::wstring m_UserName;
  std::wstring m_Password;
  std::wstring m_WebsiteAddress;
  std::wstring m_Notes;
  std::wstring m_DateCreated;
  std::wstring m_DateModified;
  int32_t m_PrimaryKeyRecord = 0;
};
