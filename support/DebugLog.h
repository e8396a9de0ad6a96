// The program's trace: printf-style lines appended to one text file. The log
// is off unless a developer build calls StartDebugLog; while it is off every
// call returns at once and nothing touches the disk.
#pragma once

#include <string>

// Where StartDebugLog writes when given no other path.
extern const char* const kDebugLogPath;

// Formats with the Microsoft wide printf rules (%s takes a wide string) and
// writes one line behind the time prefix. 1 when written or the log is off,
// 0 when the file could not be opened; the line is then lost.
int DebugLog(const wchar_t* format, ...);

// As DebugLog, but writes the text alone: no time prefix, no line end.
int DebugLogRaw(const wchar_t* format, ...);

// Creates (or empties) the log file, switches the log on and writes the
// header line. 1 on success; 0 leaves the log off.
int StartDebugLog(const wchar_t* name, const char* path = kDebugLogPath);

// Switches the log off again; the file stays as written.
void StopDebugLog();

// For a trace line whose values cost something to gather, or are safe to
// read only in some cases: a caller that finds the log off reads nothing.
bool DebugLogIsOn();

// The prefix of every line: tenths of a second since the start, at least
// four digits, a colon and two tabs ("0042:\t\t").
std::wstring DebugLogTimePrefix(unsigned long tenths);
