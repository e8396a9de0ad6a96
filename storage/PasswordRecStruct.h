// One site of the vault: the title, the four texts that belong to it, two
// date stamps and the number the site set gave it. A plain value that the
// site set and the site dialogs copy and move freely. Because the password
// and often the notes are secrets, the five texts are wiped (SecureWipe.h)
// when a record goes and before a record is assigned over, so that the
// standard library frees none of them unwiped; assigning a longer text into
// one field of a record is the caller's business (wipe the field first).
#pragma once

#include <cstdint>
#include <string>

class PasswordRecStruct {
 public:
  PasswordRecStruct() = default;
  PasswordRecStruct(const PasswordRecStruct&) = default;
  PasswordRecStruct(PasswordRecStruct&&) = default;
  PasswordRecStruct& operator=(const PasswordRecStruct& other);
  // Moving hands the texts' memory over instead of leaving copies behind.
  PasswordRecStruct& operator=(PasswordRecStruct&& other);
  virtual ~PasswordRecStruct();

  std::wstring m_SiteTitle;
  std::wstring m_UserName;
  std::wstring m_Password;
  std::wstring m_WebsiteAddress;
  std::wstring m_Notes;
  std::wstring m_DateCreated;
  std::wstring m_DateModified;
  int32_t m_PrimaryKeyRecord = 0;

 private:
  void WipeTexts();
};
