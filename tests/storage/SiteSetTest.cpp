#include <windows.h>

#include <string>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "storage/CalendarDate.h"
#include "storage/DatabasePasswordSet.h"
#include "storage/DeSerializer.h"
#include "tests/common/MessageBoxAnswerer.h"
#include "tests/common/TempFolder.h"
#include "tests/storage/VaultBytes.h"

namespace {

const wchar_t kTitleTaken[] = L"A site with that title already exists.";
const wchar_t kOldDay[] = L"Monday, January 01, 2001";

// A real window destroyed with the object.
class Window {
 public:
  Window(const wchar_t* className, DWORD style, HWND parent = nullptr)
      : m_hwnd(CreateWindowExW(0, className, L"", style, 0, 0, 200, 200, parent, nullptr,
                               GetModuleHandleW(nullptr), nullptr)) {}
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  ~Window() { DestroyWindow(m_hwnd); }
  HWND Get() const { return m_hwnd; }

 private:
  HWND m_hwnd;
};

PasswordRecStruct Site(const std::wstring& title, const std::wstring& notes = L"") {
  PasswordRecStruct site;
  site.m_SiteTitle = title;
  site.m_UserName = L"user of " + title;
  site.m_Password = L"pw-" + title;
  site.m_WebsiteAddress = L"https://" + title + L".example";
  site.m_Notes = notes;
  return site;
}

SiteFields Stored(const std::wstring& title, int32_t key) {
  return {title, L"u-" + title, L"p-" + title, L"w-" + title, L"n-" + title, kOldDay, kOldDay,
          key};
}

class SiteSetTest : public ::testing::Test {
 protected:
  SiteSetTest() : m_set(DatabasePasswordSet::GetInstance()) { m_set.LoadDefaultValues(); }

  void Add(std::initializer_list<const wchar_t*> titles) {
    for (const wchar_t* title : titles) ASSERT_TRUE(m_set.AddRecord(nullptr, Site(title)));
  }

  std::vector<std::wstring> Titles() {
    const int current = m_set.GetCurrentRecordIndex();
    std::vector<std::wstring> titles;
    for (size_t i = 0; i < m_set.Count(); ++i) {
      m_set.SetCurrentRecord(static_cast<int>(i));
      titles.push_back(m_set.FieldsByIndex(0));
    }
    m_set.SetCurrentRecord(current);
    return titles;
  }

  // Reads a site section (last key, then sites) built by hand.
  bool ReadSection(const Bytes& section) {
    const std::wstring path = m_folder.File(L"section.dat");
    WriteBytes(path, section);
    DeSerializer des(path);
    return m_set.ReadFileValues(des);
  }

  static bool IsToday(const std::wstring& stamp) {
    return stamp == CalendarDate().FormatLongDate();
  }

  DatabasePasswordSet& m_set;
  TempFolder m_folder;
};

}  // namespace

TEST_F(SiteSetTest, TitlesListInFoldedCodeUnitOrder) {
  Add({L"beta", L"Alpha", L"_x", L"Zulu", L"Caf\u00E9", L"CAF\u00C9"});
  // Only a-z fold: "_" (0x5F) follows every capital, and E-acute stays two
  // different units, so Café and CAFÉ are two sites.
  EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"Alpha", L"beta", L"CAF\u00C9", L"Caf\u00E9",
                                                 L"Zulu", L"_x"}));
}

