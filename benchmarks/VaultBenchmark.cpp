// How fast Keyfolio starts, loads and saves as its vault grows, each beside a
// reference measured in the same run, so that the ratios hold on any machine
// and under any load:
// - start-up, from CreateProcessW to the master password dialog on the
//   screen, with vaults of 0, 1,000 and 10,000 sites, against a minimal
//   program of the same toolchain that shows one dialog (MinimalDialog.cpp).
//   Three more builds of that program add, step by step, what Keyfolio does
//   before its dialog shows, and a stripped copy of the packaged program
//   shows what its debug information costs: where a start's time goes;
// - the load alone (without the rewrite that follows it at start-up) and the
//   save alone, at 1,000, 10,000 and 100,000 sites, against the floor of
//   their own call pattern on the same file (CallPattern.h); the save also
//   without the steps that keep it safe, and against a floor with them;
// - the import of a CSV file of 1,000, 10,000 and 100,000 rows, all of it as
//   the command does it (read, parse, place among the sites there, add, one
//   save), against the load plus the save of a vault of the same sites: rows
//   of sites each its own, and rows that repeat one login under other
//   titles; with the most memory the import held beside the file's size;
// - the files that once took an import's memory or time away: a first line
//   of thousands of columns over short rows, and tens of thousands of rows of
//   one login.
// Each time is the median of repeated runs, with the fastest and the slowest
// beside it; the cases take their runs in turn, so that a slow spell of the
// machine falls on all of them alike. The vaults are made by the tests'
// vault writer, not by the code measured, and live in temporary folders.
//
//   build/wine-run build/benchmarks/vault_benchmark.exe [import]
//
// With "import", only the import's parts run.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "benchmarks/BenchmarkVault.h"
#include "benchmarks/CallPattern.h"
#include "benchmarks/DialogStart.h"
#include "benchmarks/Figures.h"
#include "benchmarks/Samples.h"
#include "exchange/SiteImport.h"
#include "storage/DatabasePasswordSet.h"
#include "storage/DeSerializer.h"
#include "storage/EditorUpdater.h"
#include "storage/Serializer.h"
#include "tests/common/AllocationWatch.h"

namespace {

constexpr int kWarmUpRounds = 1;
constexpr int kStartRounds = 25;
constexpr double kStartAim = 1.3;
constexpr double kFileAim = 1.3;
constexpr double kImportAim = 2.0;

const wchar_t kMasterPasswordCaption[] = L"Keyfolio";
const wchar_t kMinimalCaption[] = L"Minimal dialog";

std::wstring ModuleFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring module = path;
  return module.substr(0, module.rfind(L'\\'));
}

unsigned long long FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
    throw std::runtime_error("a program to measure is missing; build everything first");
  return static_cast<unsigned long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

// Sites read into an emptied set, as at start-up, where the set holds none.
void EmptySet() {
  DatabasePasswordSet::GetInstance().LoadDefaultValues();
}

void LoadAlone(const std::wstring& vaultName, size_t sites) {
  DeSerializer des(vaultName);
  if (!EditorUpdater::GetInstance().ReadDatabase(des) ||
      DatabasePasswordSet::GetInstance().Count() != sites)
    throw std::runtime_error("a benchmark vault did not load whole");
}

void SaveAlone() {
  if (!EditorUpdater::GetInstance().Serialize()) throw std::runtime_error("a save failed");
}

// The record writing of a save, without the steps that keep the vault safe.
void WriteAlone(const std::wstring& vaultName) {
  Serializer ser(vaultName);
  EditorUpdater::GetInstance().WriteDatabase(ser);
}

struct StartCase {
  const char* program;
  // A minimal program beside the benchmark, or empty for the packaged one.
  std::wstring file;
  int sites;  // -1: a minimal program, which has no vault
  TempFolder folder;
  std::wstring copy;
  Samples times;
};

