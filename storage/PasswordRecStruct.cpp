#include "storage/PasswordRecStruct.h"

#include <utility>

#include "support/SecureWipe.h"

PasswordRecStruct& PasswordRecStruct::operator=(const PasswordRecStruct& other) {
  if (this == &other) return *this;
  WipeTexts();
  m_SiteTitle = other.m_SiteTitle;
  m_UserName = other.m_UserName;
  m_Password = other.m_Password;
  m_WebsiteAddress = other.m_WebsiteAddress;
  m_Notes = other.m_Notes;
  m_DateCreated = other.m_DateCreated;
  m_DateModified = other.m_DateModified;
  m_PrimaryKeyRecord = other.m_PrimaryKeyRecord;
  return *this;
}

PasswordRecStruct& PasswordRecStruct::operator=(PasswordRecStruct&& other) {
  if (this == &other) return *this;
  WipeTexts();
  m_SiteTitle = std::move(other.m_SiteTitle);
  m_UserName = std::move(other.m_UserName);
  m_Password = std::move(other.m_Password);
  m_WebsiteAddress = std::move(other.m_WebsiteAddress);
  m_Notes = std::move(other.m_Notes);
  m_DateCreated = std::move(other.m_DateCreated);
  m_DateModified = std::move(other.m_DateModified);
  m_PrimaryKeyRecord = other.m_PrimaryKeyRecord;
  return *this;
}

PasswordRecStruct::~PasswordRecStruct() {
  WipeTexts();
}

// The dates are no secret.
void PasswordRecStruct::WipeTexts() {
  SecureWipe(m_SiteTitle);
  SecureWipe(m_UserName);
  SecureWipe(m_Password);
  SecureWipe(m_WebsiteAddress);
  SecureWipe(m_Notes);
}
