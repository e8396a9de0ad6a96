// Starts a process for a test. Now and then Wine fails to start a program at
// all: CreateProcessW fails with ERROR_INTERNAL_ERROR before a line of the
// program ran (seen about once in a thousand starts on a busy machine). Such a start is tried again,
// twice at most, and written on standard error with Windows's error code; a
// program that did start is never started twice.
#pragma once

#include <windows.h>

#include <string>

// CreateProcessW(application, commandLine, nullptr, nullptr, inherit, flags,
// nullptr, folder, startup, process), tried up to three times.
BOOL StartProcess(const wchar_t* application, std::wstring& commandLine, BOOL inherit, DWORD flags,
                  const wchar_t* folder, STARTUPINFOW& startup, PROCESS_INFORMATION& process);