// The program in a folder of its own, with its vault beside it.
void PrepareStart(StartCase& start, const std::wstring& here) {
  const bool minimal = start.sites < 0;
  const std::wstring source =
      start.file.empty() ? here + L"\\..\\dist\\Keyfolio\\Keyfolio.exe" : here + L"\\" + start.file;
  start.copy = start.folder.File(minimal ? start.file : L"Keyfolio.exe");
  if (!CopyFileW(source.c_str(), start.copy.c_str(), FALSE))
    throw std::runtime_error("a program to measure is missing; build everything first");
  if (minimal) return;
  CreateDirectoryW(start.folder.File(L"KFOdata").c_str(), nullptr);
  WriteBytes(start.folder.File(L"KFOdata\\KFO.dta"), BenchmarkVault(start.sites));
}

// DeSerialize, the load and the rewrite that follows it, as start-up runs it.
Samples LoadAndRewrite(int sites) {
  VaultFolder vault(BenchmarkVault(sites));
  Samples times;
  for (int run = 0; run < kStartRounds; ++run) {
    EmptySet();
    times.Time([] {
      if (!EditorUpdater::GetInstance().DeSerialize()) throw std::runtime_error("a load failed");
    });
  }
  EmptySet();
  return times;
}

void BenchmarkStart() {
  const std::wstring here = ModuleFolder();
  StartCase starts[] = {
      {"minimal dialog", L"minimal_dialog.exe", -1, {}, {}, {}},
      {"+ the program's manifest", L"minimal_dialog_themed.exe", -1, {}, {}, {}},
      {"+ the program's DLLs", L"minimal_dialog_dlls.exe", -1, {}, {}, {}},
      {"+ a main window before the dialog", L"minimal_dialog_window.exe", -1, {}, {}, {}},
      {"Keyfolio", L"", 0, {}, {}, {}},
      {"Keyfolio", L"", 1000, {}, {}, {}},
      {"Keyfolio", L"", 10000, {}, {}, {}},
      {"Keyfolio, stripped", L"Keyfolio-stripped.exe", 0, {}, {}, {}},
  };
  for (StartCase& start : starts) PrepareStart(start, here);
  for (int round = 0; round < kWarmUpRounds + kStartRounds; ++round) {
    for (StartCase& start : starts) {
      const double ms =
          TimeToDialog(start.copy, start.sites < 0 ? kMinimalCaption : kMasterPasswordCaption);
      if (round >= kWarmUpRounds) start.times.Add(ms);
    }
  }
  const Samples rewrite0 = LoadAndRewrite(0);
  const Samples rewrite1000 = LoadAndRewrite(1000);
  const Samples rewrite10000 = LoadAndRewrite(10000);

  const Samples& minimal = starts[0].times;
  std::printf("Start-up: from CreateProcess to the master password dialog shown; ms, median "
              "(fastest-slowest) of %d starts, taken in turn. The minimal dialog is the "
              "reference; the three rows under it add, each to the one before, what Keyfolio "
              "does before its dialog shows.\n\n",
              kStartRounds);
  std::printf("| program | sites | vault bytes | program bytes | start-up, ms | ratio | ratio of "
              "the fastest | aim |\n|---|--:|--:|--:|--:|--:|--:|---|\n");
  for (const StartCase& start : starts) {
    const double median = start.times.Median();
    std::string aim;
    if (start.sites == 10000) {
      const double bound = minimal.Median() + rewrite10000.Median();
      aim = "<= minimal + load + rewrite = " + Milliseconds(bound) + ": " + Met(median <= bound);
    } else if (start.sites >= 0) {
      aim = "<= 1.3: " + std::string(Met(median <= kStartAim * minimal.Median()));
    }
    std::printf("| %s | %s | %s | %s | %s | %s | %s | %s |\n", start.program,
                start.sites < 0 ? "-" : Grouped(start.sites).c_str(),
                start.sites < 0 ? "-" : Grouped(BenchmarkVault(start.sites).size()).c_str(),
                Grouped(FileSize(start.copy)).c_str(), Cell(start.times).c_str(),
                Ratio(median / minimal.Median()).c_str(),
                Ratio(start.times.Min() / minimal.Min()).c_str(), aim.c_str());
  }
  std::printf("\nLoad and rewrite alone (DeSerialize in this process, %d runs), ms: 0 sites %s; "
              "1,000 sites %s; 10,000 sites %s.\n\n",
              kStartRounds, Cell(rewrite0).c_str(), Cell(rewrite1000).c_str(),
              Cell(rewrite10000).c_str());
  std::fflush(stdout);
}

