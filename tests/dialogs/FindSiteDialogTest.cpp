// The Find Site dialog on the program's own site set, driven from inside its
// modal loop: what the list shows as the field changes, the keys that move
// its highlight, and the choice it leaves for the Find command.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogbase/DialogTemplates.h"
#include "dialogs/FindSiteDialog.h"
#include "storage/DatabasePasswordSet.h"
#include "support/WindowText.h"
#include "tests/common/DialogDriver.h"
#include "tests/dialogbase/DialogChecks.h"
#include "tests/dialogbase/DialogTestWindows.h"
#include "tests/dialogs/DialogSites.h"
#include "ui/FontManager.h"

namespace {

std::vector<std::wstring> Lines(HWND dialog) {
  return ListItems(dialog, IDC_FIND_LIST);
}

// The line of a site of MakeSite: the title, a tab, the user name.
std::wstring Line(const std::wstring& title) {
  return title + L"\tuser of " + title;
}

std::vector<std::wstring> LinesOf(const std::vector<std::wstring>& titles) {
  std::vector<std::wstring> lines;
  for (const std::wstring& title : titles) lines.push_back(Line(title));
  return lines;
}

LRESULT Highlighted(HWND dialog) {
  return SendDlgItemMessageW(dialog, IDC_FIND_LIST, LB_GETCURSEL, 0, 0);
}

bool Enabled(HWND dialog, int id) {
  return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

// Keys go to the field that has the focus, through the dialog manager.
void Press(HWND dialog, WPARAM key, int times = 1) {
  for (int i = 0; i < times; ++i) PostKey(dialog, IDC_FIND_TEXT, key);
  PumpDialog(dialog);
}

int PositionOf(const std::wstring& title) {
  const std::vector<std::wstring> titles = TitlesInOrder();
  for (size_t i = 0; i < titles.size(); ++i)
    if (titles[i] == title) return static_cast<int>(i);
  return -1;
}

class FindSiteDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitDialogTemplates();
    FontManager::GetInstance().CreateFonts(m_owner.Get());
    // Title order: Bank, Mail, Mall, Shop, Site 01 ... Site 30. Only the
    // first three hold "ma" or "ba", in their titles and user names.
    std::vector<PasswordRecStruct> sites = {MakeSite(L"Shop", L"1"), MakeSite(L"Mall", L"2"),
                                            MakeSite(L"Bank", L"3"), MakeSite(L"Mail", L"4")};
    for (int i = 1; i <= 30; ++i) {
      wchar_t title[16];
      swprintf(title, 16, L"Site %02d", i);
      sites.push_back(MakeSite(title, L"pw"));
    }
    PutSites(sites, 3);
    m_all = LinesOf(TitlesInOrder());
  }

  TestOwner m_owner;
  std::vector<std::wstring> m_all;
};

// Every site in the main window's order, the first line highlighted, the
// field empty and ready; a bold label and the normal font in field and list.
TEST_F(FindSiteDialogTest, OpensWithEverySiteAndTheFirstLineHighlighted) {
  DialogDriver driver([&](HWND dialog) {
    EXPECT_EQ(WindowText(dialog), L"Find Site");
    EXPECT_TRUE(IsCentredOver(dialog, m_owner.Get()));
    EXPECT_EQ(Text(dialog, IDC_LABEL_FIRST), L"Find:");
    EXPECT_EQ(FontOf(dialog, IDC_LABEL_FIRST), FontManager::GetInstance().GetFontHandle(1));
    EXPECT_LE(TextWidth(dialog, IDC_LABEL_FIRST), VisibleWidth(dialog, IDC_LABEL_FIRST));
    for (const int id : {IDC_FIND_TEXT, IDC_FIND_LIST})
      EXPECT_EQ(FontOf(dialog, id), FontManager::GetInstance().GetFontHandle(0));
    EXPECT_EQ(Text(dialog, IDC_FIND_TEXT), L"");
    EXPECT_EQ(Lines(dialog), m_all);
    EXPECT_EQ(Highlighted(dialog), 0);
    EXPECT_TRUE(Enabled(dialog, IDOK));
    // Whole lines only: the list's client area is a multiple of a line.
    RECT client{};
    GetClientRect(GetDlgItem(dialog, IDC_FIND_LIST), &client);
    const LRESULT line = SendDlgItemMessageW(dialog, IDC_FIND_LIST, LB_GETITEMHEIGHT, 0, 0);
    ASSERT_GT(line, 0);
    EXPECT_EQ(client.bottom % line, 0);
    EXPECT_GE(client.bottom / line, 10);
  });
  FindSiteDialog dialog(m_owner.Get());
  EXPECT_TRUE(driver.EndedByDriver());
  EXPECT_EQ(dialog.GetChosenPosition(), -1);
}

