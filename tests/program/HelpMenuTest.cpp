// The Help menu's About box and disclaimer.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/program/Desktop.h"
#include "tests/program/ProgramTest.h"

namespace {

using HelpMenuTest = ProgramTest;

TEST_F(HelpMenuTest, DisclaimerShowsItsText) {
  Keyfolio& program = StartWithSites({StoredSite(L"Bank", 1)});
  program.ChooseMenu(L"Help", L"Disclaimer");
  const MessageBoxView box = program.AnswerMessageBox();
  EXPECT_EQ(Says(box),
            (BoxSays{L"Keyfolio for Flash Drives",
                     L"Your data for Keyfolio for Flash Drives is kept on your flash drive in a "
                     L"scrambled form. Scrambling is not strong encryption: anyone who has your "
                     L"flash drive and the right tools can read your data, so keep the drive "
                     L"safe. If your data is lost or stolen, immediately change your passwords "
                     L"for all your accounts. Quillmark is not liable for any damage caused by "
                     L"lost or stolen data.",
                     {L"OK"}}));
}

struct Closing {
  const char* name;
  void (*close)(Keyfolio& program, HWND about);
};

void PrintTo(const Closing& closing, std::ostream* out) {
  *out << closing.name;
}

class AboutBox : public ProgramTest, public ::testing::WithParamInterface<Closing> {};

POINT Middle(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

TEST_P(AboutBox, ShowsTheProgramAndCloses) {
  Keyfolio& program = StartWithSites({StoredSite(L"Bank", 1)});
  program.ChooseMenu(L"Help", L"About...");
  HWND about = program.WaitForDialog(L"About");

  std::vector<std::wstring> texts;
  HWND icon = nullptr;
  for (HWND child : ChildrenOf(about)) {
    if (ClassOf(child) != L"Static") continue;
    if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
      icon = child;
    else if (!TextOf(child).empty())
      texts.push_back(TextOf(child));
  }
  ASSERT_NE(icon, nullptr);
  EXPECT_NE(SendMessageW(icon, STM_GETICON, 0, 0), 0) << "the icon shows nothing";
  EXPECT_EQ(texts, (std::vector<std::wstring>{L"Keyfolio for Flash Drives", L"Version 1.01",
                                              L"QUILLMARK"}));
  EXPECT_EQ(TextOf(FindWindowExW(about, nullptr, L"HotLinkText", nullptr)), L"Instructions");
  EXPECT_EQ(FocusIn(about), FindChild(about, L"Button", L"OK"));
  const POINT dialogMiddle = Middle(about), mainMiddle = Middle(program.MainWindow());
  EXPECT_LE(std::abs(dialogMiddle.x - mainMiddle.x), 1);
  EXPECT_LE(std::abs(dialogMiddle.y - mainMiddle.y), 1);

  GetParam().close(program, about);
  program.WaitForClose(about);
  EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(program.MainWindow()) != FALSE; }));
  EXPECT_TRUE(program.OpenDialogs().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, AboutBox,
    ::testing::Values(Closing{"Esc",
                              [](Keyfolio&, HWND about) {
                                BringToFront(about);
                                PressKey(VK_ESCAPE);
                              }},
                      Closing{"CloseBox",
                              [](Keyfolio&, HWND about) {
                                BringToFront(about);
                                ClickAt(PointOfPart(about, HTCLOSE));
                              }},
                      Closing{"OkButton", [](Keyfolio& program,
                                             HWND about) { program.ClickButtonIn(about, L"OK"); }}),
    [](const ::testing::TestParamInfo<Closing>& info) { return info.param.name; });

}  // namespace
