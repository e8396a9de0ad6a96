#include "support/DebugLog.h"

#include <windows.h>

#include <regex>

#include <gtest/gtest.h>

#include "tests/common/LogCapture.h"
#include "tests/common/TempFolder.h"

TEST(DebugLog, StaysOffAndTouchesNoDisk) {
  ASSERT_FALSE(FileExists(L"C:\\Quillmark")) << "the prefix already holds the log folder";
  EXPECT_FALSE(DebugLogIsOn());
  EXPECT_EQ(DebugLog(L"EditorUpdater::ReadDatabase : %s", L"x"), 1);
  EXPECT_EQ(DebugLogRaw(L"raw %i", 1), 1);
  EXPECT_FALSE(FileExists(L"C:\\Quillmark"));
  EXPECT_FALSE(FileExists(L"C:\\Quillmark\\Keyfolio\\Log.txt"));
}

TEST(DebugLog, TimePrefixCountsTenthsWithAtLeastFourDigits) {
  const struct {
    unsigned long tenths;
    const wchar_t* prefix;
  } cases[] = {
      {0, L"0000:\t\t"}, {42, L"0042:\t\t"}, {9999, L"9999:\t\t"}, {10000, L"10000:\t\t"},
  };
  for (const auto& c : cases) EXPECT_EQ(DebugLogTimePrefix(c.tenths), c.prefix) << c.tenths;
}

TEST(DebugLog, StartedLogHasHeaderAndPrefixedLines) {
  LogCapture log;
  EXPECT_TRUE(DebugLogIsOn());
  EXPECT_EQ(DebugLog(L"WindowBaseClass::OnTimer: id %i %s %x", 7, L"wide", 255), 1);
  EXPECT_EQ(DebugLogRaw(L"raw%i", 1), 1);
  EXPECT_EQ(DebugLogRaw(L"|tail"), 1);

  const std::vector<std::string> raw = log.RawLines();
  ASSERT_GE(raw.size(), 4u);
  EXPECT_TRUE(std::regex_match(raw[0], std::regex("[0-9]{4,}:\t\tLog file for tests: .+")))
      << raw[0];
  EXPECT_EQ(raw[raw.size() - 3], "Time\tMessage");
  EXPECT_TRUE(std::regex_match(raw[raw.size() - 2],
                               std::regex("[0-9]{4,}:\t\tWindowBaseClass::OnTimer: id 7 wide ff")))
      << raw[raw.size() - 2];
  EXPECT_EQ(raw.back(), "raw1|tail");

  // Text mode: every line ends in CR LF on disk.
  const std::vector<unsigned char> bytes = ReadBytes(log.Path());
  const std::string text(bytes.begin(), bytes.end());
  EXPECT_NE(text.find("id 7 wide ff\r\n"), std::string::npos);
}

TEST(DebugLog, StartFailsWhereTheFileCannotBeMade) {
  TempFolder folder;
  const std::string missing = "C:\\no-such-folder-kfo\\Log.txt";
  EXPECT_EQ(StartDebugLog(L"tests", missing.c_str()), 0);
  EXPECT_FALSE(DebugLogIsOn());
  EXPECT_EQ(DebugLog(L"still off"), 1);
  EXPECT_FALSE(FileExists(L"C:\\no-such-folder-kfo"));
}

TEST(DebugLog, LineIsLostWhenTheFileCannotBeOpened) {
  TempFolder folder;
  const std::wstring path = folder.File(L"logs\\Log.txt");
  ASSERT_TRUE(CreateDirectoryW(folder.File(L"logs").c_str(), nullptr));
  std::string narrowPath(path.begin(), path.end());
  ASSERT_EQ(StartDebugLog(L"tests", narrowPath.c_str()), 1);
  RemoveTree(folder.File(L"logs"));
  EXPECT_EQ(DebugLog(L"lost"), 0);
  ASSERT_TRUE(CreateDirectoryW(folder.File(L"logs").c_str(), nullptr));
  EXPECT_EQ(DebugLog(L"next one tries again"), 1);
  StopDebugLog();
  EXPECT_FALSE(DebugLogIsOn());
  EXPECT_TRUE(FileExists(path));
}
