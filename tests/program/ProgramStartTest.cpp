// Starting the program from a flash drive: the main window, the order of the
// first questions, the master password check, and the ways it ends.
#include <gtest/gtest.h>

#include <iostream>

#include "support/ResourceIds.h"
#include "tests/common/TempFolder.h"
#include "tests/program/Desktop.h"
#include "tests/program/ProgramTest.h"
#include "tests/program/ShellMarkers.h"
#include "tests/program/SystemComboBox.h"

namespace {

using ProgramStartTest = ProgramTest;

RECT RectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

TEST_F(ProgramStartTest, MainWindowIsFixedCentredAndEmptyUntilThePasswordIsRight) {
  const SiteFields bank = StoredSite(L"Bank", 1), alpha = StoredSite(L"alpha", 2);
  m_drive.PutVault(Vault(kPassword, 0, 2, {bank, alpha}));
  Keyfolio& program = Start();
  HWND main = program.MainWindow();
  // The window is placed before it shows, and shows before the check.
  program.WaitForDialog(L"Keyfolio");
  EXPECT_EQ(ClassOf(main), L"KeyfolioFlashClass");
  wchar_t title[64] = {};
  GetWindowTextW(main, title, 64);
  EXPECT_STREQ(title, L"Keyfolio for Flash Drives");
  const RECT window = RectOf(main), desktop = RectOf(GetDesktopWindow());
  EXPECT_EQ(window.right - window.left, 487);
  EXPECT_EQ(window.bottom - window.top, 320);
  EXPECT_EQ(window.left, (desktop.right - 487) / 2);
  EXPECT_EQ(window.top, (desktop.bottom - 320) / 2);

  EXPECT_FALSE(IsWindowEnabled(main));
  EXPECT_TRUE(program.Titles().empty());
  EXPECT_EQ(program.VisibleFields(), (std::array<std::wstring, 4>{}));

  program.LogIn(kPassword);
  EXPECT_EQ(program.Titles(), (std::vector<std::wstring>{L"alpha", L"Bank"}));
  EXPECT_EQ(program.SelectedTitle(), L"alpha");
  EXPECT_EQ(program.VisibleFields(),
            (std::array<std::wstring, 4>{alpha.user, L"**", alpha.address, alpha.notes}));
}

TEST_F(ProgramStartTest, FirstStartAsksForAMasterPasswordThenForASite) {
  Keyfolio& program = Start();
  std::vector<std::wstring> texts;
  for (const MessageBoxView& box : program.CreateMasterPassword(L"abc")) texts.push_back(box.text);
  EXPECT_EQ(texts, (std::vector<std::wstring>{
                       L"You must first create a master password for\nKeyfolio between 1 to 8 "
                       L"characters long.",
                       L"Your master password has been set. Store your master password\nin a safe "
                       L"place because it cannot be recovered.",
                       L"Next, add a site. Press the \"Add New Site\" button."}));
  EXPECT_TRUE(program.Titles().empty());
  EXPECT_EQ(program.VisibleFields(), (std::array<std::wstring, 4>{}));
  const VaultContents vault = ReadVaultOnDrive();
  EXPECT_EQ(vault.masterPassword, L"abc");
  EXPECT_TRUE(vault.sites.empty());
}

}  // namespace

struct Refusal {
  const char* name;
  bool haveVault;
  const wchar_t* dialog;
};

void PrintTo(const Refusal& refusal, std::ostream* out) {
  *out << refusal.name;
}

class StartupRefusal : public ProgramTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(StartupRefusal, CancelEndsTheProgramWithZeroAndLeavesTheVault) {
  const Bytes vault = Vault(kPassword, 0, 1, {StoredSite(L"Bank", 1)});
  if (GetParam().haveVault) m_drive.PutVault(vault);
  Keyfolio& program = Start();
  if (!GetParam().haveVault) program.AnswerMessageBox();
  program.CloseWith(program.WaitForDialog(GetParam().dialog), L"Cancel");
  ASSERT_TRUE(program.WaitForExit());
  EXPECT_EQ(program.Process().ExitCode(), 0u);
  EXPECT_EQ(m_drive.VaultBytes(), GetParam().haveVault ? vault : Bytes());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartupRefusal,
    ::testing::Values(Refusal{"CreateDialog", false, L"Create Master Password"},
                      Refusal{"EntryDialog", true, L"Keyfolio"}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return info.param.name; });

