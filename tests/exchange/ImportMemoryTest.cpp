// What an import holds in memory, and what happens when there is no more: a
// file's memory follows its bytes and the sites it gives, never the width of
// its first line times its rows; and memory that runs out anywhere on the way
// leaves the vault as it was, or the import whole.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <new>
#include <string>
#include <vector>

#include "exchange/SiteImport.h"
#include "storage/DatabasePasswordSet.h"
#include "tests/common/AllocationWatch.h"
#include "tests/common/TempFolder.h"
#include "tests/storage/SiteTexts.h"
#include "tests/storage/VaultBytes.h"

namespace {

// What an import may hold at its peak: a few times the file (its bytes, its
// text, the row being read), the texts of the sites it gives (the notes
// that it builds among them, which name each column a row fills) twice, and
// for each site what the vault itself holds of one, twice over while it is
// added, with the plan beside it.
constexpr size_t kPerFileByte = 8;
constexpr size_t kPerTextByte = 2;
constexpr size_t kPerSite = 1024;
constexpr size_t kFixed = 256 * 1024;

std::string Repeated(const std::string& piece, int times) {
  std::string text;
  text.reserve(piece.size() * static_cast<size_t>(times));
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

size_t TextBytes(const std::deque<PasswordRecStruct>& sites) {
  size_t units = 0;
  for (const PasswordRecStruct& site : sites)
    units += site.m_SiteTitle.size() + site.m_UserName.size() + site.m_Password.size() +
             site.m_WebsiteAddress.size() + site.m_Notes.size();
  return units * sizeof(wchar_t);
}

TEST(ImportMemory, FollowsTheFileAndItsSitesNotWidthTimesRows) {
  struct Case {
    const char* what;
    std::string file;
  };
  const Case cases[] = {
      // A first line of 5,000 columns, and 5,000 rows of one field each.
      {"a wide first line over short rows",
       "title,password" + Repeated(",c", 4998) + "\n" + Repeated("x\n", 5000)},
      // Rows far wider than the first line, their columns unnamed.
      {"wide rows under a short first line",
       "title,password\n" + Repeated("t,p" + Repeated(",v", 2000) + "\n", 100)},
      // A first line of 1,000 named columns, and every row filling them.
      {"every column of a wide first line filled",
       "title,password" + Repeated(",extra", 998) + "\n" +
           Repeated("t,p" + Repeated(",v", 998) + "\n", 200)},
      // Much the same row, 40,000 times.
      {"one login under 40,000 titles",
       "name,url,username,password\n" + Repeated("Mail,https://mail.example/,ann,pw\n", 40000)},
  };
  TempFolder folder;
  DatabasePasswordSet& set = DatabasePasswordSet::GetInstance();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    set.LoadDefaultValues();
    const std::wstring path = folder.File(L"sites.csv");
    WriteBytes(path, Bytes(c.file.begin(), c.file.end()));
    size_t sites = 0, textBytes = 0;
    AllocationWatch watch;
    {
      SiteImport import;
      ASSERT_TRUE(import.Read(path)) << import.GetProblem();
      sites = import.Sites().size();
      textBytes = TextBytes(import.Sites());
      const size_t planned = import.Preview(set).added;
      ASSERT_EQ(import.AddTo(set).added, planned);
    }
    watch.Stop();
    const size_t bound =
        kPerFileByte * c.file.size() + kPerTextByte * textBytes + kPerSite * sites + kFixed;
    std::printf("%s: %zu bytes, %zu sites read of %zu bytes of text, %zu bytes at the peak "
                "(bound %zu)\n",
                c.what, c.file.size(), sites, textBytes, watch.PeakHeld(), bound);
    EXPECT_LE(watch.PeakHeld(), bound);
  }
}

// Every allocation of an import, failed in turn: the import is whole or the
// set is as it was, never in between.
TEST(ImportMemory, RunningOutOfMemoryAnywhereAddsAllOrNone) {
  std::string file = "name,url,username,password,note\r\n";
  for (int row = 0; row < 12; ++row) {
    const std::string n = std::to_string(row);
    file += "Site " + std::to_string(row % 4) + ",https://s" + n + ".example/,user" + n +
            ",password number " + n + ",note " + n + "\r\n";
  }
  file += ",,,,a note alone\r\n";
  TempFolder folder;
  const std::wstring path = folder.File(L"sites.csv");
  WriteBytes(path, Bytes(file.begin(), file.end()));
  DatabasePasswordSet& set = DatabasePasswordSet::GetInstance();
  const auto reset = [&] {
    set.LoadDefaultValues();
    for (const wchar_t* title : {L"Site 1", L"Site 2 (user2)", L"Zebra"})
      ASSERT_TRUE(set.AddRecord(nullptr, SiteRecord(title, L"x", L"pw", L"", L"")));
  };
  const auto import = [&] {
    SiteImport import;
    if (!import.Read(path)) return false;
    import.Preview(set);
    import.AddTo(set);
    return true;
  };

  reset();
  const std::vector<SiteTexts> before = SetTexts();
  const size_t start = AllocationWatch::Allocations();
  ASSERT_TRUE(import());
  const size_t allocations = AllocationWatch::Allocations() - start;
  const std::vector<SiteTexts> after = SetTexts();
  ASSERT_EQ(after.size(), before.size() + 13);

  size_t failed = 0;
  for (size_t count = 0; count < allocations; ++count) {
    reset();
    AllocationWatch::FailAllocationAfter(count);
    bool whole = false;
    try {
      whole = import();
    } catch (const std::bad_alloc&) {
      ++failed;
    }
    AllocationWatch::FailNone();
    EXPECT_EQ(SetTexts(), whole ? after : before) << "allocation " << count << " failed";
  }
  EXPECT_EQ(failed, allocations);
}

}  // namespace
