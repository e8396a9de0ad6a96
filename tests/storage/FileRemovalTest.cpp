// Removing files as one, apart from the vault's names: what counts as gone,
// and what a failure leaves.
#include "storage/FileRemoval.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/common/TempFolder.h"
#include "tests/storage/VaultBytes.h"

namespace {

using Names = std::vector<std::wstring>;

TEST(FileRemoval, RemovesThoseThereAndPassesOverNamesThatAreNot) {
  TempFolder folder;
  WriteBytes(folder.File(L"a.dta"), Bytes{1});
  WriteBytes(folder.File(L"b.dta"), Bytes{2});
  ASSERT_TRUE(CreateDirectoryW(folder.File(L"c.dta").c_str(), nullptr));
  const FileRemoval removal = RemoveTogether(
      folder.Path(), {folder.File(L"a.dta"), folder.File(L"missing.dta"), folder.File(L"b.dta"),
                      folder.File(L"c.dta")});
  EXPECT_EQ(removal.error, static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(FolderContents(folder.Path()), Names{L"c.dta"}) << "a folder of the name is no file";
}

// Only "file not found" in a folder that is there means that a file is not
// there: in a folder that is gone, as on a pulled drive, nothing is known.
TEST(FileRemoval, NothingIsTakenAsGoneInAFolderThatIsGone) {
  TempFolder drive;
  const std::wstring folder = drive.File(L"KFOdata");
  const FileRemoval removal = RemoveTogether(folder, {folder + L"\\KFO.dta"});
  EXPECT_EQ(removal.error, static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(removal.stays, folder + L"\\KFO.dta");
  EXPECT_FALSE(removal.partly);
}

}  // namespace
