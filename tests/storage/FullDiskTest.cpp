#include <windows.h>

#include <gtest/gtest.h>

#include "storage/DatabasePasswordSet.h"
#include "storage/EditorUpdater.h"
#include "storage/Serializer.h"
#include "support/ExceptionBase.h"
#include "tests/common/MessageBoxAnswerer.h"
#include "tests/common/TempFolder.h"
#include "tests/common/TinyDisk.h"
#include "tests/storage/VaultBytes.h"

namespace {

int WriteFailure(const std::wstring& path, const std::wstring& text) {
  try {
    Serializer serializer(path);
    serializer.PutString(text);
  } catch (const ExceptionsSerializer& e) {
    return e.GetErrorCode();
  }
  return -1;
}

}  // namespace

TEST(FullDisk, ShortWriteThenFailedWrite) {
  if (!HaveTinyDisk()) GTEST_SKIP() << "drive T: (a 64 KiB disk, mounted as root) is missing";
  const std::wstring first = L"T:\\first.dat";
  const std::wstring second = L"T:\\second.dat";
  // 128 KiB of text on a 64 KiB disk: the system writes what fits and
  // reports success with a short count.
  EXPECT_EQ(WriteFailure(first, std::wstring(64 * 1024, L'x')), Serializer::SR_BytesWrittenIncorrect);
  // Now the disk is full: the next write fails outright.
  EXPECT_EQ(WriteFailure(second, L"y"), Serializer::SR_WriteFileFailed);
  RemoveTree(first);
  RemoveTree(second);
  EXPECT_EQ(WriteFailure(first, L"fits again"), -1);
  RemoveTree(first);
}

TEST(FullDisk, SaveThatFillsTheDiskFailsAndLeavesTheVault) {
  if (!HaveTinyDisk()) GTEST_SKIP() << "drive T: (a 64 KiB disk, mounted as root) is missing";
  const std::wstring folder = L"T:\\KFOdata";
  const RemovedAtEnd cleanup{folder};
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  std::vector<SiteFields> sites;
  for (int i = 0; i < 20; ++i)
    sites.push_back({L"site " + std::to_wstring(i), L"u", L"p", L"w", std::wstring(400, L'n'),
                     L"d", L"d", i + 1});
  const Bytes vault = Vault(L"pw", 0, 20, sites);
  ASSERT_GT(vault.size(), 16u * 1024);
  const std::wstring vaultPath = folder + L"\\KFO.dta";
  WriteBytes(vaultPath, vault);

  EditorUpdater& updater = EditorUpdater::GetInstance();
  updater.SetDataBaseFileName(folder + L"\\");
  ASSERT_TRUE(updater.DeSerialize()) << "the rewrite after the load fits";
  const Bytes saved = ReadBytes(vaultPath);
  ASSERT_EQ(saved.size(), vault.size());
  // Now a vault that cannot be written beside the old one.
  for (int i = 0; i < 40; ++i) {
    PasswordRecStruct site;
    site.m_SiteTitle = L"more " + std::to_wstring(i);
    site.m_Notes = std::wstring(400, L'm');
    ASSERT_TRUE(DatabasePasswordSet::GetInstance().AddRecord(nullptr, site));
  }
  {
    MessageBoxAnswerer answerer;
    EXPECT_FALSE(updater.Serialize());
    EXPECT_EQ(answerer.Texts(), std::vector<std::wstring>{
        L"Unable to write to the selected file for saving. Check the disk."});
  }
  EXPECT_EQ(ReadBytes(vaultPath), saved);
  EXPECT_EQ(FolderContents(folder), std::vector<std::wstring>{L"KFO.dta"});

  // The space the failed save took is free again.
  for (int i = 0; i < 40; ++i) DatabasePasswordSet::GetInstance().DeleteCurrentRecord();
  EXPECT_TRUE(updater.Serialize());
}
