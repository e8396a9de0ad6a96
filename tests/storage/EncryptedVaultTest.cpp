// The encrypted vault through real files: the known answer, damaged files of
// every kind refused and left as they are, and a vault switched to the
// encrypted form and lived with (a wrong password, a new master password, a
// lock, the reset), each step read back from the disk.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "crypto/VaultEnvelope.h"
#include "crypto/VaultKey.h"
#include "storage/DatabasePasswordSet.h"
#include "storage/EditorUpdater.h"
#include "storage/Initialization.h"
#include "tests/common/CryptoFixtures.h"
#include "tests/common/MessageBoxAnswerer.h"
#include "tests/common/Sha256.h"
#include "tests/common/TempFolder.h"
#include "tests/storage/SealedVault.h"
#include "tests/storage/VaultBytes.h"

namespace {

const wchar_t kDay[] = L"Friday, March 13, 2015";

SiteFields Stored(const std::wstring& title, int32_t key) {
  return {title, L"u-" + title, L"secret-" + title, L"w-" + title, L"n-" + title, kDay, kDay, key};
}

// The vault as a new run of the program finds it.
class EncryptedVaultTest : public ::testing::Test {
 protected:
  void NewRun() {
    m_updater.ReadDefaultDatabase(true);
    m_updater.SetDataBaseFileName(m_folder.Path() + L"\\");
  }
  Bytes Vault() const { return ReadBytes(m_folder.File(L"KFO.dta")); }
  std::vector<std::wstring> Titles() {
    std::vector<std::wstring> titles;
    DatabasePasswordSet& set = DatabasePasswordSet::GetInstance();
    for (size_t i = 0; i < set.Count(); ++i) {
      set.SetCurrentRecord(static_cast<int>(i));
      titles.push_back(set.FieldsByIndex(0));
    }
    return titles;
  }
  std::wstring Master() { return m_updater.GetMasterPassword(); }

  TempFolder m_folder;
  EditorUpdater& m_updater = EditorUpdater::GetInstance();
};

bool Holds(const Bytes& file, const Bytes& part) {
  return std::search(file.begin(), file.end(), part.begin(), part.end()) != file.end();
}

Bytes Utf16(const std::wstring& text) {
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
  return Bytes(bytes, bytes + text.size() * sizeof(wchar_t));
}

Bytes Salt(const Bytes& file) {
  return Bytes(file.begin() + 24, file.begin() + 40);
}

Bytes Nonce(const Bytes& file) {
  return Bytes(file.begin() + 44, file.begin() + 68);
}

// How often the bytes that `masked` hides (each XOR 0x5A, so that the test's
// own copy is not what it finds) stand in this process's readable memory.
int CountMaskedInMemory(const Bytes& masked) {
  int found = 0;
  SYSTEM_INFO system{};
  GetSystemInfo(&system);
  const unsigned char* at = static_cast<const unsigned char*>(system.lpMinimumApplicationAddress);
  MEMORY_BASIC_INFORMATION region{};
  while (at < system.lpMaximumApplicationAddress && VirtualQuery(at, &region, sizeof region)) {
    const DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                           PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    if (region.State == MEM_COMMIT && (region.Protect & readable) && !(region.Protect & PAGE_GUARD)) {
      const unsigned char* bytes = static_cast<const unsigned char*>(region.BaseAddress);
      for (size_t i = 0; i + masked.size() <= region.RegionSize; ++i) {
        size_t same = 0;
        while (same < masked.size() && bytes[i + same] == (masked[same] ^ 0x5A)) ++same;
        if (same == masked.size()) ++found;
      }
    }
    at = static_cast<const unsigned char*>(region.BaseAddress) + region.RegionSize;
  }
  return found;
}

}  // namespace

