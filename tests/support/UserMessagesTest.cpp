#include "support/UserMessages.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/LastError.h"
#include "support/WinException.h"
#include "tests/common/LogCapture.h"
#include "tests/common/MessageBoxAnswerer.h"

// Each text as a person meets it: in the box that shows it.
TEST(UserMessages, HoldsTheTwelveFixedTexts) {
  const wchar_t* const expected[] = {
      L"Keyfolio",
      L"The amount entered is too large.",
      L"The amount cannot be negative.",
      L"The amount entered is not a number.",
      L"The program was unable to create the edit windows.\nThe program will exit.",
      L"Unable to open the selected file for loading. Check the disk.",
      L"This is not a valid file.",
      L"The file has been corrupted. It will not be loaded.",
      L"An unknown error has occured loading the file. It will not load.",
      L"Unable to open the selected file for saving. Check the disk.",
      L"Unable to write to the selected file for saving. Check the disk.",
      L"",
  };
  ASSERT_EQ(static_cast<int>(std::size(expected)), UM_Count);
  MessageBoxAnswerer answerer;
  for (int i = 0; i < UM_Count; ++i) ErrorMessageBox(static_cast<UserMessageIndex>(i), UM_Caption);
  ASSERT_EQ(answerer.Boxes().size(), std::size(expected));
  for (int i = 0; i < UM_Count; ++i) {
    EXPECT_EQ(answerer.Boxes()[i].text, expected[i]) << "entry " << i;
    EXPECT_EQ(answerer.Boxes()[i].caption, L"Keyfolio") << "entry " << i;
  }
  EXPECT_EQ(UM_OpenForSaveFailed, 9);
  EXPECT_EQ(UM_WriteForSaveFailed, 10);
  EXPECT_EQ(UM_Empty, 11);
}

TEST(ErrorMessageBox, ShowsTheEntryInAPlainBoxUntilAnswered) {
  MessageBoxAnswerer answerer;
  ErrorMessageBox(UM_WriteForSaveFailed, UM_Caption);
  ASSERT_EQ(answerer.Boxes().size(), 1u);
  const MessageBoxAnswerer::Box& box = answerer.Boxes()[0];
  EXPECT_EQ(box.caption, L"Keyfolio");
  EXPECT_EQ(box.text, L"Unable to write to the selected file for saving. Check the disk.");
  EXPECT_FALSE(box.hasIcon);
  // No owner until the program names one.
  EXPECT_EQ(box.owner, nullptr);
}

TEST(ErrorMessageBox, AnIndexOutsideTheTableShowsTheSubstituteEntry) {
  LogCapture log;
  MessageBoxAnswerer answerer;
  ErrorMessageBox(static_cast<UserMessageIndex>(UM_Count), UM_Caption);
  ErrorMessageBox(static_cast<UserMessageIndex>(-1), static_cast<UserMessageIndex>(0x7FFFFFFF));
  ErrorMessageBox(UM_NotValidFile, static_cast<UserMessageIndex>(-200000));
  const std::vector<std::pair<std::wstring, std::wstring>> expected = {
      {L"Keyfolio", L""}, {L"Keyfolio", L""}, {L"Keyfolio", L"This is not a valid file."}};
  std::vector<std::pair<std::wstring, std::wstring>> shown;
  for (const MessageBoxAnswerer::Box& box : answerer.Boxes())
    shown.emplace_back(box.caption, box.text);
  EXPECT_EQ(shown, expected);
  const std::vector<std::string> lines = {
      "ErrorMessageBox::ErrorMessageBox: text index out of range = 12",
      "ErrorMessageBox::ErrorMessageBox: text index out of range = -1",
      "ErrorMessageBox::ErrorMessageBox: caption index out of range = 2147483647",
      "ErrorMessageBox::ErrorMessageBox: caption index out of range = -200000",
  };
  EXPECT_EQ(log.Lines(), lines);
}

namespace {

// What a timer saw of this thread's message box while the box's own modal
// loop ran; the timer then pressed OK.
struct BoxWhileShown {
  HWND box = nullptr;
  HWND owner = nullptr;
  bool ownerEnabled = true;
};
BoxWhileShown g_seen;

BOOL CALLBACK FindMessageBox(HWND window, LPARAM found) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (std::wstring(className) != L"#32770") return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

void CALLBACK ReadAndAnswerBox(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindMessageBox, reinterpret_cast<LPARAM>(&box));
  if (!box || g_seen.box) return;
  KillTimer(nullptr, timer);
  g_seen.box = box;
  g_seen.owner = GetWindow(box, GW_OWNER);
  g_seen.ownerEnabled = g_seen.owner && IsWindowEnabled(g_seen.owner);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

BoxWhileShown ShowBoxAndRead() {
  g_seen = BoxWhileShown{};
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, ReadAndAnswerBox);
  ErrorMessageBox(UM_OpenForSaveFailed, UM_Caption);
  KillTimer(nullptr, timer);
  return g_seen;
}

HWND MakeTopLevelWindow() {
  return CreateWindowExW(0, L"STATIC", L"Keyfolio", WS_POPUP, 0, 0, 100, 50, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

TEST(ErrorMessageBox, TheOwnerIsDisabledWhileTheBoxShows) {
  HWND owner = MakeTopLevelWindow();
  ASSERT_NE(owner, nullptr);
  ErrorMessageBox::SetOwner(owner);
  const BoxWhileShown seen = ShowBoxAndRead();
  ASSERT_NE(seen.box, nullptr);
  EXPECT_EQ(seen.owner, owner);
  EXPECT_FALSE(seen.ownerEnabled);
  EXPECT_TRUE(IsWindowEnabled(owner));

  // An owner gone since it was set must not keep the box from showing.
  DestroyWindow(owner);
  const BoxWhileShown withoutOwner = ShowBoxAndRead();
  EXPECT_NE(withoutOwner.box, nullptr);
  EXPECT_EQ(withoutOwner.owner, nullptr);
  ErrorMessageBox::SetOwner(nullptr);
}

TEST(LastError, LogsTheThreadsLastError) {
  LogCapture log;
  SetLastError(0);
  LogLastError();
  SetLastError(ERROR_FILE_NOT_FOUND);
  LogLastError();
  const std::vector<std::string> lines = log.Lines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "No error");
  EXPECT_EQ(lines[1].rfind("LogLastError: ", 0), 0u) << lines[1];
  EXPECT_GT(lines[1].size(), std::string("LogLastError: ").size());
}

TEST(LastError, ShowsTheThreadsLastErrorInABox) {
  MessageBoxAnswerer answerer;
  SetLastError(0);
  ShowLastError();
  SetLastError(ERROR_ACCESS_DENIED);
  ShowLastError();
  ASSERT_EQ(answerer.Boxes().size(), 2u);
  EXPECT_EQ(answerer.Boxes()[0].caption, L"Windows SDK Error Report");
  EXPECT_EQ(answerer.Boxes()[0].text, L"No error");
  EXPECT_FALSE(answerer.Boxes()[0].hasIcon);
  EXPECT_EQ(answerer.Boxes()[1].caption, L"Windows SDK Error Report");
  EXPECT_EQ(answerer.Boxes()[1].text, SystemErrorText(ERROR_ACCESS_DENIED, 0));
  EXPECT_TRUE(answerer.Boxes()[1].hasIcon);
}