TEST_F(SiteSetTest, TakenTitleIsRefusedWithABoxAndUsesUpAKey) {
  Window owner(L"STATIC", WS_OVERLAPPEDWINDOW);
  Add({L"BANK"});
  MessageBoxAnswerer answerer;
  EXPECT_FALSE(m_set.AddRecord(owner.Get(), Site(L"Bank")));
  ASSERT_EQ(answerer.Boxes().size(), 1u);
  EXPECT_EQ(answerer.Boxes()[0].text, kTitleTaken);
  EXPECT_EQ(answerer.Boxes()[0].caption, L"Keyfolio");
  EXPECT_EQ(answerer.Boxes()[0].owner, owner.Get());
  EXPECT_FALSE(answerer.Boxes()[0].hasIcon);
  EXPECT_EQ(Titles(), std::vector<std::wstring>{L"BANK"});
  EXPECT_EQ(m_set.FieldsByIndex(1), L"user of BANK");

  Add({L"Cash"});
  EXPECT_EQ(m_set.FieldsByIndex(0), L"Cash");
  EXPECT_EQ(m_set.FieldsByIndex(7), L"3");
}

TEST_F(SiteSetTest, AddStampsTodayAndAKeyAndMakesTheSiteCurrent) {
  Add({L"m", L"z"});
  PasswordRecStruct site = Site(L"a", L"notes");
  site.m_DateCreated = site.m_DateModified = kOldDay;
  site.m_PrimaryKeyRecord = 99;
  ASSERT_TRUE(m_set.AddRecord(nullptr, site));
  EXPECT_EQ(m_set.GetCurrentRecordIndex(), 0);
  const PasswordRecStruct added = m_set.GetCurrentRecord();
  EXPECT_EQ(added.m_SiteTitle, L"a");
  EXPECT_EQ(added.m_Notes, L"notes");
  EXPECT_TRUE(IsToday(added.m_DateCreated)) << added.m_DateCreated;
  EXPECT_EQ(added.m_DateModified, added.m_DateCreated);
  EXPECT_EQ(added.m_PrimaryKeyRecord, 3);

  m_set.LoadDefaultValues();
  EXPECT_EQ(m_set.Count(), 0u);
  Add({L"first"});
  EXPECT_EQ(m_set.GetCurrentRecord().m_PrimaryKeyRecord, 1);
}

TEST_F(SiteSetTest, AddManyStampsAndKeysEachLeavesOutATakenTitleSilently) {
  Add({L"m"});
  std::vector<PasswordRecStruct> sites = {Site(L"z"), Site(L"M"), Site(L"b")};
  sites[0].m_DateCreated = kOldDay;
  sites[0].m_PrimaryKeyRecord = 99;
  MessageBoxAnswerer answerer;
  EXPECT_EQ(m_set.AddRecords(sites), 2u);
  EXPECT_TRUE(answerer.Boxes().empty());
  EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"b", L"m", L"z"}));
  // The first site added is current, wherever it sorts.
  EXPECT_EQ(m_set.GetCurrentRecordIndex(), 2);
  const PasswordRecStruct first = m_set.GetCurrentRecord();
  EXPECT_EQ(first.m_UserName, L"user of z");
  EXPECT_TRUE(IsToday(first.m_DateCreated)) << first.m_DateCreated;
  EXPECT_EQ(first.m_DateModified, first.m_DateCreated);
  // Keys as AddRecord hands them out, the refused site's used up too.
  EXPECT_EQ(first.m_PrimaryKeyRecord, 2);
  EXPECT_EQ(m_set.FindTitle(L"B")->m_PrimaryKeyRecord, 4);
  EXPECT_EQ(m_set.FindTitle(L"M")->m_UserName, L"user of m");
  EXPECT_EQ(m_set.FindTitle(L"n"), nullptr);
}

