// Nothing outside its folder: a whole journey leaves the registry, the user
// profiles and drive C: of the Wine prefix as they were; only the program's
// folder on the drive changes, and there only its data folder is new. The
// test runs alone (no other test may change the prefix meanwhile), and
// every run of the program has ended before the footprint is taken again.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/journeys/Footprint.h"
#include "tests/journeys/JourneyTest.h"
#include "tests/program/Desktop.h"

namespace {

using FootprintTest = JourneyTest;

TEST_F(FootprintTest, AWholeJourneyChangesNothingOutsideTheProgramsFolder) {
  const std::wstring program = m_drive.ProgramPath();
  const std::wstring folder = program.substr(0, program.rfind(L'\\'));
  const std::vector<std::wstring> shipped = FolderContents(folder);
  const Footprint before = TakeFootprint(folder);
  FirstDay();
  for (const auto& run : m_runs) ASSERT_TRUE(run->WaitForExit());
  for (const std::wstring& difference : Differences(before, TakeFootprint(folder)))
    ADD_FAILURE() << Narrow(difference);

  std::vector<std::wstring> expected = shipped;
  expected.push_back(L"KFOdata");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FolderContents(folder), expected);
  EXPECT_EQ(FolderContents(m_drive.DataFolder()), std::vector<std::wstring>{L"KFO.dta"});
}

}  // namespace
