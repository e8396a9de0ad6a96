// What keeping the vault encrypted costs, at 10,000 sites:
// - the key's derivation alone, at the cost every new key gets (Argon2id,
//   3 passes over 64 MiB, one lane): the wait that a password costs;
// - unlocking the encrypted vault (the password given after a lock: the
//   derivation, the file read whole, its tag checked and its plaintext
//   decrypted and read into the site set), against the derivation alone,
//   measured in the same run; the aim is at most 5% more;
// - a save of the encrypted vault (laid out in memory, sealed, written in one
//   call, read back and checked, put in place) against a save of the same
//   sites scrambled; the aim is no slower.
// Each time is the median of repeated runs with the fastest and the slowest
// beside it; the two cases of a comparison take their runs in turn.
//
//   build/wine-run build/benchmarks/encryption_benchmark.exe
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>

#include "benchmarks/BenchmarkVault.h"
#include "benchmarks/Figures.h"
#include "benchmarks/Samples.h"
#include "crypto/VaultKey.h"
#include "storage/DatabasePasswordSet.h"
#include "storage/EditorUpdater.h"

namespace {

constexpr int kSites = 10000;
constexpr int kRounds = 9;
constexpr int kSaveRounds = 15;
constexpr double kUnlockAim = 1.05;
const wchar_t kPassword[] = L"a master password for the benchmark";

unsigned long long FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
    throw std::runtime_error("no vault file");
  return static_cast<unsigned long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

void Check(bool done, const char* what) {
  if (!done) throw std::runtime_error(what);
}

void Derive() {
  KeyDerivation derivation;
  std::memcpy(derivation.salt.data(), "BenchmarkSalt001", derivation.salt.size());
  VaultKey key;
  Check(key.Derive(kPassword, derivation) == VaultKey::VK_Made, "a derivation failed");
}

void Unlock(EditorUpdater& vault) {
  Check(vault.ReadEncryptedWithoutWriteBack(kPassword) == EditorUpdater::VO_Opened &&
            DatabasePasswordSet::GetInstance().Count() == static_cast<size_t>(kSites),
        "the encrypted vault did not open whole");
}

// The folder's vault loaded, and made the vault file manager's.
void Load(EditorUpdater& vault, const VaultFolder& folder) {
  vault.ReadDefaultDatabase(true);
  vault.SetDataBaseFileName(folder.folder.Path() + L"\\");
}

}  // namespace

int main() {
  try {
    EditorUpdater& vault = EditorUpdater::GetInstance();
    const VaultFolder scrambled(BenchmarkVault(kSites));
    Check(vault.DeSerialize(), "the scrambled vault did not load");
    const unsigned long long scrambledBytes = FileSize(scrambled.name);
    const VaultFolder encrypted(BenchmarkVault(kSites));
    Check(vault.DeSerialize(), "the vault to encrypt did not load");
    Check(vault.EncryptVault(kPassword) == EditorUpdater::KO_Done, "the vault was not encrypted");
    const unsigned long long encryptedBytes = FileSize(encrypted.name);

    Samples derivation, unlock;
    Derive();
    for (int round = 0; round < kRounds; ++round) {
      derivation.Time(Derive);
      // The lock before each unlock is not the unlock's.
      vault.ForgetDatabase();
      unlock.Time([&] { Unlock(vault); });
    }

    Samples scrambledSave, encryptedSave;
    for (int round = 0; round < kSaveRounds; ++round) {
      Load(vault, scrambled);
      Check(vault.DeSerialize(), "the scrambled vault did not load");
      scrambledSave.Time([&] { Check(vault.Serialize(), "a scrambled save failed"); });
      Load(vault, encrypted);
      Check(!vault.DeSerialize() && vault.IsSealed(), "the encrypted vault was not found sealed");
      Check(vault.ReadEncryptedWithoutWriteBack(kPassword) == EditorUpdater::VO_Opened,
            "the encrypted vault did not open");
      encryptedSave.Time([&] { Check(vault.Serialize(), "an encrypted save failed"); });
    }

    const double unlockRatio = unlock.Median() / derivation.Median();
    const double saveRatio = encryptedSave.Median() / scrambledSave.Median();
    std::printf("Encrypted vault of %s sites, ms (%d rounds, %d for the saves):\n\n", Grouped(kSites).c_str(),
                kRounds, kSaveRounds);
    std::printf("| step | vault bytes | ms | ratio | aim |\n|---|--:|--:|--:|---|\n");
    std::printf("| derivation alone (Argon2id, 3 passes, 64 MiB) | - | %s | 1.00 | |\n",
                Cell(derivation).c_str());
    std::printf("| unlock: derivation, read, tag, decrypt, load | %s | %s | %s | <= %.2f: %s |\n",
                Grouped(encryptedBytes).c_str(), Cell(unlock).c_str(), Ratio(unlockRatio).c_str(),
                kUnlockAim, Met(unlockRatio <= kUnlockAim));
    std::printf("| save, scrambled | %s | %s | 1.00 | |\n", Grouped(scrambledBytes).c_str(),
                Cell(scrambledSave).c_str());
    std::printf("| save, encrypted | %s | %s | %s | <= 1.00: %s |\n", Grouped(encryptedBytes).c_str(),
                Cell(encryptedSave).c_str(), Ratio(saveRatio).c_str(), Met(saveRatio <= 1.0));
  } catch (const std::exception& e) {
    std::printf("\nThe benchmark stopped: %s\n", e.what());
    return 1;
  }
  return 0;
}
