// What the main window shows of a site, masked or in clear, and what its
// Copy buttons put on the clipboard.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/program/ClipboardContents.h"
#include "tests/program/Desktop.h"
#include "tests/program/ProgramTest.h"

namespace {

using ViewAndCopyTest = ProgramTest;

const std::vector<bool> kHideChecked = {true, false};
const std::vector<bool> kShowChecked = {false, true};

TEST_F(ViewAndCopyTest, HideAndShowFollowTheViewMenuAndOutlastARestart) {
  const SiteFields bank = StoredSite(L"Bank", 1, L"12345");
  {
    Keyfolio& program = StartWithSites({bank});
    EXPECT_EQ(program.PasswordChar(), L'*');
    EXPECT_EQ(program.VisibleFields()[1], L"*****");
    EXPECT_EQ(program.CheckMarksOf(L"View"), kHideChecked);

    program.ChooseMenu(L"View", L"Show Password", [&] { return program.PasswordChar() == 0; });
    EXPECT_EQ(TextOf(program.Field(1)), L"12345");
    EXPECT_TRUE(WaitFor([&] { return ReadVaultOnDrive().flag == 1; }));
    EXPECT_EQ(program.CheckMarksOf(L"View"), kShowChecked);
    program.ChooseMenu(L"File", L"Exit");
    ASSERT_TRUE(program.WaitForExit());
  }
  Keyfolio& again = Start();
  again.LogIn(kPassword);
  EXPECT_EQ(again.PasswordChar(), 0);
  EXPECT_EQ(again.VisibleFields()[1], L"12345");
  EXPECT_EQ(again.CheckMarksOf(L"View"), kShowChecked);

  again.ChooseMenu(L"View", L"Hide Password", [&] { return again.PasswordChar() == L'*'; });
  EXPECT_EQ(again.VisibleFields()[1], L"*****");
  EXPECT_TRUE(WaitFor([&] { return ReadVaultOnDrive().flag == 0; }));
  EXPECT_EQ(again.CheckMarksOf(L"View"), kHideChecked);
  EXPECT_EQ(ReadVaultOnDrive().sites, std::vector<SiteFields>{bank});
}

TEST_F(ViewAndCopyTest, ChoosingATitleShowsItsSiteAndSavesNothing) {
  const SiteFields bank = StoredSite(L"Bank", 1), mail = StoredSite(L"Mail", 2, L"mail pw");
  Keyfolio& program = StartWithSites({bank, mail});
  const std::wstring before = VaultStamp();
  program.ChooseTitle(L"Mail");
  EXPECT_EQ(program.VisibleFields(),
            (std::array<std::wstring, 4>{mail.user, L"*******", mail.address, mail.notes}));
  program.WaitForInputHandled();
  EXPECT_EQ(VaultStamp(), before);

  // The chosen site is the one the commands work on.
  program.ChooseShortcut({VK_CONTROL, 'E'});
  HWND edit = program.WaitForDialog(L"Edit Site");
  EXPECT_EQ(program.ReadSite(edit).title, L"Mail");
  program.CloseWith(edit, L"Cancel");
  program.ChooseTitle(L"Bank");
  EXPECT_EQ(program.VisibleFields()[0], bank.user);
}

// Other programs that watch the clipboard (history, cloud sync) are asked
// to leave a copied password alone.
void ExpectPrivateMarks() {
  for (const wchar_t* mark : {L"ExcludeClipboardContentFromMonitorProcessing",
                              L"CanIncludeInClipboardHistory", L"CanUploadToCloudClipboard"}) {
    const std::optional<std::vector<unsigned char>> data = ClipboardData(mark);
    ASSERT_TRUE(data.has_value()) << "no format " << testing::PrintToString(std::wstring(mark));
    if (std::wstring(mark) == L"ExcludeClipboardContentFromMonitorProcessing") continue;
    ASSERT_GE(data->size(), sizeof(DWORD));
    DWORD value = 1;
    std::memcpy(&value, data->data(), sizeof value);
    EXPECT_EQ(value, 0u) << testing::PrintToString(std::wstring(mark));
  }
}

TEST_F(ViewAndCopyTest, CopyPutsTheRealTextOnTheClipboardAndMarksItPrivate) {
  SiteFields bank = StoredSite(L"Bank", 1, L"s3cr\u00e9t pw");
  Keyfolio& program = StartWithSites({bank});
  ASSERT_EQ(program.PasswordChar(), L'*');
  PutClipboardText(L"before");
  program.ClickMainButton(L"Copy", 1);
  EXPECT_TRUE(
      WaitFor([] { return ClipboardText() == std::optional<std::wstring>(L"s3cr\u00e9t pw"); }));
  ExpectPrivateMarks();

  program.ClickMainButton(L"Copy", 0);
  EXPECT_TRUE(WaitFor([&] { return ClipboardText() == std::optional<std::wstring>(bank.user); }));
  ExpectPrivateMarks();
}

TEST_F(ViewAndCopyTest, CopyOfAnEmptyFieldPutsAnEmptyTextWithoutAWord) {
  SiteFields bank = StoredSite(L"Bank", 1);
  bank.user.clear();
  Keyfolio& program = StartWithSites({bank});
  PutClipboardText(L"before");
  program.ClickMainButton(L"Copy", 0);
  EXPECT_TRUE(WaitFor([] { return ClipboardText() == std::optional<std::wstring>(L""); }));
  program.WaitForInputHandled();
  EXPECT_TRUE(program.OpenDialogs().empty());
}

// A copied password does not outlive the program; what the person copied
// since, in another program, does.
TEST_F(ViewAndCopyTest, ACopyLeavesTheClipboardWithTheProgramButALaterCopyStays) {
  const SiteFields bank = StoredSite(L"Bank", 1, L"bank pw");
  {
    Keyfolio& program = StartWithSites({bank});
    program.ClickMainButton(L"Copy", 1);
    ASSERT_TRUE(WaitFor([] { return ClipboardText() == std::optional<std::wstring>(L"bank pw"); }));
    program.ChooseMenu(L"File", L"Exit");
    ASSERT_TRUE(program.WaitForExit());
    EXPECT_EQ(ClipboardText(), std::nullopt);
  }
  Keyfolio& again = Start();
  again.LogIn(kPassword);
  again.ClickMainButton(L"Copy", 0);
  ASSERT_TRUE(WaitFor([&] { return ClipboardText() == std::optional<std::wstring>(bank.user); }));
  PutClipboardText(L"copied later");
  again.ChooseMenu(L"File", L"Exit");
  ASSERT_TRUE(again.WaitForExit());
  EXPECT_EQ(ClipboardText(), std::optional<std::wstring>(L"copied later"));
}

// A clipboard manager or a remote-desktop sync that has the clipboard open
// when the copy's time is up, and lets it go later: the copy still goes,
// soon after.
TEST_F(ViewAndCopyTest, ACopyHeldPastItsTimeGoesOnceTheClipboardIsLetGo) {
  // The program's 30 s, the half second it waits for the clipboard then,
  // and a margin for a late timer.
  constexpr ULONGLONG kHeldMs = 30000 + 500 + 2500;
  Keyfolio& program = StartWithSites({StoredSite(L"Bank", 1, L"bank pw")});
  program.ClickMainButton(L"Copy", 1);
  ASSERT_TRUE(WaitFor([] { return ClipboardText() == std::optional<std::wstring>(L"bank pw"); }));
  const ULONGLONG copied = GetTickCount64();
  {
    HeldClipboard holder;
    // The hold itself is what the test is about: nothing in the program
    // shows that it has tried.
    WaitFor([&] { return GetTickCount64() - copied >= kHeldMs; }, kHeldMs + kStepTimeoutMs);
  }
  EXPECT_TRUE(WaitFor([] { return ClipboardText() == std::nullopt; }));
  EXPECT_TRUE(program.Process().Running());
}

// Log-off, shut-down or restart: Windows may end the program once it has
// answered WM_ENDSESSION, and the copy has gone by then.
TEST_F(ViewAndCopyTest, TheEndOfTheSessionTakesACopyOff) {
  Keyfolio& program = StartWithSites({StoredSite(L"Bank", 1, L"bank pw")});
  program.ClickMainButton(L"Copy", 1);
  ASSERT_TRUE(WaitFor([] { return ClipboardText() == std::optional<std::wstring>(L"bank pw"); }));
  EXPECT_EQ(Ask(program.MainWindow(), WM_QUERYENDSESSION), 1);
  Ask(program.MainWindow(), WM_ENDSESSION, TRUE);
  EXPECT_EQ(ClipboardText(), std::nullopt);
}

}  // namespace
