// An export onto a disk that fills: the file is written whole or not at all.
#include <windows.h>

#include <gtest/gtest.h>

#include "exchange/SiteExport.h"
#include "storage/DatabasePasswordSet.h"
#include "tests/common/TempFolder.h"
#include "tests/common/TinyDisk.h"
#include "tests/storage/VaultBytes.h"

TEST(FullDisk, AnExportThatFillsTheDiskLeavesNoHalfFileAndTheOldOne) {
  if (!HaveTinyDisk()) GTEST_SKIP() << "drive T: (a 64 KiB disk, mounted as root) is missing";
  const std::wstring folder = L"T:\\Export";
  const RemovedAtEnd cleanup{folder};
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  DatabasePasswordSet& set = DatabasePasswordSet::GetInstance();
  set.LoadDefaultValues();
  // About 100 KB of file for a 64 KiB disk.
  for (int i = 0; i < 100; ++i) {
    PasswordRecStruct site;
    site.m_SiteTitle = L"site " + std::to_wstring(i);
    site.m_Notes = std::wstring(1000, L'n');
    ASSERT_TRUE(set.AddRecord(nullptr, site));
  }
  const std::wstring target = folder + L"\\sites.csv";
  WriteBytes(target, {'o', 'l', 'd'});
  const SafeFileWriter::Result written = SiteExport::Write(set, target);
  EXPECT_NE(written.error, static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(written.leftOver, L"");
  EXPECT_EQ(ReadBytes(target), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(FolderContents(folder), std::vector<std::wstring>{L"sites.csv"});
}
