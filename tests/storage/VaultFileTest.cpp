#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "storage/DatabasePasswordHeader.h"
#include "storage/DatabasePasswordSet.h"
#include "storage/EditorUpdater.h"
#include "storage/Initialization.h"
#include "support/ScopedHandle.h"
#include "tests/common/MessageBoxAnswerer.h"
#include "tests/common/TempFolder.h"
#include "tests/storage/VaultBytes.h"

namespace {

using Names = std::vector<std::wstring>;

const wchar_t kOpenFailed[] = L"Unable to open the selected file for saving. Check the disk.";
const wchar_t kTitleTaken[] = L"A site with that title already exists.";
const wchar_t kDay[] = L"Friday, March 13, 2015";

SiteFields Stored(const std::wstring& title, int32_t key) {
  return {title, L"u-" + title, L"p-" + title, L"w-" + title, L"n-" + title, kDay, kDay, key};
}

std::vector<SiteFields> FiveSites() {
  return {Stored(L"a", 1), Stored(L"b", 2), Stored(L"c", 3), Stored(L"d", 4), Stored(L"e", 5)};
}

// Another program's hold on a file: no sharing at all.
ScopedHandle Lock(const std::wstring& path) {
  return ScopedHandle(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                  nullptr));
}

class EditWindows {
 public:
  EditWindows() {
    for (HWND& edit : m_edits)
      edit = CreateWindowExW(0, L"EDIT", L"old text", WS_OVERLAPPEDWINDOW, 0, 0, 100, 20, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  EditWindows(const EditWindows&) = delete;
  EditWindows& operator=(const EditWindows&) = delete;
  ~EditWindows() {
    for (HWND edit : m_edits) DestroyWindow(edit);
  }
  const std::array<HWND, 4>& Handles() const { return m_edits; }
  std::vector<std::wstring> Texts() const {
    std::vector<std::wstring> texts;
    for (HWND edit : m_edits) {
      wchar_t text[256] = {};
      GetWindowTextW(edit, text, 256);
      texts.push_back(text);
    }
    return texts;
  }

 private:
  std::array<HWND, 4> m_edits{};
};

class VaultFileTest : public ::testing::Test {
 protected:
  VaultFileTest() : m_updater(EditorUpdater::GetInstance()), m_set(DatabasePasswordSet::GetInstance()) {
    UseFolder(m_folder.Path());
    m_updater.ReadDefaultDatabase(true);
  }

  void UseFolder(const std::wstring& folder) {
    m_path = folder;
    m_updater.SetDataBaseFileName(folder + L"\\");
  }
  std::wstring File(const std::wstring& name) const { return m_path + L"\\" + name; }
  std::wstring VaultPath() const { return File(L"KFO.dta"); }

  // What a new run of the program does: nothing in memory, then the load,
  // and the current master password from the header when it worked.
  bool Restart() {
    Initialization::GetInstance().ClearMasterPassword();
    m_updater.ReadDefaultDatabase(true);
    m_updater.SetDataBaseFileName(m_path + L"\\");
    if (m_updater.DeSerialize()) {
      Initialization::GetInstance().SetMasterPassword(m_updater.GetMasterPassword());
      return true;
    }
    m_updater.ReadDefaultDatabase(true);
    return false;
  }

  // The first save of a user who met an empty vault: a new master password.
  bool CreateMasterPassword(const std::wstring& password) {
    Initialization::GetInstance().SetMasterPassword(password);
    m_updater.SetMasterPassword(password);
    return m_updater.Serialize();
  }

  std::vector<SiteFields> Sites() {
    std::vector<SiteFields> sites;
    for (size_t i = 0; i < m_set.Count(); ++i) {
      m_set.SetCurrentRecord(static_cast<int>(i));
      const PasswordRecStruct site = m_set.GetCurrentRecord();
      sites.push_back({site.m_SiteTitle, site.m_UserName, site.m_Password, site.m_WebsiteAddress,
                       site.m_Notes, site.m_DateCreated, site.m_DateModified,
                       site.m_PrimaryKeyRecord});
    }
    return sites;
  }

  static void ExpectSameSites(const std::vector<SiteFields>& actual,
                              const std::vector<SiteFields>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(actual[i].title, expected[i].title);
      EXPECT_EQ(actual[i].user, expected[i].user);
      EXPECT_EQ(actual[i].password, expected[i].password);
      EXPECT_EQ(actual[i].address, expected[i].address);
      EXPECT_EQ(actual[i].notes, expected[i].notes);
      EXPECT_EQ(actual[i].created, expected[i].created);
      EXPECT_EQ(actual[i].modified, expected[i].modified);
      EXPECT_EQ(actual[i].key, expected[i].key);
    }
  }

  TempFolder m_folder;
  std::wstring m_path;
  EditorUpdater& m_updater;
  DatabasePasswordSet& m_set;
};

}  // namespace

