#include "support/ExceptionReporter.h"

#include "support/DebugLog.h"

void DebugLogReporter::Write(const wchar_t* text, Severity severity) {
  switch (severity) {
    case SEV_Warning: DebugLog(L"Warning: "); break;
    case SEV_Error: DebugLog(L"ERROR: "); break;
    case SEV_FatalError: DebugLog(L"FATAL ERROR: "); break;
    default: break;
  }
  DebugLog(L"%s", text);
}
