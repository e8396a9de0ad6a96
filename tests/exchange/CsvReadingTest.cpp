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

// Every record of `text`, read one at a time, and where a quoted field that
// never closes opened.
struct AllRecords {
  std::vector<CsvRecord> records;
  size_t unclosedLine = 0;
};

AllRecords ReadAll(const std::wstring& text) {
  AllRecords all;
  CsvReader reader(text);
  CsvRecord record;
  while (reader.Next(record)) all.records.push_back(record);
  all.unclosedLine = reader.UnclosedLine();
  return all;
}

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
  const AllRecords all = ReadAll(GetParam().text);
  EXPECT_EQ(all.unclosedLine, 0u);
  EXPECT_EQ(all.records, GetParam().records);
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
        // Each record takes room for its own fields, whatever came before.
        SplitCase{"WideThenNarrowThenWide", L"a\r\nb,c,d,e\r\nf\r\n,,,,,\r\n",
                  {{L"a"}, {L"b", L"c", L"d", L"e"}, {L"f"}, {L"", L"", L"", L"", L"", L""}}},
        SplitCase{"Nothing", L"", {}}),
    [](const ::testing::TestParamInfo<SplitCase>& info) { return info.param.name; });

TEST(CsvReader, AQuoteThatNeverClosesGivesTheLineItOpenedOnAndNoFurtherRecord) {
  struct Case {
    const wchar_t* text;
    size_t line;
    size_t recordsBefore;
  };
  const Case cases[] = {
      {L"a,b\r\nc,\"d\r\ne,f\r\n", 2, 1},
      {L"a,b\r\n\"x\r\ny\",z\r\n\"never", 4, 2},
      {L"\"", 1, 0},
      // Line ends inside earlier quoted fields are counted once each.
      {L"\"1\r\n2\n3\r4\",\"\r\n\"\r\n\"", 6, 1},
      // Also those of earlier fields of the record that does not close.
      {L"a\r\n\"1\n2\",\"3\r\n", 3, 1},
  };
  for (const Case& c : cases) {
    const AllRecords all = ReadAll(c.text);
    EXPECT_EQ(all.unclosedLine, c.line) << testing::PrintToString(std::wstring(c.text));
    EXPECT_EQ(all.records.size(), c.recordsBefore);
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
        DecodeCase{"Utf16LittleEndian", std::string("\xFF\xFEn\0\xE9\0", 6), L"n\u00E9"},
        DecodeCase{"Utf16BigEndian", std::string("\xFE\xFF\0n\x65\xE5", 6), L"n\u65E5"},
        DecodeCase{"Empty", "", L""},
        DecodeCase{"MarkAlone", "\xEF\xBB\xBF", L""}),
    [](const ::testing::TestParamInfo<DecodeCase>& info) { return info.param.name; });

TEST(TextDecoding, BytesWithNoUtf8SequenceAtAllAreReadInTheAnsiCodePage) {
  // A spreadsheet's "CSV" in Windows-1252 (the prefix's ANSI code page is
  // whatever Wine set up, so the expected text comes from the system).
  const std::string bytes = "Caf\xE9;Stra\xDF" "e\r\n\xE0\x80\xC0\xAF;\xED\xA0\x80";
  wchar_t expected[64] = {};
  const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                         expected, 64);
  TextFile file;
  ASSERT_TRUE(file.Decode(bytes.data(), bytes.size()));
  EXPECT_EQ(file.Text(), std::wstring(expected, static_cast<size_t>(length)));
  EXPECT_EQ(file.Text().find(L'\uFFFD'), std::wstring::npos);
}

// One broken byte in a file that is UTF-8 elsewhere: read as ANSI, every
// letter beyond ASCII would change; as UTF-8, the byte would. Neither: the
// file is refused with the line of the first broken byte.
TEST(TextDecoding, Utf8WithABrokenByteIsRefusedWithItsLine) {
  struct Case {
    const char* what;
    std::string bytes;
    size_t line;
  };
  const Case cases[] = {
      {"a stray byte in a note", "name,password\r\nBank,p\xC3\xA4ss\r\nShop,pw,caf\xE9\r\n", 3},
      {"the broken byte before any good sequence", "a\xFF\nb\n\xC3\xA4\n", 1},
      {"a sequence cut short", "\xC3\xA4\n\n\xE6\x97", 3},
      {"an overlong form", "\xC3\xA4\r\r\xC0\xAF", 3},
      {"an encoded surrogate", "\xC3\xA4\n\xED\xA0\x80", 2},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80\xC3\xA4", 1},
      {"a byte-order mark, then a broken byte", "\xEF\xBB\xBFname\r\na\xFF", 2},
      {"CRLF is one line end", "\xC3\xA4\r\n\r\n\x80", 3},
  };
  for (const Case& c : cases) {
    TextFile file;
    EXPECT_FALSE(file.Decode(c.bytes.data(), c.bytes.size())) << c.what;
    EXPECT_EQ(file.GetProblem(), TextFile::TF_NotUtf8) << c.what;
    EXPECT_EQ(file.GetLine(), c.line) << c.what;
    EXPECT_TRUE(file.Text().empty()) << c.what;
  }
}

TEST(TextDecoding, LoneSurrogatesBecomeTheReplacementCharacterAndPairsStay) {
  struct Case {
    std::wstring text;
    std::wstring replaced;
  };
  const Case cases[] = {
      {L"pw\U0001F511", L"pw\U0001F511"},
      {std::wstring(L"a\xD800" L"b", 3), L"a\uFFFDb"},
      {std::wstring(L"\xDC00" L"a\xD83D", 3), L"\uFFFDa\uFFFD"},
      {std::wstring(L"\xDC00\xD800", 2), L"\uFFFD\uFFFD"},
      {std::wstring(L"\xD83D\xD83D\xDD11", 3), L"\uFFFD\U0001F511"},
  };
  for (const Case& c : cases) {
    std::wstring text = c.text;
    EXPECT_EQ(TextFile::ReplaceLoneSurrogates(text), c.text != c.replaced);
    EXPECT_EQ(text, c.replaced);
  }
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
