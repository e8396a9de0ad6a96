// The Delete Site dialog on the program's own site set: what it shows, the
// question it asks, and the choice it leaves for the Delete command.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dialogs/DeletePasswordInDB.h"
#include "dialogbase/DialogTemplates.h"
#include "tests/common/DialogDriver.h"
#include "tests/common/MessageBoxAnswerer.h"
#include "tests/dialogbase/DialogChecks.h"
#include "tests/dialogs/DialogSites.h"
#include "tests/dialogbase/DialogTestWindows.h"
#include "ui/FontManager.h"

namespace {

std::wstring Question(const std::wstring& title) {
  return L"Site:  " + title + L"\nAre you sure you want to delete this site?";
}

LRESULT Selection(HWND dialog) {
  return SendDlgItemMessageW(dialog, IDC_DELETE_LIST, LB_GETCURSEL, 0, 0);
}

void Select(HWND dialog, int index) {
  SendDlgItemMessageW(dialog, IDC_DELETE_LIST, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// A title far longer than any fixed buffer, and one with printf's
// directives, which must reach the question as they are.
const std::wstring kLongTitle = L"Long " + std::wstring(600, L'x');
const std::wstring kPercentTitle = L"100% %s %n %i";

class DeleteDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitDialogTemplates();
    FontManager::GetInstance().CreateFonts(m_owner.Get());
    // Title order: "100% ...", "Bank", "Long x...", "mail", "Shop".
    PutSites({MakeSite(L"Shop", L"1"), MakeSite(L"mail", L"2"), MakeSite(L"Bank", L"3"),
              MakeSite(kLongTitle, L"4"), MakeSite(kPercentTitle, L"5")},
             3);
  }

  TestOwner m_owner;
};

// Every title in title order, unsorted by the list, with the current site
// selected; a bold label, the normal font on the list and the buttons.
TEST_F(DeleteDialogTest, ListsTheTitlesInOrderWithTheCurrentSiteSelected) {
  DialogDriver driver([&](HWND dialog) {
    wchar_t caption[32] = {};
    GetWindowTextW(dialog, caption, 32);
    EXPECT_STREQ(caption, L"Delete Site");
    EXPECT_TRUE(IsCentredOver(dialog, m_owner.Get()));
    EXPECT_EQ(ListItems(dialog, IDC_DELETE_LIST), TitlesInOrder());
    EXPECT_EQ(ListItems(dialog, IDC_DELETE_LIST)[3], L"mail");
    EXPECT_EQ(Selection(dialog), 3);
    EXPECT_EQ(Text(dialog, IDC_LABEL_FIRST), L"Title:");
    EXPECT_EQ(FontOf(dialog, IDC_LABEL_FIRST), FontManager::GetInstance().GetFontHandle(1));
    EXPECT_LE(TextWidth(dialog, IDC_LABEL_FIRST), VisibleWidth(dialog, IDC_LABEL_FIRST));
    const HFONT normal = FontManager::GetInstance().GetFontHandle(0);
    for (const int id : {IDC_DELETE_LIST, IDOK, IDCANCEL}) EXPECT_EQ(FontOf(dialog, id), normal);
  });
  DeletePasswordInDB dialog(m_owner.Get());
  EXPECT_TRUE(driver.EndedByDriver());
  EXPECT_EQ(DeletePasswordInDB::GetChosenIndex(), -1);
}

// "&Delete" and a double click ask the same question about the selected
// site, whatever its title holds. No forgets the choice and keeps the
// dialog open; Yes ends it with the choice made.
TEST_F(DeleteDialogTest, AsksAboutTheSelectedSiteAndYesChoosesIt) {
  struct Case {
    const char* what;
    int select;
    bool doubleClick;
    std::wstring title;
  };
  const Case cases[] = {
      {"Delete at once: the current site", -1, false, L"mail"},
      {"double click at once", -1, true, L"mail"},
      {"another site", 4, false, L"Shop"},
      {"the first site, by double click", 0, true, kPercentTitle},
      {"a long title", 2, false, kLongTitle},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<MessageBoxAnswerer::Box> boxes;
    DialogDriver driver([&](HWND dialog) {
      if (c.select >= 0) Select(dialog, c.select);
      const auto ask = [&] { c.doubleClick ? DoubleClick(dialog, IDC_DELETE_LIST) : Click(dialog, IDOK); };
      {
        MessageBoxAnswerer no(IDNO);
        ask();
        boxes = no.Boxes();
      }
      EXPECT_TRUE(IsOpen(dialog));
      EXPECT_EQ(DeletePasswordInDB::GetChosenIndex(), -1);
      EXPECT_EQ(DeletePasswordInDB::GetChosenTitle(), L"");
      MessageBoxAnswerer yes(IDYES);
      ask();
      EXPECT_FALSE(IsOpen(dialog));
      ASSERT_EQ(yes.Boxes().size(), 1u);
      boxes.push_back(yes.Boxes()[0]);
    });
    DeletePasswordInDB dialog(m_owner.Get());
    EXPECT_EQ(dialog.GetResult(), IDOK);
    EXPECT_FALSE(driver.EndedByDriver());
    ASSERT_EQ(boxes.size(), 2u);
    for (const MessageBoxAnswerer::Box& box : boxes) {
      EXPECT_EQ(box.text, Question(c.title));
      EXPECT_EQ(box.caption, L"Delete Verification");
      EXPECT_EQ(box.owner, driver.Dialog());
      EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
      EXPECT_EQ(box.icon, LoadIconW(nullptr, IDI_EXCLAMATION));
    }
    const std::vector<std::wstring> titles = TitlesInOrder();
    const int expected = static_cast<int>(
        std::find(titles.begin(), titles.end(), c.title) - titles.begin());
    EXPECT_EQ(DeletePasswordInDB::GetChosenIndex(), expected);
    EXPECT_EQ(DeletePasswordInDB::GetChosenTitle(), c.title);
    // The dialog itself deletes nothing: that is the command's.
    EXPECT_EQ(titles.size(), 5u);
  }
}

// With no item selected neither "&Delete" nor a double click asks anything,
// and the dialog stays open; Cancel then ends it with no choice.
TEST_F(DeleteDialogTest, NothingSelectedAsksNothingAndCancelChoosesNothing) {
  MessageBoxAnswerer answerer(IDYES);
  DialogDriver driver([&](HWND dialog) {
    Select(dialog, -1);
    ASSERT_EQ(Selection(dialog), LB_ERR);
    Click(dialog, IDOK);
    DoubleClick(dialog, IDC_DELETE_LIST);
    EXPECT_TRUE(IsOpen(dialog));
    EXPECT_EQ(DeletePasswordInDB::GetChosenIndex(), -1);
    Select(dialog, 1);
    Click(dialog, IDCANCEL);
  });
  DeletePasswordInDB dialog(m_owner.Get());
  EXPECT_EQ(dialog.GetResult(), IDCANCEL);
  EXPECT_TRUE(answerer.Boxes().empty());
  EXPECT_EQ(DeletePasswordInDB::GetChosenIndex(), -1);
  EXPECT_EQ(DeletePasswordInDB::GetChosenTitle(), L"");
}

// A choice made in one run is gone when the dialog opens again, and Esc and
// the close box cancel as the button does.
TEST_F(DeleteDialogTest, EveryOpeningStartsWithoutAChoice) {
  {
    MessageBoxAnswerer yes(IDYES);
    DialogDriver driver([](HWND dialog) { Click(dialog, IDOK); });
    DeletePasswordInDB dialog(m_owner.Get());
  }
  ASSERT_EQ(DeletePasswordInDB::GetChosenIndex(), 3);
  struct Case {
    const char* what;
    void (*close)(HWND dialog);
  };
  const Case cases[] = {
      {"Esc", [](HWND dialog) { PostKey(dialog, IDC_DELETE_LIST, VK_ESCAPE); }},
      {"close box", [](HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int chosenWhileOpen = 0;
    DialogDriver driver([&](HWND dialog) {
      chosenWhileOpen = DeletePasswordInDB::GetChosenIndex();
      c.close(dialog);
    });
    DeletePasswordInDB dialog(m_owner.Get());
    EXPECT_EQ(chosenWhileOpen, -1);
    EXPECT_EQ(dialog.GetResult(), IDCANCEL);
    EXPECT_FALSE(driver.EndedByDriver());
    EXPECT_EQ(DeletePasswordInDB::GetChosenIndex(), -1);
  }
}

}  // namespace
