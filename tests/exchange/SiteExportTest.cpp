// Moving sites out: the export file byte for byte, the round trip through a
// real file back into an empty vault, the write that leaves no half file nor
// its temporary file, and the backup of the vault file.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/SafeFileWriter.h"
#include "exchange/SiteExport.h"
#include "exchange/SiteImport.h"
#include "exchange/VaultBackup.h"
#include "storage/DatabasePasswordSet.h"
#include "tests/common/TempFolder.h"
#include "tests/storage/SiteTexts.h"
#include "tests/storage/VaultBytes.h"

namespace {

std::string Text(const Bytes& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

constexpr DWORD kSuccess = ERROR_SUCCESS;

class SiteExportTest : public ::testing::Test {
 protected:
  SiteExportTest() : m_set(DatabasePasswordSet::GetInstance()) { m_set.LoadDefaultValues(); }

  void Add(const PasswordRecStruct& site) { ASSERT_TRUE(m_set.AddRecord(nullptr, site)); }

  DatabasePasswordSet& m_set;
  TempFolder m_folder;
};

TEST_F(SiteExportTest, WritesChromesFormatInTitleOrder) {
  Add(SiteRecord(L"Zed", L"z", L"p", L"", L""));
  Add(SiteRecord(L"bank, \"main\"", L"ann", L"a\"b", L"https://bank.example/?a=1,2",
                 L"line 1\r\nline 2"));
  Add(SiteRecord(L"Caf\u00E9", L"", L"=1+2", L"", L"n"));
  const std::wstring path = m_folder.File(L"out.csv");
  ASSERT_EQ(SiteExport::Write(m_set, path).error, kSuccess);
  EXPECT_EQ(Text(ReadBytes(path)),
            "name,url,username,password,note\r\n"
            "\"bank, \"\"main\"\"\",\"https://bank.example/?a=1,2\",ann,\"a\"\"b\","
            "\"line 1\r\nline 2\"\r\n"
            "Caf\xC3\xA9,,,=1+2,n\r\n"
            "Zed,,z,p,\r\n");
  EXPECT_EQ(FolderContents(m_folder.Path()), std::vector<std::wstring>{L"out.csv"});
}

TEST_F(SiteExportTest, AnExportImportedIntoAnEmptyVaultGivesEverySiteBack) {
  const std::vector<PasswordRecStruct> sites = {
      SiteRecord(L"Comma, \"quoted\" =1+2", L"ann, \"the\" user", L"p,w\"\r\nx",
                 L"https://a.example/?q=\"1,2\"", L"=SUM(A1)\r\n\r\nline, \"three\"\r\n"),
      SiteRecord(L"Z\u00FCrich Caf\u00E9 \u65E5\u672C \U0001F511", L"zo\u00EB", L"p\u00E4ss",
                 L"https://caf\u00E9.example/", L"Gr\u00FC\u00DFe\r\nnoch eine Zeile"),
      SiteRecord(L"=HYPERLINK(\"x\")", L"", L" spaces ", L"", L""),
      SiteRecord(L"Only a title", L"", L"", L"", L"notes only"),
      SiteRecord(L"Tabs in notes", L"", L"pw", L"", L"a\tb"),
  };
  for (const PasswordRecStruct& site : sites) Add(site);
  std::vector<PasswordRecStruct> exported(m_set.Records().begin(), m_set.Records().end());
  const std::wstring path = m_folder.File(L"Keyfolio sites.csv");
  ASSERT_EQ(SiteExport::Write(m_set, path).error, kSuccess);

  m_set.LoadDefaultValues();
  SiteImport import;
  ASSERT_TRUE(import.Read(path)) << import.GetProblem();
  EXPECT_EQ(import.SourceName(), L"Chrome or Edge");
  const SiteImport::Counts counts = import.AddTo(m_set);
  EXPECT_EQ(counts.added, sites.size());
  EXPECT_EQ(counts.renamed, 0u);
  ASSERT_EQ(m_set.Count(), exported.size());
  auto back = m_set.Records().begin();
  for (const PasswordRecStruct& site : exported) {
    EXPECT_EQ(back->m_SiteTitle, site.m_SiteTitle);
    EXPECT_EQ(back->m_UserName, site.m_UserName);
    EXPECT_EQ(back->m_Password, site.m_Password);
    EXPECT_EQ(back->m_WebsiteAddress, site.m_WebsiteAddress);
    EXPECT_EQ(back->m_Notes, site.m_Notes);
    ++back;
  }
}

TEST_F(SiteExportTest, AFailedWriteLeavesNoFileAndTheOldOneAsItWas) {
  Add(SiteRecord(L"Bank", L"ann", L"pw", L"", L""));
  SafeFileWriter::Result written =
      SiteExport::Write(m_set, m_folder.File(L"no such folder\\out.csv"));
  EXPECT_NE(written.error, kSuccess);
  EXPECT_EQ(written.leftOver, L"");

  // A target that another program holds open without sharing: the rename
  // cannot put the new file in its place.
  const std::wstring held = m_folder.File(L"held.csv");
  WriteBytes(held, {'o', 'l', 'd'});
  HANDLE holder = CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  written = SiteExport::Write(m_set, held);
  EXPECT_NE(written.error, kSuccess);
  EXPECT_EQ(written.leftOver, L"") << "the temporary file was seen gone";
  CloseHandle(holder);
  EXPECT_EQ(Text(ReadBytes(held)), "old");
  EXPECT_EQ(FolderContents(m_folder.Path()), std::vector<std::wstring>{L"held.csv"});

  // Written in place of the old one once it is let go.
  EXPECT_EQ(SiteExport::Write(m_set, held).error, kSuccess);
  EXPECT_EQ(Text(ReadBytes(held)), "name,url,username,password,note\r\nBank,,ann,pw,\r\n");
}

// The file being written is named after its target, so that a person who
// finds one knows what it is; a file of that name that is there already is
// not the writer's to touch.
TEST(SafeFileWriter, WritesThroughAFileNamedAfterTheTargetAndTakesNoOtherName) {
  TempFolder folder;
  const std::wstring target = folder.File(L"Keyfolio sites.csv");
  EXPECT_EQ(SafeFileWriter::TemporaryName(target, 0), target + L".unfinished");
  EXPECT_EQ(SafeFileWriter::TemporaryName(target, 1), target + L" (2).unfinished");
  WriteBytes(target + L".unfinished", {'m', 'i', 'n', 'e'});
  const std::string text = "name,url\r\n";
  EXPECT_EQ(SafeFileWriter::Write(target, text.data(), text.size()).error, kSuccess);
  EXPECT_EQ(Text(ReadBytes(target)), text);
  EXPECT_EQ(Text(ReadBytes(target + L".unfinished")), "mine");
  EXPECT_EQ(FolderContents(folder.Path()),
            (std::vector<std::wstring>{L"Keyfolio sites.csv", L"Keyfolio sites.csv.unfinished"}));
}

TEST(VaultBackup, CopiesTheVaultByteForByteUnderADatedName) {
  TempFolder folder;
  const std::wstring vault = folder.File(L"KFO.dta");
  Bytes bytes(300000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i * 7 + i / 251);
  WriteBytes(vault, bytes);
  const std::wstring target = folder.File(VaultBackup::DefaultName(2026, 3, 5));
  EXPECT_EQ(target.substr(target.rfind(L'\\') + 1), L"KFO backup 2026-03-05.dta");
  WriteBytes(target, {'o', 'l', 'd'});
  const VaultBackup::Result result = VaultBackup::Copy(vault, target);
  EXPECT_EQ(result.step, VaultBackup::VB_Done);
  EXPECT_EQ(ReadBytes(target), bytes);
  EXPECT_EQ(ReadBytes(vault), bytes);
  EXPECT_EQ(FolderContents(folder.Path()),
            (std::vector<std::wstring>{L"KFO backup 2026-03-05.dta", L"KFO.dta"}));
}

TEST(VaultBackup, SaysWhichStepFailedAndLeavesNoFile) {
  TempFolder folder;
  VaultBackup::Result result = VaultBackup::Copy(folder.File(L"KFO.dta"), folder.File(L"b.dta"));
  EXPECT_EQ(result.step, VaultBackup::VB_ReadVault);
  EXPECT_EQ(result.error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  WriteBytes(folder.File(L"KFO.dta"), {1, 2, 3});
  result = VaultBackup::Copy(folder.File(L"KFO.dta"), folder.File(L"gone\\b.dta"));
  EXPECT_EQ(result.step, VaultBackup::VB_Write);
  EXPECT_NE(result.error, static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(FolderContents(folder.Path()), std::vector<std::wstring>{L"KFO.dta"});
}

}  // namespace
