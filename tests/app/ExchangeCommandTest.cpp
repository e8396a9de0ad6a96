// What Import, Export and Back Up tell when things go wrong, in boxes of the
// test's own thread: an import that runs out of memory says so and leaves
// the vault as it was; a write that failed says that nothing was written only
// when it saw nothing left.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/BackUpVaultCommand.h"
#include "app/ExportSitesCommand.h"
#include "app/ImportSitesCommand.h"
#include "storage/DatabasePasswordSet.h"
#include "tests/common/AllocationWatch.h"
#include "tests/common/MessageBoxAnswerer.h"
#include "tests/common/TempFolder.h"
#include "tests/storage/SiteTexts.h"
#include "tests/storage/VaultBytes.h"

namespace {

bool EndsWith(const std::wstring& text, const std::wstring& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Memory that runs out while the file is read, or while its sites are
// added after the person said Yes: one box says so, and no site is added.
TEST(ImportCommand, RunningOutOfMemoryEndsInABoxAndAddsNothing) {
  TempFolder folder;
  const std::wstring path = folder.File(L"sites.csv");
  std::string file = "name,url,username,password\r\n";
  for (int row = 0; row < 20; ++row)
    file += "Site " + std::to_string(row) + ",https://s.example/" + std::to_string(row) + ",u" +
            std::to_string(row) + ",pw\r\n";
  WriteBytes(path, Bytes(file.begin(), file.end()));
  DatabasePasswordSet& set = DatabasePasswordSet::GetInstance();
  set.LoadDefaultValues();
  ASSERT_TRUE(set.AddRecord(nullptr, SiteRecord(L"Bank", L"ann", L"pw", L"", L"")));
  const std::vector<SiteTexts> before = SetTexts();

  // What the command allocates up to the question, answered No.
  size_t untilAsked = 0;
  {
    MessageBoxAnswerer no(IDNO);
    const size_t start = AllocationWatch::Allocations();
    ImportSitesCommand::ImportFile(nullptr, path);
    untilAsked = AllocationWatch::Allocations() - start;
    ASSERT_EQ(no.Boxes().size(), 1u);
  }
  const std::wstring tooLarge =
      L"The file is too large to import on this computer.\n\nNothing was imported.";
  struct Case {
    const char* when;
    size_t failAfter;
    std::vector<std::wstring> boxesBefore;
  };
  const Case cases[] = {{"reading the file", 0, {}},
                        {"adding its sites", untilAsked + 10, {L"Import the sites of"}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.when);
    MessageBoxAnswerer yes(IDYES);
    AllocationWatch::FailAllocationAfter(c.failAfter);
    ImportSitesCommand::ImportFile(nullptr, path);
    AllocationWatch::FailNone();
    const std::vector<MessageBoxAnswerer::Box>& boxes = yes.Boxes();
    ASSERT_EQ(boxes.size(), c.boxesBefore.size() + 1);
    for (size_t i = 0; i < c.boxesBefore.size(); ++i)
      EXPECT_EQ(boxes[i].text.rfind(c.boxesBefore[i], 0), 0u) << "box " << i;
    EXPECT_EQ(boxes.back().text, tooLarge);
    EXPECT_EQ(boxes.back().caption, L"Keyfolio");
    EXPECT_TRUE(boxes.back().hasIcon);
    EXPECT_EQ(SetTexts(), before);
  }
}

TEST(ExchangeFailures, SayThatNothingWasWrittenOnlyWhenNothingWasLeft) {
  const std::wstring path = L"E:\\Keyfolio sites.csv";
  const std::wstring left = path + L".unfinished";
  const std::wstring nothing = ExportSitesCommand::FailureMessage(path, {ERROR_DISK_FULL, L""});
  EXPECT_TRUE(EndsWith(nothing, L"\n\nNo file was written there.")) << nothing;
  const std::wstring some = ExportSitesCommand::FailureMessage(path, {ERROR_DISK_FULL, left});
  EXPECT_TRUE(EndsWith(some, L"\n\nPart of the file may be left there, as\n" + left +
                                 L"\nIf it is there, it holds passwords in plain text: delete it "
                                 L"as soon as you can."))
      << some;

  const std::wstring vault = L"E:\\KFOdata\\KFO.dta";
  const std::wstring backup = L"F:\\KFO backup.dta";
  struct Case {
    VaultBackup::Result result;
    std::wstring ends;
  };
  const Case cases[] = {
      {{VaultBackup::VB_Write, ERROR_DISK_FULL, L""}, L"\n\nNo backup was made there."},
      {{VaultBackup::VB_Write, ERROR_DISK_FULL, backup + L".unfinished"},
       L"\n\nPart of it may be left there, as\n" + backup +
           L".unfinished\nIt is no backup: if it is there, delete it."},
      {{VaultBackup::VB_Verify, ERROR_CRC, L""},
       L"did not read back the same as your vault, so Keyfolio removed it. The drive may be "
       L"failing: choose another place."},
      {{VaultBackup::VB_Verify, ERROR_CRC, backup},
       L"did not read back the same as your vault, and Keyfolio could not remove it: it is no "
       L"backup, delete it. The drive may be failing: choose another place."},
  };
  for (const Case& c : cases) {
    const std::wstring message = BackUpVaultCommand::FailureMessage(c.result, vault, backup);
    EXPECT_TRUE(EndsWith(message, c.ends)) << testing::PrintToString(message);
  }
}

}  // namespace
