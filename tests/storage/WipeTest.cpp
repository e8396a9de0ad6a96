// Passwords and site texts go back to the heap only wiped: each test runs
// the vault's own steps on known secrets while every freed block is searched
// for them. The tests hold the secrets the way callers must: copies that a
// getter hands out are wiped by the test, and a field is wiped before a
// longer text is assigned into it.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "storage/DatabasePasswordSet.h"
#include "storage/EditorUpdater.h"
#include "storage/Initialization.h"
#include "support/SecureWipe.h"
#include "tests/common/FreedMemoryWatch.h"
#include "tests/common/MessageBoxAnswerer.h"
#include "tests/common/TempFolder.h"
#include "tests/storage/SealedVault.h"
#include "tests/storage/VaultBytes.h"

namespace {

// Up to 7 units a text lives inside its string object, in whatever block
// holds that object; longer ones have a block of their own. No 4 units in a
// row of one of them appear in anything else.
const wchar_t kMaster[] = L"Mq7#ab";
const wchar_t kNewMaster[] = L"Zx9!Zx9!";
const wchar_t kSiteLong[] = L"Lg5$Vw2@Rt8%Hn4^Kp1&";
const wchar_t kSiteShort[] = L"Sh0#rT";
const wchar_t kDropped[] = L"Dr9*Qz3(Xc7)Vb5_Nm2+";
const wchar_t kAdded[] = L"Ad4~Jk6`Uy8|Ie0;Ow3:";
const wchar_t kEdited[] = L"Ed7<Pl2>Ma5?Gh9/Wq1.Er6,Ty3'Ui8[Op4]";

}  // namespace

TEST(Wipe, SiteTextsAreWipedBeforeTheirMemoryIsFreed) {
  TempFolder folder;
  WriteBytes(folder.File(L"KFO.dta"),
             Vault(L"pw", 0, 3,
                   {{L"long", L"u", kSiteLong, L"w", L"n", L"d", L"d", 1},
                    {L"short", L"u", kSiteShort, L"w", L"n", L"d", L"d", 2},
                    {L"SHORT", L"u", kDropped, L"w", L"n", L"d", L"d", 3}}));
  PasswordRecStruct added;
  added.m_SiteTitle = L"added";
  added.m_Password = kAdded;
  std::wstring edited = kEdited;
  ScopedWipe wipeEdited(edited);
  EditorUpdater& updater = EditorUpdater::GetInstance();
  DatabasePasswordSet& set = DatabasePasswordSet::GetInstance();
  MessageBoxAnswerer answerer;  // the duplicate title

  const auto secrets = {kSiteLong, kSiteShort, kDropped, kAdded, kEdited};
  FreedMemoryWatch watch(secrets);
  updater.SetDataBaseFileName(folder.Path() + L"\\");
  ASSERT_TRUE(updater.DeSerialize());
  ASSERT_TRUE(set.AddRecord(nullptr, added));
  {
    PasswordRecStruct site = set.GetCurrentRecord();
    SecureWipe(site.m_Password);
    site.m_Password = edited;
    ASSERT_TRUE(set.EditCurrentRecord(nullptr, site));
  }
  {
    std::wstring shown = set.FieldsByIndex(2);
    ScopedWipe wipe(shown);
    EXPECT_TRUE(shown == edited);
  }
  ASSERT_TRUE(updater.Serialize());
  set.SetCurrentRecord(1);
  set.DeleteCurrentRecord();
  ASSERT_TRUE(updater.Serialize());
  ASSERT_TRUE(updater.DeSerialize());
  updater.DeleteAllData();
  watch.Stop();
  ExpectNoneFreedUnwiped(watch, secrets);
  EXPECT_EQ(answerer.Boxes().size(), 1u);
}

TEST(Wipe, MasterPasswordsAreWipedBeforeTheirMemoryIsFreed) {
  TempFolder folder;
  WriteBytes(folder.File(L"KFO.dta"), Vault(kMaster, 0, 0, {}));
  std::wstring newer = kNewMaster;
  ScopedWipe wipeNewer(newer);
  EditorUpdater& updater = EditorUpdater::GetInstance();
  Initialization& current = Initialization::GetInstance();

  const auto secrets = {kMaster, kNewMaster};
  FreedMemoryWatch watch(secrets);
  updater.SetDataBaseFileName(folder.Path() + L"\\");
  ASSERT_TRUE(updater.DeSerialize());
  {
    std::wstring stored = updater.GetMasterPassword();
    ScopedWipe wipe(stored);
    current.SetMasterPassword(stored);
  }
  updater.SetMasterPassword(newer);
  current.SetMasterPassword(newer);
  ASSERT_TRUE(updater.Serialize());
  // A reset header takes the current master password.
  updater.ReadDefaultDatabase(true);
  ASSERT_TRUE(updater.Serialize());
  ASSERT_TRUE(updater.DeSerialize());
  updater.DeleteAllData();
  watch.Stop();
  ExpectNoneFreedUnwiped(watch, secrets);
}