TEST_F(EncryptedVaultTest, KnownAnswerOfANewVault) {
  Initialization::GetInstance().SetMasterPassword(L"correct horse");
  m_updater.ReadDefaultDatabase(true);
  const WipedBytes plaintext = PlaintextNow();
  EXPECT_EQ(plaintext.size(), 100u);
  EXPECT_EQ(Sha256Hex(Bytes(plaintext.begin(), plaintext.end())),
            "93a3a82a8ddb9d4aaf4cf4f4bedf3bdd30dff10e6e1f904c264840882cfaedb8");

  KeyDerivation derivation;
  std::memcpy(derivation.salt.data(), "KeyfolioSalt0001", 16);
  VaultKey key;
  ASSERT_EQ(key.Derive(L"correct horse", derivation), VaultKey::VK_Made);
  CountingBytes nonces(0x10);
  const Bytes file = SealedNow(key, nonces);
  EXPECT_EQ(file.size(), 184u);
  EXPECT_EQ(Sha256Hex(file), "0516bbda4bddded8a8a3a59cee250aaf58608b994d038b8564f9d11f4baffe86");

  // And the program opens it.
  WriteBytes(m_folder.File(L"KFO.dta"), file);
  Initialization::GetInstance().ClearMasterPassword();
  NewRun();
  EXPECT_FALSE(m_updater.DeSerialize());
  EXPECT_TRUE(m_updater.IsSealed());
  ASSERT_EQ(m_updater.OpenEncrypted(L"correct horse"), EditorUpdater::VO_Opened);
  EXPECT_EQ(Master(), L"correct horse");
  EXPECT_TRUE(Titles().empty());
}

TEST_F(EncryptedVaultTest, DamagedFilesAreRefusedLeftAsTheyAreAndSayWhy) {
  const wchar_t kPassword[] = L"the password of the table";
  WriteBytes(m_folder.File(L"KFO.dta"), ::Vault(kPassword, 0, 3, {Stored(L"a", 1), Stored(L"b", 2)}));
  NewRun();
  ASSERT_TRUE(m_updater.DeSerialize());
  VaultKey key;
  DeriveCheap(key, kPassword, 0x33);
  const Bytes intact = SealedNow(key);

  const auto word = [](size_t at, uint32_t value) {
    return [=](Bytes& file) {
      for (int i = 0; i < 4; ++i) file[at + i] = static_cast<unsigned char>(value >> (8 * i));
    };
  };
  const auto flip = [](size_t at) { return [=](Bytes& file) { file[at] ^= 0x40; }; };
  const auto cut = [](size_t size) { return [=](Bytes& file) { file.resize(size); }; };
  const size_t size = intact.size();
  // KR_None: sealed, and the password is "not correct".
  struct Case {
    const char* what;
    std::function<void(Bytes&)> change;
    VaultFiles::KeepReason reason;
  } cases[] = {
      {"the signature", flip(7), VaultFiles::KR_Damaged},
      {"version 2", word(8, 2), VaultFiles::KR_NewerVersion},
      {"derivation 1", word(12, 1), VaultFiles::KR_NewerVersion},
      {"passes 2", word(16, 2), VaultFiles::KR_None},
      {"passes 0", word(16, 0), VaultFiles::KR_Damaged},
      {"passes 17", word(16, 17), VaultFiles::KR_Damaged},
      {"memory 9 MiB", word(20, 9216), VaultFiles::KR_None},
      {"memory under 8 MiB", word(20, 8191), VaultFiles::KR_Damaged},
      {"memory over 1 GiB", word(20, 1048577), VaultFiles::KR_Damaged},
      {"a salt byte", flip(30), VaultFiles::KR_None},
      {"cipher 2", word(40, 2), VaultFiles::KR_NewerVersion},
      {"a nonce byte", flip(50), VaultFiles::KR_None},
      {"a ciphertext byte", flip(100), VaultFiles::KR_None},
      {"a tag byte", flip(size - 3), VaultFiles::KR_None},
      {"cut by one byte", cut(size - 1), VaultFiles::KR_None},
      {"one byte too many", [](Bytes& file) { file.push_back(0); }, VaultFiles::KR_None},
      {"cut to a header and a tag less one", cut(83), VaultFiles::KR_Damaged},
      {"cut inside the header", cut(40), VaultFiles::KR_Damaged},
  };
  MessageBoxAnswerer answerer;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes damaged = intact;
    c.change(damaged);
    TempFolder folder;
    WriteBytes(folder.File(L"KFO.dta"), damaged);
    m_updater.ReadDefaultDatabase(true);
    m_updater.SetDataBaseFileName(folder.Path() + L"\\");
    EXPECT_FALSE(m_updater.DeSerialize());
    EXPECT_EQ(m_updater.GetLoadProblem(), c.reason);
    EXPECT_EQ(m_updater.IsSealed(), c.reason == VaultFiles::KR_None);
    if (c.reason == VaultFiles::KR_None) {
      EXPECT_FALSE(m_updater.Serialize());
      EXPECT_EQ(m_updater.OpenEncrypted(kPassword), EditorUpdater::VO_WrongPassword);
      EXPECT_TRUE(m_updater.IsSealed());
      EXPECT_EQ(m_updater.GetLoadProblem(), VaultFiles::KR_None);
      EXPECT_TRUE(Titles().empty());
    } else {
      EXPECT_EQ(m_updater.GetLoadKeptName(), folder.File(std::wstring(L"KFO-kept-") +
                                                         (c.reason == VaultFiles::KR_Damaged
                                                              ? L"damaged"
                                                              : L"newer-version") +
                                                         L"-1.dta"));
    }
    EXPECT_EQ(ReadBytes(folder.File(L"KFO.dta")), damaged);
    EXPECT_EQ(FolderContents(folder.Path()), std::vector<std::wstring>{L"KFO.dta"});
  }
  EXPECT_TRUE(answerer.Boxes().empty());

  // The intact file, for the record, opens.
  WriteBytes(m_folder.File(L"KFO.dta"), intact);
  NewRun();
  EXPECT_FALSE(m_updater.DeSerialize());
  ASSERT_EQ(m_updater.OpenEncrypted(kPassword), EditorUpdater::VO_Opened);
  EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"a", L"b"}));
}