TEST(VaultFileNameless, NothingIsReadOrWrittenBeforeTheNameIsSet) {
  MessageBoxAnswerer answerer;
  EXPECT_FALSE(EditorUpdater::GetInstance().Serialize());
  EXPECT_FALSE(EditorUpdater::GetInstance().DeSerialize());
  EXPECT_TRUE(answerer.Boxes().empty());
}

TEST_F(VaultFileTest, FreshVaultIsTheEightyBytesOfTheTable) {
  Initialization::GetInstance().SetMasterPassword(L"abc");
  m_updater.ReadDefaultDatabase(true);
  ASSERT_TRUE(m_updater.Serialize());
  const Bytes expected = {
      // "KEYFOLIO": 16 bytes, each unit XOR'ed with the table.
      0x10, 0x00, 0x00, 0x00, 0x65, 0x6B, 0x92, 0x13, 0x18, 0xA9, 0x4E, 0x5C, 0xBC, 0xE2, 0xD6,
      0x0B, 0x2D, 0x7D, 0xFA, 0xC1,
      0x01, 0x01, 0x00, 0x00,  // file version 257
      0x01, 0x01, 0x00, 0x00,  // header version 257
      // "Password Data": 26 bytes.
      0x1A, 0x00, 0x00, 0x00, 0x7E, 0x6B, 0xB6, 0x13, 0x32, 0xA9, 0x7B, 0x5C, 0x84, 0xE2, 0xF5,
      0x0B, 0x16, 0x7D, 0xD1, 0xC1, 0xC2, 0x38, 0x58, 0x9F, 0xC6, 0x24, 0x2F, 0xD0, 0xE7, 0x4E,
      0x00, 0x00, 0x00, 0x00,  // no spare text
      0x06, 0x00, 0x00, 0x00, 0x4F, 0x6B, 0xB5, 0x13, 0x22, 0xA9,  // "abc"
      0x00, 0x00, 0x00, 0x00,  // passwords hidden
      0x00, 0x00, 0x00, 0x00,  // no key handed out
  };
  EXPECT_EQ(ReadBytes(VaultPath()), expected);
  EXPECT_EQ(FolderContents(m_path), Names{L"KFO.dta"});
}

