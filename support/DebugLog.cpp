#include "support/DebugLog.h"

#include <windows.h>
#include <mmsystem.h>
#include <share.h>
#include <cstdarg>
#include <cstdio>
#include <ctime>

const char* const kDebugLogPath = "C:\\Quillmark\\Keyfolio\\Log.txt";

namespace {

int g_enabled = 0;
DWORD g_startTenths = 0;
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
  if (asLine) fputws(DebugLogTimePrefix(timeGetTime() / 100 - g_startTenths).c_str(), file);
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

int DebugLog(const wchar_t* format, ...) {
  if (!g_enabled) return 1;
  va_list args;
  va_start(args, format);
  const std::wstring text = FormatArgs(format, args);
  va_end(args);
  return WriteToLog(text, true);
}

int DebugLogRaw(const wchar_t* format, ...) {
  if (!g_enabled) return 1;
  va_list args;
  va_start(args, format);
  const std::wstring text = FormatArgs(format, args);
  va_end(args);
  return WriteToLog(text, false);
}

int StartDebugLog(const wchar_t* name, const char* path) {
  FILE* file = fopen(path, "wb");
  if (!file) return 0;
  fclose(file);
  g_path = path;
  g_startTenths = timeGetTime() / 100;
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
