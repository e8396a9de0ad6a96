#include "support/UserMessages.h"

#include <gtest/gtest.h>

#include "support/LastError.h"
#include "support/WinException.h"
#include "tests/common/LogCapture.h"
#include "tests/common/MessageBoxAnswerer.h"

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
  for (int i = 0; i < UM_Count; ++i) EXPECT_EQ(UserMessages[i], expected[i]) << "entry " << i;
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
