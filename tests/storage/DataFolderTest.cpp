#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "storage/DatabasePasswordHeader.h"
#include "storage/EditorUpdater.h"
#include "storage/FlashDriveFolders.h"
#include "storage/Initialization.h"
#include "tests/common/MessageBoxAnswerer.h"
#include "tests/common/TempFolder.h"
#include "tests/storage/VaultBytes.h"

TEST(FlashDriveFolders, DataFolderIsKFOdataBesideTheProgram) {
  const struct {
    const wchar_t* programDir;
    const wchar_t* programFolder;
    const wchar_t* dataFolder;
  } cases[] = {
      {L"E:\\Tools", L"E:\\Tools\\", L"E:\\Tools\\KFOdata\\"},
      {L"E:", L"E:\\", L"E:\\KFOdata\\"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.programDir)));
    FlashDriveFolders folders;
    EXPECT_FALSE(folders.SetFolders(c.programDir)) << "there is no drive E: here";
    EXPECT_EQ(FlashDriveFolders::ProgramFolder(), c.programFolder);
    EXPECT_EQ(FlashDriveFolders::ProgramDirWithDataFolder(), c.dataFolder);
    EditorUpdater::GetInstance().SetDataBaseFileName(FlashDriveFolders::ProgramDirWithDataFolder());
    EXPECT_EQ(EditorUpdater::GetInstance().GetDataBaseFileName(),
              std::wstring(c.dataFolder) + L"KFO.dta");
  }
}

TEST(FlashDriveFolders, FirstStartMakesTheFolderAndLaterStartsKeepIt) {
  TempFolder program;
  EXPECT_TRUE(FlashDriveFolders().SetFolders(program.Path()));
  const std::wstring data = program.File(L"KFOdata");
  EXPECT_EQ(FlashDriveFolders::ProgramDirWithDataFolder(), data + L"\\");
  EXPECT_TRUE(FlashDriveFolders().DataFolderExists());
  WriteBytes(data + L"\\KFO.dta", Bytes{1, 2, 3});

  EXPECT_TRUE(FlashDriveFolders().SetFolders(program.Path()));
  EXPECT_EQ(FolderContents(data), std::vector<std::wstring>{L"KFO.dta"});
  EXPECT_EQ(ReadBytes(data + L"\\KFO.dta"), (Bytes{1, 2, 3}));
}

TEST(FlashDriveFolders, FileNamedKFOdataMakesTheFirstSaveFailAndLosesNothing) {
  TempFolder program;
  const std::wstring blocker = program.File(L"KFOdata");
  const Bytes content = {'n', 'o', 't', ' ', 'a', ' ', 'f', 'o', 'l', 'd', 'e', 'r'};
  WriteBytes(blocker, content);
  FlashDriveFolders folders;
  EXPECT_FALSE(folders.SetFolders(program.Path()));
  EXPECT_FALSE(folders.DataFolderExists());

  EditorUpdater& updater = EditorUpdater::GetInstance();
  updater.SetDataBaseFileName(FlashDriveFolders::ProgramDirWithDataFolder());
  MessageBoxAnswerer answerer;
  EXPECT_FALSE(updater.DeSerialize());
  updater.ReadDefaultDatabase(true);
  Initialization::GetInstance().SetMasterPassword(L"pw");
  updater.SetMasterPassword(L"pw");
  EXPECT_FALSE(updater.Serialize());
  EXPECT_EQ(answerer.Texts(), std::vector<std::wstring>{
                                  L"Unable to open the selected file for saving. Check the disk."});
  EXPECT_EQ(ReadBytes(blocker), content);
  EXPECT_EQ(FolderContents(program.Path()), std::vector<std::wstring>{L"KFOdata"});
}

TEST(Initialization, CurrentMasterPasswordIsEmptyUntilSetAndAfterClear) {
  Initialization& options = Initialization::GetInstance();
  EXPECT_EQ(options.GetMasterPassword(), L"");
  options.SetMasterPassword(L"secret");
  EXPECT_EQ(options.GetMasterPassword(), L"secret");
  // A header reset takes the current master password into the vault.
  DatabasePasswordHeader::GetInstance().ResetHeader();
  EXPECT_EQ(DatabasePasswordHeader::GetInstance().GetMasterPassword(), L"secret");
  EXPECT_EQ(DatabasePasswordHeader::GetInstance().GetHeaderTitle(), L"Password Data");
  options.ClearMasterPassword();
  EXPECT_EQ(options.GetMasterPassword(), L"");
}
