// Imported and exported passwords go back to the heap only wiped: an import
// and an export run on known secrets while every freed block is searched for
// them.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "exchange/SiteExport.h"
#include "exchange/SiteImport.h"
#include "storage/DatabasePasswordSet.h"
#include "storage/EditorUpdater.h"
#include "tests/common/FreedMemoryWatch.h"
#include "tests/common/TempFolder.h"
#include "tests/storage/VaultBytes.h"

namespace {

// Up to 7 units a text lives inside its string object, in whatever block
// holds that object; longer ones have a block of their own. No 4 units in a
// row of one of them appear in anything else.
const wchar_t kImportedLong[] = L"Im3]Pw8[Lo5{Ng7}";
const wchar_t kImportedShort[] = L"Is2}Wq";
const wchar_t kImportedNote[] = L"No6!Te4@Xy1#";
const wchar_t kRefused[] = L"Rf8^Ud3&Cs5*";

// A file as UTF-16 with its mark: its bytes in memory are the texts as the
// watch looks for them, so a buffer of the file's that is freed unwiped is
// found too.
void WriteUtf16(const std::wstring& path, const std::wstring& text) {
  const std::wstring marked = L"\uFEFF" + text;
  const auto* bytes = reinterpret_cast<const unsigned char*>(marked.data());
  WriteBytes(path, Bytes(bytes, bytes + marked.size() * sizeof(wchar_t)));
}

}  // namespace

TEST(ExchangeWipe, ImportedAndExportedTextsAreWipedBeforeTheirMemoryIsFreed) {
  TempFolder folder;
  const std::wstring sites = folder.File(L"sites.csv");
  const std::wstring cut = folder.File(L"cut.csv");
  WriteUtf16(sites, std::wstring(L"name,url,username,password,note\r\n") +
                        L"Long,https://long.example/,ann," + kImportedLong + L",\"" +
                        kImportedNote + L"\nsecond line\"\r\n" + L"Short,,bob," +
                        kImportedShort + L",\r\n");
  WriteUtf16(cut, std::wstring(L"name,password\r\nCut,\"") + kRefused + L"\r\n");
  EditorUpdater& updater = EditorUpdater::GetInstance();
  DatabasePasswordSet& set = DatabasePasswordSet::GetInstance();

  const auto secrets = {kImportedLong, kImportedShort, kImportedNote, kRefused};
  FreedMemoryWatch watch(secrets);
  updater.SetDataBaseFileName(folder.Path() + L"\\");
  set.LoadDefaultValues();
  {
    SiteImport refused;
    EXPECT_FALSE(refused.Read(cut));
  }
  {
    SiteImport import;
    ASSERT_TRUE(import.Read(sites));
    EXPECT_EQ(import.Preview(set).added, 2u);
    EXPECT_EQ(import.AddTo(set).added, 2u);
  }
  ASSERT_TRUE(updater.Serialize());
  EXPECT_EQ(SiteExport::Write(set, folder.File(L"out.csv")).error,
            static_cast<DWORD>(ERROR_SUCCESS));
  set.LoadDefaultValues();
  watch.Stop();
  ExpectNoneFreedUnwiped(watch, secrets);
  EXPECT_GE(watch.LargestFreed(), 100u) << "the file's buffers were among the blocks searched";
}
