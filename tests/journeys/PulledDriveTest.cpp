// A drive pulled out in the middle of a save. The program saves after a real
// command, View > Show or Hide Password (one save each, the flag the only
// change), and its process is killed at a chosen stage of that save: before
// it began, while KFO.tmp is being written (at a chosen share of its bytes),
// between its two renames (KFO.new complete beside the old vault), or after
// the new vault took the old one's place. Every restart must then open a
// whole vault: the one last saved, or the one that was being saved.
//
// The test sees a save's stages from outside, in the files it leaves: the
// kill follows the size of KFO.tmp as it grows, or the new vault in place.
// Between the renames a save lasts some microseconds, too briefly to be hit;
// there the vault is held open as a virus scanner does, and the save waits
// at its last step with the complete file beside the vault. The files after
// the kill tell where it landed; a kill that missed its stage (a slow test
// thread, an Enter that Wine lost) is still checked, and its cut is made
// again. The test fails when a cut cannot be made to reach its stage.
//
// The plan (which stage each cut aims at, in which order, at which share of
// KFO.tmp) comes from a seed taken from the clock, so that each run tries
// other instants; it is printed, and KFO_PULLED_DRIVE_SEED gives it back
// with the same stages. The counts are printed and written to
// pulled-drive.txt beside the test program's build files.
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
#include "tests/common/TimeBounds.h"
#include "tests/program/Desktop.h"
#include "tests/program/ProgramTest.h"