TEST_F(EncryptedVaultTest, AnUnreadableEncryptedFileIsKeptAsideByTheNextSave) {
  VaultKey key;
  Initialization::GetInstance().SetMasterPassword(L"pw");
  m_updater.ReadDefaultDatabase(true);
  DeriveCheap(key, L"pw", 0x44);
  Bytes newer = SealedNow(key);
  newer[8] = 2;
  WriteBytes(m_folder.File(L"KFO.dta"), newer);
  NewRun();
  EXPECT_FALSE(m_updater.DeSerialize());
  EXPECT_EQ(m_updater.GetLoadProblem(), VaultFiles::KR_NewerVersion);
  m_updater.ReadDefaultDatabase(true);
  m_updater.SetMasterPassword(L"new");
  MessageBoxAnswerer answerer;
  ASSERT_TRUE(m_updater.Serialize());
  EXPECT_EQ(ReadBytes(m_folder.File(L"KFO-kept-newer-version-1.dta")), newer);
  EXPECT_TRUE(answerer.Boxes().empty());
}

TEST_F(EncryptedVaultTest, AScrambledVaultSwitchedToEncryptedAndLivedWith) {
  const std::vector<SiteFields> sites = {Stored(L"bank", 1), Stored(L"mail", 2), Stored(L"shop", 3)};
  WriteBytes(m_folder.File(L"KFO.dta"), ::Vault(L"pw", 1, 3, sites));
  NewRun();
  ASSERT_TRUE(m_updater.DeSerialize());
  EXPECT_FALSE(m_updater.IsEncrypted());
  MessageBoxAnswerer answerer;

  // Switched on: a new salt and key, at the file's standard cost.
  const std::wstring first = L"a master password of some length";
  ASSERT_EQ(m_updater.EncryptVault(first), EditorUpdater::KO_Done);
  EXPECT_TRUE(m_updater.IsEncrypted());
  Bytes file = Vault();
  ASSERT_GE(file.size(), 84u);
  EXPECT_TRUE(VaultEnvelope::HasSignature(file.data(), file.size()));
  EXPECT_EQ(file[16], 3);
  EXPECT_EQ(file[20] | file[21] << 8 | file[22] << 16, 65536);
  for (const SiteFields& site : sites) {
    const Bytes scrambled = VaultBytes().String(site.password).Get();
    EXPECT_FALSE(Holds(file, Bytes(scrambled.begin() + 4, scrambled.end())));
    EXPECT_FALSE(Holds(file, Utf16(site.password)));
  }
  EXPECT_FALSE(Holds(file, Utf16(first)));

  // A new run finds it sealed: nothing read, nothing written.
  NewRun();
  EXPECT_FALSE(m_updater.DeSerialize());
  EXPECT_TRUE(m_updater.IsSealed());
  EXPECT_EQ(m_updater.GetLoadProblem(), VaultFiles::KR_None);
  EXPECT_FALSE(m_updater.Serialize());
  EXPECT_EQ(m_updater.OpenEncrypted(L"pw"), EditorUpdater::VO_WrongPassword);
  EXPECT_EQ(Vault(), file);
  ASSERT_EQ(m_updater.OpenEncrypted(first), EditorUpdater::VO_Opened);
  EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"bank", L"mail", L"shop"}));
  EXPECT_EQ(Master(), first);
  EXPECT_EQ(m_updater.GetPasswordDisplayFlag(), 1);
  // Written back with the same salt and a new nonce.
  Bytes rewritten = Vault();
  EXPECT_EQ(Salt(rewritten), Salt(file));
  EXPECT_NE(Nonce(rewritten), Nonce(file));
  // A copy is checked with the key held, without a derivation.
  EXPECT_TRUE(m_updater.OpensWithKey(rewritten.data(), rewritten.size()));
  Bytes copy = rewritten;
  copy[100] ^= 1;
  EXPECT_FALSE(m_updater.OpensWithKey(copy.data(), copy.size()));

  // A new master password: a new salt with its key, made before the save.
  const std::wstring second = L"another master password";
  ASSERT_EQ(m_updater.SetEncryptedMasterPassword(second), EditorUpdater::KO_Done);
  ASSERT_TRUE(m_updater.Serialize());
  file = Vault();
  EXPECT_NE(Salt(file), Salt(rewritten));
  NewRun();
  EXPECT_FALSE(m_updater.DeSerialize());
  EXPECT_EQ(m_updater.OpenEncrypted(first), EditorUpdater::VO_WrongPassword);
  ASSERT_EQ(m_updater.OpenEncrypted(second), EditorUpdater::VO_Opened);
  EXPECT_EQ(Titles().size(), 3u);

  // Locked and unlocked: sealed again, read again without a write.
  file = Vault();
  m_updater.ForgetDatabase();
  EXPECT_TRUE(m_updater.IsSealed());
  EXPECT_TRUE(Titles().empty());
  EXPECT_FALSE(m_updater.Serialize());
  EXPECT_EQ(m_updater.ReadEncryptedWithoutWriteBack(first), EditorUpdater::VO_WrongPassword);
  ASSERT_EQ(m_updater.ReadEncryptedWithoutWriteBack(second), EditorUpdater::VO_Opened);
  EXPECT_EQ(Titles().size(), 3u);
  EXPECT_EQ(Vault(), file);

  // The master password set as a scrambled vault's is: the key goes with
  // the old one, and the save makes a new key and salt for the new one.
  const std::wstring third = L"a third one";
  m_updater.SetMasterPassword(third);
  ASSERT_TRUE(m_updater.Serialize());
  EXPECT_NE(Salt(Vault()), Salt(file));
  NewRun();
  EXPECT_FALSE(m_updater.DeSerialize());
  EXPECT_EQ(m_updater.OpenEncrypted(second), EditorUpdater::VO_WrongPassword);
  ASSERT_EQ(m_updater.OpenEncrypted(third), EditorUpdater::VO_Opened);

  // The reset: every file gone, and the next vault encrypted again.
  ASSERT_EQ(m_updater.DeleteAllData().error, static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_TRUE(FolderContents(m_folder.Path()).empty());
  EXPECT_TRUE(m_updater.IsEncrypted());
  EXPECT_FALSE(m_updater.IsSealed());
  Initialization::GetInstance().SetMasterPassword(L"fresh start");
  m_updater.ReadDefaultDatabase(true);
  ASSERT_TRUE(m_updater.Serialize());
  file = Vault();
  EXPECT_TRUE(VaultEnvelope::HasSignature(file.data(), file.size()));
  NewRun();
  EXPECT_FALSE(m_updater.DeSerialize());
  ASSERT_EQ(m_updater.OpenEncrypted(L"fresh start"), EditorUpdater::VO_Opened);
  EXPECT_TRUE(Titles().empty());
  EXPECT_TRUE(answerer.Boxes().empty());
}