TEST_F(VaultFileTest, HandBuiltVaultLoadsAndIsRewrittenInTitleOrder) {
  const SiteFields beta{L"beta", L"", L"s\u00E9cr\u00E8t", L"", L"line 1\r\nline 2", kDay, L"", 2};
  const SiteFields alpha{L"Alpha", L"me", L"pw", L"https://a.example", L"", kDay, kDay, 7};
  WriteBytes(VaultPath(), VaultBytes()
                              .Start()
                              .Header(L"master", 1, 257, L"carried")
                              .Long(9)
                              .Site(beta)
                              .Site(alpha)
                              .Get());
  MessageBoxAnswerer answerer;
  ASSERT_TRUE(Restart());
  EXPECT_TRUE(answerer.Boxes().empty());
  EXPECT_EQ(Initialization::GetInstance().GetMasterPassword(), L"master");
  EXPECT_EQ(m_updater.GetPasswordDisplayFlag(), 1);
  EXPECT_EQ(DatabasePasswordHeader::GetInstance().GetSpareText(), L"carried");
  ExpectSameSites(Sites(), {alpha, beta});
  EXPECT_EQ(ReadBytes(VaultPath()), VaultBytes()
                                        .Start()
                                        .Header(L"master", 1, 257, L"carried")
                                        .Long(9)
                                        .Site(alpha)
                                        .Site(beta)
                                        .Get());
  EXPECT_EQ(FolderContents(m_path), Names{L"KFO.dta"});
}

TEST_F(VaultFileTest, SaveThenLoadGivesBackEverySiteWhole) {
  const struct {
    const wchar_t* title;
    std::wstring notes;
  } entries[] = {
      {L"plain", L"short"},
      {L"empty fields", L""},
      {L"\u4E2D\u6587 \U0001F511", std::wstring(5000, L'\u00FF')},
      {L"zero unit", std::wstring{static_cast<wchar_t>(0x6B2E), L'\0', L'x'}},
  };
  for (const auto& entry : entries) {
    PasswordRecStruct site;
    site.m_SiteTitle = entry.title;
    site.m_Notes = entry.notes;
    if (entry.notes.empty()) {
      site.m_UserName = site.m_Password = site.m_WebsiteAddress = L"";
    } else {
      site.m_UserName = L"user";
      site.m_Password = std::wstring(14, L'p');
      site.m_WebsiteAddress = L"https://example.org/login";
    }
    ASSERT_TRUE(m_set.AddRecord(nullptr, site));
  }
  ASSERT_TRUE(CreateMasterPassword(L"12345678"));
  m_updater.SetPasswordDisplayFlag(1);
  ASSERT_TRUE(m_updater.Serialize());
  const std::vector<SiteFields> saved = Sites();
  const Bytes file = ReadBytes(VaultPath());

  ASSERT_TRUE(Restart());
  ExpectSameSites(Sites(), saved);
  EXPECT_EQ(Initialization::GetInstance().GetMasterPassword(), L"12345678");
  EXPECT_EQ(m_updater.GetPasswordDisplayFlag(), 1);
  EXPECT_EQ(ReadBytes(VaultPath()), file) << "the rewrite after a load changes nothing";
  PasswordRecStruct next;
  next.m_SiteTitle = L"next";
  ASSERT_TRUE(m_set.AddRecord(nullptr, next));
  EXPECT_EQ(m_set.GetCurrentRecord().m_PrimaryKeyRecord, 5);
}

