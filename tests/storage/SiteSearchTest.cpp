// Which sites a search finds, on the program's own site set: a table of
// made-up sites, each text in one field only, and the searches a person
// types.
#include "storage/SiteSearch.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "storage/DatabasePasswordSet.h"
#include "tests/storage/SiteTexts.h"

namespace {

class SiteSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DatabasePasswordSet& set = DatabasePasswordSet::GetInstance();
    set.LoadDefaultValues();
    // Added out of order; title order is accounts.google.com, Bluefin Bank,
    // Café Rosa, Cedar Mail, Tailwind.
    for (const PasswordRecStruct& site :
         {SiteRecord(L"Cedar Mail", L"maria@mail.example.net", L"quill-lantern",
                     L"https://mail.example.net", L"Recovery phone ends in 42."),
          SiteRecord(L"Bluefin Bank", L"m.rivera", L"tide-2026", L"https://bank.example.com/login",
                     L"Card PIN is not kept here."),
          SiteRecord(L"Tailwind", L"FF 5521", L"k$3Ve8#nRt", L"https://air.example.org",
                     L"Frequent flyer \u00C9LITE tier."),
          SiteRecord(L"Caf\u00E9 Rosa", L"", L"espresso!", L"", L""),
          SiteRecord(L"accounts.google.com", L"maria.rivera", L"Lantern-Blue",
                     L"https://accounts.google.com", L"")})
      ASSERT_TRUE(set.AddRecord(nullptr, site));
  }

  static std::vector<std::wstring> Found(const std::wstring& search) {
    std::vector<std::wstring> titles;
    for (const FoundSite& found : SiteSearch(search).FindIn(DatabasePasswordSet::GetInstance()))
      titles.push_back(found.site->m_SiteTitle);
    return titles;
  }
};

TEST_F(SiteSearchTest, FindsTheTitleUserNameAddressAndNotesButNeverThePassword) {
  struct Case {
    const char* what;
    std::wstring search;
    std::vector<std::wstring> titles;
  };
  const Case cases[] = {
      {"title", L"bluefin", {L"Bluefin Bank"}},
      {"user name", L"FF 55", {L"Tailwind"}},
      {"website address", L"example.org", {L"Tailwind"}},
      {"notes", L"phone ends", {L"Cedar Mail"}},
      {"title and address of one site, listed once", L"google",
       {L"accounts.google.com"}},
      {"several fields of several sites, in title order", L"rivera",
       {L"accounts.google.com", L"Bluefin Bank"}},
      {"only in passwords", L"lantern", {}},
      {"only in a password, in any case", L"ESPRESSO", {}},
      {"upper case finds lower", L"CEDAR", {L"Cedar Mail"}},
      {"lower case finds upper, accents too", L"\u00E9lite", {L"Tailwind"}},
      {"an accent is not its plain letter", L"cafe", {}},
      {"the accented title", L"CAF\u00C9", {L"Caf\u00E9 Rosa"}},
      {"empty: every site, in title order", L"",
       {L"accounts.google.com", L"Bluefin Bank", L"Caf\u00E9 Rosa", L"Cedar Mail", L"Tailwind"}},
      {"nothing holds it", L"zebra", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Found(c.search), c.titles);
  }
}

// Each site comes with its position in title order, which is the main
// window's list position, and is the set's own record, not a copy.
TEST_F(SiteSearchTest, GivesEachSiteItsPositionInTheSet) {
  const std::vector<FoundSite> found = SiteSearch(L"RI").FindIn(DatabasePasswordSet::GetInstance());
  ASSERT_EQ(found.size(), 3u);
  const int positions[] = {0, 1, 3};
  const auto& records = DatabasePasswordSet::GetInstance().Records();
  for (size_t i = 0; i < found.size(); ++i) {
    EXPECT_EQ(found[i].position, positions[i]);
    EXPECT_EQ(found[i].site, &*std::next(records.begin(), positions[i]));
  }
}

}  // namespace
