// Exceptions of the file and window layers describe themselves line by line to
// a reporter; the only reporter writes those lines to the debug log. The user
// never sees these texts: catchers show a UserMessages entry instead.
#pragma once

#include <cstdint>

enum Severity : int32_t {
  SEV_None = 0,
  SEV_Warning = 1,
  SEV_Error = 2,
  SEV_FatalError = 3,
};

class ExceptionReporter {
 public:
  virtual ~ExceptionReporter() = default;
  virtual void Write(const wchar_t* text, Severity severity) = 0;
};

class DebugLogReporter : public ExceptionReporter {
 public:
  // A severity line ("Warning: ", "ERROR: ", "FATAL ERROR: ") when the
  // severity has one, then the text verbatim: it is never used as a format.
  void Write(const wchar_t* text, Severity severity) override;
};
