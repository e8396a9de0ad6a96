// Edit > Find Site... (Ctrl+F) on the real program: typed into, moved
// through with the arrow keys, and left with Enter, a double click or Esc,
// as the main window then shows it. Finding changes nothing on the drive.
#include <gtest/gtest.h>

#include "tests/program/Desktop.h"
#include "tests/program/ProgramTest.h"

namespace {

class FindSiteTest : public ProgramTest {
 protected:
  // Title order: Bank, Mail, Mall, Shop; "ma" is in Mail's and Mall's titles
  // and user names only.
  Keyfolio& StartWithFourSites() {
    m_sites = {StoredSite(L"Bank", 1, L"bank pw"), StoredSite(L"Mail", 2, L"mail pw"),
               StoredSite(L"Mall", 3, L"mall pw"), StoredSite(L"Shop", 4, L"shop pw")};
    Keyfolio& program = StartWithSites(m_sites);
    m_stamp = VaultStamp();
    return program;
  }

  static HWND ListIn(HWND dialog) { return FindWindowExW(dialog, nullptr, L"ListBox", nullptr); }

  static HWND Open(Keyfolio& program, bool byMenu = false) {
    if (byMenu)
      program.ChooseMenu(L"Edit", L"Find Site...");
    else
      program.ChooseShortcut({VK_CONTROL, 'F'});
    return program.WaitForDialog(L"Find Site");
  }

  static void Highlight(HWND dialog, WORD key, LRESULT line) {
    Keyfolio::GiveTo(dialog, [key] { PressKey(key); },
                     [&] { return Ask(ListIn(dialog), LB_GETCURSEL) == line; });
  }

  std::vector<SiteFields> m_sites;
  std::wstring m_stamp;
};

TEST_F(FindSiteTest, TypingDownAndEnterShowTheChosenSite) {
  Keyfolio& program = StartWithFourSites();
  HWND dialog = Open(program);
  const HWND field = program.EditBeside(dialog, L"Find:");
  EXPECT_EQ(FocusIn(dialog), field);
  EXPECT_EQ(ListItems(ListIn(dialog)).size(), 4u);

  program.TypeInto(field, L"MA");
  EXPECT_EQ(ListItems(ListIn(dialog)),
            (std::vector<std::wstring>{L"Mail\tuser of Mail", L"Mall\tuser of Mall"}));
  EXPECT_EQ(Ask(ListIn(dialog), LB_GETCURSEL), 0);
  Highlight(dialog, VK_DOWN, 1);
  EXPECT_EQ(FocusIn(dialog), field);
  Keyfolio::GiveTo(dialog, [] { PressKey(VK_RETURN); });
  program.WaitForClose(dialog);

  EXPECT_EQ(program.SelectedTitle(), L"Mall");
  const SiteEntry shown = program.ShownSite();
  EXPECT_EQ(shown.user, m_sites[2].user);
  EXPECT_EQ(shown.address, m_sites[2].address);
  EXPECT_EQ(shown.notes, m_sites[2].notes);
  EXPECT_EQ(shown.password, L"*******");
  // The site is the current one: Edit Site opens on it.
  program.ChooseShortcut({VK_CONTROL, 'E'});
  HWND edit = program.WaitForDialog(L"Edit Site");
  EXPECT_EQ(program.ReadSite(edit).title, L"Mall");
  program.CloseWith(edit, L"Cancel");
  EXPECT_EQ(ReadVaultOnDrive().sites, m_sites);
}

TEST_F(FindSiteTest, EscapeChangesNothing) {
  Keyfolio& program = StartWithFourSites();
  program.ChooseTitle(L"Shop");
  const SiteEntry before = program.ShownSite();
  HWND dialog = Open(program);
  program.TypeInto(program.EditBeside(dialog, L"Find:"), L"bank");
  Keyfolio::GiveTo(dialog, [] { PressKey(VK_ESCAPE); });
  program.WaitForClose(dialog);
  program.WaitUntilIdle();
  EXPECT_EQ(program.SelectedTitle(), L"Shop");
  EXPECT_EQ(program.ShownSite().user, before.user);
  EXPECT_EQ(program.ShownSite().notes, before.notes);
  EXPECT_EQ(VaultStamp(), m_stamp);
}

// From the menu, a double click on a line chooses it; with no match the
// list says so and Enter chooses nothing.
TEST_F(FindSiteTest, MenuDoubleClickAndNoMatch) {
  Keyfolio& program = StartWithFourSites();
  HWND dialog = Open(program, true);
  const HWND field = program.EditBeside(dialog, L"Find:");
  program.TypeInto(field, L"zebra");
  EXPECT_EQ(ListItems(ListIn(dialog)), std::vector<std::wstring>{L"No site matches."});
  EXPECT_FALSE(IsWindowEnabled(FindChild(dialog, L"Button", L"OK")));
  PressKey(VK_RETURN);
  program.WaitUntilIdle();
  EXPECT_TRUE(IsWindowVisible(dialog));

  program.TypeInto(field, L"s");
  const std::vector<std::wstring> lines = ListItems(ListIn(dialog));
  ASSERT_EQ(lines.size(), 4u) << "every user name holds an s";
  BringToFront(dialog);
  DoubleClickAt(ListItemPoint(ListIn(dialog), 2));
  program.WaitForClose(dialog);
  EXPECT_EQ(program.SelectedTitle(), L"Mall");
  EXPECT_EQ(program.ShownSite().user, m_sites[2].user);
  EXPECT_EQ(VaultStamp(), m_stamp);
}

}  // namespace