TEST_F(SiteSetTest, FieldsByIndexGivesEachFieldOfTheCurrentSite) {
  ASSERT_TRUE(ReadSection(VaultBytes().Long(7).Site(Stored(L"Only", 7)).Get()));
  const wchar_t* const expected[] = {L"Only", L"u-Only", L"p-Only", L"w-Only", L"n-Only",
                                     kOldDay, kOldDay, L"7", L"", L""};
  const int fields[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, -1};
  for (size_t i = 0; i < std::size(fields); ++i)
    EXPECT_EQ(m_set.FieldsByIndex(fields[i]), expected[i]) << "field " << fields[i];
  EXPECT_EQ(m_set.GetCurrentRecordIndex(), 0) << "-1 becomes the first site";

  // A position at or past the end, or any other negative one, names no site.
  for (int position : {1, 5, -5}) {
    m_set.SetCurrentRecord(position);
    for (int field = 0; field <= 7; ++field)
      EXPECT_EQ(m_set.FieldsByIndex(field), L"") << position << " field " << field;
    EXPECT_EQ(m_set.GetCurrentRecordIndex(), 1) << position;
    EXPECT_EQ(m_set.GetCurrentRecord().m_SiteTitle, L"");
  }
}

TEST_F(SiteSetTest, EditChangingOnlyTheCaseKeepsPositionStampAndKey) {
  ASSERT_TRUE(ReadSection(VaultBytes()
                              .Long(3)
                              .Site(Stored(L"Alpha", 1))
                              .Site(Stored(L"bank", 2))
                              .Site(Stored(L"Zulu", 3))
                              .Get()));
  m_set.SetCurrentRecord(1);
  PasswordRecStruct site = m_set.GetCurrentRecord();
  site.m_SiteTitle = L"Bank";
  site.m_Notes = L"new notes";
  ASSERT_TRUE(m_set.EditCurrentRecord(nullptr, site));

  EXPECT_EQ(m_set.GetCurrentRecordIndex(), 1);
  const PasswordRecStruct edited = m_set.GetCurrentRecord();
  EXPECT_EQ(edited.m_SiteTitle, L"Bank");
  EXPECT_EQ(edited.m_Notes, L"new notes");
  EXPECT_EQ(edited.m_UserName, L"u-bank");
  EXPECT_EQ(edited.m_DateCreated, kOldDay);
  EXPECT_TRUE(IsToday(edited.m_DateModified)) << edited.m_DateModified;
  EXPECT_EQ(edited.m_PrimaryKeyRecord, 2);
  EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"Alpha", L"Bank", L"Zulu"}));
}

TEST_F(SiteSetTest, EditToAnotherSitesTitleIsRefusedAndChangesNothing) {
  ASSERT_TRUE(ReadSection(VaultBytes()
                              .Long(3)
                              .Site(Stored(L"Alpha", 1))
                              .Site(Stored(L"bank", 2))
                              .Site(Stored(L"Zulu", 3))
                              .Get()));
  Window owner(L"STATIC", WS_OVERLAPPEDWINDOW);
  m_set.SetCurrentRecord(1);
  PasswordRecStruct site = m_set.GetCurrentRecord();
  site.m_SiteTitle = L"ZULU";
  site.m_Password = L"changed";
  {
    MessageBoxAnswerer answerer;
    EXPECT_FALSE(m_set.EditCurrentRecord(owner.Get(), site));
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].text, kTitleTaken);
    EXPECT_EQ(answerer.Boxes()[0].caption, L"Keyfolio");
    EXPECT_EQ(answerer.Boxes()[0].owner, owner.Get());
  }
  EXPECT_EQ(m_set.GetCurrentRecordIndex(), 1);
  EXPECT_EQ(m_set.FieldsByIndex(0), L"bank");
  EXPECT_EQ(m_set.FieldsByIndex(2), L"p-bank");
  EXPECT_EQ(m_set.FieldsByIndex(6), kOldDay);
  EXPECT_EQ(m_set.Count(), 3u);

  // The dialog may try again at once: the refused edit left bank current.
  site.m_SiteTitle = L"Bank";
  EXPECT_TRUE(m_set.EditCurrentRecord(owner.Get(), site));
  EXPECT_EQ(m_set.FieldsByIndex(2), L"changed");
  EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"Alpha", L"Bank", L"Zulu"}));
}