TEST_F(EncryptedVaultTest, AfterThePasswordTheNewestCompleteFileThatOpensWins) {
  const wchar_t kPassword[] = L"complete files";
  VaultKey key;
  DeriveCheap(key, kPassword, 0x66);
  Initialization::GetInstance().SetMasterPassword(kPassword);
  m_updater.ReadDefaultDatabase(true);
  const Bytes older = SealedNow(key);
  PasswordRecStruct site;
  site.m_SiteTitle = L"newer";
  site.m_Password = L"p";
  ASSERT_TRUE(DatabasePasswordSet::GetInstance().AddRecord(nullptr, site));
  const Bytes newer = SealedNow(key);
  MessageBoxAnswerer answerer;

  WriteBytes(m_folder.File(L"KFO.dta"), older);
  WriteBytes(m_folder.File(L"KFO.new"), newer);
  NewRun();
  EXPECT_FALSE(m_updater.DeSerialize());
  EXPECT_EQ(FolderContents(m_folder.Path()), (std::vector<std::wstring>{L"KFO.dta", L"KFO.new"}));
  EXPECT_EQ(m_updater.OpenEncrypted(L"wrong"), EditorUpdater::VO_WrongPassword);
  EXPECT_EQ(FolderContents(m_folder.Path()), (std::vector<std::wstring>{L"KFO.dta", L"KFO.new"}));
  ASSERT_EQ(m_updater.OpenEncrypted(kPassword), EditorUpdater::VO_Opened);
  EXPECT_EQ(Titles(), std::vector<std::wstring>{L"newer"});
  EXPECT_EQ(FolderContents(m_folder.Path()), std::vector<std::wstring>{L"KFO.dta"});

  // One that does not open beside one that does goes aside, whole.
  Bytes damaged = newer;
  damaged[damaged.size() - 1] ^= 1;
  WriteBytes(m_folder.File(L"KFO.dta"), older);
  WriteBytes(m_folder.File(L"KFO.new"), damaged);
  NewRun();
  EXPECT_FALSE(m_updater.DeSerialize());
  ASSERT_EQ(m_updater.OpenEncrypted(kPassword), EditorUpdater::VO_Opened);
  EXPECT_TRUE(Titles().empty());
  EXPECT_EQ(m_updater.GetLoadProblem(), VaultFiles::KR_Damaged);
  EXPECT_EQ(ReadBytes(m_folder.File(L"KFO-kept-damaged-1.dta")), damaged);

  // A save that encrypted a scrambled vault, cut before it took the vault's
  // place: the scrambled vault beside it opens only with its own password.
  const Bytes scrambled = ::Vault(L"old", 0, 0, {});
  WriteBytes(m_folder.File(L"KFO.dta"), scrambled);
  WriteBytes(m_folder.File(L"KFO.new"), newer);
  NewRun();
  EXPECT_FALSE(m_updater.DeSerialize());
  EXPECT_TRUE(m_updater.IsSealed());
  EXPECT_EQ(m_updater.OpenEncrypted(L"neither"), EditorUpdater::VO_WrongPassword);
  EXPECT_EQ(ReadBytes(m_folder.File(L"KFO.dta")), scrambled);
  ASSERT_EQ(m_updater.OpenEncrypted(L"old"), EditorUpdater::VO_Opened);
  EXPECT_FALSE(m_updater.IsEncrypted());
  EXPECT_EQ(ReadBytes(m_folder.File(L"KFO-kept-damaged-2.dta")), newer);
  EXPECT_TRUE(answerer.Boxes().empty());
}