struct FileCase {
  FileCase(int sitesCount, int runsCount) : sites(sitesCount), runs(runsCount) {}

  int sites;
  int runs;
  size_t bytes = 0;
  size_t calls = 0;
  Samples load, loadFloor, save, saveFloor, writing, safeFloor;
};

void MeasureFiles(FileCase& measured) {
  const Bytes vault = BenchmarkVault(measured.sites);
  const CallPattern pattern(vault);
  measured.bytes = vault.size();
  measured.calls = pattern.Calls();
  VaultFolder folder(vault);
  const std::wstring temporary = folder.folder.File(L"KFO.tmp");
  const std::wstring complete = folder.folder.File(L"KFO.new");
  // The floor replays the save's own calls only if the save writes these bytes.
  EmptySet();
  LoadAlone(folder.name, measured.sites);
  SaveAlone();
  if (ReadBytes(folder.name) != vault)
    throw std::runtime_error("a save did not write back the bytes it loaded");

  Bytes buffer(vault.size());
  for (int run = 0; run < measured.runs; ++run) {
    measured.loadFloor.Time([&] { pattern.Read(folder.name, buffer); });
    EmptySet();
    measured.load.Time([&] { LoadAlone(folder.name, measured.sites); });
    measured.saveFloor.Time([&] { pattern.Write(folder.name, vault); });
    measured.save.Time(SaveAlone);
    measured.writing.Time([&] { WriteAlone(folder.name); });
    measured.safeFloor.Time([&] { pattern.WriteSafely(temporary, complete, folder.name, vault); });
  }
  EmptySet();
}

// What the program adds to each call beyond the floor, in microseconds.
std::string PerCall(const Samples& program, const Samples& floor, size_t calls) {
  char text[16];
  std::snprintf(text, sizeof text, "%.2f",
                (program.Median() - floor.Median()) * 1000 / static_cast<double>(calls));
  return text;
}

void BenchmarkFiles() {
  FileCase cases[] = {{1000, 41}, {10000, 15}, {100000, 5}};
  for (FileCase& measured : cases) MeasureFiles(measured);

  std::printf("Load alone (no rewrite) against its floor, the same read calls on the same file "
              "and nothing else; ms, median (fastest-slowest).\n\n");
  std::printf("| sites | bytes | read calls | runs | load, ms | floor, ms | ratio | aim <= 1.3 | "
              "own work per call, us |\n|--:|--:|--:|--:|--:|--:|--:|---|--:|\n");
  for (const FileCase& c : cases) {
    const double ratio = c.load.Median() / c.loadFloor.Median();
    std::printf("| %s | %s | %s | %d | %s | %s | %s | %s | %s |\n", Grouped(c.sites).c_str(),
                Grouped(c.bytes).c_str(), Grouped(c.calls).c_str(), c.runs, Cell(c.load).c_str(),
                Cell(c.loadFloor).c_str(), Ratio(ratio).c_str(), Met(ratio <= kFileAim),
                PerCall(c.load, c.loadFloor, c.calls).c_str());
  }
  std::printf("\nSave alone against its floor, the same write calls on the same file and nothing "
              "else; the save's record writing alone (a Serializer on the file, without the "
              "steps around it) against the same floor; and the save against the floor with the "
              "flush and the two renames that keep a cut save from harming the vault. ms, median "
              "(fastest-slowest).\n\n");
  std::printf("| sites | bytes | write calls | runs | save, ms | floor, ms | ratio | aim <= 1.3 | "
              "writing alone, ms | ratio | floor + flush + renames, ms | ratio | own work per "
              "call, us |\n|--:|--:|--:|--:|--:|--:|--:|---|--:|--:|--:|--:|--:|\n");
  for (const FileCase& c : cases) {
    const double ratio = c.save.Median() / c.saveFloor.Median();
    std::printf("| %s | %s | %s | %d | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n",
                Grouped(c.sites).c_str(), Grouped(c.bytes).c_str(), Grouped(c.calls).c_str(),
                c.runs, Cell(c.save).c_str(), Cell(c.saveFloor).c_str(), Ratio(ratio).c_str(),
                Met(ratio <= kFileAim), Cell(c.writing).c_str(),
                Ratio(c.writing.Median() / c.saveFloor.Median()).c_str(),
                Cell(c.safeFloor).c_str(), Ratio(c.save.Median() / c.safeFloor.Median()).c_str(),
                PerCall(c.save, c.safeFloor, c.calls).c_str());
  }
  std::printf("\nOwn work per call: what the program adds to each call beyond its floor (for the "
              "save, the floor with the flush and the renames), in microseconds.\n");
}