// The old site is erased before the argument is read; taken by value, the
// argument cannot be a reference into the set that the erase left dangling.
static_assert(std::is_same<decltype(&DatabasePasswordSet::EditCurrentRecord),
                           bool (DatabasePasswordSet::*)(HWND, PasswordRecStruct)>::value,
              "EditCurrentRecord takes its site by value");

TEST_F(SiteSetTest, EditAndDeleteAtTheEndPositionChangeNothing) {
  // A list selection past the last site, or one that stayed after a delete:
  // no site is current there.
  for (int position : {3, 9}) {
    SCOPED_TRACE(position);
    m_set.LoadDefaultValues();
    Add({L"a", L"b", L"c"});
    m_set.SetCurrentRecord(position);
    PasswordRecStruct site = m_set.GetCurrentRecord();
    EXPECT_EQ(site.m_SiteTitle, L"");
    site.m_SiteTitle = L"new";
    MessageBoxAnswerer answerer;
    EXPECT_FALSE(m_set.EditCurrentRecord(nullptr, site));
    m_set.DeleteCurrentRecord();
    EXPECT_TRUE(answerer.Boxes().empty());
    EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"a", L"b", L"c"}));
    EXPECT_EQ(m_set.GetCurrentRecordIndex(), 3);
  }
}

TEST_F(SiteSetTest, EditOfTheLastSiteMovesItToItsNewPlace) {
  Add({L"a", L"b", L"c"});
  m_set.SetCurrentRecord(2);
  PasswordRecStruct site = m_set.GetCurrentRecord();
  site.m_SiteTitle = L"0 first";
  ASSERT_TRUE(m_set.EditCurrentRecord(nullptr, site));
  EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"0 first", L"a", L"b"}));
  EXPECT_EQ(m_set.GetCurrentRecordIndex(), 0);
  EXPECT_EQ(m_set.FieldsByIndex(2), L"pw-c");
}

TEST_F(SiteSetTest, DeleteMakesTheFollowingOrTheNewLastSiteCurrent) {
  const struct {
    int current;
    int expectedCurrent;
    const wchar_t* expectedTitle;
  } cases[] = {
      {2, 1, L"b"},  // the last: the new last
      {1, 1, L"c"},  // the middle: the next, at the same position
      {0, 0, L"b"},  // the first: the next
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.current);
    m_set.LoadDefaultValues();
    Add({L"a", L"b", L"c"});
    m_set.SetCurrentRecord(c.current);
    m_set.DeleteCurrentRecord();
    EXPECT_EQ(m_set.Count(), 2u);
    EXPECT_EQ(m_set.GetCurrentRecordIndex(), c.expectedCurrent);
    EXPECT_EQ(m_set.FieldsByIndex(0), c.expectedTitle);
  }

  m_set.LoadDefaultValues();
  Add({L"only"});
  m_set.DeleteCurrentRecord();
  EXPECT_EQ(m_set.GetCurrentRecordIndex(), -1);
  EXPECT_TRUE(m_set.DatabaseIsEmpty());
  m_set.DeleteCurrentRecord();  // nothing left to delete
  EXPECT_EQ(m_set.GetCurrentRecordIndex(), -1);
}

