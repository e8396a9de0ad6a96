// Another program holds a vault file for a while, as a virus scanner or a
// backup tool does. The waiting itself is counted on a clock of the test's:
// which refusals are tried again, how often, and when it gives up. A real
// second process (FileHolderChild.cpp) opens the file with no sharing at
// all and lets go only when the test tells it to, once an attempt has been
// refused: so a hold is waited out for certain, never because one process
// happened to be slower than the other. A hold that outlasts the wait fails
// the load or the save within the wait, says why, and changes nothing on
// disk.
#include <windows.h>

#include <atomic>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "storage/DatabasePasswordSet.h"
#include "storage/EditorUpdater.h"
#include "storage/HeldFile.h"
#include "storage/Initialization.h"
#include "support/ScopedHandle.h"
#include "tests/common/ChildProcess.h"
#include "tests/common/LogCapture.h"
#include "tests/common/MessageBoxAnswerer.h"
#include "tests/common/MessagePump.h"
#include "tests/common/StepFailed.h"
#include "tests/common/TempFolder.h"
#include "tests/common/TimeBounds.h"
#include "tests/storage/VaultBytes.h"

namespace {

using Names = std::vector<std::wstring>;

const wchar_t kOpenFailed[] = L"Unable to open the selected file for saving. Check the disk.";
// What a wait that gives up may take beyond kHeldFileWaitMs, on the
// slowest machine: its last attempt and what the load or save does after.
constexpr ULONGLONG kGivingUpTakesAtMostMs = kStepTimeoutMs;

// The holder once it holds `path`.
class Holder {
 public:
  explicit Holder(const std::wstring& path)
      : m_process(L"file_holder_child.exe", L"\"" + path + L"\"") {
    if (!m_process.WaitForOutput(1, kStepTimeoutMs)) throw StepFailed("the holder never held");
  }
  // Tells it to let go and waits until it has.
  void LetGo() {
    m_process.Tell("let go");
    if (!m_process.WaitForOutput(2, kStepTimeoutMs)) throw StepFailed("the holder kept the file");
  }
  // Tells it to let go once the debug log says that an attempt on the held
  // file was refused. The log is the one window into a load or a save that
  // runs with the system's clock.
  void LetGoOnceRefused(const LogCapture& log) {
    m_watcher = std::thread([this, &log] {
      const auto refused = [&] {
        try {
          return log.Contains("RetryWhileHeld: held");
        } catch (const std::exception&) {
          return false;  // the log was being written; read it again
        }
      };
      PumpUntil([&] { return m_stop || (m_refused = refused()); }, kStepTimeoutMs);
      if (m_refused) m_process.Tell("let go");
    });
  }
  // Whether an attempt was refused before the holder was told to let go;
  // asked once the load or the save is over, which it cannot be without
  // the holder letting go when it succeeds.
  bool WasRefusedFirst() {
    m_stop = true;
    if (m_watcher.joinable()) m_watcher.join();
    return m_refused;
  }
  ~Holder() {
    m_stop = true;
    if (m_watcher.joinable()) m_watcher.join();
  }

 private:
  ChildProcess m_process;
  std::thread m_watcher;
  std::atomic<bool> m_refused{false};
  std::atomic<bool> m_stop{false};
};

// A clock of the test's: time passes only in the pauses, as long as each
// asks (or `pauseTakesMs` when set: a machine that runs late or early), and
// the pauses are written down with what was left of the wait when each
// was asked for.
struct CountingClock {
  ULONGLONG now = 0;
  DWORD pauseTakesMs = 0;
  std::vector<DWORD> pauses;
  std::vector<ULONGLONG> leftOfTheWait;

  RetryClock Clock() {
    return {[this] { return now; },
            [this](DWORD ms) {
              pauses.push_back(ms);
              leftOfTheWait.push_back(kHeldFileWaitMs - now);
              now += pauseTakesMs ? pauseTakesMs : ms;
            }};
  }
};

// A file call that fails with each of `errors` in turn and then succeeds.
struct ScriptedCall {
  std::vector<DWORD> errors;
  int attempts = 0;

  bool operator()() {
    const size_t attempt = static_cast<size_t>(attempts++);
    if (attempt >= errors.size()) return true;
    SetLastError(errors[attempt]);
    return false;
  }
};

}  // namespace

