#include "tests/common/ChildProcess.h"

#include "tests/common/BesideThisProgram.h"
#include "tests/common/StartProcess.h"

namespace {

constexpr DWORD kKillTimeoutMs = 20000;

std::wstring PathOf(const std::wstring& program) {
  return program.find(L'\\') != std::wstring::npos ? program : BesideThisProgram(program);
}

}  // namespace

ChildProcess::ChildProcess(const std::wstring& program, const std::wstring& arguments) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  if (!CreatePipe(&read, &write, &inherit, 0)) return;
  m_output.Reset(read);
  ScopedHandle writeEnd(write);
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  std::wstring commandLine = L"\"" + PathOf(program) + L"\" " + arguments;
  PROCESS_INFORMATION process = {};
  if (StartProcess(nullptr, commandLine, TRUE, 0, nullptr, startup, process)) {
    m_process.Reset(process.hProcess);
    CloseHandle(process.hThread);
  }
}

ChildProcess::~ChildProcess() {
  if (Started() && WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT) Kill();
}

bool ChildProcess::WaitForOutput(DWORD bytes, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (GetTickCount64() < deadline) {
    DWORD available = 0;
    if (!PeekNamedPipe(m_output.Get(), nullptr, 0, nullptr, &available, nullptr)) return false;
    if (available >= bytes) return true;
    if (WaitForSingleObject(m_process.Get(), 1) == WAIT_OBJECT_0) {
      PeekNamedPipe(m_output.Get(), nullptr, 0, nullptr, &available, nullptr);
      return available >= bytes;
    }
  }
  return false;
}

bool ChildProcess::WaitForExit(DWORD timeoutMs) {
  return WaitForSingleObject(m_process.Get(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD ChildProcess::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(m_process.Get(), &code);
  return code;
}

void ChildProcess::Kill() {
  TerminateProcess(m_process.Get(), 9);
  WaitForSingleObject(m_process.Get(), kKillTimeoutMs);
}

std::vector<unsigned char> ChildProcess::Output() {
  std::vector<unsigned char> output;
  unsigned char buffer[4096];
  DWORD read = 0;
  while (ReadFile(m_output.Get(), buffer, sizeof buffer, &read, nullptr) && read != 0)
    output.insert(output.end(), buffer, buffer + read);
  return output;
}