TEST_F(SiteSetTest, FillsUnsortedListsInTitleOrderWithKeysAndSelection) {
  struct ListKind {
    const wchar_t* className;
    DWORD style;
    int (DatabasePasswordSet::*fill)(HWND);
    UINT getCount, getText, getData, getSelection, addString;
  };
  const ListKind kinds[] = {
      {L"COMBOBOX", WS_CHILD | CBS_DROPDOWNLIST, &DatabasePasswordSet::FillCombobox, CB_GETCOUNT,
       CB_GETLBTEXT, CB_GETITEMDATA, CB_GETCURSEL, CB_ADDSTRING},
      {L"LISTBOX", WS_CHILD, &DatabasePasswordSet::FillListbox, LB_GETCOUNT, LB_GETTEXT,
       LB_GETITEMDATA, LB_GETCURSEL, LB_ADDSTRING},
  };
  Window parent(L"STATIC", WS_OVERLAPPEDWINDOW);
  for (const ListKind& kind : kinds) {
    SCOPED_TRACE(kind.className);
    Window list(kind.className, kind.style, parent.Get());
    ASSERT_NE(list.Get(), nullptr);
    m_set.LoadDefaultValues();
    Add({L"zeta", L"Alpha", L"mid"});  // keys 1, 2, 3
    m_set.SetCurrentRecord(1);
    EXPECT_EQ((m_set.*kind.fill)(list.Get()), 1);
    ASSERT_EQ(SendMessageW(list.Get(), kind.getCount, 0, 0), 3);
    const wchar_t* const titles[] = {L"Alpha", L"mid", L"zeta"};
    const LRESULT keys[] = {2, 3, 1};
    for (int i = 0; i < 3; ++i) {
      wchar_t text[32] = {};
      SendMessageW(list.Get(), kind.getText, i, reinterpret_cast<LPARAM>(text));
      EXPECT_STREQ(text, titles[i]);
      EXPECT_EQ(SendMessageW(list.Get(), kind.getData, i, 0), keys[i]);
    }
    EXPECT_EQ(SendMessageW(list.Get(), kind.getSelection, 0, 0), 1);

    // Refilling replaces what the list held; an empty set leaves it empty.
    m_set.LoadDefaultValues();
    SendMessageW(list.Get(), kind.addString, 0, reinterpret_cast<LPARAM>(L"stale"));
    EXPECT_EQ((m_set.*kind.fill)(list.Get()), -1);
    EXPECT_EQ(SendMessageW(list.Get(), kind.getCount, 0, 0), 0);
    EXPECT_EQ(SendMessageW(list.Get(), kind.getSelection, 0, 0), -1);
  }
}

TEST_F(SiteSetTest, ReadingKeepsTheSitesBeforeOneThatIsCut) {
  const Bytes whole = VaultBytes()
                          .Long(12)
                          .Site(Stored(L"one", 4))
                          .Site(Stored(L"two", 9))
                          .Site(Stored(L"three", 12))
                          .Get();
  m_set.SetCurrentRecord(2);
  EXPECT_TRUE(ReadSection(whole));
  EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"one", L"three", L"two"}));
  EXPECT_EQ(m_set.GetCurrentRecordIndex(), 2) << "reading leaves the position alone";

  // Half-way through the third site's strings, and inside its closing key.
  for (size_t cut : {whole.size() - 40, whole.size() - 2}) {
    SCOPED_TRACE(cut);
    EXPECT_FALSE(ReadSection(Bytes(whole.begin(), whole.begin() + cut)));
    EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"one", L"two"}));
  }
  ASSERT_TRUE(m_set.AddRecord(nullptr, Site(L"four")));
  EXPECT_EQ(m_set.FieldsByIndex(7), L"13") << "the key count comes from the file";
}

TEST_F(SiteSetTest, ReadingDropsEachDuplicateTitleAfterAnUnownedBox) {
  MessageBoxAnswerer answerer;
  EXPECT_FALSE(ReadSection(VaultBytes()
                               .Long(4)
                               .Site(Stored(L"Bank", 1))
                               .Site(Stored(L"BANK", 2))
                               .Site(Stored(L"other", 3))
                               .Site(Stored(L"bank", 4))
                               .Get()));
  EXPECT_EQ(answerer.Texts(), (std::vector<std::wstring>{kTitleTaken, kTitleTaken}));
  for (const MessageBoxAnswerer::Box& box : answerer.Boxes()) {
    EXPECT_EQ(box.caption, L"Keyfolio");
    EXPECT_EQ(box.owner, nullptr);
  }
  EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"Bank", L"other"}));
  m_set.SetCurrentRecord(0);
  EXPECT_EQ(m_set.FieldsByIndex(7), L"1") << "the first one read stays";
}
