// A drive the program cannot write to: it still opens and shows its sites,
// tells the user at every save that failed, says nothing of success, and
// leaves the vault as it was, to be read whole once the drive takes writes
// again.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

#include "support/ScopedHandle.h"
#include "tests/program/Desktop.h"
#include "tests/program/ProgramTest.h"

namespace {

const wchar_t kCannotOpen[] = L"Unable to open the selected file for saving. Check the disk.";
const wchar_t kCannotWrite[] = L"Unable to write to the selected file for saving. Check the disk.";

// Drive T: is a 64 KiB disk that the test script mounts (as root), and U:
// the folder whose KFOdata is T:\KFOdata; the program tests that use them
// hold T:'s lock.
bool HaveTinyDisk() {
  return FileExists(L"T:\\") && FileExists(L"U:\\");
}

// Takes every block the disk has left.
void FillDisk(const std::wstring& filler) {
  ScopedHandle file(CreateFileW(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsValid()) throw StepFailed("the filler file could not be made");
  const std::vector<unsigned char> block(4096, 0xAA);
  DWORD written = 0;
  while (WriteFile(file.Get(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr) &&
         written == block.size()) {
  }
}

// Where the program runs from, what keeps it from writing, and how that is
// lifted again.
struct Obstacle {
  const char* name;
  const wchar_t* message;
  bool needsTinyDisk;
};

void PrintTo(const Obstacle& obstacle, std::ostream* out) {
  *out << obstacle.name;
}

class FailedSave : public ProgramTest, public ::testing::WithParamInterface<Obstacle> {
 protected:
  void SetUp() override {
    if (GetParam().needsTinyDisk && !HaveTinyDisk())
      GTEST_SKIP() << "drive T: (a 64 KiB disk, mounted as root) or U: is missing";
    if (GetParam().needsTinyDisk) {
      // The disk cannot hold the program: it runs from drive U:, whose
      // KFOdata is T:\KFOdata.
      m_dataFolder = L"T:\\KFOdata";
      m_programPath = L"U:\\Keyfolio.exe";
      // The test removes only what it made.
      ASSERT_FALSE(FileExists(m_dataFolder)) << "drive T: holds a data folder already";
      ASSERT_FALSE(FileExists(kFiller));
      ASSERT_FALSE(FileExists(m_programPath)) << "drive U: holds a program already";
      m_madeOnTinyDisk = true;
      ASSERT_TRUE(CopyFileW(m_drive.ProgramPath().c_str(), m_programPath.c_str(), TRUE));
    } else {
      m_dataFolder = m_drive.DataFolder();
      m_programPath = m_drive.ProgramPath();
    }
    m_vaultPath = m_dataFolder + L"\\KFO.dta";
  }

  void TearDown() override {
    m_runs.clear();
    if (m_madeOnTinyDisk) {
      RemoveTree(kFiller);
      RemoveTree(m_dataFolder);
      RemoveTree(m_programPath);
    }
  }

  // A full disk, or (the same refusal a read-only folder or a
  // write-protected medium gives) a data folder where the file that every
  // save writes first cannot be made: Wine lets root write anywhere, so a
  // folder of that name stands in its way.
  void Block() {
    if (GetParam().needsTinyDisk)
      FillDisk(kFiller);
    else
      CreateDirectoryW((m_dataFolder + L"\\KFO.tmp").c_str(), nullptr);
  }
  void Unblock() {
    RemoveTree(GetParam().needsTinyDisk ? std::wstring(kFiller) : m_dataFolder + L"\\KFO.tmp");
  }

  static constexpr wchar_t kFiller[] = L"T:\\filler.bin";
  std::wstring m_dataFolder, m_vaultPath, m_programPath;
  bool m_madeOnTinyDisk = false;
};

// Every command that saves says that the save failed, and says nothing else.
void ExpectOnlyTheFailure(Keyfolio& program, const wchar_t* message) {
  const MessageBoxView box = program.AnswerMessageBox();
  EXPECT_EQ(box.caption, L"Keyfolio");
  EXPECT_EQ(box.text, message);
  program.WaitUntilIdle();
  EXPECT_TRUE(program.OpenDialogs().empty()) << "a dialog or a box after the failure";
}

TEST_P(FailedSave, OpensShowsTheSitesAndTellsOfEveryFailedSave) {
  const std::vector<SiteFields> sites = {StoredSite(L"Bank", 1), StoredSite(L"Mail", 2)};
  const Bytes vault = Vault(kPassword, 0, 2, sites);
  CreateDirectoryW(m_dataFolder.c_str(), nullptr);
  WriteBytes(m_vaultPath, vault);
  Block();

  Keyfolio& program = StartProgram(m_programPath);
  // The load writes the vault back at once, and cannot.
  const MessageBoxView atStart = program.AnswerMessageBox();
  EXPECT_EQ(atStart.caption, L"Keyfolio");
  EXPECT_EQ(atStart.text, GetParam().message);
  program.LogIn(kPassword);
  EXPECT_EQ(program.Titles(), (std::vector<std::wstring>{L"Bank", L"Mail"}));
  EXPECT_EQ(program.ShownSite().user, sites[0].user);

  program.ChooseMenu(L"View", L"Show Password");
  ExpectOnlyTheFailure(program, GetParam().message);
  EXPECT_EQ(program.PasswordChar(), 0) << "the choice holds for this run";

  program.ChooseShortcut({VK_CONTROL, 'N'});
  HWND add = program.WaitForDialog(L"Add Site");
  program.FillSite(add, {L"Shop", L"me", L"pw", L"", L""});
  program.CloseWith(add, L"OK");
  ExpectOnlyTheFailure(program, GetParam().message);

  // An import that cannot be saved keeps its sites in the list, as a failed
  // Add does, and keeps its file, then their only other copy: no offer to
  // delete it.
  TempFolder files;
  const std::wstring csv = files.File(L"sites.csv");
  const std::string text = "name,url,username,password\r\nForum,https://forum.example/,me,pw\r\n";
  WriteBytes(csv, Bytes(text.begin(), text.end()));
  program.ChooseMenu(L"File", L"Import Sites...");
  program.ChooseFile(L"Import Sites", csv);
  program.Answer(program.WaitForMessageBox(), L"Yes");
  ExpectOnlyTheFailure(program, GetParam().message);
  EXPECT_EQ(program.Titles(), (std::vector<std::wstring>{L"Bank", L"Forum", L"Mail", L"Shop"}));
  EXPECT_TRUE(FileExists(csv));

  program.ChooseMenu(L"Options", L"Change Master Password...");
  HWND change = program.WaitForDialog(L"Change Master Password");
  program.TypeInto(program.EditsIn(change).at(0), kPassword);
  program.TypeInto(program.EditsIn(change).at(1), L"newpw");
  program.CloseWith(change, L"OK");
  HWND confirm = program.WaitForDialog(L"Confirm New Master Password");
  program.TypeInto(program.EditsIn(confirm).at(0), L"newpw");
  program.CloseWith(confirm, L"OK");
  ExpectOnlyTheFailure(program, GetParam().message);

  EXPECT_EQ(ReadBytes(m_vaultPath), vault);
  program.ChooseMenu(L"File", L"Exit");
  ASSERT_TRUE(program.WaitForExit());
  EXPECT_EQ(program.Process().ExitCode(), 0u);
  EXPECT_EQ(ReadBytes(m_vaultPath), vault);

  // With the drive writable again, the vault opens with the password it
  // held.
  Unblock();
  Keyfolio& again = StartProgram(m_programPath);
  again.LogIn(kPassword);
  EXPECT_EQ(again.Titles(), (std::vector<std::wstring>{L"Bank", L"Mail"}));
  EXPECT_TRUE(again.OpenDialogs().empty());
  EXPECT_EQ(ReadVault(ReadBytes(m_vaultPath)).sites, sites);
}

INSTANTIATE_TEST_SUITE_P(Drives, FailedSave,
                         ::testing::Values(Obstacle{"FullDrive", kCannotWrite, true},
                                           Obstacle{"FolderRefusingNewFiles", kCannotOpen, false}),
                         [](const ::testing::TestParamInfo<Obstacle>& info) {
                           return info.param.name;
                         });

}  // namespace