TEST(RetryWhileHeld, TriesAgainWhileAnotherProgramHoldsTheFileAndOnlyThen) {
  const struct {
    const char* name;
    FileCall kind;
    std::vector<DWORD> errors;
    int attempts;
    DWORD result;
  } cases[] = {
      {"free at once", FileCall::Open, {}, 1, ERROR_SUCCESS},
      {"held, then free",
       FileCall::Open,
       {ERROR_SHARING_VIOLATION, ERROR_SHARING_VIOLATION, ERROR_SHARING_VIOLATION},
       4,
       ERROR_SUCCESS},
      {"a locked range", FileCall::Open, {ERROR_LOCK_VIOLATION}, 2, ERROR_SUCCESS},
      // A file that is protected is not held: waiting would not help.
      {"an open denied", FileCall::Open, {ERROR_ACCESS_DENIED}, 1, ERROR_ACCESS_DENIED},
      // Windows refuses to replace or rename a file that is open elsewhere.
      {"a rename denied",
       FileCall::Rename,
       {ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION},
       3,
       ERROR_SUCCESS},
      {"missing", FileCall::Rename, {ERROR_FILE_NOT_FOUND}, 1, ERROR_FILE_NOT_FOUND},
      {"gone while waited for",
       FileCall::Open,
       {ERROR_SHARING_VIOLATION, ERROR_FILE_NOT_FOUND},
       2,
       ERROR_FILE_NOT_FOUND},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CountingClock clock;
    ScriptedCall call{c.errors};
    EXPECT_EQ(RetryWhileHeld(c.kind, std::ref(call), clock.Clock()), c.result);
    EXPECT_EQ(call.attempts, c.attempts);
    EXPECT_EQ(clock.pauses, std::vector<DWORD>(static_cast<size_t>(c.attempts - 1),
                                               kHeldFileRetryStepMs));
  }
}

