#include "security/SystemRandomBytes.h"

#include <bcrypt.h>
#include <ntsecapi.h>

#include "support/DebugLog.h"

bool SystemRandomBytes::Fill(BYTE* buffer, ULONG size) {
  if (FromBCrypt(buffer, size)) return true;
  if (FromRtlGenRandom(buffer, size)) return true;
  SecureZeroMemory(buffer, size);
  return false;
}

bool SystemRandomBytes::FromBCrypt(BYTE* buffer, ULONG size) {
  const NTSTATUS status = BCryptGenRandom(nullptr, buffer, size, BCRYPT_USE_SYSTEM_PREFERRED_RNG);
  if (BCRYPT_SUCCESS(status)) return true;
  DebugLog(L"SystemRandomBytes::FromBCrypt: BCryptGenRandom failed 0x%08lx",
           static_cast<unsigned long>(status));
  return false;
}

bool SystemRandomBytes::FromRtlGenRandom(BYTE* buffer, ULONG size) {
  if (RtlGenRandom(buffer, size)) return true;
  DebugLog(L"SystemRandomBytes::FromRtlGenRandom: RtlGenRandom failed %lu",
           static_cast<unsigned long>(GetLastError()));
  return false;
}
