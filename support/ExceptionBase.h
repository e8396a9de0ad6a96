// The first exception family: failures of the vault file and of window
// construction, thrown by value and caught by the operation the user started.
// Each carries a code and reports a header line and the code's line.
#pragma once

#include <cstdint>

#include "support/ErrorCodes.h"
#include "support/ExceptionReporter.h"

class ExceptionBase {
 public:
  virtual ~ExceptionBase() = default;
  virtual void Report(ExceptionReporter& reporter) const = 0;
};

// What the four coded classes share: the code they carry.
class CodedException : public ExceptionBase {
 public:
  int32_t GetErrorCode() const { return m_ErrorCode; }

 protected:
  explicit CodedException(int32_t code) : m_ErrorCode(code) {}

 private:
  int32_t m_ErrorCode;
};

class ExceptionsEditor : public CodedException {
 public:
  explicit ExceptionsEditor(int32_t code) : CodedException(code) {}
  void Report(ExceptionReporter& reporter) const override;
};

class ExceptionsEditWnd : public CodedException {
 public:
  explicit ExceptionsEditWnd(int32_t code) : CodedException(code) {}
  void Report(ExceptionReporter& reporter) const override;
};

class ExceptionsSerializer : public CodedException {
 public:
  explicit ExceptionsSerializer(int32_t code) : CodedException(code) {}
  void Report(ExceptionReporter& reporter) const override;
};

class ExceptionsDeSerializer : public CodedException {
 public:
  explicit ExceptionsDeSerializer(int32_t code) : CodedException(code) {}
  void Report(ExceptionReporter& reporter) const override;
};

// The catchers' common step: a line naming where the exception was caught,
// then the exception's own report, all to the debug log.
void ReportToDebugLog(const wchar_t* where, const ExceptionBase& exception);

// Runs `call`; an ExceptionBase that leaves it is reported to the debug log
// under `where` and passed on as it is, for the caller to handle.
template <typename Call>
auto TraceAndRethrow(const wchar_t* where, Call&& call) -> decltype(call()) {
  try {
    return call();
  } catch (const ExceptionBase& e) {
    ReportToDebugLog(where, e);
    throw;
  }
}
