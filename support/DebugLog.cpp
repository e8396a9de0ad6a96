#include "support/DebugLog.h"

#include <windows.h>
#include <share.h>
#include <cstdarg>
#include <cstdio>
#include <ctime>

const char* const kDebugLogPath = "C:\\Quillmark\\Keyfolio\\Log.txt";

namespace {

int g_enabled = 0;
ULONGLONG g_startTenths = 0;
std::string g_path;

// _vsnwprintf is the C runtime's own formatter, so %s takes a wide string as
// the trace lines expect, whatever the compiler's stdio settings.
std::wstring FormatArgs(const wchar_t* format, va_list args) {
  va_list sizing;
  va_copy(sizing, args);
  const int length = _vscwprintf(format, sizing);
  va_end(sizing);
  if (length <= 0) return std::wstring();
  std::wstring text(static_cast<size_t>(length), L'\0');
  _vsnwprintf(&text[0], text.size(), format, args);
  return text;
}

int WriteToLog(const std::wstring& text, bool asLine) {
  // "a+" in text mode: the runtime turns "\n" into CR LF and the wide text
  // into the ANSI code page. Opened and closed per line, so a line is on
  // disk before the call returns.
  FILE* file = _fsopen(g_path.c_str(), "a+", _SH_DENYNO);
  if (!file) return 0;
  if (asLine) {
    const ULONGLONG tenths = GetTickCount64() / 100 - g_startTenths;
    fputws(DebugLogTimePrefix(static_cast<unsigned long>(tenths)).c_str(), file);
  }
  fputws(text.c_str(), file);
  if (asLine) fputws(L"\n", file);
  fclose(file);
  return 1;
}

}  // namespace

std::wstring DebugLogTimePrefix(unsigned long tenths) {
  wchar_t prefix[32];
  _snwprintf(prefix, 32, L"%0.4lu:\t\t", tenths);
  prefix[31] = L'\0';
  return prefix;
}

namespace {

// Both entries' one body; formats nothing while the log is off.
int WriteFormatted(bool asLine, const wchar_t* format, va_list args) {
  if (!g_enabled) return 1;
  return WriteToLog(FormatArgs(format, args), asLine);
}

}  // namespace

int DebugLog(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  const int written = WriteFormatted(true, format, args);
  va_end(args);
  return written;
}

int DebugLogRaw(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  const int written = WriteFormatted(false, format, args);
  va_end(args);
  return written;
}

int StartDebugLog(const wchar_t* name, const char* path) {
  FILE* file = fopen(path, "wb");
  if (!file) return 0;
  fclose(file);
  g_path = path;
  g_startTenths = GetTickCount64() / 100;
  g_enabled = 1;
  const time_t now = time(nullptr);
  DebugLog(L"Log file for %s: %s\nTime\tMessage", name, _wctime(&now));
  return 1;
}

void StopDebugLog() {
  g_enabled = 0;
}

bool DebugLogIsOn() {
  return g_enabled != 0;
}