// Each change of the field lists the sites that hold its text, and the
// list's first line is highlighted again, wherever the highlight was.
TEST_F(FindSiteDialogTest, FollowsTheFieldAndHighlightsTheFirstLineOfEveryChange) {
  DialogDriver driver([&](HWND dialog) {
    Type(dialog, IDC_FIND_TEXT, L"m");
    EXPECT_EQ(Lines(dialog), m_all) << "every address ends in .example";
    Type(dialog, IDC_FIND_TEXT, L"A");
    EXPECT_EQ(Lines(dialog), LinesOf({L"Mail", L"Mall"}));
    EXPECT_EQ(Highlighted(dialog), 0);
    Press(dialog, VK_DOWN);
    ASSERT_EQ(Highlighted(dialog), 1);
    Type(dialog, IDC_FIND_TEXT, L"l");
    EXPECT_EQ(Lines(dialog), LinesOf({L"Mall"}));
    EXPECT_EQ(Highlighted(dialog), 0);
    Type(dialog, IDC_FIND_TEXT, L"\b");
    EXPECT_EQ(Lines(dialog), LinesOf({L"Mail", L"Mall"}));
    EXPECT_EQ(Highlighted(dialog), 0);
    SetText(dialog, IDC_FIND_TEXT, L"");
    EXPECT_EQ(Lines(dialog), m_all);
    EXPECT_EQ(Highlighted(dialog), 0);
  });
  FindSiteDialog dialog(m_owner.Get());
  EXPECT_TRUE(driver.EndedByDriver());
}

// With no match the one line says so and nothing can be chosen: not with
// OK, Enter, a double click, or the arrow keys. The next change lists again.
TEST_F(FindSiteDialogTest, SaysSoWhenNothingMatchesAndChoosesNothing) {
  DialogDriver driver([&](HWND dialog) {
    Type(dialog, IDC_FIND_TEXT, L"zebra");
    EXPECT_EQ(Lines(dialog), std::vector<std::wstring>{L"No site matches."});
    EXPECT_EQ(Highlighted(dialog), LB_ERR);
    EXPECT_FALSE(Enabled(dialog, IDOK));
    EXPECT_FALSE(Enabled(dialog, IDC_FIND_LIST));
    Press(dialog, VK_DOWN);
    EXPECT_EQ(Highlighted(dialog), LB_ERR);
    Click(dialog, IDOK);
    DoubleClick(dialog, IDC_FIND_LIST);
    Press(dialog, VK_RETURN);
    ASSERT_TRUE(IsOpen(dialog));
    SetText(dialog, IDC_FIND_TEXT, L"bank");
    EXPECT_EQ(Lines(dialog), LinesOf({L"Bank"}));
    EXPECT_EQ(Highlighted(dialog), 0);
    EXPECT_TRUE(Enabled(dialog, IDOK));
    EXPECT_TRUE(Enabled(dialog, IDC_FIND_LIST));
  });
  FindSiteDialog dialog(m_owner.Get());
  EXPECT_TRUE(driver.EndedByDriver());
  EXPECT_EQ(dialog.GetChosenPosition(), -1);
}

