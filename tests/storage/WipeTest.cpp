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