namespace {

constexpr int kSites = 3000;

// Where a save was when the process died.
enum Stage { kBeforeSave, kWritingTemporary, kCompleteBesideVault, kAfterSave, kStages };
const char* const kStageNames[kStages] = {
    "before the save (the old vault alone)", "inside: KFO.tmp being written",
    "inside: KFO.new complete, not yet in place", "after the save (the new vault alone)"};
const char kStageLetters[kStages + 1] = "BWCA";
// How many cuts aim at each stage.
constexpr int kCutsAt[kStages] = {10, 30, 15, 15};
// KFO.tmp is cut when it holds between these shares of the vault's bytes:
// far enough from its end that the kill comes before the rename.
constexpr double kFirstShare = 0.05, kLastShare = 0.8;
// A cut that misses its stage this often in a row says that the stage
// cannot be reached.
constexpr int kTriesPerCut = 5;

struct Cut {
  Stage stage;
  // For kWritingTemporary: the share of the vault's bytes in KFO.tmp.
  double share;
};

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

// Every stage as often as kCutsAt says, in an order and at shares of
// KFO.tmp that the seed alone decides.
std::vector<Cut> Plan(uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> share(kFirstShare, kLastShare);
  std::vector<Cut> plan;
  for (int stage = 0; stage < kStages; ++stage)
    for (int cut = 0; cut < kCutsAt[stage]; ++cut)
      plan.push_back({static_cast<Stage>(stage), stage == kWritingTemporary ? share(random) : 0});
  std::shuffle(plan.begin(), plan.end(), random);
  return plan;
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

// The vault in `bytes`, or why it is not a whole one.
std::optional<VaultContents> WholeVault(const Bytes& bytes, std::string* why) {
  try {
    return ReadVault(bytes);
  } catch (const VaultFormatError& error) {
    *why = error.what();
    return std::nullopt;
  }
}

// -1 when there is no such file.
LONGLONG FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::wstring OutputFile(const wchar_t* name) {
  return std::wstring(KFO_JOURNEYS_OUTPUT_FOLDER) + L"\\" + name;
}

class PulledDriveTest : public ProgramTest {
 protected:
  PulledDriveTest()
      : m_sites(ManySites()),
        m_temporary(m_drive.DataFolder() + L"\\KFO.tmp"),
        m_complete(m_drive.DataFolder() + L"\\KFO.new") {}

  // The large vault, the program started on it and one save not cut: how
  // long from the key to the program answering again.
  void StartOnALargeVault() {
    m_drive.PutVault(Vault(kPassword, 0, kSites, m_sites));
    m_vaultSize = m_drive.VaultBytes().size();
    m_program = &Start();
    m_program->LogIn(kPassword);
    const auto shown = [&] { return m_program->PasswordChar() == 0; };
    m_program->SelectMenuItem(L"View", L"Show Password");
    const double pressed = Seconds();
    PressKey(VK_RETURN);
    if (WaitFor(shown, kEffectWaitMs))
      m_commandSeconds = Seconds() - pressed;
    else
      m_program->ChooseMenu(L"View", L"Show Password", shown);  // the Enter was lost
    ASSERT_EQ(ReadVaultOnDrive().flag, 1u);
    m_shown = true;
  }

  // Gives the command that saves and kills the program at `cut`'s stage,
  // as nearly as the files show it: the kill comes when the stage is seen,
  // when the save has gone past it (the vault replaced, or a box that tells
  // of a failed save), or once kStepTimeoutMs passed (an Enter that Wine
  // lost).
  void Kill(const Cut& cut) {
    m_program->SelectMenuItem(L"View", m_shown ? L"Hide Password" : L"Show Password");
    const std::wstring stamp = VaultStamp();
    const auto replaced = [&] {
      return VaultStamp() != stamp && !FileExists(m_temporary) && !FileExists(m_complete);
    };
    const auto failed = [&] {
      const std::vector<HWND> open = m_program->OpenDialogs();
      return std::any_of(open.begin(), open.end(), IsMessageBox);
    };
    switch (cut.stage) {
      case kBeforeSave:
        break;
      case kWritingTemporary: {
        // The kill's instant is the point here, not a wait for something:
        // the size is watched without a pause, and the rest now and then.
        const LONGLONG bytes = std::max<LONGLONG>(
            1, static_cast<LONGLONG>(cut.share * static_cast<double>(m_vaultSize)));
        PressKey(VK_RETURN);
        const ULONGLONG deadline = GetTickCount64() + kStepTimeoutMs;
        ULONGLONG lookAgain = 0;
        for (;;) {
          if (FileSize(m_temporary) >= bytes || FileExists(m_complete)) break;
          const ULONGLONG now = GetTickCount64();
          if (now >= deadline) break;
          if (now < lookAgain) continue;
          if (replaced() || failed()) break;
          lookAgain = now + 10;
        }
        break;
      }
      case kCompleteBesideVault: {
        // Reading, as a scanner reads: the vault cannot be replaced meanwhile.
        ScopedHandle scanner(CreateFileW(m_drive.VaultPath().c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(scanner.IsValid());
        PressKey(VK_RETURN);
        WaitFor([&] { return FileExists(m_complete) || replaced() || failed(); });
        m_program->Process().Kill();
        return;
      }
      case kAfterSave:
        PressKey(VK_RETURN);
        WaitFor([&] { return replaced() || failed(); });
        break;
      case kStages:
        break;
    }
    m_program->Process().Kill();
  }

  // Where the save was when the process died, told by the files it left,
  // which must hold a whole vault: the temporary file while it writes, the
  // complete file between its two renames, the vault's flag before and
  // after. `expected` is the flag of the vault that a restart must open.
  void ReadStage(Stage* stage, uint32_t* expected) {
    const uint32_t before = m_shown ? 1 : 0, saving = m_shown ? 0 : 1;
    const bool writing = FileExists(m_temporary), completed = FileExists(m_complete);
    std::string why;
    const std::optional<VaultContents> vault = WholeVault(m_drive.VaultBytes(), &why);
    ASSERT_TRUE(vault) << "the vault is not whole after the kill: " << why;
    ASSERT_TRUE(vault->sites == m_sites) << "the vault's sites changed";
    ASSERT_EQ(vault->masterPassword, kPassword);
    ASSERT_TRUE(vault->flag == before || vault->flag == saving);
    *expected = vault->flag;
    *stage = vault->flag == before ? kBeforeSave : kAfterSave;
    if (completed) {
      const std::optional<VaultContents> newer = WholeVault(ReadBytes(m_complete), &why);
      ASSERT_TRUE(newer) << "KFO.new is not whole: " << why;
      ASSERT_EQ(newer->flag, saving);
      ASSERT_TRUE(newer->sites == m_sites) << "KFO.new's sites changed";
      ASSERT_EQ(vault->flag, before) << "the vault was replaced, yet KFO.new stayed";
      *expected = saving;
      *stage = kCompleteBesideVault;
    } else if (writing) {
      ASSERT_EQ(vault->flag, before) << "the vault was replaced while KFO.tmp was written";
      *stage = kWritingTemporary;
    }
  }

  // A new run of the program after the kill: it opens the vault that
  // `expected` names, shows it, and leaves the vault alone in its folder.
  void Restart(uint32_t expected) {
    const double starting = Seconds();
    m_program = &Start();
    HWND check = m_program->WaitForDialog(L"Keyfolio");
    m_startSeconds.push_back(Seconds() - starting);
    m_program->EnterMasterPassword(kPassword);
    const double entered = Seconds();
    m_program->WaitForClose(check);
    Expect([&] { return IsWindowEnabled(m_program->MainWindow()) != FALSE; },
           "the main window to be usable");
    m_program->WaitUntilIdle();
    m_logInSeconds.push_back(Seconds() - entered);
    ASSERT_EQ(Ask(m_program->SiteList(), CB_GETCOUNT), kSites);
    ASSERT_EQ(SelectedItem(m_program->SiteList()), m_sites.front().title);
    ASSERT_EQ(m_program->PasswordChar(), expected ? 0 : L'*');
    ASSERT_EQ(m_program->VisibleFields()[0], m_sites.front().user);
    const VaultContents reopened = ReadVaultOnDrive();
    ASSERT_EQ(reopened.flag, expected);
    ASSERT_TRUE(reopened.sites == m_sites) << "the reopened vault's sites changed";
    ASSERT_EQ(FolderContents(m_drive.DataFolder()), std::vector<std::wstring>{L"KFO.dta"});
    m_shown = expected != 0;
  }

  // Kills, checks and restarts until the kill lands at the cut's stage.
  void MakeCut(const Cut& cut) {
    for (int tries = 1;; ++tries) {
      ASSERT_NO_FATAL_FAILURE(Kill(cut));
      m_runs.clear();
      m_program = nullptr;
      Stage stage = kStages;
      uint32_t expected = 0;
      ASSERT_NO_FATAL_FAILURE(ReadStage(&stage, &expected));
      ++m_landed[stage];
      SCOPED_TRACE(std::string("the restart after a kill ") + kStageNames[stage]);
      ASSERT_NO_FATAL_FAILURE(Restart(expected));
      if (stage == cut.stage) return;
      ++m_missed[cut.stage];
      ASSERT_LT(tries, kTriesPerCut) << "no kill reached the stage " << kStageNames[cut.stage];
    }
  }

  void WriteSummary(uint32_t seed, const std::vector<Cut>& plan, double seconds) const {
    std::string stages;
    for (const Cut& cut : plan) stages += kStageLetters[cut.stage];
    char text[2048];
    std::snprintf(
        text, sizeof text,
        "pulled drive: seed %u, a vault of %d sites (%zu bytes)\n"
        "View > Show Password, from the key to the program answering again: %.1f ms\n"
        "cuts aimed at (B before, W KFO.tmp written, C KFO.new complete, A after):\n  %s\n"
        "kills that landed: %d %s, %d %s, %d %s, %d %s\n"
        "cuts made again after a kill missed its stage: %d before, %d writing, %d complete, "
        "%d after\n"
        "each restart, from the start to the password's question: median %.0f ms, at most %.0f "
        "ms;\n"
        "  from its OK to the %d sites on the screen: median %.0f ms, at most %.0f ms\n"
        "time: %.0f s\n",
        static_cast<unsigned>(seed), kSites, m_vaultSize, m_commandSeconds * 1000, stages.c_str(),
        m_landed[kBeforeSave], kStageNames[kBeforeSave], m_landed[kWritingTemporary],
        kStageNames[kWritingTemporary], m_landed[kCompleteBesideVault],
        kStageNames[kCompleteBesideVault], m_landed[kAfterSave], kStageNames[kAfterSave],
        m_missed[kBeforeSave], m_missed[kWritingTemporary], m_missed[kCompleteBesideVault],
        m_missed[kAfterSave], Median(m_startSeconds) * 1000, Longest(m_startSeconds) * 1000,
        kSites, Median(m_logInSeconds) * 1000, Longest(m_logInSeconds) * 1000, seconds);
    std::printf("%s", text);
    const std::string summary(text);
    WriteBytes(OutputFile(L"pulled-drive.txt"), Bytes(summary.begin(), summary.end()));
  }

  const std::vector<SiteFields> m_sites;
  const std::wstring m_temporary, m_complete;
  size_t m_vaultSize = 0;
  Keyfolio* m_program = nullptr;
  // The flag of the vault the program runs with.
  bool m_shown = false;
  double m_commandSeconds = 0;
  int m_landed[kStages] = {};
  int m_missed[kStages] = {};
  // What a person waits for at each restart: from the start to the master
  // password's question, and from its OK to the sites on the screen.
  std::vector<double> m_startSeconds, m_logInSeconds;
};

TEST_F(PulledDriveTest, EveryRestartOpensTheLastSavedVaultOrTheOneBeingSaved) {
  const double began = Seconds();
  const uint32_t seed = Seed();
  const std::vector<Cut> plan = Plan(seed);
  std::printf("seed %u (KFO_PULLED_DRIVE_SEED=%u repeats it), %zu cuts, %d sites\n",
              static_cast<unsigned>(seed), static_cast<unsigned>(seed), plan.size(), kSites);
  std::fflush(stdout);

  try {
    ASSERT_NO_FATAL_FAILURE(StartOnALargeVault());
    for (size_t index = 0; index < plan.size(); ++index) {
      SCOPED_TRACE("cut " + std::to_string(index) + ", aimed " + kStageNames[plan[index].stage]);
      ASSERT_NO_FATAL_FAILURE(MakeCut(plan[index]));
    }
  } catch (const StepFailed& failure) {
    std::string open;
    if (m_program)
      for (HWND dialog : m_program->OpenDialogs()) open += " \"" + Narrow(TextOf(dialog)) + "\"";
    FAIL() << failure.what() << "; open:" << open;
  }
  WriteSummary(seed, plan, Seconds() - began);
}

}  // namespace