struct Ending {
  const char* name;
  void (*close)(Keyfolio& program);
};

void PrintTo(const Ending& ending, std::ostream* out) {
  *out << ending.name;
}

class ProgramEnding : public ProgramTest, public ::testing::WithParamInterface<Ending> {};

TEST_P(ProgramEnding, EndsAtOnceWithZeroAndLeavesTheVaultWhole) {
  const std::vector<SiteFields> sites = {StoredSite(L"Bank", 1), StoredSite(L"Mail", 2)};
  Keyfolio& program = StartWithSites(sites);
  GetParam().close(program);
  ASSERT_TRUE(program.WaitForExit()) << "a question held the program";
  EXPECT_EQ(program.Process().ExitCode(), 0u);
  const VaultContents vault = ReadVaultOnDrive();
  EXPECT_EQ(vault.masterPassword, kPassword);
  EXPECT_EQ(vault.sites, sites);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgramEnding,
    ::testing::Values(Ending{"FileExit",
                             [](Keyfolio& program) { program.ChooseMenu(L"File", L"Exit"); }},
                      Ending{"AltF4",
                             [](Keyfolio& program) {
                               program.ChooseShortcut({VK_MENU, VK_F4});
                             }},
                      Ending{"CloseBox",
                             [](Keyfolio& program) {
                               BringToFront(program.MainWindow());
                               ClickAt(PointOfPart(program.MainWindow(), HTCLOSE));
                             }}),
    [](const ::testing::TestParamInfo<Ending>& info) { return info.param.name; });

// Alt+F4 with the site list focused. Windows gives the key to the list, whose
// combo box leaves it to DefWindowProc, which posts WM_SYSCOMMAND SC_CLOSE to
// the main window. The program's part is to let both through: its loop
// translates no Alt+F4 (the accelerator table is held by MenuResourceTest),
// Alt keys reach the list's own procedure (Alt+Down opens it), and the main
// window leaves WM_SYSCOMMAND to DefWindowProc. Wine 8's combo box keeps
// Alt+F4 and posts nothing: a combo box of the test's own, of the same common
// controls, shows it. There the test posts what Windows would, and the main
// window must close on it.
TEST_F(ProgramStartTest, AltF4WithTheSiteListFocusedEndsTheProgram) {
  const bool systemPassesAltF4On = SystemComboBox(m_drive.ProgramPath()).PassesAltF4On();
  const std::vector<SiteFields> sites = {StoredSite(L"Bank", 1), StoredSite(L"Mail", 2)};
  Keyfolio& program = StartWithSites(sites);
  HWND main = program.MainWindow(), list = program.SiteList();
  program.ChooseTitle(L"Mail");
  ASSERT_EQ(FocusIn(main), list);
  program.ChooseShortcut({VK_MENU, VK_DOWN}, [&] { return Ask(list, CB_GETDROPPEDSTATE) != 0; });
  PressKey(VK_ESCAPE);
  Expect([&] { return Ask(list, CB_GETDROPPEDSTATE) == 0; }, "the list to close");
  ASSERT_EQ(FocusIn(main), list);

  if (systemPassesAltF4On) {
    program.ChooseShortcut({VK_MENU, VK_F4}, [&] { return !IsWindow(main); });
  } else {
    std::cout << "The system's combo box keeps Alt+F4 (Wine): the test posts WM_SYSCOMMAND "
                 "SC_CLOSE to the main window, as Windows does.\n";
    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  }
  ASSERT_TRUE(program.WaitForExit());
  EXPECT_EQ(program.Process().ExitCode(), 0u);
  EXPECT_EQ(ReadVaultOnDrive().sites, sites);
}

