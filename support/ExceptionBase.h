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

class ExceptionsEditor : public ExceptionBase {
 public:
  explicit ExceptionsEditor(int32_t code) : m_ErrorCode(code) {}
  int32_t GetErrorCode() const { return m_ErrorCode; }
  void Report(ExceptionReporter& reporter) const override;

 private:
  int32_t m_ErrorCode;
};

class ExceptionsEditWnd : public ExceptionBase {
 public:
  explicit ExceptionsEditWnd(int32_t code) : m_ErrorCode(code) {}
  int32_t GetErrorCode() const { return m_ErrorCode; }
  void Report(ExceptionReporter& reporter) const override;

 private:
  int32_t m_ErrorCode;
};

class ExceptionsSerializer : public ExceptionBase {
 public:
  explicit ExceptionsSerializer(int32_t code) : m_ErrorCode(code) {}
  int32_t GetErrorCode() const { return m_ErrorCode; }
  void Report(ExceptionReporter& reporter) const override;

 private:
  int32_t m_ErrorCode;
};

class ExceptionsDeSerializer : public ExceptionBase {
 public:
  explicit ExceptionsDeSerializer(int32_t code) : m_ErrorCode(code) {}
  int32_t GetErrorCode() const { return m_ErrorCode; }
  void Report(ExceptionReporter& reporter) const override;

 private:
  int32_t m_ErrorCode;
};

// The catchers' common step: a line naming where the exception was caught,
// then the exception's own report, all to the debug log.
void ReportToDebugLog(const wchar_t* where, const ExceptionBase& exception);
