#include "benchmarks/DialogStart.h"

#include <windows.h>

#include <stdexcept>

#include "benchmarks/Samples.h"
#include "support/ScopedHandle.h"

namespace {

constexpr double kShowTimeoutSeconds = 60;
constexpr DWORD kExitTimeoutMs = 10000;

struct DialogSearch {
  DWORD processId;
  HWND dialog;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM parameter) {
  DialogSearch& search = *reinterpret_cast<DialogSearch*>(parameter);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != search.processId || !IsWindowVisible(window)) return TRUE;
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (std::wstring(className) != L"#32770") return TRUE;
  search.dialog = window;
  return FALSE;
}

std::string Narrow(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string narrow(size > 0 ? size : 1, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &narrow[0], size, nullptr, nullptr);
  narrow.resize(narrow.size() - 1);
  return narrow;
}

[[noreturn]] void Abandon(HANDLE process, const std::string& why) {
  TerminateProcess(process, 1);
  WaitForSingleObject(process, kExitTimeoutMs);
  throw std::runtime_error(why);
}

}  // namespace

double TimeToDialog(const std::wstring& program, const std::wstring& caption) {
  const std::wstring folder = program.substr(0, program.rfind(L'\\'));
  std::wstring commandLine = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  const double start = Now();
  if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &started))
    throw std::runtime_error("cannot start " + Narrow(program));
  const ScopedHandle process(started.hProcess);
  const ScopedHandle thread(started.hThread);

  DialogSearch search = {started.dwProcessId, nullptr};
  for (;;) {
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
    if (search.dialog) break;
    // The millisecond's pause, and a start that ended without a dialog.
    if (WaitForSingleObject(process.Get(), 1) == WAIT_OBJECT_0)
      throw std::runtime_error(Narrow(program) +
                               " ended without showing a dialog (does Keyfolio run already?)");
    if (Now() - start > kShowTimeoutSeconds)
      Abandon(process.Get(), Narrow(program) + " showed no dialog within 60 s");
  }
  const double shown = Now();

  wchar_t title[256] = {};
  GetWindowTextW(search.dialog, title, 256);
  if (caption != title)
    Abandon(process.Get(), Narrow(program) + " showed \"" + Narrow(title) + "\" first");
  PostMessageW(search.dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  if (WaitForSingleObject(process.Get(), kExitTimeoutMs) != WAIT_OBJECT_0)
    Abandon(process.Get(), Narrow(program) + " did not end when its dialog was cancelled");
  return (shown - start) * 1000;
}
