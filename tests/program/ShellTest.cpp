// What the program hands to the shell: the website address behind "Go"
// (web addresses only), and the help page beside the program behind F1, the
// Help menu and the About box's link. Marker programs stand in for the
// browser and write down what they were given. What does not open is told:
// a missing help page with the folder where it was looked for, and a target
// that the shell could not open by name, over the window the person used.
#include <gtest/gtest.h>

#include <functional>

#include "tests/program/Desktop.h"
#include "tests/program/ProgramTest.h"
#include "tests/program/ShellMarkers.h"

namespace {

class ShellTest : public ProgramTest {
 protected:
  ShellMarkers m_markers;
};

// What tells that a command to open something came: the shell was handed it
// (a marker runs, or has written it down), or a box shows over the main
// window. The shell has started the marker by the time the program has
// handled the key or the click.
std::function<bool()> Came(const ShellMarkers& markers, const Keyfolio& program) {
  return [&markers, &program] {
    return markers.AnyMarkerRunning() || !markers.PagesOpened().empty() ||
           !markers.WebAddressesOpened().empty() || !IsWindowEnabled(program.MainWindow());
  };
}

// Addresses that a shell would open are those a test can see opened: web
// addresses reach the web marker, a page file the page marker, and a
// program run by its path or a file address is the program marker.
struct GoCase {
  const char* name;
  std::wstring (*address)(const ShellMarkers& markers, const FlashDrive& drive);
  // Null when nothing may be opened.
  const wchar_t* opened;
};

void PrintTo(const GoCase& go, std::ostream* out) {
  *out << go.name;
}

class GoButton : public ShellTest, public ::testing::WithParamInterface<GoCase> {};

TEST_P(GoButton, OpensWebAddressesOnly) {
  const std::wstring address = GetParam().address(m_markers, m_drive);
  Keyfolio& program = StartWithSites({StoredSite(L"Bank", 1, L"pw", address)});
  program.ClickMainButton(L"Go");
  if (GetParam().opened) {
    EXPECT_TRUE(WaitFor([&] { return !m_markers.WebAddressesOpened().empty(); }));
    EXPECT_EQ(m_markers.WebAddressesOpened(), std::vector<std::wstring>{GetParam().opened});
  } else {
    // The shell would have started a marker before the click's handler
    // returned: now it runs or has written down what it was given.
    program.WaitForInputHandled();
    EXPECT_FALSE(m_markers.AnyMarkerRunning());
    EXPECT_TRUE(m_markers.WebAddressesOpened().empty());
    EXPECT_FALSE(m_markers.ProgramMarkerRan());
  }
  EXPECT_TRUE(m_markers.PagesOpened().empty());
}

std::wstring FileAddressOf(const std::wstring& path) {
  std::wstring address = L"file:///" + path;
  for (wchar_t& unit : address)
    if (unit == L'\\') unit = L'/';
  return address;
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, GoButton,
    ::testing::Values(GoCase{"Https",
                             [](const ShellMarkers&, const FlashDrive&) -> std::wstring {
                               return L"https://bank.example.com/login?next=1";
                             },
                             L"https://bank.example.com/login?next=1"},
                      GoCase{"HttpAnyCase",
                             [](const ShellMarkers&, const FlashDrive&) -> std::wstring {
                               return L"HTTP://Example.com/";
                             },
                             L"HTTP://Example.com/"},
                      GoCase{"HostAlone",
                             [](const ShellMarkers&, const FlashDrive&) -> std::wstring {
                               return L"www.example.com";
                             },
                             L"http://www.example.com"},
                      GoCase{"HostWithPortAndBlanks",
                             [](const ShellMarkers&, const FlashDrive&) -> std::wstring {
                               return L"  example.com:8080/a  ";
                             },
                             L"http://example.com:8080/a"},
                      GoCase{"Program",
                             [](const ShellMarkers& markers, const FlashDrive&) {
                               return markers.ProgramMarker();
                             },
                             nullptr},
                      GoCase{"FileAddress",
                             [](const ShellMarkers& markers, const FlashDrive&) {
                               return FileAddressOf(markers.ProgramMarker());
                             },
                             nullptr},
                      GoCase{"PageFile",
                             [](const ShellMarkers&, const FlashDrive& drive) {
                               return drive.HelpPagePath();
                             },
                             nullptr}),
    [](const ::testing::TestParamInfo<GoCase>& info) { return info.param.name; });

// The ways to open something; each answers the window the person used.
// The key and the menu are given again when the program took them and
// `came` (Came) does not tell that the command came.
HWND PressF1(Keyfolio& program, const std::function<bool()>& came) {
  program.ChooseShortcut({VK_F1}, came);
  return program.MainWindow();
}

HWND ChooseHelp(Keyfolio& program, const std::function<bool()>& came) {
  program.ChooseMenu(L"Help", L"Keyfolio for Flash Drives Help", came);
  return program.MainWindow();
}

HWND ClickAboutLink(Keyfolio& program, const std::function<bool()>&) {
  program.ChooseMenu(L"Help", L"About...");
  HWND about = program.WaitForDialog(L"About");
  Click(FindWindowExW(about, nullptr, L"HotLinkText", nullptr));
  return about;
}

HWND ClickGo(Keyfolio& program, const std::function<bool()>&) {
  program.ClickMainButton(L"Go");
  return program.MainWindow();
}

struct HelpRoute {
  const char* name;
  HWND (*open)(Keyfolio& program, const std::function<bool()>& came);
};

void PrintTo(const HelpRoute& route, std::ostream* out) {
  *out << route.name;
}

class HelpPage : public ShellTest, public ::testing::WithParamInterface<HelpRoute> {};

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return _wcsicmp(a.c_str(), b.c_str()) == 0;
}

