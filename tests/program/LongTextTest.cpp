// Every text a person types or pastes is kept whole, and can be read back:
// ten lines of recovery codes pasted into Notes, an address longer than its
// field. A note cut without a word is data lost.
#include <gtest/gtest.h>

#include <string>

#include "tests/program/ClipboardContents.h"
#include "tests/program/Desktop.h"
#include "tests/program/ProgramTest.h"

namespace {

using LongTextTest = ProgramTest;

std::wstring RecoveryCodes(int lines) {
  std::wstring codes;
  for (int line = 1; line <= lines; ++line) {
    if (line > 1) codes += L"\r\n";
    codes += L"recovery code " + std::to_wstring(line) + L": 7f3a-9c21-" +
             std::to_wstring(1000 + line * 37) + L"-e4b8";
  }
  return codes;
}

// Where character `index` of an edit field shows, in its client area.
POINT PlaceOf(HWND field, size_t index) {
  const LRESULT place = Ask(field, EM_POSFROMCHAR, index);
  return {static_cast<short>(LOWORD(place)), static_cast<short>(HIWORD(place))};
}

// The field's last line is in view, whole.
bool LastLineShows(HWND field) {
  const LRESULT lines = Ask(field, EM_GETLINECOUNT);
  if (lines < 2) return true;
  const POINT last = PlaceOf(field, static_cast<size_t>(Ask(field, EM_LINEINDEX, lines - 1)));
  const POINT before = PlaceOf(field, static_cast<size_t>(Ask(field, EM_LINEINDEX, lines - 2)));
  RECT client{};
  GetClientRect(field, &client);
  return last.y >= 0 && last.y + (last.y - before.y) <= client.bottom;
}

// The down arrow of the field's vertical scroll bar, where a person clicks
// it; throws when the field shows no scroll bar.
POINT DownArrowOf(HWND field) {
  RECT rect{};
  GetWindowRect(field, &rect);
  const POINT arrow = {rect.right - GetSystemMetrics(SM_CXVSCROLL) / 2,
                       rect.bottom - GetSystemMetrics(SM_CYVSCROLL) / 2};
  if (Ask(field, WM_NCHITTEST, 0, MAKELPARAM(arrow.x, arrow.y)) != HTVSCROLL)
    throw StepFailed("the field shows no scroll bar");
  return arrow;
}

// Twenty lines pasted into Add Site's Notes go in whole, are saved whole,
// and the main window's Notes field scrolls to the last of them.
TEST_F(LongTextTest, PastedNotesAreKeptWholeAndScrollIntoView) {
  Keyfolio& program = StartWithSites({StoredSite(L"Bank", 1)});
  program.ChooseShortcut({VK_CONTROL, 'N'});
  HWND dialog = program.WaitForDialog(L"Add Site");
  program.FillSite(dialog, {L"Mail", L"me", L"pw", L"", L""});
  const std::wstring codes = RecoveryCodes(20);
  PutClipboardText(codes);
  HWND notes = program.EditBeside(dialog, L"Notes:");
  // What was pasted before is selected and pasted over.
  Retry("the pasted note to arrive whole", [&](DWORD waitMs) {
    Click(notes);
    if (!WaitFor([&] { return FocusIn(notes) == notes; }, waitMs)) return false;
    PressKeys({VK_CONTROL, VK_END});
    PressKeys({VK_CONTROL, VK_SHIFT, VK_HOME});
    PressKeys({VK_CONTROL, 'V'});
    return WaitFor([&] { return TextOf(notes) == codes; }, waitMs);
  });
  program.CloseWith(dialog, L"OK");
  program.WaitUntilIdle();

  const VaultContents vault = ReadVaultOnDrive();
  ASSERT_EQ(vault.sites.size(), 2u);
  EXPECT_EQ(vault.sites[1].notes, codes);
  ASSERT_EQ(program.SelectedTitle(), L"Mail");
  HWND shown = program.Field(3);
  EXPECT_EQ(TextOf(shown), codes);
  EXPECT_FALSE(LastLineShows(shown));
  const POINT arrow = DownArrowOf(shown);
  for (int click = 0; click < 40 && !LastLineShows(shown); ++click) {
    const LRESULT top = Ask(shown, EM_GETFIRSTVISIBLELINE);
    ClickAt(arrow);
    WaitFor([&] { return Ask(shown, EM_GETFIRSTVISIBLELINE) != top; });
  }
  EXPECT_TRUE(LastLineShows(shown));
}

// A note that fits shows no scroll bar: the field keeps its whole width.
TEST_F(LongTextTest, ANoteThatFitsShowsNoScrollBar) {
  Keyfolio& program = StartWithSites({StoredSite(L"Bank", 1)});
  EXPECT_THROW(DownArrowOf(program.Field(3)), StepFailed);
}

// An address of 200 characters typed into Add Site is kept whole, and in the
// main window the caret carries the field's view to its end.
TEST_F(LongTextTest, ALongAddressIsKeptWholeAndCanBeReadToItsEnd) {
  Keyfolio& program = StartWithSites({StoredSite(L"Bank", 1)});
  std::wstring address = L"https://accounts.example.com/recover?token=";
  while (address.size() < 200) address += L"a1b2c3d4e5";
  address.resize(200);
  program.ChooseShortcut({VK_CONTROL, 'N'});
  HWND dialog = program.WaitForDialog(L"Add Site");
  program.FillSite(dialog, {L"Mail", L"me", L"pw", address, L""});
  program.CloseWith(dialog, L"OK");
  program.WaitUntilIdle();
  EXPECT_EQ(ReadVaultOnDrive().sites.at(1).address, address);

  HWND field = program.Field(2);
  ASSERT_EQ(TextOf(field), address);
  RECT client{};
  GetClientRect(field, &client);
  const auto endShows = [&] {
    const POINT end = PlaceOf(field, address.size() - 1);
    return end.x >= 0 && end.x < client.right;
  };
  EXPECT_FALSE(endShows());
  Retry("the caret to carry the view to the end", [&](DWORD waitMs) {
    Click(field);
    if (!WaitFor([&] { return FocusIn(field) == field; }, waitMs)) return false;
    PressKey(VK_END);
    return WaitFor(endShows, waitMs);
  });
  EXPECT_EQ(TextOf(field), address);
}

}  // namespace
