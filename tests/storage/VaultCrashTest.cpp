// Kills a process in the middle of its saves at random instants and checks,
// after each kill, that a new run loads one whole vault version: the last
// one the process reported saved, or the one it was saving. Never a mix,
// never part of one, never nothing.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "storage/EditorUpdater.h"
#include "support/ScopedHandle.h"
#include "tests/common/MessageBoxAnswerer.h"
#include "tests/common/TempFolder.h"
#include "tests/storage/VaultBytes.h"
#include "tests/storage/VersionedVault.h"

namespace {

constexpr uint32_t kSeed = 7172026;
constexpr int kKills = 220;
constexpr DWORD kChildTimeoutMs = 20000;

std::wstring ChildProgram() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring program = path;
  return program.substr(0, program.rfind(L'\\') + 1) + L"vault_saver_child.exe";
}

double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A saving child and the read end of its standard output.
class Child {
 public:
  Child(const std::wstring& folder, uint32_t firstVersion) {
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
    std::wstring commandLine = L"\"" + ChildProgram() + L"\" \"" + folder + L"\" " +
                               std::to_wstring(firstVersion);
    PROCESS_INFORMATION process = {};
    if (CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &process)) {
      m_process.Reset(process.hProcess);
      CloseHandle(process.hThread);
    }
  }

  bool Started() const { return m_process.IsValid(); }

  // Waits, within the time-out, until the child has reported a first save.
  bool WaitForFirstSave() {
    const double deadline = Seconds() + kChildTimeoutMs / 1000.0;
    while (Seconds() < deadline) {
      DWORD available = 0;
      if (!PeekNamedPipe(m_output.Get(), nullptr, 0, nullptr, &available, nullptr)) return false;
      if (available >= 4) return true;
      if (WaitForSingleObject(m_process.Get(), 1) == WAIT_OBJECT_0) return false;
    }
    return false;
  }

  void Kill() {
    TerminateProcess(m_process.Get(), 9);
    WaitForSingleObject(m_process.Get(), kChildTimeoutMs);
  }

  // Every version the child reported, once it is gone.
  std::vector<uint32_t> Reports() {
    std::vector<uint32_t> reports;
    uint32_t value = 0;
    DWORD read = 0;
    while (ReadFile(m_output.Get(), &value, sizeof value, &read, nullptr) && read == sizeof value)
      reports.push_back(value);
    return reports;
  }

 private:
  ScopedHandle m_process;
  ScopedHandle m_output;
};

std::string FolderState(const std::wstring& folder) {
  std::string state;
  for (const wchar_t* name : {L"KFO.dta", L"KFO.tmp", L"KFO.new"}) {
    if (!FileExists(folder + L"\\" + name)) continue;
    if (!state.empty()) state += " + ";
    state += std::string(name, name + 7);
  }
  return state.empty() ? "nothing" : state;
}

}  // namespace

TEST(VaultCrash, KilledSavesLeaveOneWholeVersion) {
  std::printf("seed %u, %d kills\n", static_cast<unsigned>(kSeed), kKills);
  std::mt19937 random(kSeed);
  TempFolder folder;
  EditorUpdater& updater = EditorUpdater::GetInstance();
  updater.SetDataBaseFileName(folder.Path() + L"\\");
  MessageBoxAnswerer answerer;

  // Version 0 is there before the first kill, and tells how long a save takes.
  BuildVersion(0);
  const double start = Seconds();
  ASSERT_TRUE(updater.Serialize());
  const double saveSeconds = Seconds() - start;
  // Kills spread over about three saves from the child's first report on.
  std::uniform_real_distribution<double> delay(0.0, 3 * saveSeconds);

  uint32_t onDisk = 0;
  std::map<std::string, std::pair<int, int>> outcomes;  // state: (old, new)
  for (int kill = 0; kill < kKills; ++kill) {
    SCOPED_TRACE(kill);
    Child child(folder.Path(), onDisk + 1);
    ASSERT_TRUE(child.Started());
    ASSERT_TRUE(child.WaitForFirstSave());
    const double instant = Seconds() + delay(random);
    while (Seconds() < instant) {
    }
    child.Kill();
    const std::vector<uint32_t> reports = child.Reports();
    ASSERT_FALSE(reports.empty());
    for (uint32_t report : reports) ASSERT_NE(report, 0xFFFFFFFFu) << "a save failed";
    const uint32_t lastSaved = reports.back();
    const std::string state = FolderState(folder.Path());

    // A new run.
    updater.ReadDefaultDatabase(true);
    updater.SetDataBaseFileName(folder.Path() + L"\\");
    ASSERT_TRUE(updater.DeSerialize()) << "nothing loaded from " << state;
    const int64_t loaded = LoadedVersion();
    ASSERT_TRUE(loaded == lastSaved || loaded == lastSaved + 1)
        << "loaded " << loaded << " after version " << lastSaved << " was saved, from " << state;
    for (const std::wstring& name : FolderContents(folder.Path()))
      ASSERT_EQ(name, L"KFO.dta") << "after a load from " << state;
    (loaded == lastSaved ? outcomes[state].first : outcomes[state].second)++;
    onDisk = static_cast<uint32_t>(loaded);
  }
  EXPECT_TRUE(answerer.Boxes().empty());

  std::printf("a save takes %.1f ms here; after each kill the folder held:\n",
              saveSeconds * 1000);
  for (const auto& outcome : outcomes)
    std::printf("  %-28s %4d kills: %4d loaded the last saved version, %4d the one being saved\n",
                outcome.first.c_str(), outcome.second.first + outcome.second.second,
                outcome.second.first, outcome.second.second);
}
