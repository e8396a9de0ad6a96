// How long the vault takes to save and load as it grows. For 1,000, 10,000
// and 100,000 sites it prints the file's size, the time of a whole save
// (Serialize) and of a load with the rewrite that follows it (DeSerialize),
// of an add, an edit and a delete each followed by its save, and, as the
// floor that one system call per value is measured against, the time to
// write (and flush) and to read the same bytes with one call each.
//
//   build/wine-run build/benchmarks/vault_benchmark.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "storage/DatabasePasswordSet.h"
#include "storage/DeSerializer.h"
#include "storage/EditorUpdater.h"
#include "storage/Initialization.h"
#include "storage/Scrambler.h"
#include "support/ScopedHandle.h"
#include "support/StringFunctions.h"

namespace {

using Bytes = std::vector<unsigned char>;

double Now() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The median of `runs` timings of `step`, in milliseconds.
double Milliseconds(int runs, const std::function<void()>& step) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const double start = Now();
    step();
    times.push_back((Now() - start) * 1000);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void PutLong(Bytes& bytes, unsigned long value) {
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<unsigned char>(value >> shift));
}

void PutString(Bytes& bytes, std::wstring text) {
  Scramble(text);
  PutLong(bytes, static_cast<unsigned long>(text.size() * 2));
  const unsigned char* units = reinterpret_cast<const unsigned char*>(text.data());
  bytes.insert(bytes.end(), units, units + text.size() * 2);
}

// A vault of `count` sites of a realistic size, as the program writes it.
// Every string is non-empty, so a save makes 11 + 15 * count write calls.
Bytes MakeVault(int count) {
  Bytes bytes;
  PutString(bytes, L"KEYFOLIO");
  PutLong(bytes, 257);
  PutLong(bytes, 257);
  PutString(bytes, L"Password Data");
  PutLong(bytes, 0);
  PutString(bytes, L"master");
  PutLong(bytes, 0);
  PutLong(bytes, static_cast<unsigned long>(count));
  for (int i = 1; i <= count; ++i) {
    PutString(bytes, FormatString(L"Site %06d", i));
    PutString(bytes, FormatString(L"user%d@example.com", i));
    PutString(bytes, L"x7!Kq2#pLm9z");
    PutString(bytes, FormatString(L"https://www.example%d.com/login", i));
    PutString(bytes, L"Security question: first pet. Answer: Rex.");
    PutString(bytes, L"Tuesday, March 03, 2026");
    PutString(bytes, L"Saturday, December 05, 2026");
    PutLong(bytes, static_cast<unsigned long>(i));
  }
  return bytes;
}

void WriteAll(const std::wstring& path, const Bytes& bytes) {
  ScopedHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  FlushFileBuffers(file.Get());
}

void ReadAll(const std::wstring& path, Bytes& bytes) {
  ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD read = 0;
  ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
}

std::wstring MakeFolder() {
  wchar_t base[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, base);
  const std::wstring folder = std::wstring(base) + L"kfo-benchmark-" +
                              std::to_wstring(GetCurrentProcessId()) + L"\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

}  // namespace

int main() {
  const std::wstring folder = MakeFolder();
  const std::wstring vault = folder + L"KFO.dta";
  const std::wstring floorFile = folder + L"floor.dat";
  EditorUpdater& updater = EditorUpdater::GetInstance();
  DatabasePasswordSet& set = DatabasePasswordSet::GetInstance();
  updater.SetDataBaseFileName(folder);
  Initialization::GetInstance().SetMasterPassword(L"master");

  struct Breakdown {
    int count;
    double read, add, edit, remove;
  };
  std::vector<Breakdown> breakdowns;
  std::printf("Times in ms, median of several runs (one run at 100,000 sites).\n\n");
  std::printf("%8s %11s %10s %12s %9s %9s %9s %9s %9s %11s %9s\n", "sites", "bytes", "Serialize",
              "DeSerialize", "add+save", "edit+save", "del+save", "floor wr", "floor rd",
              "write calls", "us/call");
  for (int count : {1000, 10000, 100000}) {
    const int runs = count >= 100000 ? 1 : 5;
    const Bytes bytes = MakeVault(count);
    Bytes readBack(bytes.size());
    const double floorWrite = Milliseconds(runs, [&] { WriteAll(floorFile, bytes); });
    const double floorRead = Milliseconds(runs, [&] { ReadAll(floorFile, readBack); });

    WriteAll(vault, bytes);
    bool loaded = true;
    const double load = Milliseconds(runs, [&] { loaded = loaded && updater.DeSerialize(); });
    if (!loaded || set.Count() != static_cast<size_t>(count)) {
      std::printf("the vault of %d sites did not load\n", count);
      return 1;
    }
    bool saved = true;
    const double save = Milliseconds(runs, [&] { saved = saved && updater.Serialize(); });

    int added = 0;
    const double add = Milliseconds(runs, [&] {
      PasswordRecStruct site;
      site.m_SiteTitle = FormatString(L"Added %d", ++added);
      site.m_Password = L"new password";
      saved = saved && set.AddRecord(nullptr, site) && updater.Serialize();
    });
    const double edit = Milliseconds(runs, [&] {
      set.SetCurrentRecord(count / 2);
      PasswordRecStruct site = set.GetCurrentRecord();
      site.m_Notes += L" edited";
      saved = saved && set.EditCurrentRecord(nullptr, site) && updater.Serialize();
    });
    const double remove = Milliseconds(runs, [&] {
      set.SetCurrentRecord(count / 2);
      set.DeleteCurrentRecord();
      saved = saved && updater.Serialize();
    });
    if (!saved) {
      std::printf("a save of %d sites failed\n", count);
      return 1;
    }
    // The same steps without their saves, and a load without its rewrite.
    Breakdown breakdown = {count, 0, 0, 0, 0};
    breakdown.read = Milliseconds(runs, [&] {
      DeSerializer des(vault);
      updater.ReadDatabase(des);
    });
    breakdown.add = Milliseconds(runs, [&] {
      PasswordRecStruct site;
      site.m_SiteTitle = FormatString(L"Added %d", ++added);
      set.AddRecord(nullptr, site);
    });
    breakdown.edit = Milliseconds(runs, [&] {
      set.SetCurrentRecord(count / 2);
      PasswordRecStruct site = set.GetCurrentRecord();
      site.m_Notes += L" edited";
      set.EditCurrentRecord(nullptr, site);
    });
    breakdown.remove = Milliseconds(runs, [&] {
      set.SetCurrentRecord(count / 2);
      set.DeleteCurrentRecord();
    });
    breakdowns.push_back(breakdown);

    const double calls = 11.0 + 15.0 * count;
    std::printf("%8d %11zu %10.1f %12.1f %9.1f %9.1f %9.1f %9.1f %9.1f %11.0f %9.2f\n", count,
                bytes.size(), save, load, add, edit, remove, floorWrite, floorRead, calls,
                (save - floorWrite) * 1000 / calls);
    std::fflush(stdout);
  }
  std::printf("\nus/call: (Serialize - floor write) / write calls, the cost of each extra call.\n");
  std::printf("\nThe same without saving: a load without its rewrite, and the set's own steps.\n");
  std::printf("%8s %10s %9s %9s %9s\n", "sites", "read only", "add", "edit", "delete");
  for (const Breakdown& b : breakdowns)
    std::printf("%8d %10.1f %9.3f %9.3f %9.3f\n", b.count, b.read, b.add, b.edit, b.remove);

  updater.DeleteAllData();
  DeleteFileW(floorFile.c_str());
  RemoveDirectoryW(folder.c_str());
  return 0;
}
