#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/ExceptionBase.h"
#include "support/WinException.h"
#include "tests/common/LogCapture.h"

namespace {

class RecordingReporter : public ExceptionReporter {
 public:
  void Write(const wchar_t* text, Severity severity) override {
    lines.emplace_back(text, severity);
  }
  std::vector<std::pair<std::wstring, Severity>> lines;
};

template <class E>
std::vector<std::wstring> ReportOf(int32_t code) {
  RecordingReporter reporter;
  E(code).Report(reporter);
  std::vector<std::wstring> texts;
  for (const auto& line : reporter.lines) {
    EXPECT_EQ(line.second, SEV_None);
    texts.push_back(line.first);
  }
  return texts;
}

}  // namespace

TEST(ExceptionReport, HeaderThenTheCodesLine) {
  using Lines = std::vector<std::wstring>;
  const std::wstring editor = L"ExceptionsEditor Error: ";
  const std::wstring editWindow = L"EditWindowControl Error: ";
  const std::wstring writer = L"ExceptionsSerializer Error: ";
  const std::wstring reader = L"DeSerializerExceptions Error: ";
  const struct {
    Lines actual;
    Lines expected;
  } cases[] = {
      {ReportOf<ExceptionsEditor>(0), {editor, L"Editor: File not found."}},
      {ReportOf<ExceptionsEditor>(1), {editor, L"Editor: WriteFile was not successful."}},
      {ReportOf<ExceptionsEditor>(2), {editor, L"Editor: Version type is incorrect."}},
      {ReportOf<ExceptionsEditor>(3), {editor, L"Editor: Version number is incorrect."}},
      {ReportOf<ExceptionsEditor>(4), {editor, L"Editor: Graphics ID is invalid."}},
      {ReportOf<ExceptionsEditor>(5), {editor, L"Font name ID is out of range."}},
      {ReportOf<ExceptionsEditor>(6), {editor, L"Font size variable is out of range."}},
      {ReportOf<ExceptionsEditor>(7), {editor, L"Editor unknown problem,"}},
      {ReportOf<ExceptionsEditor>(-1), {editor, L"Editor unknown problem,"}},
      {ReportOf<ExceptionsEditWnd>(0), {editWindow, L"Edit window failed to create."}},
      {ReportOf<ExceptionsEditWnd>(1), {editWindow, L"Edit window unknown problem,"}},
      {ReportOf<ExceptionsSerializer>(0), {writer, L"Serializer: File not found."}},
      {ReportOf<ExceptionsSerializer>(1), {writer, L"Serializer: WriteFile was not successful."}},
      {ReportOf<ExceptionsSerializer>(2),
       {writer, L"Serializer: Number of bytes written not correct."}},
      {ReportOf<ExceptionsSerializer>(7), {writer, L"Serializer unknown problem,"}},
      {ReportOf<ExceptionsDeSerializer>(0), {reader, L"DeSerializer: File not found."}},
      {ReportOf<ExceptionsDeSerializer>(1), {reader, L"DeSerializer: Invalid file size."}},
      {ReportOf<ExceptionsDeSerializer>(2), {reader, L"DeSerializer: ReadFile not successful."}},
      {ReportOf<ExceptionsDeSerializer>(3),
       {reader, L"DeSerializer: Number of bytes read is not correct."}},
      {ReportOf<ExceptionsDeSerializer>(4),
       {reader, L"DeSerializer: Boolean value read is corrupted."}},
      {ReportOf<ExceptionsDeSerializer>(5), {reader, L"Serializer unknown problem,"}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].actual, cases[i].expected) << i;
}

TEST(ExceptionReport, CodesAreTheFixedValues) {
  EXPECT_EQ(ExceptionsSerializer(SerializerErrorCodes::SR_BytesWrittenIncorrect).GetErrorCode(), 2);
  EXPECT_EQ(ExceptionsDeSerializer(DeSerializerErrorCodes::DS_BoolCorrupted).GetErrorCode(), 4);
  EXPECT_EQ(ExceptionsEditor(EditorErrorCodes::ED_FontSizeOutOfRange).GetErrorCode(), 6);
  EXPECT_EQ(ExceptionsEditWnd(EditWindowErrorCodes::EW_CreateFailed).GetErrorCode(), 0);
}

