// Kills a process in the middle of its saves at random instants and checks,
// after each kill, that a new run loads one whole vault version: the last
// one the process reported saved, or the one it was saving, and that one
// whenever it was complete. Never a mix, never part of one, never nothing.
// An encrypted vault too, which must then also open with its password.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "storage/EditorUpdater.h"
#include "tests/common/MessageBoxAnswerer.h"
#include "tests/common/ChildProcess.h"
#include "tests/common/TempFolder.h"
#include "tests/common/TimeBounds.h"
#include "tests/storage/SealedVault.h"
#include "tests/storage/VaultBytes.h"
#include "tests/storage/VersionedVault.h"

namespace {

constexpr uint32_t kSeed = 7172026;
constexpr int kKills = 220;
// Each kill of an encrypted vault's saver costs two derivations more, one
// in the child and one in the new run, cheap ones (SealedVault.h).
constexpr int kSealedKills = 120;

double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Every version the child reported, once it is gone.
std::vector<uint32_t> Reports(ChildProcess& child) {
  const std::vector<unsigned char> output = child.Output();
  std::vector<uint32_t> reports(output.size() / sizeof(uint32_t));
  if (!reports.empty()) std::memcpy(reports.data(), output.data(), reports.size() * sizeof(uint32_t));
  return reports;
}

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

// A new run's load: an encrypted vault opens with the versions' password.
void Load(EditorUpdater& updater, bool sealed, const std::string& state) {
  if (!sealed) {
    ASSERT_TRUE(updater.DeSerialize()) << "nothing loaded from " << state;
    return;
  }
  ASSERT_FALSE(updater.DeSerialize()) << state;
  ASSERT_TRUE(updater.IsSealed()) << "not sealed: " << state;
  ASSERT_EQ(updater.OpenEncrypted(kSealedVersionsPassword), EditorUpdater::VO_Opened)
      << "did not open from " << state;
}

void KillSaves(bool sealed, int kills) {
  std::printf("seed %u, %d kills\n", static_cast<unsigned>(kSeed), kills);
  std::mt19937 random(kSeed);
  TempFolder folder;
  EditorUpdater& updater = EditorUpdater::GetInstance();
  updater.SetDataBaseFileName(folder.Path() + L"\\");
  MessageBoxAnswerer answerer;

  // Version 0 is there before the first kill, and tells how long a save takes.
  BuildVersion(0, sealed);
  if (sealed) {
    VaultKey key;
    DeriveCheap(key, kSealedVersionsPassword, 0x77);
    WriteBytes(folder.File(L"KFO.dta"), SealedNow(key));
    ASSERT_NO_FATAL_FAILURE(Load(updater, true, "version 0"));
  }
  const double start = Seconds();
  ASSERT_TRUE(updater.Serialize());
  const double saveSeconds = Seconds() - start;
  // Kills spread over about three saves from the child's first report on.
  std::uniform_real_distribution<double> delay(0.0, 3 * saveSeconds);

  uint32_t onDisk = 0;
  std::map<std::string, std::pair<int, int>> outcomes;  // state: (old, new)
  for (int kill = 0; kill < kills; ++kill) {
    SCOPED_TRACE(kill);
    ChildProcess child(L"vault_saver_child.exe", L"\"" + folder.Path() + L"\" " +
                                                     std::to_wstring(onDisk + 1) +
                                                     (sealed ? L" sealed" : L""));
    ASSERT_TRUE(child.WaitForOutput(sizeof(uint32_t), kStepTimeoutMs)) << "no first save";
    const double instant = Seconds() + delay(random);
    while (Seconds() < instant) {
    }
    child.Kill();
    const std::vector<uint32_t> reports = Reports(child);
    ASSERT_FALSE(reports.empty());
    for (uint32_t report : reports) ASSERT_NE(report, 0xFFFFFFFFu) << "a save failed";
    const uint32_t lastSaved = reports.back();
    const std::string state = FolderState(folder.Path());

    // A new run.
    updater.ReadDefaultDatabase(true);
    updater.SetDataBaseFileName(folder.Path() + L"\\");
    ASSERT_NO_FATAL_FAILURE(Load(updater, sealed, state));
    const int64_t loaded = LoadedVersion(sealed);
    ASSERT_TRUE(loaded == lastSaved || loaded == lastSaved + 1)
        << "loaded " << loaded << " after version " << lastSaved << " was saved, from " << state;
    // A complete file is the save that was cut before it replaced the vault:
    // the newest there is.
    if (state.find("KFO.new") != std::string::npos) {
      ASSERT_EQ(loaded, lastSaved + 1) << state;
    }
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

TEST(VaultCrash, KilledSavesLeaveOneWholeVersion) {
  KillSaves(false, kKills);
}

TEST(VaultCrash, KilledSavesOfAnEncryptedVaultLeaveOneWholeVersionThatOpens) {
  KillSaves(true, kSealedKills);
}
