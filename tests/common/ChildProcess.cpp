#include "tests/common/ChildProcess.h"

#include "tests/common/BesideThisProgram.h"
#include "tests/common/MessagePump.h"
#include "tests/common/StartProcess.h"
#include "tests/common/StepFailed.h"
#include "tests/common/TimeBounds.h"

namespace {

std::wstring PathOf(const std::wstring& program) {
  return program.find(L'\\') != std::wstring::npos ? program : BesideThisProgram(program);
}

// A pipe whose one end the child inherits; the test's end is not inherited,
// or the child would hold its own pipe open and never see it end.
bool MakePipe(ScopedHandle& read, ScopedHandle& write, bool childReads) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return false;
  read.Reset(readEnd);
  write.Reset(writeEnd);
  return SetHandleInformation(childReads ? writeEnd : readEnd, HANDLE_FLAG_INHERIT, 0) != FALSE;
}

struct WindowSearch {
  DWORD process;
  const std::wstring* className;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam) {
  WindowSearch& search = *reinterpret_cast<WindowSearch*>(lParam);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t className[256] = {};
  GetClassNameW(window, className, 256);
  if (process == search.process && (!search.visibleOnly || IsWindowVisible(window)) &&
      (search.className->empty() || _wcsicmp(className, search.className->c_str()) == 0))
    search.found.push_back(window);
  return TRUE;
}

}  // namespace

ChildProcess::ChildProcess(const std::wstring& program, const std::wstring& arguments)
    : ChildProcess(Launch{PathOf(program), L"\"" + PathOf(program) + L"\" " + arguments, L"",
                          true}) {}

ChildProcess::ChildProcess(const Launch& launch) : m_job(CreateJobObjectW(nullptr, nullptr)) {
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!m_job.IsValid() || !SetInformationJobObject(m_job.Get(), JobObjectExtendedLimitInformation,
                                                   &limits, sizeof limits))
    throw StepFailed("no job to run a process in");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  ScopedHandle childInput, childOutput;
  if (launch.pipes) {
    if (!MakePipe(childInput, m_input, true) || !MakePipe(m_output, childOutput, false))
      throw StepFailed("no pipes for a helper program");
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childInput.Get();
    startup.hStdOutput = childOutput.Get();
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  }
  std::wstring commandLine = launch.commandLine;
  PROCESS_INFORMATION process{};
  // Suspended until it is in the job, so that nothing it starts escapes it.
  if (!StartProcess(launch.program.c_str(), commandLine, launch.pipes ? TRUE : FALSE,
                    CREATE_SUSPENDED, launch.folder.empty() ? nullptr : launch.folder.c_str(),
                    startup, process))
    throw StepFailed("a process did not start (error " + std::to_string(GetLastError()) + ")");
  m_process.Reset(process.hProcess);
  ScopedHandle thread(process.hThread);
  m_id = process.dwProcessId;
  if (!AssignProcessToJobObject(m_job.Get(), m_process.Get())) {
    Kill();
    throw StepFailed("a process could not be put in its job");
  }
  ResumeThread(thread.Get());
}

ChildProcess::~ChildProcess() {
  Kill();
}

bool ChildProcess::Running() const {
  return WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT;
}

bool ChildProcess::WaitForExit(DWORD timeoutMs) {
  return PumpUntil([&] { return !Running(); }, timeoutMs);
}

DWORD ChildProcess::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(m_process.Get(), &code);
  return code;
}

void ChildProcess::Kill() {
  if (!Running()) return;
  TerminateProcess(m_process.Get(), 9);
  WaitForSingleObject(m_process.Get(), kStepTimeoutMs);
}

std::vector<HWND> ChildProcess::Windows(const std::wstring& className, bool visibleOnly) const {
  WindowSearch search{m_id, &className, visibleOnly, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool ChildProcess::WaitForOutput(DWORD bytes, DWORD timeoutMs) {
  const auto available = [&] {
    DWORD count = 0;
    return PeekNamedPipe(m_output.Get(), nullptr, 0, nullptr, &count, nullptr) ? count : 0;
  };
  PumpUntil([&] { return available() >= bytes || !Running(); }, timeoutMs);
  return available() >= bytes;
}

std::vector<unsigned char> ChildProcess::Output() {
  const bool ended = !Running();
  std::vector<unsigned char> output;
  unsigned char buffer[4096];
  for (;;) {
    DWORD available = 0;
    if (!ended && (!PeekNamedPipe(m_output.Get(), nullptr, 0, nullptr, &available, nullptr) ||
                   available == 0))
      break;
    DWORD read = 0;
    if (!ReadFile(m_output.Get(), buffer, sizeof buffer, &read, nullptr) || read == 0) break;
    output.insert(output.end(), buffer, buffer + read);
  }
  return output;
}

void ChildProcess::Tell(const std::string& line) {
  const std::string text = line + "\n";
  DWORD written = 0;
  if (!WriteFile(m_input.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
      written != text.size())
    throw StepFailed("a helper program's input is closed");
}
