#include "support/ExceptionBase.h"


#include "support/DebugLog.h"

namespace {

template <size_t N>
void ReportCode(ExceptionReporter& reporter, const wchar_t* header,
                const wchar_t* const (&lines)[N], const wchar_t* unknown, int32_t code) {
  reporter.Write(header, SEV_None);
  const bool known = code >= 0 && static_cast<size_t>(code) < N;
  reporter.Write(known ? lines[code] : unknown, SEV_None);
}

const wchar_t* const kEditorLines[] = {
    L"Editor: File not found.",
    L"Editor: WriteFile was not successful.",
    L"Editor: Version type is incorrect.",
    L"Editor: Version number is incorrect.",
    L"Editor: Graphics ID is invalid.",
    L"Font name ID is out of range.",
    L"Font size variable is out of range.",
};

const wchar_t* const kEditWindowLines[] = {
    L"Edit window failed to create.",
};

const wchar_t* const kSerializerLines[] = {
    L"Serializer: File not found.",
    L"Serializer: WriteFile was not successful.",
    L"Serializer: Number of bytes written not correct.",
};

const wchar_t* const kDeSerializerLines[] = {
    L"DeSerializer: File not found.",
    L"DeSerializer: Invalid file size.",
    L"DeSerializer: ReadFile not successful.",
    L"DeSerializer: Number of bytes read is not correct.",
    L"DeSerializer: Boolean value read is corrupted.",
};

}  // namespace

void ExceptionsEditor::Report(ExceptionReporter& reporter) const {
  ReportCode(reporter, L"ExceptionsEditor Error: ", kEditorLines, L"Editor unknown problem,",
             GetErrorCode());
}

void ExceptionsEditWnd::Report(ExceptionReporter& reporter) const {
  ReportCode(reporter, L"EditWindowControl Error: ", kEditWindowLines,
             L"Edit window unknown problem,", GetErrorCode());
}

void ExceptionsSerializer::Report(ExceptionReporter& reporter) const {
  ReportCode(reporter, L"ExceptionsSerializer Error: ", kSerializerLines,
             L"Serializer unknown problem,", GetErrorCode());
}

// The reader's unknown line names the Serializer: that is the program's
// established report text.
void ExceptionsDeSerializer::Report(ExceptionReporter& reporter) const {
  ReportCode(reporter, L"DeSerializerExceptions Error: ", kDeSerializerLines,
             L"Serializer unknown problem,", GetErrorCode());
}

void ReportToDebugLog(const wchar_t* where, const ExceptionBase& exception) {
  DebugLog(L"%s: exception caught", where);
  DebugLogReporter reporter;
  exception.Report(reporter);
}
