#include "storage/DatabasePasswordHeader.h"

#include "storage/DeSerializer.h"
#include "storage/Initialization.h"
#include "storage/Serializer.h"
#include "support/SecureWipe.h"

const wchar_t DatabasePasswordHeader::ms_DefaultTitle[] = L"Password Data";

struct DatabasePasswordHeader::HeaderRecord {
  HeaderRecord() = default;
  HeaderRecord(const HeaderRecord&) = delete;
  HeaderRecord& operator=(const HeaderRecord&) = delete;
  ~HeaderRecord() { SecureWipe(m_MasterPassword); }

  int32_t m_ValueVersion = ms_CurrentVersion;
  std::wstring m_HeaderTitle;
  std::wstring m_SpareText;
  std::wstring m_MasterPassword;
  int32_t m_PasswordDisplayFlag = 0;
};

DatabasePasswordHeader& DatabasePasswordHeader::GetInstance() {
  static DatabasePasswordHeader instance;
  return instance;
}

DatabasePasswordHeader::DatabasePasswordHeader() : m_Record(new HeaderRecord) {
  m_Record->m_HeaderTitle = ms_DefaultTitle;
}

DatabasePasswordHeader::~DatabasePasswordHeader() = default;

DatabasePasswordHeader::HeaderRecord& DatabasePasswordHeader::Record() {
  if (!m_Record) m_Record.reset(new HeaderRecord);
  return *m_Record;
}

void DatabasePasswordHeader::WriteFileValues(Serializer& ser) {
  HeaderRecord& record = Record();
  ser.PutLong(record.m_ValueVersion);
  ser.PutString(record.m_HeaderTitle);
  ser.PutString(record.m_SpareText);
  ser.PutString(record.m_MasterPassword);
  ser.PutLong(record.m_PasswordDisplayFlag);
}

void DatabasePasswordHeader::ReadFileValues(DeSerializer& des) {
  ClearHeader();
  HeaderRecord& record = Record();
  record.m_ValueVersion = des.GetLong();
  record.m_HeaderTitle = des.GetString();
  record.m_SpareText = des.GetString();
  record.m_MasterPassword = des.GetString();
  if (record.m_ValueVersion == ms_CurrentVersion) {
    record.m_PasswordDisplayFlag = des.GetLong();
  } else {
    record.m_ValueVersion = ms_CurrentVersion;
    record.m_PasswordDisplayFlag = 0;
  }
}

void DatabasePasswordHeader::ResetHeader() {
  ClearHeader();
  HeaderRecord& record = Record();
  record.m_HeaderTitle = ms_DefaultTitle;
  record.m_MasterPassword = Initialization::GetInstance().GetMasterPassword();
}

void DatabasePasswordHeader::ClearHeader() {
  m_Record.reset();
}

int32_t DatabasePasswordHeader::GetValueVersion() {
  return Record().m_ValueVersion;
}

void DatabasePasswordHeader::SetValueVersion(int32_t version) {
  Record().m_ValueVersion = version;
}

std::wstring DatabasePasswordHeader::GetHeaderTitle() {
  return Record().m_HeaderTitle;
}

void DatabasePasswordHeader::SetHeaderTitle(const std::wstring& title) {
  Record().m_HeaderTitle = title;
}

std::wstring DatabasePasswordHeader::GetSpareText() {
  return Record().m_SpareText;
}

void DatabasePasswordHeader::SetSpareText(const std::wstring& text) {
  Record().m_SpareText = text;
}

std::wstring DatabasePasswordHeader::GetMasterPassword() {
  return Record().m_MasterPassword;
}

void DatabasePasswordHeader::SetMasterPassword(const std::wstring& password) {
  HeaderRecord& record = Record();
  SecureWipe(record.m_MasterPassword);
  record.m_MasterPassword = password;
}

int32_t DatabasePasswordHeader::GetPasswordDisplayFlag() {
  return Record().m_PasswordDisplayFlag;
}

void DatabasePasswordHeader::SetPasswordDisplayFlag(int32_t flag) {
  Record().m_PasswordDisplayFlag = flag;
}
