// Every state of the data folder that a cut save can leave, laid down by
// hand, then loaded as a new run would. A save goes: temporary file written
// and flushed, renamed to the complete name, the old vault copied aside when
// it has to be, then the complete file put in the vault's place (on FAT32 a
// delete followed by a rename). A complete file is the newest save there is;
// one that does not read whole (the medium damaged it) is kept aside.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "storage/DatabasePasswordSet.h"
#include "storage/EditorUpdater.h"
#include "storage/Initialization.h"
#include "tests/common/MessageBoxAnswerer.h"
#include "tests/common/TempFolder.h"
#include "tests/storage/VaultBytes.h"

namespace {

enum Content { None, Old, New, NewCut };
enum Loaded { Nothing, OldVault, NewVault };

struct State {
  const char* what;
  Content vault, temporary, complete;
  bool keptCopy;
  Loaded loaded;
  // The name the complete file is kept under when it is not used.
  const wchar_t* keptComplete = nullptr;
};

void PrintTo(const State& state, std::ostream* out) {
  *out << state.what;
}

SiteFields Site(const std::wstring& title) {
  return {title, L"u", L"p", L"w", L"n", L"d", L"d", 1};
}

const Bytes& OldBytes() {
  static const Bytes bytes = Vault(L"old", 0, 1, {Site(L"old site")});
  return bytes;
}

const Bytes& NewBytes() {
  static const Bytes bytes = Vault(L"new", 1, 1, {Site(L"new site")});
  return bytes;
}

Bytes ContentBytes(Content content) {
  switch (content) {
    case Old: return OldBytes();
    case New: return NewBytes();
    case NewCut: return Bytes(NewBytes().begin(), NewBytes().begin() + NewBytes().size() / 2);
    case None: break;
  }
  return Bytes();
}

class VaultRecoveryTest : public ::testing::TestWithParam<State> {};

}  // namespace

TEST_P(VaultRecoveryTest, LoadsTheOldOrTheNewVaultWhole) {
  const State& state = GetParam();
  TempFolder folder;
  const std::pair<Content, const wchar_t*> files[] = {
      {state.vault, L"KFO.dta"}, {state.temporary, L"KFO.tmp"}, {state.complete, L"KFO.new"}};
  for (const auto& file : files)
    if (file.first != None) WriteBytes(folder.File(file.second), ContentBytes(file.first));
  const Bytes kept = OldBytes();
  if (state.keptCopy) WriteBytes(folder.File(L"KFO-kept-damaged-1.dta"), kept);

  EditorUpdater& updater = EditorUpdater::GetInstance();
  updater.ReadDefaultDatabase(true);
  updater.SetDataBaseFileName(folder.Path() + L"\\");
  MessageBoxAnswerer answerer;
  const bool loaded = updater.DeSerialize();
  EXPECT_TRUE(answerer.Boxes().empty());
  ASSERT_EQ(loaded, state.loaded != Nothing);
  if (state.keptComplete) {
    EXPECT_EQ(updater.GetLoadProblem(), VaultFiles::KR_Damaged);
    EXPECT_EQ(updater.GetLoadKeptName(), folder.File(state.keptComplete));
  } else {
    EXPECT_EQ(updater.GetLoadProblem(), VaultFiles::KR_None);
  }
  if (!loaded) {
    EXPECT_EQ(DatabasePasswordSet::GetInstance().Count(), 0u);
    if (state.complete != None) {
      EXPECT_EQ(ReadBytes(folder.File(L"KFO.new")), ContentBytes(state.complete))
          << "a failed load touches nothing";
    }
    return;
  }
  DatabasePasswordSet& set = DatabasePasswordSet::GetInstance();
  ASSERT_EQ(set.Count(), 1u);
  const bool isNew = state.loaded == NewVault;
  EXPECT_EQ(set.FieldsByIndex(0), isNew ? L"new site" : L"old site");
  EXPECT_EQ(updater.GetMasterPassword(), isNew ? L"new" : L"old");
  // The rewrite after the load leaves the vault alone in its place, and
  // whatever was kept aside before or now.
  EXPECT_EQ(ReadBytes(folder.File(L"KFO.dta")), isNew ? NewBytes() : OldBytes());
  std::vector<std::wstring> expected = {L"KFO.dta"};
  if (state.keptCopy) expected.push_back(L"KFO-kept-damaged-1.dta");
  if (state.keptComplete) expected.push_back(state.keptComplete);
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FolderContents(folder.Path()), expected);
  if (state.keptCopy) {
    EXPECT_EQ(ReadBytes(folder.File(L"KFO-kept-damaged-1.dta")), kept);
  }
  if (state.keptComplete) {
    EXPECT_EQ(ReadBytes(folder.File(state.keptComplete)), ContentBytes(state.complete));
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryCut, VaultRecoveryTest,
    ::testing::Values(
        State{"before the save", Old, None, None, false, OldVault},
        State{"temporary file half written", Old, NewCut, None, false, OldVault},
        State{"temporary file whole, not renamed", Old, New, None, false, OldVault},
        State{"complete file beside the vault", Old, None, New, false, NewVault},
        State{"old vault copied aside", Old, None, New, true, NewVault},
        State{"vault deleted, complete file not renamed", None, None, New, false, NewVault},
        State{"same, after a copy aside", None, None, New, true, NewVault},
        State{"leftovers of two saves", Old, NewCut, New, false, NewVault},
        State{"after the save", New, None, None, false, NewVault},
        State{"first save: temporary file half written", None, NewCut, None, false, Nothing},
        State{"first save: temporary file whole", None, New, None, false, Nothing},
        State{"first save: complete file not renamed", None, None, New, false, NewVault},
        State{"nothing at all", None, None, None, false, Nothing},
        State{"damaged complete file beside the vault", Old, None, NewCut, false, OldVault,
              L"KFO-kept-damaged-1.dta"},
        State{"same, after a copy aside", Old, None, NewCut, true, OldVault,
              L"KFO-kept-damaged-2.dta"},
        State{"damaged complete file alone", None, None, NewCut, false, Nothing,
              L"KFO-kept-damaged-1.dta"}),
    [](const ::testing::TestParamInfo<State>& info) { return std::to_string(info.index); });