TEST_F(VaultFileTest, UnreadableVaultLoadsEmptySilentlyAndIsKeptAsideBeforeTheFirstSave) {
  const Bytes good = Vault(L"pw", 0, 5, FiveSites());
  const size_t headerEnd = VaultBytes().Start().Header(L"pw").Size();
  const struct {
    const char* what;
    Bytes bytes;
    const wchar_t* keptName;
  } cases[] = {
      {"foreign signature",
       VaultBytes().String(L"KEYFOLIX").Long(257).Header(L"pw").Long(0).Get(),
       L"KFO-kept-foreign-1.dta"},
      {"version 258", VaultBytes().Start(258).Header(L"pw").Long(0).Get(),
       L"KFO-kept-newer-version-1.dta"},
      {"version -1", VaultBytes().Start(0xFFFFFFFF).Header(L"pw").Long(0).Get(),
       L"KFO-kept-newer-version-1.dta"},
      {"cut inside the header", Bytes(good.begin(), good.begin() + 40),
       L"KFO-kept-damaged-1.dta"},
      {"cut inside the last key", Bytes(good.begin(), good.begin() + headerEnd + 3),
       L"KFO-kept-damaged-1.dta"},
      {"empty file", Bytes{}, L"KFO-kept-damaged-1.dta"},
      {"plain text", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'},
       L"KFO-kept-damaged-1.dta"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    UseFolder(folder.Path());
    WriteBytes(VaultPath(), c.bytes);
    MessageBoxAnswerer answerer;
    EXPECT_FALSE(Restart());
    EXPECT_EQ(m_set.Count(), 0u);
    EXPECT_EQ(m_updater.GetMasterPassword(), L"");
    EXPECT_EQ(ReadBytes(VaultPath()), c.bytes) << "a failed load touches nothing";

    ASSERT_TRUE(CreateMasterPassword(L"new"));
    EXPECT_TRUE(answerer.Boxes().empty());
    EXPECT_EQ(FolderContents(m_path), (Names{c.keptName, L"KFO.dta"}));
    EXPECT_EQ(ReadBytes(File(c.keptName)), c.bytes);
    ASSERT_TRUE(m_updater.Serialize());
    EXPECT_EQ(FolderContents(m_path).size(), 2u) << "kept once, not at every save";
    EXPECT_TRUE(Restart());
    EXPECT_EQ(Initialization::GetInstance().GetMasterPassword(), L"new");
  }
}

TEST_F(VaultFileTest, KeptFilesNeverReplaceEarlierOnes) {
  const Bytes foreign = VaultBytes().String(L"OTHER").Get();
  WriteBytes(File(L"KFO-kept-foreign-1.dta"), Bytes{1});
  WriteBytes(File(L"KFO-kept-foreign-2.dta"), Bytes{2});
  WriteBytes(VaultPath(), foreign);
  EXPECT_FALSE(Restart());
  ASSERT_TRUE(CreateMasterPassword(L"pw"));
  EXPECT_EQ(ReadBytes(File(L"KFO-kept-foreign-1.dta")), Bytes{1});
  EXPECT_EQ(ReadBytes(File(L"KFO-kept-foreign-2.dta")), Bytes{2});
  EXPECT_EQ(ReadBytes(File(L"KFO-kept-foreign-3.dta")), foreign);
}

TEST_F(VaultFileTest, Version256HeaderHasNoFlagAndIsRewrittenAs257) {
  const std::vector<SiteFields> sites = {Stored(L"old", 3)};
  VaultBytes old;
  old.Start(256).Header(L"pw", 0, 256).Long(3).Site(sites[0]);
  WriteBytes(VaultPath(), old.Get());
  m_updater.SetPasswordDisplayFlag(1);
  ASSERT_TRUE(Restart());
  EXPECT_EQ(m_updater.GetPasswordDisplayFlag(), 0);
  EXPECT_EQ(DatabasePasswordHeader::GetInstance().GetValueVersion(), 257);
  ExpectSameSites(Sites(), sites);
  EXPECT_EQ(ReadBytes(VaultPath()), Vault(L"pw", 0, 3, sites));
  EXPECT_EQ(FolderContents(m_path), Names{L"KFO.dta"}) << "nothing was lost, nothing kept";
}

TEST_F(VaultFileTest, VaultCutInsideItsFifthSiteLoadsFourAndKeepsTheOriginal) {
  const Bytes whole = Vault(L"pw", 0, 5, FiveSites());
  const Bytes cut(whole.begin(), whole.end() - 30);
  WriteBytes(VaultPath(), cut);
  MessageBoxAnswerer answerer;
  ASSERT_TRUE(Restart());
  std::vector<SiteFields> four = FiveSites();
  four.pop_back();
  ExpectSameSites(Sites(), four);
  EXPECT_TRUE(answerer.Boxes().empty());
  EXPECT_EQ(FolderContents(m_path), (Names{L"KFO-kept-partly-read-1.dta", L"KFO.dta"}));
  EXPECT_EQ(ReadBytes(File(L"KFO-kept-partly-read-1.dta")), cut);
  EXPECT_EQ(ReadBytes(VaultPath()), Vault(L"pw", 0, 5, four));

  ASSERT_TRUE(Restart());
  EXPECT_EQ(FolderContents(m_path).size(), 2u) << "a clean vault is not kept again";
}

TEST_F(VaultFileTest, DuplicateStoredTitlesShowTheMessageAndAreDropped) {
  const Bytes file = Vault(L"pw", 0, 4,
                           {Stored(L"Bank", 1), Stored(L"BANK", 2), Stored(L"x", 3),
                            Stored(L"bank", 4)});
  WriteBytes(VaultPath(), file);
  MessageBoxAnswerer answerer;
  ASSERT_TRUE(Restart());
  EXPECT_EQ(answerer.Texts(), (std::vector<std::wstring>{kTitleTaken, kTitleTaken}));
  for (const MessageBoxAnswerer::Box& box : answerer.Boxes()) {
    EXPECT_EQ(box.caption, L"Keyfolio");
    EXPECT_EQ(box.owner, nullptr);
  }
  ExpectSameSites(Sites(), {Stored(L"Bank", 1), Stored(L"x", 3)});
  // What the rewrite drops is still on disk.
  EXPECT_EQ(ReadBytes(File(L"KFO-kept-partly-read-1.dta")), file);
}

TEST_F(VaultFileTest, DisplayPasswordRecordShowsTheCurrentSitesFourFields) {
  WriteBytes(VaultPath(), Vault(L"pw", 0, 2, {Stored(L"one", 1), Stored(L"two", 2)}));
  ASSERT_TRUE(Restart());
  EditWindows edits;
  m_set.SetCurrentRecord(1);
  m_updater.DisplayPasswordRecord(edits.Handles());
  EXPECT_EQ(edits.Texts(), (std::vector<std::wstring>{L"u-two", L"p-two", L"w-two", L"n-two"}));
}

// Every file that holds sites goes: the vault, a complete file and a
// temporary one that a cut save left, and the copies kept aside earlier.
TEST_F(VaultFileTest, DeleteAllDataRemovesEveryFileThatHoldsSites) {
  WriteBytes(VaultPath(), Vault(L"pw", 1, 2, {Stored(L"one", 1), Stored(L"two", 2)}));
  ASSERT_TRUE(Restart());
  WriteBytes(File(L"KFO.new"), Vault(L"older", 0, 0, {}));  // stale, from a failed save
  WriteBytes(File(L"KFO.tmp"), Bytes(10, 0));
  WriteBytes(File(L"KFO-kept-damaged-1.dta"), Bytes{7});
  WriteBytes(File(L"KFO-kept-partly-read-12.DTA"), Bytes{8});
  WriteBytes(File(L"notes.txt"), Bytes{9});
  WriteBytes(File(L"KFO-kept-damaged-2.dta.txt"), Bytes{10});
  EditWindows edits;
  m_updater.DisplayPasswordRecord(edits.Handles());
  ASSERT_EQ(edits.Texts()[0], L"u-one");

  EXPECT_EQ(m_updater.DeleteAllData().error, static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(FolderContents(m_path), (Names{L"KFO-kept-damaged-2.dta.txt", L"notes.txt"}));
  EXPECT_EQ(Initialization::GetInstance().GetMasterPassword(), L"");
  EXPECT_EQ(m_updater.GetMasterPassword(), L"");
  EXPECT_EQ(m_updater.GetPasswordDisplayFlag(), 0);
  EXPECT_EQ(DatabasePasswordHeader::GetInstance().GetHeaderTitle(), L"")
      << "a header record made on demand";
  m_updater.DisplayPasswordRecord(edits.Handles());
  EXPECT_EQ(edits.Texts(), (std::vector<std::wstring>(4, L"")));
  EXPECT_EQ(m_set.GetCurrentRecordIndex(), -1);

  // The key count goes on; a later start finds nothing.
  PasswordRecStruct site;
  site.m_SiteTitle = L"after";
  ASSERT_TRUE(m_set.AddRecord(nullptr, site));
  EXPECT_EQ(m_set.GetCurrentRecord().m_PrimaryKeyRecord, 3);
  EXPECT_FALSE(Restart());
}

// A hold that outlasts the wait, on any one of the files: the reset says
// which and why, and changes nothing, on disk or in memory, so the vault
// still opens with its password. Then it goes, whole.
TEST_F(VaultFileTest, DeleteAllDataRemovesAllOrNothing) {
  WriteBytes(VaultPath(), Vault(L"pw", 1, 2, {Stored(L"one", 1), Stored(L"two", 2)}));
  ASSERT_TRUE(Restart());
  const Names files = {L"KFO-kept-damaged-1.dta", L"KFO.dta", L"KFO.new", L"KFO.tmp"};
  for (const std::wstring& held : files) {
    SCOPED_TRACE(testing::PrintToString(held));
    SetFileAttributesW(File(L"KFO.new").c_str(), FILE_ATTRIBUTE_NORMAL);
    WriteBytes(File(L"KFO.new"), Vault(L"pw", 0, 1, {Stored(L"newer", 1)}));
    WriteBytes(File(L"KFO.tmp"), Bytes(10, 0));
    WriteBytes(File(L"KFO-kept-damaged-1.dta"), Bytes{7});
    ASSERT_TRUE(SetFileAttributesW(File(L"KFO.new").c_str(), FILE_ATTRIBUTE_READONLY));
    std::vector<Bytes> before;
    for (const std::wstring& name : files) before.push_back(ReadBytes(File(name)));
    {
      ScopedHandle holder = Lock(File(held));
      ASSERT_TRUE(holder.IsValid());
      const FileRemoval removal = m_updater.DeleteAllData();
      EXPECT_EQ(removal.error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
      EXPECT_EQ(removal.stays, File(held));
      EXPECT_FALSE(removal.partly);
    }
    ASSERT_EQ(FolderContents(m_path), files);
    for (size_t i = 0; i < files.size(); ++i) EXPECT_EQ(ReadBytes(File(files[i])), before[i]);
    EXPECT_NE(GetFileAttributesW(File(L"KFO.new").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(Initialization::GetInstance().GetMasterPassword(), L"pw");
    EXPECT_EQ(m_updater.GetMasterPassword(), L"pw");
    EXPECT_EQ(m_updater.GetPasswordDisplayFlag(), 1);
    EXPECT_EQ(m_set.Count(), 2u);
  }
  EXPECT_EQ(m_updater.DeleteAllData().error, static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(FolderContents(m_path), Names{});
  EXPECT_EQ(m_set.Count(), 0u);
}

// Only "file not found", in a data folder that is there, means that a file
// is gone. A drive pulled between the questions answers "path not found"
// for everything on it: the reset names the folder it cannot reach and
// changes nothing.
TEST_F(VaultFileTest, DeleteAllDataOfADriveThatIsGoneDeletesNothing) {
  TempFolder drive;
  const std::wstring data = drive.File(L"KFOdata");
  ASSERT_TRUE(CreateDirectoryW(data.c_str(), nullptr));
  UseFolder(data);
  const Bytes vault = Vault(L"pw", 0, 1, {Stored(L"one", 1)});
  WriteBytes(VaultPath(), vault);
  ASSERT_TRUE(Restart());
  const std::wstring away = drive.File(L"pulled");
  ASSERT_TRUE(MoveFileW(data.c_str(), away.c_str()));
  const FileRemoval removal = m_updater.DeleteAllData();
  EXPECT_EQ(removal.error, static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(removal.stays, data);
  EXPECT_FALSE(removal.partly);
  EXPECT_EQ(m_updater.GetMasterPassword(), L"pw");
  EXPECT_EQ(m_set.Count(), 1u);

  ASSERT_TRUE(MoveFileW(away.c_str(), data.c_str()));
  EXPECT_EQ(ReadBytes(VaultPath()), vault);
  ASSERT_TRUE(Restart());
  EXPECT_EQ(Initialization::GetInstance().GetMasterPassword(), L"pw");
}

// A vault that was never read, or read in part, is not kept aside on the
// way: the person asked for all of it to go.
TEST_F(VaultFileTest, DeleteAllDataMakesNoCopyAside) {
  const Bytes whole = Vault(L"pw", 0, 2, {Stored(L"one", 1), Stored(L"two", 2)});
  WriteBytes(VaultPath(), Bytes(whole.begin(), whole.end() - 3));
  ASSERT_TRUE(Restart());
  ASSERT_EQ(m_updater.GetLoadProblem(), VaultFiles::KR_PartlyRead);
  ASSERT_EQ(FolderContents(m_path), (Names{L"KFO-kept-partly-read-1.dta", L"KFO.dta"}));
  EXPECT_EQ(m_updater.DeleteAllData().error, static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(FolderContents(m_path), Names{});

  WriteBytes(VaultPath(), VaultBytes().String(L"SOMETHING ELSE").Long(1).Get());
  EXPECT_FALSE(Restart());
  EXPECT_EQ(m_updater.DeleteAllData().error, static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(FolderContents(m_path), Names{});
}

TEST_F(VaultFileTest, ReadOnlyOrHiddenVaultIsSavedOverAndDeleted) {
  const DWORD marks[] = {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN,
                         FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM};
  const Bytes foreign = VaultBytes().String(L"SOMETHING ELSE").Get();
  for (DWORD mark : marks) {
    SCOPED_TRACE(mark);
    TempFolder folder;
    UseFolder(folder.Path());
    WriteBytes(VaultPath(), Vault(L"pw", 0, 1, {Stored(L"one", 1)}));
    ASSERT_TRUE(SetFileAttributesW(VaultPath().c_str(), mark));
    MessageBoxAnswerer answerer;
    ASSERT_TRUE(Restart());
    PasswordRecStruct site;
    site.m_SiteTitle = L"two";
    ASSERT_TRUE(m_set.AddRecord(nullptr, site));
    ASSERT_TRUE(m_updater.Serialize());
    ASSERT_TRUE(Restart());
    EXPECT_EQ(m_set.Count(), 2u);
    EXPECT_EQ(FolderContents(m_path), Names{L"KFO.dta"});

    ASSERT_TRUE(SetFileAttributesW(VaultPath().c_str(), mark));
    EXPECT_EQ(m_updater.DeleteAllData().error, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(FolderContents(m_path), Names{});
    // One that was never read goes as well.
    WriteBytes(VaultPath(), foreign);
    ASSERT_TRUE(SetFileAttributesW(VaultPath().c_str(), mark));
    EXPECT_FALSE(Restart());
    EXPECT_EQ(m_updater.DeleteAllData().error, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(FolderContents(m_path), Names{});
    EXPECT_TRUE(answerer.Boxes().empty());
  }
}

TEST_F(VaultFileTest, FailedSaveLeavesTheVaultAsItWasAndSaysWhy) {
  WriteBytes(VaultPath(), Vault(L"pw", 0, 1, {Stored(L"kept", 1)}));
  ASSERT_TRUE(Restart());
  const Bytes before = ReadBytes(VaultPath());
  PasswordRecStruct site;
  site.m_SiteTitle = L"unsaved";
  ASSERT_TRUE(m_set.AddRecord(nullptr, site));

  {
    SCOPED_TRACE("the temporary file cannot be made");
    ASSERT_TRUE(CreateDirectoryW(File(L"KFO.tmp").c_str(), nullptr));
    MessageBoxAnswerer answerer;
    EXPECT_FALSE(m_updater.Serialize());
    ASSERT_EQ(answerer.Texts(), std::vector<std::wstring>{kOpenFailed});
    EXPECT_EQ(answerer.Boxes()[0].caption, L"Keyfolio");
    EXPECT_EQ(ReadBytes(VaultPath()), before);
    EXPECT_EQ(FolderContents(m_path), (Names{L"KFO.dta", L"KFO.tmp"}));
    RemoveDirectoryW(File(L"KFO.tmp").c_str());
  }
  {
    SCOPED_TRACE("another program holds the vault");
    ScopedHandle lock = Lock(VaultPath());
    ASSERT_TRUE(lock.IsValid());
    MessageBoxAnswerer answerer;
    EXPECT_FALSE(m_updater.Serialize());
    EXPECT_EQ(answerer.Texts(), std::vector<std::wstring>{kOpenFailed});
    lock.Close();
    EXPECT_EQ(ReadBytes(VaultPath()), before);
    EXPECT_EQ(FolderContents(m_path), Names{L"KFO.dta"});
  }
  ASSERT_TRUE(m_updater.Serialize());
  ASSERT_TRUE(Restart());
  EXPECT_EQ(m_set.Count(), 2u);
}

TEST_F(VaultFileTest, VaultThatCouldNotBeOpenedIsKeptAsideOnceItCanBe) {
  const Bytes original = Vault(L"theirs", 0, 1, {Stored(L"site", 1)});
  WriteBytes(VaultPath(), original);
  ScopedHandle lock = Lock(VaultPath());
  EXPECT_FALSE(Restart());
  {
    MessageBoxAnswerer answerer;
    EXPECT_FALSE(CreateMasterPassword(L"mine"));
    EXPECT_EQ(answerer.Texts(), std::vector<std::wstring>{kOpenFailed});
  }
  lock.Close();
  EXPECT_EQ(ReadBytes(VaultPath()), original);
  EXPECT_EQ(FolderContents(m_path), Names{L"KFO.dta"});

  ASSERT_TRUE(m_updater.Serialize());
  EXPECT_EQ(ReadBytes(File(L"KFO-kept-unopened-1.dta")), original);
  ASSERT_TRUE(Restart());
  EXPECT_EQ(Initialization::GetInstance().GetMasterPassword(), L"mine");
}

TEST_F(VaultFileTest, CompleteFileThatCannotBeRenamedIsLoadedAndNeverDeleted) {
  // The vault name is missing after a cut replacement, and the complete
  // file is open in another program that lets it be read, not renamed.
  const Bytes saved = Vault(L"pw", 0, 1, {Stored(L"site", 1)});
  WriteBytes(File(L"KFO.new"), saved);
  ScopedHandle reader(CreateFileW(File(L"KFO.new").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(reader.IsValid());
  MessageBoxAnswerer answerer;
  ASSERT_TRUE(Restart());
  EXPECT_EQ(m_set.FieldsByIndex(0), L"site");
  // The rewrite after the load cannot put it in place yet: it fails before
  // writing anything, and takes nothing away.
  EXPECT_EQ(answerer.Texts(), std::vector<std::wstring>{kOpenFailed});
  EXPECT_EQ(FolderContents(m_path), Names{L"KFO.new"});
  reader.Close();

  // Released, it becomes the vault first, whatever happens to the save.
  ASSERT_TRUE(CreateDirectoryW(File(L"KFO.tmp").c_str(), nullptr));
  EXPECT_FALSE(m_updater.Serialize());
  EXPECT_EQ(FolderContents(m_path), (Names{L"KFO.dta", L"KFO.tmp"}));
  EXPECT_EQ(ReadBytes(VaultPath()), saved);
  RemoveDirectoryW(File(L"KFO.tmp").c_str());
  ASSERT_TRUE(m_updater.Serialize());
  EXPECT_EQ(FolderContents(m_path), Names{L"KFO.dta"});
  EXPECT_EQ(ReadBytes(VaultPath()), saved);
}
