// Reading the text of an exported file: its bytes decoded as the programs
// that write such files encode them, and the text split into records as
// RFC 4180 and the spreadsheets of many countries write them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/CsvReader.h"
#include "exchange/TextFile.h"
#include "tests/common/TempFolder.h"

namespace {

struct SplitCase {
  const char* name;
  const wchar_t* text;
  std::vector<CsvRecord> records;
};

void PrintTo(const SplitCase& c, std::ostream* out) {
  *out << c.name;
}

class CsvSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(CsvSplit, GivesTheRecordsAndFields) {
  const CsvReader::Result result = CsvReader::Read(GetParam().text);
  EXPECT_EQ(result.line, 0u);
  EXPECT_EQ(result.table.records, GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CsvSplit,
    ::testing::Values(
        SplitCase{"CrlfEnds", L"a,b\r\nc,d\r\n", {{L"a", L"b"}, {L"c", L"d"}}},
        SplitCase{"LfEnds", L"a,b\nc,d\n", {{L"a", L"b"}, {L"c", L"d"}}},
        SplitCase{"CrEnds", L"a,b\rc,d\r", {{L"a", L"b"}, {L"c", L"d"}}},
        SplitCase{"NoLastLineEnd", L"a,b\r\nc,d", {{L"a", L"b"}, {L"c", L"d"}}},
        SplitCase{"BlankLinesSkipped", L"\r\na,b\r\n\r\n\n\rc,d\r\n\r\n",
                  {{L"a", L"b"}, {L"c", L"d"}}},
        SplitCase{"EmptyFieldsKept", L"a,,c,\r\n,,,\r\n", {{L"a", L"", L"c", L""},
                                                        {L"", L"", L"", L""}}},
        SplitCase{"ShortRowsAsTheyAre", L"a,b,c\r\nd\r\n", {{L"a", L"b", L"c"}, {L"d"}}},
        SplitCase{"QuotedSeparatorsQuotesAndLineBreaks",
                  L"\"a,b\",\"say \"\"hi\"\"\",\"one\r\ntwo\nthree\rfour\"\r\nx,y,z",
                  {{L"a,b", L"say \"hi\"", L"one\r\ntwo\nthree\rfour"}, {L"x", L"y", L"z"}}},
        SplitCase{"QuotedEmptyAndOnlyQuotes", L"\"\",\"\"\"\"\"\",x\r\n",
                  {{L"", L"\"\"", L"x"}}},
        SplitCase{"QuoteInsidePlainFieldIsAChar", L"a\"b,c\r\n", {{L"a\"b", L"c"}}},
        SplitCase{"TextAfterClosingQuoteKept", L"\"a\"b,c\r\n", {{L"ab", L"c"}}},
        SplitCase{"SpacesKept", L" a , b \r\n", {{L" a ", L" b "}}},
        SplitCase{"LineOfAQuotedEmptyFieldIsBlank", L"a\r\n\"\"\r\nb\r\n", {{L"a"}, {L"b"}}},
        SplitCase{"SemicolonWhenNoComma", L"a;b\r\n\"c;d\";e,f\r\n",
                  {{L"a", L"b"}, {L"c;d", L"e,f"}}},
        SplitCase{"TabWhenNoCommaOrSemicolon", L"a\tb\r\nc;d\te\r\n",
                  {{L"a", L"b"}, {L"c;d", L"e"}}},
        SplitCase{"CommaWinsOverSemicolon", L"a;b,c\r\n", {{L"a;b", L"c"}}},
        SplitCase{"QuotedCommaInHeaderDoesNotChoose", L"\"a,b\";c\r\n", {{L"a,b", L"c"}}},
        SplitCase{"Nothing", L"", {}}),
    [](const ::testing::TestParamInfo<SplitCase>& info) { return info.param.name; });

TEST(CsvReader, AQuoteThatNeverClosesGivesTheLineItOpenedOnAndNoRecords) {
  struct Case {
    const wchar_t* text;
    size_t line;
  };
  const Case cases[] = {
      {L"a,b\r\nc,\"d\r\ne,f\r\n", 2},
      {L"a,b\r\n\"x\r\ny\",z\r\n\"never", 4},
      {L"\"", 1},
      // Line ends inside earlier quoted fields are counted once each.
      {L"\"1\r\n2\n3\r4\",\"\r\n\"\r\n\"", 6},
  };
  for (const Case& c : cases) {
    const CsvReader::Result result = CsvReader::Read(c.text);
    EXPECT_EQ(result.line, c.line) << testing::PrintToString(std::wstring(c.text));
    EXPECT_TRUE(result.table.records.empty());
  }
}

struct DecodeCase {
  const char* name;
  std::string bytes;
  std::wstring text;
};

void PrintTo(const DecodeCase& c, std::ostream* out) {
  *out << c.name;
}

class TextDecoding : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(TextDecoding, GivesTheText) {
  TextFile file;
  ASSERT_TRUE(file.Decode(GetParam().bytes.data(), GetParam().bytes.size()));
  EXPECT_EQ(file.Text(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, TextDecoding,
    ::testing::Values(
        DecodeCase{"Utf8", "Caf\xC3\xA9,\xE6\x97\xA5\xF0\x9F\x94\x91",
                   L"Caf\u00E9,\u65E5\U0001F511"},
        DecodeCase{"Utf8WithMark", "\xEF\xBB\xBFname", L"name"},
        DecodeCase{"Utf8MarkedButBroken", "\xEF\xBB\xBF" "a\xFF" "b", L"a\uFFFDb"},
        DecodeCase{"Utf16LittleEndian", std::string("\xFF\xFEn\0\xE9\0", 6), L"n\u00E9"},
        DecodeCase{"Utf16BigEndian", std::string("\xFE\xFF\0n\x65\xE5", 6), L"n\u65E5"},
        DecodeCase{"Empty", "", L""},
        DecodeCase{"MarkAlone", "\xEF\xBB\xBF", L""}),
    [](const ::testing::TestParamInfo<DecodeCase>& info) { return info.param.name; });

TEST(TextDecoding, BytesThatAreNotUtf8AreReadInTheAnsiCodePage) {
  // A spreadsheet's "CSV" in Windows-1252 (the prefix's ANSI code page is
  // whatever Wine set up, so the expected text comes from the system).
  const std::string bytes = "Caf\xE9;Stra\xDF" "e";
  wchar_t expected[16] = {};
  const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                         expected, 16);
  TextFile file;
  ASSERT_TRUE(file.Decode(bytes.data(), bytes.size()));
  EXPECT_EQ(file.Text(), std::wstring(expected, static_cast<size_t>(length)));
  EXPECT_EQ(file.Text().find(L'\uFFFD'), std::wstring::npos);
}

TEST(TextDecoding, AZeroCharacterMeansNotText) {
  for (const std::string& bytes :
       {std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), std::string("name\0url", 8),
        std::string("\xFF\xFEn\0\0\0", 6), std::string("MZ\x90\0\x03\0", 6)}) {
    TextFile file;
    EXPECT_FALSE(file.Decode(bytes.data(), bytes.size()));
    EXPECT_EQ(file.GetProblem(), TextFile::TF_NotText);
    EXPECT_TRUE(file.Text().empty());
  }
}

TEST(TextFile, ReadsAFileAndRefusesOneOverTheBound) {
  TempFolder folder;
  const std::wstring small = folder.File(L"small.csv");
  WriteBytes(small, {0xEF, 0xBB, 0xBF, 'a', ',', 'b'});
  TextFile file;
  ASSERT_TRUE(file.Read(small));
  EXPECT_EQ(file.Text(), L"a,b");
  EXPECT_EQ(file.GetSize(), 6u);

  // Sized without being written: the bound is checked before anything is read.
  const std::wstring large = folder.File(L"large.csv");
  {
    HANDLE handle = CreateFileW(large.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size;
    size.QuadPart = static_cast<LONGLONG>(TextFile::kMostBytes + 1);
    EXPECT_TRUE(SetFilePointerEx(handle, size, nullptr, FILE_BEGIN));
    EXPECT_TRUE(SetEndOfFile(handle));
    CloseHandle(handle);
  }
  EXPECT_FALSE(file.Read(large));
  EXPECT_EQ(file.GetProblem(), TextFile::TF_TooLarge);
  EXPECT_EQ(file.GetSize(), TextFile::kMostBytes + 1);
  EXPECT_TRUE(file.Text().empty());

  EXPECT_FALSE(file.Read(folder.File(L"missing.csv")));
  EXPECT_EQ(file.GetProblem(), TextFile::TF_Unreadable);
  EXPECT_EQ(file.GetError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

}  // namespace
