#include "tests/program/ProgramProcess.h"

#include "tests/common/StartProcess.h"
#include "tests/program/Desktop.h"

namespace {

constexpr DWORD kKillTimeoutMs = 20000;

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
  if (process == search.process && (!search.visibleOnly || IsWindowVisible(window)) &&
      (search.className->empty() ||
       _wcsicmp(ClassOf(window).c_str(), search.className->c_str()) == 0))
    search.found.push_back(window);
  return TRUE;
}

}  // namespace

ProgramProcess::ProgramProcess(const std::wstring& program, const std::wstring& argumentZero)
    : m_job(CreateJobObjectW(nullptr, nullptr)) {
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!m_job.IsValid() || !SetInformationJobObject(m_job.Get(), JobObjectExtendedLimitInformation,
                                                   &limits, sizeof limits))
    throw StepFailed("no job to run the program in");
  std::wstring commandLine = L"\"" + (argumentZero.empty() ? program : argumentZero) + L"\"";
  const std::wstring folder = program.substr(0, program.rfind(L'\\'));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  // Suspended until it is in the job, so that nothing it starts escapes it.
  if (!StartProcess(program.c_str(), commandLine, FALSE, CREATE_SUSPENDED, folder.c_str(), startup,
                    process))
    throw StepFailed("the program did not start (error " + std::to_string(GetLastError()) + ")");
  m_process.Reset(process.hProcess);
  ScopedHandle thread(process.hThread);
  m_id = process.dwProcessId;
  if (!AssignProcessToJobObject(m_job.Get(), m_process.Get())) {
    Kill();
    throw StepFailed("the program could not be put in its job");
  }
  ResumeThread(thread.Get());
}

ProgramProcess::~ProgramProcess() {
  Kill();
}

bool ProgramProcess::Running() const {
  return WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT;
}

bool ProgramProcess::WaitForExit(DWORD timeoutMs) {
  return WaitFor([&] { return !Running(); }, timeoutMs);
}

DWORD ProgramProcess::ExitCode() const {
  DWORD code = 0;
  GetExitCodeProcess(m_process.Get(), &code);
  return code;
}

void ProgramProcess::Kill() {
  if (!Running()) return;
  TerminateProcess(m_process.Get(), 9);
  WaitForSingleObject(m_process.Get(), kKillTimeoutMs);
}

std::vector<HWND> ProgramProcess::Windows(const std::wstring& className, bool visibleOnly) const {
  WindowSearch search{m_id, &className, visibleOnly, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}