// The sites of an import's file: MadeUpSite's, or, `repeating`, those with
// one user name, password and address, as a browser's export of one login
// saved from many pages of its site holds them.
std::vector<SiteFields> ImportSites(int sites, bool repeating) {
  std::vector<SiteFields> list;
  for (int number = 1; number <= sites; ++number) {
    SiteFields site = MadeUpSite(number);
    if (repeating) {
      site.user = L"user@example.com";
      site.address = L"https://www.example.com/login";
    }
    list.push_back(site);
  }
  return list;
}

// The sites as Chrome exports them.
std::string ChromeCsv(const std::vector<SiteFields>& sites) {
  std::string csv = "name,url,username,password,note\r\n";
  for (const SiteFields& site : sites) {
    for (const std::wstring* field :
         {&site.title, &site.address, &site.user, &site.password, &site.notes}) {
      csv.append(field->begin(), field->end());
      csv += field == &site.notes ? "\r\n" : ",";
    }
  }
  return csv;
}

struct ImportCase {
  ImportCase(int sitesCount, bool repeatingRows, int runsCount)
      : sites(sitesCount), repeating(repeatingRows), runs(runsCount) {}

  int sites;
  bool repeating;
  int runs;
  size_t bytes = 0;
  size_t peak = 0;
  Samples import, loadAndSave;
};

// What the import command does between the Open dialog and its last box;
// the most memory it held.
size_t ImportAndSave(const std::wstring& csv, size_t added) {
  AllocationWatch watch;
  {
    SiteImport import;
    if (!import.Read(csv)) throw std::runtime_error("a benchmark file was refused");
    DatabasePasswordSet& set = DatabasePasswordSet::GetInstance();
    if (import.Preview(set).added != added || import.AddTo(set).added != added)
      throw std::runtime_error("a benchmark file did not import as it should");
  }
  watch.Stop();
  SaveAlone();
  return watch.PeakHeld();
}

void MeasureImport(ImportCase& measured) {
  const std::vector<SiteFields> sites = ImportSites(measured.sites, measured.repeating);
  const Bytes vault = Vault(kBenchmarkPassword, 0, static_cast<uint32_t>(sites.size()), sites);
  VaultFolder folder(vault);
  const std::string text = ChromeCsv(sites);
  measured.bytes = text.size();
  const std::wstring csv = folder.folder.File(L"sites.csv");
  WriteBytes(csv, Bytes(text.begin(), text.end()));
  const std::wstring same = folder.folder.File(L"same-sites.dta");
  WriteBytes(same, vault);
  const size_t added = measured.repeating ? 1 : sites.size();
  for (int run = 0; run < measured.runs; ++run) {
    EmptySet();
    measured.import.Time([&] {
      const size_t peak = ImportAndSave(csv, added);
      if (peak > measured.peak) measured.peak = peak;
    });
    EmptySet();
    measured.loadAndSave.Time([&] {
      LoadAlone(same, sites.size());
      SaveAlone();
    });
  }
  EmptySet();
}

std::string Megabytes(size_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", static_cast<double>(bytes) / (1024.0 * 1024.0));
  return text;
}

std::string Times(size_t part, size_t whole) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", static_cast<double>(part) / static_cast<double>(whole));
  return text;
}

