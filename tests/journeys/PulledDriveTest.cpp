// A drive pulled out in the middle of a save. The program saves after a real
// command, View > Show or Hide Password (one save each, the flag the only
// change), and its process is killed at a random instant around that save.
// Every restart must then open a whole vault: the one last saved, or the
// one that was being saved. The vault is large enough that a save takes tens
// of milliseconds, so most kills land inside one.
//
// A save is complete on the medium some microseconds before it takes the
// vault's place, too briefly for a random kill to hit. So some runs also
// hold the vault open as a virus scanner does: the save waits at its last
// step, with the complete file beside the vault, and the kill lands there.
//
// The seed comes from the clock, so that each run tries other instants; it
// is printed, and KFO_PULLED_DRIVE_SEED gives it back. The counts are printed
// and written to pulled-drive.txt beside the test program's build files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "support/ScopedHandle.h"
#include "tests/common/TempFolder.h"
#include "tests/program/Desktop.h"
#include "tests/program/ProgramTest.h"

namespace {

constexpr int kSites = 3000;
constexpr int kRandomRuns = 100;
// Every sixth run is held.
constexpr int kRuns = kRandomRuns + kRandomRuns / 5;

using PulledDriveTest = ProgramTest;

double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

double Longest(const std::vector<double>& values) {
  return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

uint32_t Seed() {
  wchar_t text[32] = {};
  const DWORD length = GetEnvironmentVariableW(L"KFO_PULLED_DRIVE_SEED", text, 32);
  if (length > 0 && length < 32) return static_cast<uint32_t>(wcstoul(text, nullptr, 10));
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<uint32_t>(now.QuadPart ^ (now.QuadPart >> 32));
}

std::vector<SiteFields> ManySites() {
  std::vector<SiteFields> sites;
  for (int key = 1; key <= kSites; ++key) {
    wchar_t title[16] = {};
    swprintf(title, 16, L"Site %04d", key);
    sites.push_back(StoredSite(title, key, L"pw of " + std::wstring(title)));
  }
  return sites;
}

// Reads the one title, not the thousands the list holds.
std::wstring ChosenTitle(HWND list) {
  const LRESULT index = Ask(list, CB_GETCURSEL);
  if (index < 0) return std::wstring();
  std::wstring title(static_cast<size_t>(Ask(list, CB_GETLBTEXTLEN, index)) + 1, L'\0');
  const LRESULT length = Ask(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&title[0]));
  title.resize(length > 0 ? static_cast<size_t>(length) : 0);
  return title;
}

// The vault in `bytes`, or why it is not a whole one.
std::optional<VaultContents> WholeVault(const Bytes& bytes, std::string* why) {
  try {
    return ReadVault(bytes);
  } catch (const VaultFormatError& error) {
    *why = error.what();
    return std::nullopt;
  }
}

// Where the save was when the process died, told by the files it leaves on
// the way: the temporary file while it writes, the complete file between
// its two renames, and the vault's flag before and after.
enum Moment { kBeforeSave, kWritingTemporary, kCompleteBesideVault, kAfterSave, kMoments };
const char* const kMomentNames[kMoments] = {
    "before the save (the old vault alone)", "inside: KFO.tmp being written",
    "inside: KFO.new complete, not yet in place", "after the save (the new vault alone)"};

std::wstring OutputFile(const wchar_t* name) {
  return std::wstring(KFO_JOURNEYS_OUTPUT_FOLDER) + L"\\" + name;
}

TEST_F(PulledDriveTest, EveryRestartOpensTheLastSavedVaultOrTheOneBeingSaved) {
  const double began = Seconds();
  const uint32_t seed = Seed();
  std::printf("seed %u (KFO_PULLED_DRIVE_SEED=%u repeats it), %d runs, %d sites\n",
              static_cast<unsigned>(seed), static_cast<unsigned>(seed), kRuns, kSites);
  std::fflush(stdout);
  std::mt19937 random(seed);

  const std::vector<SiteFields> sites = ManySites();
  m_drive.PutVault(Vault(kPassword, 0, kSites, sites));
  const size_t vaultSize = m_drive.VaultBytes().size();
  const std::wstring temporary = m_drive.DataFolder() + L"\\KFO.tmp";
  const std::wstring complete = m_drive.DataFolder() + L"\\KFO.new";

  // One save through the command, not cut: how long from the key to the
  // program answering again, the save included. Chosen again when Wine's
  // late focus events closed the menu before the key came.
  Keyfolio* program = &Start();
  program->LogIn(kPassword);
  double commandSeconds = 0;
  for (int attempt = 0; attempt < 3 && commandSeconds == 0; ++attempt) {
    program->SelectMenuItem(L"View", L"Show Password");
    const double pressed = Seconds();
    PressKey(VK_RETURN);
    if (WaitFor([&] { return program->PasswordChar() == 0; }, 2000))
      commandSeconds = Seconds() - pressed;
  }
  ASSERT_GT(commandSeconds, 0) << "Show Password did not take";
  ASSERT_EQ(ReadVaultOnDrive().flag, 1u);
  std::uniform_real_distribution<double> delay(0.0, 1.25 * commandSeconds);

  int moments[2][kMoments] = {};  // random, held
  int openedLastSaved = 0, openedBeingSaved = 0;
  // What a person waits for at each restart: from the start to the master
  // password's question, and from its OK to the sites on the screen.
  std::vector<double> startSeconds, logInSeconds;
  bool shown = true;
  for (int run = 0; run < kRuns; ++run) {
    const bool held = run % 6 == 5;
    SCOPED_TRACE("run " + std::to_string(run) + (held ? ", held" : ""));
    // A step that fails throws; this says which and where.
    std::string step = "the command";
    try {
      const uint32_t before = shown ? 1 : 0, saving = shown ? 0 : 1;
      program->SelectMenuItem(L"View", shown ? L"Hide Password" : L"Show Password");
      if (held) {
        // Reading, as a scanner reads: the vault cannot be replaced meanwhile.
        ScopedHandle scanner(CreateFileW(m_drive.VaultPath().c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(scanner.IsValid());
        PressKey(VK_RETURN);
        ASSERT_TRUE(WaitFor([&] { return FileExists(complete); }, 1000))
            << "the save did not wait for the vault";
        program->Process().Kill();
      } else {
        const double instant = Seconds() + delay(random);
        PressKey(VK_RETURN);
        // The kill's instant is the point of the test, not a wait for
        // something: it is held to the microsecond.
        while (Seconds() < instant) {
        }
        program->Process().Kill();
      }
      m_runs.clear();
      program = nullptr;

      const bool writing = FileExists(temporary), completed = FileExists(complete);
      std::string why;
      const std::optional<VaultContents> vault = WholeVault(m_drive.VaultBytes(), &why);
      ASSERT_TRUE(vault) << "the vault is not whole after the kill: " << why;
      ASSERT_TRUE(vault->sites == sites) << "the vault's sites changed";
      ASSERT_EQ(vault->masterPassword, kPassword);
      uint32_t expected = vault->flag;
      Moment moment = vault->flag == before ? kBeforeSave : kAfterSave;
      if (completed) {
        const std::optional<VaultContents> newer = WholeVault(ReadBytes(complete), &why);
        ASSERT_TRUE(newer) << "KFO.new is not whole: " << why;
        ASSERT_EQ(newer->flag, saving);
        ASSERT_TRUE(newer->sites == sites) << "KFO.new's sites changed";
        ASSERT_EQ(vault->flag, before) << "the vault was replaced, yet KFO.new stayed";
        expected = saving;
        moment = kCompleteBesideVault;
      } else if (writing) {
        ASSERT_EQ(vault->flag, before) << "the vault was replaced while KFO.tmp was written";
        moment = kWritingTemporary;
      }
      ASSERT_TRUE(expected == before || expected == saving);
      ++moments[held][moment];
      ++(moment == kCompleteBesideVault ? openedBeingSaved : openedLastSaved);

      step = std::string("the restart after a kill ") + kMomentNames[moment];
      const double starting = Seconds();
      program = &Start();
      HWND check = program->WaitForDialog(L"Keyfolio");
      startSeconds.push_back(Seconds() - starting);
      program->EnterMasterPassword(kPassword);
      const double entered = Seconds();
      program->WaitForClose(check);
      Expect([&] { return IsWindowEnabled(program->MainWindow()) != FALSE; },
             "the main window to be usable");
      program->WaitUntilIdle();
      logInSeconds.push_back(Seconds() - entered);
      ASSERT_EQ(Ask(program->SiteList(), CB_GETCOUNT), kSites);
      ASSERT_EQ(ChosenTitle(program->SiteList()), sites.front().title);
      ASSERT_EQ(program->PasswordChar(), expected ? 0 : L'*');
      ASSERT_EQ(program->VisibleFields()[0], sites.front().user);
      const VaultContents reopened = ReadVaultOnDrive();
      ASSERT_EQ(reopened.flag, expected);
      ASSERT_TRUE(reopened.sites == sites) << "the reopened vault's sites changed";
      ASSERT_EQ(FolderContents(m_drive.DataFolder()), std::vector<std::wstring>{L"KFO.dta"});
      shown = expected != 0;
    } catch (const StepFailed& failure) {
      std::string open;
      if (program)
        for (HWND dialog : program->OpenDialogs()) open += " \"" + Narrow(TextOf(dialog)) + "\"";
      FAIL() << step << ": " << failure.what() << "; open:" << open;
    }
  }

  const int inside = moments[0][kWritingTemporary] + moments[0][kCompleteBesideVault];
  char summary[2048];
  std::snprintf(
      summary, sizeof summary,
      "pulled drive: seed %u, a vault of %d sites (%zu bytes)\n"
      "View > Show Password, from the key to the program answering again: %.1f ms\n"
      "%d kills at random, %.1f to %.1f ms after the key: %d %s, %d %s, %d %s, %d %s\n"
      "  inside the save: %d of %d\n"
      "%d kills while the vault was held: %d %s\n"
      "restarts opened %d times the last saved vault, %d times the one being saved; all whole\n"
      "each restart, from the start to the password's question: median %.0f ms, at most %.0f ms;\n"
      "  from its OK to the %d sites on the screen: median %.0f ms, at most %.0f ms\n"
      "time: %.0f s\n",
      static_cast<unsigned>(seed), kSites, vaultSize, commandSeconds * 1000, kRandomRuns, 0.0,
      1.25 * commandSeconds * 1000, moments[0][kBeforeSave], kMomentNames[kBeforeSave],
      moments[0][kWritingTemporary], kMomentNames[kWritingTemporary],
      moments[0][kCompleteBesideVault], kMomentNames[kCompleteBesideVault], moments[0][kAfterSave],
      kMomentNames[kAfterSave], inside, kRandomRuns, kRuns - kRandomRuns,
      moments[1][kCompleteBesideVault], kMomentNames[kCompleteBesideVault], openedLastSaved,
      openedBeingSaved, Median(startSeconds) * 1000, Longest(startSeconds) * 1000, kSites,
      Median(logInSeconds) * 1000, Longest(logInSeconds) * 1000, Seconds() - began);
  std::printf("%s", summary);
  const std::string text(summary);
  WriteBytes(OutputFile(L"pulled-drive.txt"), Bytes(text.begin(), text.end()));
}

}  // namespace