TEST(RetryWhileHeld, GivesUpWhenTheWaitHasPassedOnItsClock) {
  const struct {
    const char* name;
    DWORD pauseTakesMs;
    int attempts;
  } cases[] = {
      {"pauses as long as asked", 0, 1 + static_cast<int>(kHeldFileWaitMs / kHeldFileRetryStepMs)},
      // At 0, 30, ... 1980 ms (where 20 ms are left) and 2010 ms.
      {"pauses shorter than asked", 30, 68},
      // A stalled machine waits no longer for it: at 0, 1500 and 3000 ms.
      {"each pause stalled", 1500, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CountingClock clock;
    clock.pauseTakesMs = c.pauseTakesMs;
    ScriptedCall call{std::vector<DWORD>(1000, ERROR_SHARING_VIOLATION)};
    EXPECT_EQ(RetryWhileHeld(FileCall::Open, std::ref(call), clock.Clock()),
              static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(call.attempts, c.attempts);
    EXPECT_GE(clock.now, kHeldFileWaitMs);
    // No pause is longer than a step, nor than what is left of the wait.
    for (size_t i = 0; i < clock.pauses.size(); ++i) {
      EXPECT_LE(clock.pauses[i], kHeldFileRetryStepMs);
      EXPECT_LE(clock.pauses[i], clock.leftOfTheWait[i]);
    }
  }
}

// The one test of the waiting with another process and the system's clock:
// the holder is told to let go in the pause after the first attempt.
TEST(RetryWhileHeld, TakesTheFileOnceItsHolderLetsGo) {
  TempFolder folder;
  const std::wstring path = folder.File(L"KFO.dta");
  WriteBytes(path, Bytes{1, 2, 3});
  Holder holder(path);
  std::vector<DWORD> errors;
  ScopedHandle file;
  const RetryClock letGoInFirstPause{SystemClock().now, [&](DWORD ms) {
                                       if (errors.size() == 1) holder.LetGo();
                                       SystemClock().pause(ms);
                                     }};
  const DWORD result = RetryWhileHeld(
      FileCall::Open,
      [&] {
        file.Reset(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.IsValid()) return true;
        const DWORD error = GetLastError();
        errors.push_back(error);
        SetLastError(error);
        return false;
      },
      letGoInFirstPause);
  EXPECT_EQ(result, static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(errors, std::vector<DWORD>{ERROR_SHARING_VIOLATION}) << "refused once, then taken";
  EXPECT_TRUE(file.IsValid());
}

namespace {

class HeldVaultTest : public ::testing::Test {
 protected:
  HeldVaultTest() : m_updater(EditorUpdater::GetInstance()) {
    WriteBytes(VaultPath(), Vault(L"pw", 0, 1, {{L"site", L"u", L"p", L"w", L"n", L"d", L"d", 1}}));
  }

  std::wstring VaultPath() const { return m_folder.File(L"KFO.dta"); }

  // A new run of the program: nothing in memory, then the load.
  bool Restart() {
    Initialization::GetInstance().ClearMasterPassword();
    m_updater.ReadDefaultDatabase(true);
    m_updater.SetDataBaseFileName(m_folder.Path() + L"\\");
    return m_updater.DeSerialize();
  }

  void AddSite(const std::wstring& title) {
    PasswordRecStruct site;
    site.m_SiteTitle = title;
    ASSERT_TRUE(DatabasePasswordSet::GetInstance().AddRecord(nullptr, site));
  }

  // Runs `work` and gives the milliseconds it took.
  template <typename Work>
  static ULONGLONG Timed(Work work) {
    const ULONGLONG start = GetTickCount64();
    work();
    return GetTickCount64() - start;
  }

  TempFolder m_folder;
  EditorUpdater& m_updater;
};

}  // namespace

TEST_F(HeldVaultTest, LoadWaitsOutAHoldThatEndsMeanwhile) {
  LogCapture log;
  Holder holder(VaultPath());
  holder.LetGoOnceRefused(log);
  ASSERT_TRUE(Restart());
  EXPECT_TRUE(holder.WasRefusedFirst());
  EXPECT_EQ(m_updater.GetLoadProblem(), VaultFiles::KR_None);
  EXPECT_EQ(DatabasePasswordSet::GetInstance().FieldsByIndex(0), L"site");
  EXPECT_EQ(m_updater.GetMasterPassword(), L"pw");
  EXPECT_EQ(FolderContents(m_folder.Path()), Names{L"KFO.dta"});
}

// The wait is the proof that the load tried again: a refusal taken at once
// as a failure ends in milliseconds.
TEST_F(HeldVaultTest, LoadGivesUpOnALongHoldAfterTheWaitAndTouchesNothing) {
  const Bytes original = ReadBytes(VaultPath());
  Holder holder(VaultPath());
  bool loaded = true;
  const ULONGLONG took = Timed([&] { loaded = Restart(); });
  EXPECT_FALSE(loaded);
  EXPECT_GE(took, kHeldFileWaitMs);
  EXPECT_LT(took, kHeldFileWaitMs + kGivingUpTakesAtMostMs);
  EXPECT_EQ(m_updater.GetLoadProblem(), VaultFiles::KR_Unopened);
  EXPECT_EQ(m_updater.GetLoadKeptName(), m_folder.File(L"KFO-kept-unopened-1.dta"));
  holder.LetGo();
  EXPECT_EQ(ReadBytes(VaultPath()), original);
  EXPECT_EQ(FolderContents(m_folder.Path()), Names{L"KFO.dta"});
}

TEST_F(HeldVaultTest, SaveWaitsOutAHoldOnTheVaultThatEndsMeanwhile) {
  ASSERT_TRUE(Restart());
  AddSite(L"added");
  LogCapture log;
  Holder holder(VaultPath());
  {
    MessageBoxAnswerer answerer;
    holder.LetGoOnceRefused(log);
    EXPECT_TRUE(m_updater.Serialize());
    EXPECT_TRUE(holder.WasRefusedFirst());
    EXPECT_TRUE(answerer.Boxes().empty());
  }
  ASSERT_TRUE(Restart());
  EXPECT_EQ(DatabasePasswordSet::GetInstance().Count(), 2u);
  EXPECT_EQ(FolderContents(m_folder.Path()), Names{L"KFO.dta"});
}

// Replacing a held vault is refused as access denied; the wait shows that
// the save took that for a hold.
TEST_F(HeldVaultTest, SaveRefusedForLongerCouldNotOpenTheVaultAndChangesNothing) {
  ASSERT_TRUE(Restart());
  const Bytes saved = ReadBytes(VaultPath());
  AddSite(L"added");
  Holder holder(VaultPath());
  {
    MessageBoxAnswerer answerer;
    bool savedNow = true;
    const ULONGLONG took = Timed([&] { savedNow = m_updater.Serialize(); });
    EXPECT_FALSE(savedNow);
    EXPECT_GE(took, kHeldFileWaitMs);
    EXPECT_LT(took, kHeldFileWaitMs + kGivingUpTakesAtMostMs);
    ASSERT_EQ(answerer.Texts(), std::vector<std::wstring>{kOpenFailed});
    EXPECT_EQ(answerer.Boxes()[0].caption, L"Keyfolio");
  }
  holder.LetGo();
  EXPECT_EQ(ReadBytes(VaultPath()), saved);
  EXPECT_EQ(FolderContents(m_folder.Path()), Names{L"KFO.dta"});
}

TEST_F(HeldVaultTest, CompleteFileWaitsBesideTheVaultUntilItCanReplaceIt) {
  // A save was cut after its new vault was complete; now the old vault is
  // held while the program starts.
  const Bytes old = ReadBytes(VaultPath());
  const Bytes newer = Vault(L"pw", 1, 2, {{L"newer", L"u", L"p", L"w", L"n", L"d", L"d", 2}});
  WriteBytes(m_folder.File(L"KFO.new"), newer);
  Holder holder(VaultPath());
  {
    MessageBoxAnswerer answerer;
    ASSERT_TRUE(Restart());
    EXPECT_EQ(answerer.Texts(), std::vector<std::wstring>{kOpenFailed})
        << "the rewrite after the load cannot replace the vault";
  }
  EXPECT_EQ(DatabasePasswordSet::GetInstance().FieldsByIndex(0), L"newer");
  holder.LetGo();
  EXPECT_EQ(ReadBytes(VaultPath()), old);
  EXPECT_EQ(ReadBytes(m_folder.File(L"KFO.new")), newer);

  ASSERT_TRUE(m_updater.Serialize());
  EXPECT_EQ(FolderContents(m_folder.Path()), Names{L"KFO.dta"});
  EXPECT_EQ(ReadBytes(VaultPath()), newer);
}