TEST_F(ProgramStartTest, NeitherDraggingNorTheCaptionChangesTheWindowsSize) {
  Keyfolio& program = StartWithSites({StoredSite(L"Bank", 1)});
  HWND main = program.MainWindow();
  const RECT before = RectOf(main);
  const struct {
    const char* what;
    void (*act)(HWND main);
  } attempts[] = {
      {"dragging the corner out",
       [](HWND main) {
         const POINT corner = PointOfPart(main, HTBOTTOMRIGHT);
         Drag(corner, {corner.x + 120, corner.y + 90});
       }},
      {"dragging the right border in",
       [](HWND main) {
         const POINT edge = PointOfPart(main, HTRIGHT);
         Drag(edge, {edge.x - 100, edge.y});
       }},
      {"double-clicking the caption",
       [](HWND main) { DoubleClickAt(PointOfPart(main, HTCAPTION)); }},
  };
  for (const auto& attempt : attempts) {
    BringToFront(main);
    attempt.act(main);
    program.WaitForInputHandled();
    const RECT after = RectOf(main);
    EXPECT_EQ(after.right - after.left, 487) << attempt.what;
    EXPECT_EQ(after.bottom - after.top, 320) << attempt.what;
    EXPECT_EQ(after.left, before.left) << attempt.what;
    EXPECT_EQ(after.top, before.top) << attempt.what;
    EXPECT_FALSE(IsZoomed(main)) << attempt.what;
  }
}

// The system menu is read as a person reads it with the keyboard: Down
// walks its entries (separators skipped) until it comes round again. Of
// Restore, Move, Size, Minimize, Maximize and Close, three stay; Wine adds
// "About Wine" at the end.
TEST_F(ProgramStartTest, SystemMenuOffersMoveMinimizeAndCloseOnly) {
  Keyfolio& program = StartWithSites({StoredSite(L"Bank", 1)});
  EXPECT_EQ(program.CountSystemMenuEntries(), 3 + 1);
  program.Minimize();
}

// A box that the load shows runs a message loop of its own before the main
// window shows. The master password check must wait for the vault: run from
// that loop it would find no password yet and offer to create one, a way
// past the password to the sites.
struct BoxWhileLoading {
  const char* name;
  const wchar_t* text;
  bool titleTwice;
};

void PrintTo(const BoxWhileLoading& box, std::ostream* out) {
  *out << box.name;
}

class LoadingBox : public ProgramTest, public ::testing::WithParamInterface<BoxWhileLoading> {
 protected:
  // The vault, with a title found twice (the second time in capitals), or
  // beside a folder where the save's first file goes, so that the save
  // cannot begin.
  void PutVaultThatShowsTheBox() {
    std::vector<SiteFields> sites = {StoredSite(L"Bank", 1), StoredSite(L"Mail", 2)};
    if (GetParam().titleTwice) sites.push_back(StoredSite(L"BANK", 3, L"other"));
    m_drive.PutVault(Vault(kPassword, 0, 3, sites));
    if (!GetParam().titleTwice)
      CreateDirectoryW((m_drive.DataFolder() + L"\\KFO.tmp").c_str(), nullptr);
  }

  // What the load found may be told before the check; creating a password
  // may not be asked for. The password of the vault lets the person in.
  void ExpectTheVaultsOwnCheck(Keyfolio& program, std::vector<std::wstring> told);
};

void LoadingBox::ExpectTheVaultsOwnCheck(Keyfolio& program, std::vector<std::wstring> told) {
  HWND next = nullptr;
  for (int box = 0; box < 3; ++box) {
    ASSERT_TRUE(WaitFor([&] { return !program.OpenDialogs().empty(); }));
    next = program.OpenDialogs().front();
    if (!IsMessageBox(next)) break;
    told.push_back(program.AnswerMessageBox().text);
  }
  for (const std::wstring& text : told)
    EXPECT_EQ(text.find(L"You must first create a master password"), std::wstring::npos);
  ASSERT_FALSE(IsMessageBox(next)) << "no master password check";
  EXPECT_EQ(program.EditsIn(next).size(), 1u);
  EXPECT_TRUE(program.Titles().empty());
  program.LogIn(kPassword);
  EXPECT_EQ(program.Titles(), (std::vector<std::wstring>{L"Bank", L"Mail"}));
}

TEST_P(LoadingBox, PasswordCheckWaitsUntilTheVaultIsRead) {
  PutVaultThatShowsTheBox();
  Keyfolio& program = Start();
  const std::wstring told = program.AnswerMessageBox().text;
  EXPECT_EQ(told, GetParam().text);
  ExpectTheVaultsOwnCheck(program, {told});
}

