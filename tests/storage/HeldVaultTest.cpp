// Another program holds the vault file for a while, as a virus scanner or a
// backup tool does: here a second process that opens it with no sharing at
// all and says so on its output. A hold shorter than the wait is waited
// out; a longer one fails the load or the save within the wait, says why,
// and changes nothing on disk.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "storage/DatabasePasswordSet.h"
#include "storage/EditorUpdater.h"
#include "storage/HeldFile.h"
#include "storage/Initialization.h"
#include "tests/common/MessageBoxAnswerer.h"
#include "tests/common/TempFolder.h"
#include "tests/common/ChildProcess.h"
#include "tests/storage/VaultBytes.h"

namespace {

using Names = std::vector<std::wstring>;

const wchar_t kOpenFailed[] = L"Unable to open the selected file for saving. Check the disk.";
constexpr DWORD kShortHoldMs = kHeldFileWaitMs / 4;
// Far longer than any wait; the holder is killed when the test is done.
constexpr DWORD kLongHoldMs = 600000;
constexpr DWORD kChildTimeoutMs = 20000;

ChildProcess HoldFile(const std::wstring& path, DWORD milliseconds) {
  return ChildProcess(L"file_holder_child.exe",
                      L"\"" + path + L"\" " + std::to_wstring(milliseconds));
}

class HeldVaultTest : public ::testing::Test {
 protected:
  HeldVaultTest() : m_updater(EditorUpdater::GetInstance()) {
    WriteBytes(VaultPath(), Vault(L"pw", 0, 1, {{L"site", L"u", L"p", L"w", L"n", L"d", L"d", 1}}));
  }

  std::wstring VaultPath() const { return m_folder.File(L"KFO.dta"); }

  // A new run of the program: nothing in memory, then the load.
  bool Restart() {
    Initialization::GetInstance().ClearMasterPassword();
    m_updater.ReadDefaultDatabase(true);
    m_updater.SetDataBaseFileName(m_folder.Path() + L"\\");
    return m_updater.DeSerialize();
  }

  void AddSite(const std::wstring& title) {
    PasswordRecStruct site;
    site.m_SiteTitle = title;
    ASSERT_TRUE(DatabasePasswordSet::GetInstance().AddRecord(nullptr, site));
  }

  TempFolder m_folder;
  EditorUpdater& m_updater;
};

}  // namespace

TEST_F(HeldVaultTest, LoadWaitsOutAShortHold) {
  ChildProcess holder = HoldFile(VaultPath(), kShortHoldMs);
  ASSERT_TRUE(holder.WaitForOutput(1, kChildTimeoutMs)) << "the holder never held the vault";
  ASSERT_TRUE(Restart());
  EXPECT_EQ(m_updater.GetLoadProblem(), VaultFiles::KR_None);
  EXPECT_EQ(DatabasePasswordSet::GetInstance().FieldsByIndex(0), L"site");
  EXPECT_EQ(m_updater.GetMasterPassword(), L"pw");
  EXPECT_EQ(FolderContents(m_folder.Path()), Names{L"KFO.dta"});
}

TEST_F(HeldVaultTest, LoadGivesUpOnALongHoldWithinTheWaitAndTouchesNothing) {
  const Bytes original = ReadBytes(VaultPath());
  ChildProcess holder = HoldFile(VaultPath(), kLongHoldMs);
  ASSERT_TRUE(holder.WaitForOutput(1, kChildTimeoutMs)) << "the holder never held the vault";
  const ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(Restart());
  const ULONGLONG took = GetTickCount64() - start;
  EXPECT_GE(took, kHeldFileWaitMs);
  EXPECT_LT(took, 2 * kHeldFileWaitMs);
  EXPECT_EQ(m_updater.GetLoadProblem(), VaultFiles::KR_Unopened);
  EXPECT_EQ(m_updater.GetLoadKeptName(), m_folder.File(L"KFO-kept-unopened-1.dta"));
  holder.Kill();
  EXPECT_EQ(ReadBytes(VaultPath()), original);
  EXPECT_EQ(FolderContents(m_folder.Path()), Names{L"KFO.dta"});
}

TEST_F(HeldVaultTest, SaveWaitsOutAShortHoldOnTheVault) {
  ASSERT_TRUE(Restart());
  AddSite(L"added");
  ChildProcess holder = HoldFile(VaultPath(), kShortHoldMs);
  ASSERT_TRUE(holder.WaitForOutput(1, kChildTimeoutMs)) << "the holder never held the vault";
  {
    MessageBoxAnswerer answerer;
    EXPECT_TRUE(m_updater.Serialize());
    EXPECT_TRUE(answerer.Boxes().empty());
  }
  ASSERT_TRUE(holder.WaitForExit(kChildTimeoutMs));
  ASSERT_TRUE(Restart());
  EXPECT_EQ(DatabasePasswordSet::GetInstance().Count(), 2u);
  EXPECT_EQ(FolderContents(m_folder.Path()), Names{L"KFO.dta"});
}

TEST_F(HeldVaultTest, SaveRefusedForLongerCouldNotOpenTheVaultAndChangesNothing) {
  ASSERT_TRUE(Restart());
  const Bytes saved = ReadBytes(VaultPath());
  AddSite(L"added");
  ChildProcess holder = HoldFile(VaultPath(), kLongHoldMs);
  ASSERT_TRUE(holder.WaitForOutput(1, kChildTimeoutMs)) << "the holder never held the vault";
  {
    MessageBoxAnswerer answerer;
    EXPECT_FALSE(m_updater.Serialize());
    ASSERT_EQ(answerer.Texts(), std::vector<std::wstring>{kOpenFailed});
    EXPECT_EQ(answerer.Boxes()[0].caption, L"Keyfolio");
  }
  holder.Kill();
  EXPECT_EQ(ReadBytes(VaultPath()), saved);
  EXPECT_EQ(FolderContents(m_folder.Path()), Names{L"KFO.dta"});
}

TEST_F(HeldVaultTest, CompleteFileWaitsBesideTheVaultUntilItCanReplaceIt) {
  // A save was cut after its new vault was complete; now the old vault is
  // held while the program starts.
  const Bytes old = ReadBytes(VaultPath());
  const Bytes newer = Vault(L"pw", 1, 2, {{L"newer", L"u", L"p", L"w", L"n", L"d", L"d", 2}});
  WriteBytes(m_folder.File(L"KFO.new"), newer);
  ChildProcess holder = HoldFile(VaultPath(), kLongHoldMs);
  ASSERT_TRUE(holder.WaitForOutput(1, kChildTimeoutMs)) << "the holder never held the vault";
  {
    MessageBoxAnswerer answerer;
    ASSERT_TRUE(Restart());
    EXPECT_EQ(answerer.Texts(), std::vector<std::wstring>{kOpenFailed})
        << "the rewrite after the load cannot replace the vault";
  }
  EXPECT_EQ(DatabasePasswordSet::GetInstance().FieldsByIndex(0), L"newer");
  holder.Kill();
  EXPECT_EQ(ReadBytes(VaultPath()), old);
  EXPECT_EQ(ReadBytes(m_folder.File(L"KFO.new")), newer);

  ASSERT_TRUE(m_updater.Serialize());
  EXPECT_EQ(FolderContents(m_folder.Path()), Names{L"KFO.dta"});
  EXPECT_EQ(ReadBytes(VaultPath()), newer);
}
