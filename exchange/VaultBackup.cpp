#include "exchange/VaultBackup.h"

#include <limits>

#include "exchange/SafeFileWriter.h"
#include "exchange/WholeFile.h"
#include "support/DebugLog.h"
#include "support/StringFunctions.h"

namespace {

constexpr unsigned long long kAnySize = std::numeric_limits<unsigned long long>::max();

}  // namespace

VaultBackup::Result VaultBackup::Copy(const std::wstring& vault, const std::wstring& target) {
  WholeFile original;
  DWORD error = original.Read(vault, kAnySize);
  if (error != ERROR_SUCCESS) return {VB_ReadVault, error, L""};
  const std::vector<char>& bytes = original.Bytes();
  SafeFileWriter::Result written = SafeFileWriter::Write(target, bytes.data(), bytes.size());
  if (written.error != ERROR_SUCCESS) return {VB_Write, written.error, written.leftOver};
  WholeFile copy;
  error = copy.Read(target, kAnySize);
  if (error == ERROR_SUCCESS && copy.Bytes() == bytes) return {};
  DebugLog(L"VaultBackup::Copy: %s did not read back the same (%lu)", target.c_str(), error);
  const bool removed = DeleteFileW(target.c_str()) != FALSE;
  return {VB_Verify, error == ERROR_SUCCESS ? static_cast<DWORD>(ERROR_CRC) : error,
          removed ? L"" : target};
}

std::wstring VaultBackup::DefaultName(int year, int month, int day) {
  return FormatString(L"KFO backup %04d-%02d-%02d.dta", year, month, day);
}