// Up, Down, Page Up and Page Down, given to the field, move the list's
// highlight, scrolling it, while the field keeps its text and its caret;
// other keys are the field's. That the focus stays in the field is the
// program test's to see, on a desktop of its own.
TEST_F(FindSiteDialogTest, ArrowKeysMoveTheHighlightWhileTheFocusStaysInTheField) {
  DialogDriver driver([&](HWND dialog) {
    const HWND field = GetDlgItem(dialog, IDC_FIND_TEXT);
    const HWND list = GetDlgItem(dialog, IDC_FIND_LIST);
    Type(dialog, IDC_FIND_TEXT, L"s");
    const size_t count = Lines(dialog).size();
    ASSERT_GT(count, 30u);
    Press(dialog, VK_DOWN, 2);
    EXPECT_EQ(Highlighted(dialog), 2);
    Press(dialog, VK_UP, 3);
    EXPECT_EQ(Highlighted(dialog), 0);
    Press(dialog, VK_NEXT);
    const LRESULT page = Highlighted(dialog);
    EXPECT_GE(page, 5);
    Press(dialog, VK_NEXT, 10);
    EXPECT_EQ(Highlighted(dialog), static_cast<LRESULT>(count - 1));
    EXPECT_GT(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 0) << "the highlight is scrolled into view";
    Press(dialog, VK_PRIOR, 10);
    EXPECT_EQ(Highlighted(dialog), 0);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 0);
    // The list never takes the focus. (This thread may have none at all
    // while another test's window is in front: tests run side by side.)
    EXPECT_NE(GetFocus(), list);
    EXPECT_EQ(Text(dialog, IDC_FIND_TEXT), L"s");
    // Home is the field's own key: its caret moves, the list stays.
    Press(dialog, VK_HOME);
    DWORD start = 99;
    SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(Highlighted(dialog), 0);
  });
  FindSiteDialog dialog(m_owner.Get());
  EXPECT_TRUE(driver.EndedByDriver());
}

// Enter, OK and a double click choose the highlighted site; its position is
// the one it has among all sites, however few the list shows.
TEST_F(FindSiteDialogTest, ChoosesTheHighlightedSiteByItsPositionAmongAllSites) {
  struct Case {
    const char* what;
    const wchar_t* search;
    int downs;
    void (*choose)(HWND dialog);
    const wchar_t* chosen;
  };
  const Case cases[] = {
      {"Enter at once: the first line", L"", 0,
       [](HWND dialog) { Press(dialog, VK_RETURN); }, L"Bank"},
      {"Down, then Enter", L"ma", 1, [](HWND dialog) { Press(dialog, VK_RETURN); }, L"Mall"},
      {"OK", L"site 2", 3, [](HWND dialog) { Click(dialog, IDOK); }, L"Site 23"},
      {"double click", L"SHOP", 0, [](HWND dialog) { DoubleClick(dialog, IDC_FIND_LIST); },
       L"Shop"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DialogDriver driver([&](HWND dialog) {
      SetText(dialog, IDC_FIND_TEXT, c.search);
      Press(dialog, VK_DOWN, c.downs);
      c.choose(dialog);
    });
    FindSiteDialog dialog(m_owner.Get());
    EXPECT_FALSE(driver.EndedByDriver());
    EXPECT_EQ(dialog.GetResult(), IDOK);
    EXPECT_EQ(dialog.GetChosenPosition(), PositionOf(c.chosen));
    // The dialog chooses; showing the site is the command's.
    EXPECT_EQ(DatabasePasswordSet::GetInstance().GetCurrentRecordIndex(), 3);
  }
}

TEST_F(FindSiteDialogTest, CancelEscAndTheCloseBoxChooseNothing) {
  struct Case {
    const char* what;
    void (*close)(HWND dialog);
  };
  const Case cases[] = {
      {"Cancel", [](HWND dialog) { Click(dialog, IDCANCEL); }},
      {"Esc", [](HWND dialog) { Press(dialog, VK_ESCAPE); }},
      {"close box", [](HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DialogDriver driver([&](HWND dialog) {
      Type(dialog, IDC_FIND_TEXT, L"ma");
      Press(dialog, VK_DOWN);
      c.close(dialog);
    });
    FindSiteDialog dialog(m_owner.Get());
    EXPECT_FALSE(driver.EndedByDriver());
    EXPECT_EQ(dialog.GetResult(), IDCANCEL);
    EXPECT_EQ(dialog.GetChosenPosition(), -1);
    EXPECT_EQ(DatabasePasswordSet::GetInstance().GetCurrentRecordIndex(), 3);
  }
}

}  // namespace