// Another program posts the check while the box is up: from the box's loop
// it would find no password yet. It does nothing, and is not remembered.
TEST_P(LoadingBox, ACheckPostedMeanwhileByAnotherProgramDoesNothing) {
  PutVaultThatShowsTheBox();
  Keyfolio& program = Start();
  const MessageBoxView box = program.WaitForMessageBox();
  EXPECT_EQ(box.text, GetParam().text);
  // The program's thread takes posted messages in the order they came: the
  // check reaches the main window before the box gets its OK.
  ASSERT_TRUE(PostMessageW(program.MainWindow(), WM_COMMAND, ID_Intro_Dialog, 0));
  ASSERT_TRUE(PostMessageW(box.window, WM_COMMAND, IDOK, 0));
  program.WaitForClose(box.window);
  ExpectTheVaultsOwnCheck(program, {box.text});
  EXPECT_EQ(ReadVaultOnDrive().masterPassword, kPassword);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, LoadingBox,
    ::testing::Values(
        BoxWhileLoading{"SaveRefused",
                        L"Unable to open the selected file for saving. Check the disk.", false},
        BoxWhileLoading{"TitleTwice", L"A site with that title already exists.", true}),
    [](const ::testing::TestParamInfo<BoxWhileLoading>& info) { return info.param.name; });

// Wherever a person keeps the program, and however it is started, its data
// lands beside it.
struct Placement {
  const char* name;
  const wchar_t* subfolder;
  // Empty: the program's full path, as the shell starts it.
  const wchar_t* argumentZero;
};

void PrintTo(const Placement& placement, std::ostream* out) {
  *out << placement.name;
}

class ProgramPlacement : public ::testing::TestWithParam<Placement> {};

TEST_P(ProgramPlacement, KeepsItsDataBesideIt) {
  const FlashDrive drive(GetParam().subfolder);
  {
    Keyfolio program(drive, GetParam().argumentZero);
    program.CreateMasterPassword(L"abc");
    program.ChooseMenu(L"File", L"Exit");
    ASSERT_TRUE(program.WaitForExit());
  }
  ASSERT_TRUE(FileExists(drive.VaultPath()));
  EXPECT_EQ(ReadVault(drive.VaultBytes()).masterPassword, L"abc");
}

INSTANTIATE_TEST_SUITE_P(
    Places, ProgramPlacement,
    ::testing::Values(Placement{"FolderWithBlanksAndAccents", L"My Passw\u00f6rds 2026", L""},
                      Placement{"StartedByItsBareName", L"", L"Keyfolio.exe"}),
    [](const ::testing::TestParamInfo<Placement>& info) { return info.param.name; });

namespace {

// Whoever starts the program chooses its argument 0: one that names another
// folder changes nothing there. The vault asked for, and the help page
// opened, are those beside the program.
TEST_F(ProgramStartTest, ArgumentZeroNamingAnotherFolderIsNotWhereItRuns) {
  ShellMarkers markers;
  TempFolder elsewhere;
  m_drive.PutVault(Vault(kPassword, 0, 1, {StoredSite(L"Bank", 1)}));
  Keyfolio& program = Start(elsewhere.File(L"Keyfolio.exe"));
  program.LogIn(kPassword);
  EXPECT_EQ(program.Titles(), std::vector<std::wstring>{L"Bank"});
  // The page opens in another program, which the shell has started by the
  // time the program has handled the key: F1 is pressed again only when the
  // program took every key before and started nothing.
  program.ChooseShortcut({VK_F1}, [&] {
    return !markers.PagesOpened().empty() || markers.AnyMarkerRunning();
  });
  ASSERT_TRUE(WaitFor([&] { return !markers.PagesOpened().empty(); }));
  EXPECT_EQ(_wcsicmp(markers.PagesOpened()[0].c_str(), m_drive.HelpPagePath().c_str()), 0)
      << "opened " << testing::PrintToString(markers.PagesOpened()[0]);
  EXPECT_EQ(FolderContents(elsewhere.Path()), std::vector<std::wstring>{});
}

}  // namespace
