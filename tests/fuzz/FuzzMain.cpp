// The fuzz program over the importer and the vault loader (ImportFuzz,
// VaultFuzz): inputs made from a seed and tried for a given time, two files
// to import for each vault, each input checked. A failing input is written
// to a file of its own; a crash or a hang writes the input that caused it
// before the run ends. CTest runs it with a fixed seed for about a minute,
// scripts/fuzz for longer with a new seed.
//
//   exchange_fuzz.exe [--seed N] [--seconds S] [--failures FOLDER]
//   exchange_fuzz.exe --replay FILE TARGET    (TARGET "import", "vault scrambled",
//                                             "vault encrypted")
//
// It prints the seed, the inputs tried of each kind and every failure, with
// the input's number and how it was made; the exit code is 0 when every
// input passed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "tests/common/MessageBoxAnswerer.h"
#include "tests/common/TempFolder.h"
#include "tests/fuzz/ImportFuzz.h"
#include "tests/fuzz/VaultFuzz.h"

namespace {

// An input still being checked after this long has hung: no input the
// program makes takes a second on a loaded machine.
constexpr ULONGLONG kHangMs = 120000;

// What the watchdog and the crash filter need to write the input being
// checked without the heap, whose lock a hung or crashed check may hold.
struct Current {
  const std::string* bytes = nullptr;
  wchar_t file[MAX_PATH] = {};
  volatile ULONGLONG startedMs = 0;  // 0 while none is checked
};
Current g_current;

void Say(const char* text) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, static_cast<DWORD>(std::strlen(text)),
            &written, nullptr);
}

void WriteCurrent() {
  HANDLE file = CreateFileW(g_current.file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, g_current.bytes->data(), static_cast<DWORD>(g_current.bytes->size()), &written,
            nullptr);
  CloseHandle(file);
}

LONG WINAPI OnCrash(EXCEPTION_POINTERS* info) {
  if (g_current.bytes) WriteCurrent();
  char line[MAX_PATH + 100];
  std::snprintf(line, sizeof line, "crash 0x%08lx; the input is in %ls\n",
                info->ExceptionRecord->ExceptionCode, g_current.file);
  Say(line);
  return EXCEPTION_EXECUTE_HANDLER;
}

DWORD WINAPI Watchdog(LPVOID stop) {
  while (WaitForSingleObject(stop, 1000) == WAIT_TIMEOUT) {
    const ULONGLONG started = g_current.startedMs;
    if (started == 0 || GetTickCount64() - started < kHangMs) continue;
    WriteCurrent();
    char line[MAX_PATH + 100];
    std::snprintf(line, sizeof line,
                  "hang: an input was still checked after %llu s; it is in %ls\n", kHangMs / 1000,
                  g_current.file);
    Say(line);
    TerminateProcess(GetCurrentProcess(), 3);
  }
  return 0;
}

std::string Check(FuzzTarget& target, const FuzzInput& input) {
  try {
    return target.Check(input);
  } catch (const std::exception& e) {
    return std::string("an exception: ") + e.what();
  } catch (...) {
    return "an exception of no standard kind";
  }
}

std::string FileName(const std::string& target) {
  std::string name = target;
  for (char& unit : name)
    if (unit == ' ') unit = '-';
  return name;
}

int Replay(std::vector<std::unique_ptr<FuzzTarget>>& targets, const wchar_t* path,
           const std::wstring& name) {
  for (const std::unique_ptr<FuzzTarget>& target : targets) {
    const std::string targetName = target->Name();
    if (std::wstring(targetName.begin(), targetName.end()) != name) continue;
    const std::vector<unsigned char> bytes = ReadBytes(path);
    FuzzInput input;
    input.bytes.assign(bytes.begin(), bytes.end());
    const std::string failure = Check(*target, input);
    std::printf("%s\n", failure.empty() ? "passed" : failure.c_str());
    return failure.empty() ? 0 : 1;
  }
  std::printf("no target named so\n");
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  uint32_t seed = static_cast<uint32_t>(GetTickCount64() ^ GetCurrentProcessId());
  ULONGLONG seconds = 60;
  std::wstring failures = L"fuzz-failures";
  const wchar_t* replay = nullptr;
  std::wstring replayTarget;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::wstring option = argv[i];
    if (option == L"--seed") {
      seed = static_cast<uint32_t>(std::wcstoul(argv[i + 1], nullptr, 10));
    } else if (option == L"--seconds") {
      seconds = std::wcstoull(argv[i + 1], nullptr, 10);
    } else if (option == L"--failures") {
      failures = argv[i + 1];
    } else if (option == L"--replay" && i + 2 < argc) {
      replay = argv[i + 1];
      replayTarget = argv[i + 2];
      ++i;
    } else {
      std::printf("usage: exchange_fuzz [--seed N] [--seconds S] [--failures FOLDER] | "
                  "--replay FILE TARGET\n");
      return 2;
    }
  }

  // A mutated vault may hold one title twice, which its load tells in a box.
  MessageBoxAnswerer answerer;
  std::vector<std::unique_ptr<FuzzTarget>> targets;
  targets.push_back(std::make_unique<ImportFuzz>());
  for (size_t i = 0; i < kVaultFormatCount; ++i)
    targets.push_back(std::make_unique<VaultFuzz>(kVaultFormats[i]));
  if (replay) return Replay(targets, replay, replayTarget);

  CreateDirectoryW(failures.c_str(), nullptr);
  SetUnhandledExceptionFilter(OnCrash);
  HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE watchdog = CreateThread(nullptr, 0, Watchdog, stop, 0, nullptr);
  std::printf("seed %u, %llu s\n", seed, seconds);
  std::fflush(stdout);

  std::vector<unsigned> tried(targets.size()), failed(targets.size());
  const ULONGLONG start = GetTickCount64();
  uint32_t number = 0;
  for (; GetTickCount64() - start < seconds * 1000; ++number) {
    // Two files to import, then a vault of each format in turn.
    const size_t which = number % 3 != 2 ? 0 : 1 + (number / 3) % (targets.size() - 1);
    FuzzTarget& target = *targets[which];
    FuzzRandom random(seed, number);
    const FuzzInput input = target.Make(random);
    std::swprintf(g_current.file, MAX_PATH, L"%ls\\%hs-%u-%u.bin", failures.c_str(),
                  FileName(target.Name()).c_str(), seed, number);
    g_current.bytes = &input.bytes;
    g_current.startedMs = GetTickCount64();
    const std::string failure = Check(target, input);
    g_current.startedMs = 0;
    ++tried[which];
    if (failure.empty()) continue;
    ++failed[which];
    WriteCurrent();
    std::printf("input %u, %s (%s): %s\n  it is in %ls\n", number, target.Name().c_str(),
                input.how.c_str(), failure.c_str(), g_current.file);
    std::fflush(stdout);
  }
  g_current.bytes = nullptr;
  SetEvent(stop);
  WaitForSingleObject(watchdog, INFINITE);

  unsigned total = 0;
  std::printf("seed %u: %u inputs in %llu s", seed, number, (GetTickCount64() - start) / 1000);
  for (size_t i = 0; i < targets.size(); ++i) {
    std::printf("; %s %u", targets[i]->Name().c_str(), tried[i]);
    if (failed[i] != 0) std::printf(" (%u failed)", failed[i]);
    total += failed[i];
  }
  std::printf("\n%u failed\n", total);
  return total == 0 ? 0 : 1;
}