void BenchmarkImport() {
  ImportCase cases[] = {{1000, false, 21},  {1000, true, 21},  {10000, false, 9},
                        {10000, true, 9},   {100000, false, 3}, {100000, true, 3}};
  for (ImportCase& measured : cases) MeasureImport(measured);
  std::printf("\nImport of a CSV file in Chrome's format (read, parse, place, add, one save) "
              "into an empty vault, against the load and the save of a vault of the same "
              "sites; ms, median (fastest-slowest). Rows of their own sites, or rows of one "
              "login under other titles (of which one site is added). The most memory the "
              "import held, beside the file's size.\n\n");
  std::printf("| rows | rows are | file bytes | runs | import, ms | load + save, ms | ratio | "
              "aim <= 2 | memory at the peak, MB | times the file |\n"
              "|--:|---|--:|--:|--:|--:|--:|---|--:|--:|\n");
  for (const ImportCase& c : cases) {
    const double ratio = c.import.Median() / c.loadAndSave.Median();
    std::printf("| %s | %s | %s | %d | %s | %s | %s | %s | %s | %s |\n", Grouped(c.sites).c_str(),
                c.repeating ? "one login" : "each its own", Grouped(c.bytes).c_str(), c.runs,
                Cell(c.import).c_str(), Cell(c.loadAndSave).c_str(), Ratio(ratio).c_str(),
                Met(ratio <= kImportAim), Megabytes(c.peak).c_str(),
                Times(c.peak, c.bytes).c_str());
  }
}

std::string Repeated(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

// The files that once took an import's memory or its time: each imported
// into an empty vault (without the save), its time and the most memory it
// held.
void BenchmarkWorstFiles() {
  struct WorstFile {
    const char* what;
    std::string text;
  };
  std::string oneLogin = "name,username,password,url\n";
  for (int row = 0; row < 40000; ++row) oneLogin += "T" + std::to_string(row) + ",u,p,a\n";
  const WorstFile files[] = {
      {"a first line of 5,000 columns over 5,000 rows of one field",
       "title,password" + Repeated(",c", 4998) + "\n" + Repeated("x\n", 5000)},
      {"a first line of 500 columns over 5,000 rows of one field",
       "title,password" + Repeated(",c", 498) + "\n" + Repeated("x\n", 5000)},
      {"40,000 rows of one login under other titles", oneLogin},
  };
  std::printf("\nFiles that once took an import's memory or time: imported into an empty vault "
              "(no save); ms, median (fastest-slowest) of 3.\n\n");
  std::printf("| file | bytes | sites added | import, ms | memory at the peak, MB | times the "
              "file |\n|---|--:|--:|--:|--:|--:|\n");
  TempFolder folder;
  const std::wstring path = folder.File(L"worst.csv");
  for (const WorstFile& file : files) {
    WriteBytes(path, Bytes(file.text.begin(), file.text.end()));
    Samples times;
    size_t peak = 0, added = 0;
    for (int run = 0; run < 3; ++run) {
      EmptySet();
      times.Time([&] {
        AllocationWatch watch;
        SiteImport import;
        if (!import.Read(path)) throw std::runtime_error("a worst file was refused");
        import.Preview(DatabasePasswordSet::GetInstance());
        added = import.AddTo(DatabasePasswordSet::GetInstance()).added;
        if (watch.PeakHeld() > peak) peak = watch.PeakHeld();
      });
    }
    std::printf("| %s | %s | %s | %s | %s | %s |\n", file.what, Grouped(file.text.size()).c_str(),
                Grouped(added).c_str(), Cell(times).c_str(), Megabytes(peak).c_str(),
                Times(peak, file.text.size()).c_str());
  }
  EmptySet();
}

}  // namespace

int main(int argc, char** argv) {
  const bool importOnly = argc > 1 && std::string(argv[1]) == "import";
  try {
    if (!importOnly) {
      BenchmarkStart();
      BenchmarkFiles();
    }
    BenchmarkImport();
    BenchmarkWorstFiles();
  } catch (const std::exception& e) {
    std::printf("\nThe benchmark stopped: %s\n", e.what());
    return 1;
  }
  return 0;
}