TEST(DebugLogReporter, WritesTheSeverityLineThenTheTextVerbatim) {
  LogCapture log;
  DebugLogReporter reporter;
  reporter.Write(L"none", SEV_None);
  reporter.Write(L"warn", SEV_Warning);
  reporter.Write(L"error", SEV_Error);
  reporter.Write(L"fatal", SEV_FatalError);
  reporter.Write(L"100%s %i done", static_cast<Severity>(4));
  const std::vector<std::string> expected = {
      "none", "Warning: ", "warn", "ERROR: ", "error", "FATAL ERROR: ", "fatal", "100%s %i done",
  };
  EXPECT_EQ(log.Lines(), expected);
}

TEST(ExceptionFamilies, ExceptionBaseCatchesTheFileFamilyOnly) {
  const auto caughtAsBase = [](auto thrower) {
    try {
      thrower();
    } catch (const ExceptionBase&) {
      return true;
    } catch (...) {
      return false;
    }
    return false;
  };
  EXPECT_TRUE(caughtAsBase([] { throw ExceptionsEditor(2); }));
  EXPECT_TRUE(caughtAsBase([] { throw ExceptionsEditWnd(0); }));
  EXPECT_TRUE(caughtAsBase([] { throw ExceptionsSerializer(1); }));
  EXPECT_TRUE(caughtAsBase([] { throw ExceptionsDeSerializer(3); }));
  EXPECT_FALSE(caughtAsBase([] { throw WinException(L"x", 6); }));
  EXPECT_FALSE(caughtAsBase([] { throw MemoryException(); }));
  EXPECT_FALSE(caughtAsBase([] { throw NullPointerException(); }));
}

TEST(FormatWindowsError, PrefixLineBreakThenSystemText) {
  const std::wstring systemText = SystemErrorText(ERROR_FILE_NOT_FOUND, 0x0400);
  ASSERT_FALSE(systemText.empty());
  EXPECT_EQ(FormatWindowsError(L"", ERROR_FILE_NOT_FOUND), systemText);
  EXPECT_EQ(FormatWindowsError(L"Opening the vault", ERROR_FILE_NOT_FOUND),
            L"Opening the vault\n" + systemText);
}

TEST(FormatWindowsError, UnknownCodeIsNamedByNumber) {
  EXPECT_EQ(FormatWindowsError(L"Saving", 987654321), L"Saving\nUnknown API error (987654321)");
  EXPECT_EQ(FormatWindowsError(L"", 987654321), L"Unknown API error (987654321)");
}

TEST(ThrowWinException, ThrowsTheClassThatFitsTheCode) {
  enum Kind { Memory, FileNotFound, PathNotFound, AccessDenied, Plain };
  const struct {
    DWORD code;
    Kind kind;
  } cases[] = {
      {8, Memory},       {14, Memory},      {2, FileNotFound},
      {3, PathNotFound}, {5, AccessDenied}, {6, Plain},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    try {
      ThrowWinException(L"while testing", c.code);
    } catch (const MemoryException& e) {
      EXPECT_EQ(c.kind, Memory);
      EXPECT_EQ(e.GetErrorText(), L"Out of memory");
    } catch (const FileNotFoundException& e) {
      EXPECT_EQ(c.kind, FileNotFound);
      EXPECT_EQ(e.GetErrorText(), FormatWindowsError(L"while testing", 2));
    } catch (const PathNotFoundException& e) {
      EXPECT_EQ(c.kind, PathNotFound);
      EXPECT_EQ(e.GetErrorCode(), 3u);
    } catch (const AccessDeniedException& e) {
      EXPECT_EQ(c.kind, AccessDenied);
      EXPECT_EQ(e.GetErrorCode(), 5u);
    } catch (const WinException& e) {
      EXPECT_EQ(c.kind, Plain);
      EXPECT_EQ(e.GetErrorCode(), c.code);
      EXPECT_EQ(e.GetErrorText(), FormatWindowsError(L"while testing", c.code));
    }
  }
}