TEST_F(EncryptedVaultTest, ALockAndTheResetLeaveNoKeyInMemory) {
  const std::wstring password = L"the key must go with the lock";
  Bytes masked;
  {
    VaultKey key;
    DeriveCheap(key, password, 0x71);
    for (size_t i = 0; i < VaultKey::kKeyBytes; ++i) masked.push_back(key.Bytes()[i] ^ 0x5A);
    Initialization::GetInstance().SetMasterPassword(password);
    m_updater.ReadDefaultDatabase(true);
    WriteBytes(m_folder.File(L"KFO.dta"), SealedNow(key));
  }
  ASSERT_EQ(CountMaskedInMemory(masked), 0);
  NewRun();
  EXPECT_FALSE(m_updater.DeSerialize());
  ASSERT_EQ(m_updater.OpenEncrypted(password), EditorUpdater::VO_Opened);
  EXPECT_GE(CountMaskedInMemory(masked), 1) << "the search does not see the key held";
  m_updater.ForgetDatabase();
  EXPECT_EQ(CountMaskedInMemory(masked), 0) << "after the lock";
  ASSERT_EQ(m_updater.ReadEncryptedWithoutWriteBack(password), EditorUpdater::VO_Opened);
  ASSERT_EQ(m_updater.DeleteAllData().error, static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(CountMaskedInMemory(masked), 0) << "after the reset";
}
