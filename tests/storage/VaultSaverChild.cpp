// The process that the crash test kills: saves vault versions first, first+1,
// ... into the data folder it is given, for ever, and after each save that
// succeeded writes the version (4 bytes) to its standard output; 0xFFFFFFFF
// after a save that failed. With a third argument, "sealed", the vault there
// is encrypted: the child opens it with the versions' password first, as the
// program does at start-up, and every save is sealed with that key.
#include <windows.h>

#include <cstdint>
#include <cwchar>

#include "storage/EditorUpdater.h"
#include "tests/common/MessageBoxAnswerer.h"
#include "tests/storage/VersionedVault.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 3 && argc != 4) return 2;
  const bool sealed = argc == 4 && std::wcscmp(argv[3], L"sealed") == 0;
  EditorUpdater& updater = EditorUpdater::GetInstance();
  updater.SetDataBaseFileName(std::wstring(argv[1]) + L"\\");
  MessageBoxAnswerer answerer;  // a failed save must not wait for a user
  if (sealed && (updater.DeSerialize() || !updater.IsSealed() ||
                 updater.ReadEncryptedWithoutWriteBack(kSealedVersionsPassword) !=
                     EditorUpdater::VO_Opened))
    return 4;
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  for (uint32_t version = static_cast<uint32_t>(wcstoul(argv[2], nullptr, 10));; ++version) {
    BuildVersion(version, sealed);
    const uint32_t report = updater.Serialize() ? version : 0xFFFFFFFF;
    DWORD written = 0;
    if (!WriteFile(out, &report, sizeof report, &written, nullptr)) return 3;
  }
}
