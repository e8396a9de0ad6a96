#include "crypto/SystemRandomBytes.h"

#include <bcrypt.h>
#include <ntsecapi.h>

#include "support/DebugLog.h"
#include "support/SystemLibrary.h"

SystemRandomBytes& SystemRandomBytes::GetInstance() {
  static SystemRandomBytes instance;
  return instance;
}

bool SystemRandomBytes::Fill(BYTE* buffer, ULONG size) {
  if (FromBCrypt(buffer, size)) return true;
  if (FromRtlGenRandom(buffer, size)) return true;
  SecureZeroMemory(buffer, size);
  return false;
}

bool SystemRandomBytes::FromBCrypt(BYTE* buffer, ULONG size) {
  static const auto genRandom =
      SystemLibrary::Function<decltype(&BCryptGenRandom)>(L"bcrypt.dll", "BCryptGenRandom");
  if (!genRandom) return false;
  const NTSTATUS status = genRandom(nullptr, buffer, size, BCRYPT_USE_SYSTEM_PREFERRED_RNG);
  if (BCRYPT_SUCCESS(status)) return true;
  DebugLog(L"SystemRandomBytes::FromBCrypt: BCryptGenRandom failed 0x%08lx",
           static_cast<unsigned long>(status));
  return false;
}

// Windows forwards advapi32's entry to cryptbase.dll; resolved here, after
// the search was narrowed, that DLL too comes from the system folder.
bool SystemRandomBytes::FromRtlGenRandom(BYTE* buffer, ULONG size) {
  static const auto genRandom =
      SystemLibrary::Function<decltype(&RtlGenRandom)>(L"advapi32.dll", "SystemFunction036");
  if (!genRandom) return false;
  if (genRandom(buffer, size)) return true;
  DebugLog(L"SystemRandomBytes::FromRtlGenRandom: RtlGenRandom failed %lu",
           static_cast<unsigned long>(GetLastError()));
  return false;
}