// Also with no site at all.
TEST_P(HelpPage, OpensThePageBesideTheProgram) {
  Keyfolio& program = StartWithSites({});
  GetParam().open(program, Came(m_markers, program));
  ASSERT_TRUE(WaitFor([&] { return !m_markers.PagesOpened().empty(); }));
  const std::vector<std::wstring> pages = m_markers.PagesOpened();
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_PRED2(SamePath, pages[0], m_drive.HelpPagePath());
  EXPECT_TRUE(m_markers.WebAddressesOpened().empty());
}

// Someone copied only the program file: no help folder at all.
TEST_P(HelpPage, SaysWhereAMissingPageWasLookedFor) {
  const std::wstring folder = m_drive.ProgramFolder() + L"\\help";
  ASSERT_TRUE(DeleteFileW(m_drive.HelpPagePath().c_str()));
  ASSERT_TRUE(RemoveDirectoryW(folder.c_str()));
  Keyfolio& program = StartWithSites({});
  HWND used = GetParam().open(program, Came(m_markers, program));
  const MessageBoxView box = program.WaitForMessageBox();
  EXPECT_EQ(Says(box), (BoxSays{L"Keyfolio",
                                L"The help page Keyfolio-Flash-Instructions.htm was not found "
                                L"in the folder \"" + folder + L"\".",
                                {L"OK"}}));
  EXPECT_TRUE(box.hasIcon);
  EXPECT_EQ(box.owner, used);
  program.Answer(box, L"OK");
  EXPECT_TRUE(IsWindowEnabled(used));
  EXPECT_TRUE(m_markers.PagesOpened().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Routes, HelpPage,
    ::testing::Values(HelpRoute{"F1", PressF1}, HelpRoute{"HelpMenu", ChooseHelp},
                      HelpRoute{"AboutLink", ClickAboutLink}),
    [](const ::testing::TestParamInfo<HelpRoute>& info) { return info.param.name; });

// What Go and Help start runs in the system folder, not in the program's: a
// browser left open in the program's folder, on the drive, would keep the
// drive busy after Keyfolio ended, and Windows would refuse to remove it
// safely. The program itself runs in its folder, as the shell starts it.
class DriveLeftFree : public ShellTest, public ::testing::WithParamInterface<HelpRoute> {};

TEST_P(DriveLeftFree, WhatTheShellStartsRunsInTheSystemFolder) {
  Keyfolio& program = StartWithSites({StoredSite(L"Bank", 1, L"pw", L"https://bank.example/")});
  GetParam().open(program, Came(m_markers, program));
  const auto folders = [&] {
    return GetParam().open == ClickGo ? m_markers.WebHandlerFolders()
                                      : m_markers.PageHandlerFolders();
  };
  ASSERT_TRUE(WaitFor([&] { return !folders().empty(); }));
  wchar_t system[MAX_PATH] = {};
  ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
  EXPECT_PRED2(SamePath, folders()[0], std::wstring(system));
}

INSTANTIATE_TEST_SUITE_P(
    Routes, DriveLeftFree,
    ::testing::Values(HelpRoute{"Go", ClickGo}, HelpRoute{"F1", PressF1},
                      HelpRoute{"HelpMenu", ChooseHelp}, HelpRoute{"AboutLink", ClickAboutLink}),
    [](const ::testing::TestParamInfo<HelpRoute>& info) { return info.param.name; });

// The shell's handlers of web addresses and of pages name a program that does
// not exist: Windows cannot open what the program hands it.
class ShellThatCannotOpen : public ProgramTest,
                            public ::testing::WithParamInterface<HelpRoute> {
 protected:
  ShellMarkers m_markers{ShellMarkers::Handlers::kMissingProgram};
};

TEST_P(ShellThatCannotOpen, SaysWhatCouldNotBeOpened) {
  const std::wstring address = L"https://bank.example/login";
  Keyfolio& program = StartWithSites({StoredSite(L"Bank", 1, L"pw", address)});
  HWND used = GetParam().open(program, Came(m_markers, program));
  const std::wstring target = GetParam().open == ClickGo ? address : m_drive.HelpPagePath();
  const MessageBoxView box = program.WaitForMessageBox();
  EXPECT_EQ(Says(box),
            (BoxSays{L"Keyfolio", L"Windows could not open \"" + target + L"\".", {L"OK"}}));
  EXPECT_TRUE(box.hasIcon);
  EXPECT_EQ(box.owner, used);
  program.Answer(box, L"OK");
  EXPECT_TRUE(IsWindowEnabled(used));
}

INSTANTIATE_TEST_SUITE_P(
    Routes, ShellThatCannotOpen,
    ::testing::Values(HelpRoute{"Go", ClickGo}, HelpRoute{"F1", PressF1},
                      HelpRoute{"HelpMenu", ChooseHelp}, HelpRoute{"AboutLink", ClickAboutLink}),
    [](const ::testing::TestParamInfo<HelpRoute>& info) { return info.param.name; });

}  // namespace
