#include "storage/PasswordRecStruct.h"

#include "support/SecureWipe.h"

PasswordRecStruct::~PasswordRecStruct() {
  SecureWipe(m_SiteTitle);
  SecureWipe(m_UserName);
  SecureWipe(m_Password);
  SecureWipe(m_WebsiteAddress);
  SecureWipe(m_Notes);
}