TEST(Wipe, RecordsMovedFromOrAssignedOverLeaveNoTextBehind) {
  std::wstring shortText = kSiteShort;
  std::wstring longText = kSiteLong;
  std::wstring longer = kEdited;
  ScopedWipe wipeShort(shortText);
  ScopedWipe wipeLong(longText);
  ScopedWipe wipeLonger(longer);

  const auto secrets = {kSiteShort, kSiteLong};
  FreedMemoryWatch watch(secrets);
  {
    // A short text lives inside the record, and moving copies it out.
    PasswordRecStruct* held = new PasswordRecStruct;
    held->m_Password = shortText;
    PasswordRecStruct taken(std::move(*held));
    delete held;
  }
  {
    // A longer text assigned over, by copy or by move, needs a new buffer.
    PasswordRecStruct longerSite;
    longerSite.m_Password = longer;
    PasswordRecStruct copied;
    copied.m_Password = longText;
    copied = longerSite;
    PasswordRecStruct moved;
    moved.m_Password = longText;
    moved = std::move(longerSite);
  }
  watch.Stop();
  ExpectNoneFreedUnwiped(watch, secrets);
}

namespace {

// Bytes as the units of a text, for the watch, which searches for texts.
std::wstring AsUnits(const unsigned char* bytes, size_t size) {
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes), size / sizeof(wchar_t));
}

}  // namespace

// An encrypted vault adds three secrets of its own: the key, the plaintext
// (the scrambled vault, whose site texts are only scrambled) and the master
// password in UTF-8, which the key is derived from.
TEST(Wipe, AnEncryptedVaultsKeyPlaintextAndPasswordBytesAreWipedBeforeTheirMemoryIsFreed) {
  const wchar_t kLongMaster[] = L"Uv3&Encrypted-Master=Kq8";
  TempFolder folder;
  WriteBytes(folder.File(L"KFO.dta"),
             Vault(kLongMaster, 0, 2,
                   {{L"long", L"u", kSiteLong, L"w", L"n", L"d", L"d", 1},
                    {L"short", L"u", kSiteShort, L"w", L"n", L"d", L"d", 2}}));
  EditorUpdater& updater = EditorUpdater::GetInstance();
  updater.SetDataBaseFileName(folder.Path() + L"\\");
  ASSERT_TRUE(updater.DeSerialize());
  VaultKey key;
  DeriveCheap(key, kLongMaster, 0x21);
  WriteBytes(folder.File(L"KFO.dta"), SealedNow(key));
  const std::wstring keyUnits = AsUnits(key.Bytes(), VaultKey::kKeyBytes);
  const Bytes scrambled = VaultBytes().String(kSiteLong).Get();
  const std::wstring scrambledUnits = AsUnits(scrambled.data() + 4, scrambled.size() - 4);
  // ASCII: its UTF-8 is one byte a character.
  std::string utf8(std::begin(kLongMaster), std::end(kLongMaster) - 1);
  const std::wstring utf8Units = AsUnits(reinterpret_cast<const unsigned char*>(utf8.data()), utf8.size());
  updater.ReadDefaultDatabase(true);
  std::wstring typed = kLongMaster;
  ScopedWipe wipeTyped(typed);
  MessageBoxAnswerer answerer;

  const auto secrets = {keyUnits.c_str(), scrambledUnits.c_str(), utf8Units.c_str(), kSiteLong,
                        kLongMaster};
  FreedMemoryWatch watch(secrets);
  EXPECT_FALSE(updater.DeSerialize());
  ASSERT_EQ(updater.OpenEncrypted(typed), EditorUpdater::VO_Opened);
  ASSERT_TRUE(updater.Serialize());
  updater.ForgetDatabase();
  ASSERT_EQ(updater.ReadEncryptedWithoutWriteBack(L"wrong, and long enough"),
            EditorUpdater::VO_WrongPassword);
  ASSERT_EQ(updater.ReadEncryptedWithoutWriteBack(typed), EditorUpdater::VO_Opened);
  updater.DeleteAllData();
  watch.Stop();
  ExpectNoneFreedUnwiped(watch, secrets);
  // The laid-out vault and the decrypted one were among the blocks looked at.
  EXPECT_GT(watch.LargestFreed(), scrambled.size());
  EXPECT_TRUE(answerer.Boxes().empty());
}
