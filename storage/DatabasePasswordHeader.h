// The vault header: header version, title, a spare text carried through as
// read, the stored master password and the show-password flag. The values
// live in one header record that is made on demand, so that emptying the
// header (after a forgotten master password) is simply dropping the record.
// The master password is wiped (SecureWipe.h) before it is replaced and
// whenever the record is dropped: by ClearHeader, a read, a reset and at
// exit. The other values are no secret.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class DeSerializer;
class Serializer;

class DatabasePasswordHeader {
 public:
  static DatabasePasswordHeader& GetInstance();
  DatabasePasswordHeader(const DatabasePasswordHeader&) = delete;
  DatabasePasswordHeader& operator=(const DatabasePasswordHeader&) = delete;
  virtual ~DatabasePasswordHeader();

  // Header version, title, spare text, master password and flag. The flag
  // is always written, so what this program writes is always version 257.
  void WriteFileValues(Serializer& ser);
  // Reads the same fields into a new record. A header older than 257 has no
  // flag: it reads as 0 and the record becomes version 257.
  void ReadFileValues(DeSerializer& des);

  // A new record: "Password Data", version 257, the current master password,
  // flag 0, no spare text.
  void ResetHeader();
  // Drops the record; the next access makes an empty one.
  void ClearHeader();

  int32_t GetValueVersion();
  void SetValueVersion(int32_t version);
  std::wstring GetHeaderTitle();
  void SetHeaderTitle(const std::wstring& title);
  std::wstring GetSpareText();
  void SetSpareText(const std::wstring& text);
  // A copy, the caller's to wipe.
  std::wstring GetMasterPassword();
  void SetMasterPassword(const std::wstring& password);
  int32_t GetPasswordDisplayFlag();
  void SetPasswordDisplayFlag(int32_t flag);

  static constexpr int32_t ms_CurrentVersion = 257;
  static const wchar_t ms_DefaultTitle[];

 private:
  struct HeaderRecord;

  DatabasePasswordHeader();
  HeaderRecord& Record();

  std::unique_ptr<HeaderRecord> m_Record;
};
