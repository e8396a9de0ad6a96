#include "ui/ProcedureGuard.h"

#include <exception>

#include "support/DebugLog.h"
#include "support/ExceptionBase.h"
#include "support/StringFunctions.h"
#include "support/WinException.h"

void TraceProcedureException(const wchar_t* procedure, UINT message) noexcept {
  // Tracing allocates; a failure of its own is dropped rather than thrown
  // out of the catch block that called this.
  try {
    try {
      throw;
    } catch (const ExceptionBase& e) {
      ReportToDebugLog(FormatString(L"%s: message 0x%04x", procedure, message).c_str(), e);
    } catch (const Exception& e) {
      DebugLog(L"%s: message 0x%04x: exception caught: %s", procedure, message,
               e.GetErrorText().c_str());
    } catch (const std::exception& e) {
      DebugLog(L"%s: message 0x%04x: exception caught: %S", procedure, message, e.what());
    } catch (...) {
      DebugLog(L"%s: message 0x%04x: unknown exception caught", procedure, message);
    }
  } catch (...) {
  }
}
