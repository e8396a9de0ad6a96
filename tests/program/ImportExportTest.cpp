// Moving sites in and out as a person does: File > "Import Sites...",
// "Export Sites..." and "Back Up Vault...", with the system's Open and Save
// dialogs worked by typing a file's full path and pressing Enter; the boxes
// read as they show; the vault on the drive checked after each step.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/StringFunctions.h"
#include "tests/common/TempFolder.h"
#include "tests/program/Desktop.h"
#include "tests/program/ProgramTest.h"
#include "tests/storage/SiteTexts.h"

namespace {

const char kBitwardenFile[] =
    "folder,favorite,type,name,notes,fields,reprompt,login_uri,login_username,login_password,"
    "login_totp\r\n"
    "Work,1,login,\"Intranet, \"\"new\"\"\",\"line 1\nline 2\",,0,https://intra.example/,ann,"
    "\"s3,cr\"\"3t\",\r\n"
    ",0,login,Bank,,,0,https://bank.example/,ann,pw-bank,\r\n"
    ",0,note,A secure note,text,,0,,,,\r\n"
    ",0,login,,,,0,https://www.caf\xC3\xA9.example/login,zo\xC3\xAB,=1+2,JBSWY3DP\r\n";

std::string Text(const Bytes& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

// The label of the button that Enter presses.
std::wstring DefaultButton(HWND box) {
  for (HWND button : ChildrenOf(box))
    if (ClassOf(button) == L"Button" &&
        (GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
      return LabelOf(button);
  return L"";
}

std::vector<SiteTexts> TextsOf(const VaultContents& vault) {
  std::vector<SiteTexts> texts;
  for (const SiteFields& site : vault.sites) texts.push_back(TextsOf(site));
  return texts;
}

class ImportExportTest : public ProgramTest {
 protected:
  std::wstring WriteCsv(const std::wstring& name, const std::string& utf8) {
    const std::wstring path = m_files.File(name);
    WriteBytes(path, Bytes(utf8.begin(), utf8.end()));
    return path;
  }

  static void Import(Keyfolio& program, const std::wstring& path) {
    program.ChooseMenu(L"File", L"Import Sites...");
    program.ChooseFile(L"Import Sites", path);
  }

  TempFolder m_files;
};

TEST_F(ImportExportTest, ImportThenExportThenImportIntoAFreshVault) {
  const SiteFields mail = StoredSite(L"Mail", 1);
  Keyfolio& program = StartWithSites({mail});
  const std::wstring source = WriteCsv(L"bitwarden_export.csv", kBitwardenFile);
  Import(program, source);
  MessageBoxView box = program.WaitForMessageBox();
  EXPECT_EQ(Says(box),
            (BoxSays{L"Keyfolio",
                     L"Import the sites of \"bitwarden_export.csv\"?\n\nIt is an export of "
                     L"Bitwarden.\n\nSites to add: 3\nLeft out: 1 (1 not a login)\n"
                     L"Titles changed to keep them unique: 0",
                     {L"Yes", L"No"}}));
  EXPECT_EQ(DefaultButton(box.window), L"Yes");
  program.Answer(box, L"Yes");

  box = program.WaitForMessageBox();
  EXPECT_EQ(box.text, L"Your sites are imported. The file\n" + source +
                          L"\nstill holds every password in plain text: anyone who opens it can "
                          L"read them all.\n\nDelete the file now?");
  EXPECT_EQ(DefaultButton(box.window), L"No");
  program.Answer(box, L"No");
  EXPECT_TRUE(FileExists(source));
  EXPECT_EQ(program.Titles(), (std::vector<std::wstring>{L"Bank", L"caf\u00E9.example",
                                                         L"Intranet, \"new\"", L"Mail"}));
  EXPECT_EQ(program.SelectedTitle(), L"Intranet, \"new\"");
  const std::vector<SiteTexts> imported = TextsOf(ReadVaultOnDrive());
  ASSERT_EQ(imported.size(), 4u);
  EXPECT_EQ(imported[0], (SiteTexts{L"Bank", L"ann", L"pw-bank", L"https://bank.example/", L""}));
  EXPECT_EQ(imported[1], (SiteTexts{L"caf\u00E9.example", L"zo\u00EB", L"=1+2",
                                    L"https://www.caf\u00E9.example/login",
                                    L"login_totp: JBSWY3DP"}));
  EXPECT_EQ(imported[2], (SiteTexts{L"Intranet, \"new\"", L"ann", L"s3,cr\"3t",
                                    L"https://intra.example/", L"line 1\r\nline 2"}));

  // Out again: the master password first, then the warning, then the file.
  program.ChooseMenu(L"File", L"Export Sites...");
  HWND check = program.WaitForDialog(L"Keyfolio");
  HWND help = FindChild(check, L"Button", L"Help");
  EXPECT_TRUE(help == nullptr || !IsWindowVisible(help));
  program.TypeInto(program.EditsIn(check).at(0), kPassword);
  program.CloseWith(check, L"OK");
  box = program.WaitForMessageBox();
  EXPECT_EQ(box.text,
            L"The exported file will hold every password in plain text: anyone who opens it "
            L"can read them all.\n\nKeep it only as long as you need it, and delete it when you "
            L"are done. Export your sites now?");
  EXPECT_EQ(DefaultButton(box.window), L"No");
  EXPECT_TRUE(box.hasIcon);
  program.Answer(box, L"Yes");
  HWND save = program.WaitForDialog(L"Export Sites");
  EXPECT_EQ(TextOf(Keyfolio::FileNameField(save)), L"Keyfolio sites.csv");
  const std::wstring exported = m_files.File(L"Keyfolio sites.csv");
  program.ChooseFile(L"Export Sites", exported);
  box = program.AnswerMessageBox();
  EXPECT_EQ(box.text, L"4 sites were exported to\n" + exported +
                          L"\n\nThe file holds every password in plain text. Delete it when you "
                          L"no longer need it.");
  const std::string csv = Text(ReadBytes(exported));
  EXPECT_EQ(csv.substr(0, csv.find("\r\n")), "name,url,username,password,note");
  program.ChooseMenu(L"File", L"Exit");
  ASSERT_TRUE(program.WaitForExit());

  // Into a vault that has no site yet, on another drive; the run ends
  // before the drive goes.
  FlashDrive fresh;
  fresh.PutVault(Vault(kPassword, 0, 0, {}));
  Keyfolio second(fresh);
  second.LogIn(kPassword);
  Import(second, exported);
  box = second.WaitForMessageBox();
  EXPECT_EQ(box.text,
            L"Import the sites of \"Keyfolio sites.csv\"?\n\nIt is an export of Chrome or Edge."
            L"\n\nSites to add: 4\nLeft out: none\nTitles changed to keep them unique: 0");
  second.Answer(box, L"Yes");
  second.Answer(second.WaitForMessageBox(), L"Yes");
  EXPECT_TRUE(WaitFor([&] { return !FileExists(exported); })) << "the file was not deleted";
  EXPECT_EQ(TextsOf(ReadVault(fresh.VaultBytes())), TextsOf(ReadVaultOnDrive()));
}

// A new user imports Chrome's passwords, then Firefox's: the same logins,
// kept under other pages of their sites, come in once, and the box counts
// before anything changes what the second import leaves out and the
// character it had to replace.
TEST_F(ImportExportTest, AnotherBrowsersExportOfTheSameLoginsAddsThemOnce) {
  Keyfolio& program = StartWithSites({StoredSite(L"Mail", 1)});
  Import(program, WriteCsv(L"Chrome Passwords.csv",
                           "name,url,username,password,note\r\n"
                           "github.com,https://github.com/,annameier,gh-pw,\r\n"
                           "bank.example,https://bank.example/,ann,bank-pw,\r\n"
                           ",,,,door code 1234\r\n"));
  MessageBoxView box = program.WaitForMessageBox();
  EXPECT_EQ(box.text,
            L"Import the sites of \"Chrome Passwords.csv\"?\n\nIt is an export of Chrome or Edge."
            L"\n\nSites to add: 3 (1 of them notes only)\nLeft out: none\nTitles changed to keep "
            L"them unique: 0");
  program.Answer(box, L"Yes");
  program.Answer(program.WaitForMessageBox(), L"No");

  // Firefox's export is UTF-16, which can hold half a character.
  const std::wstring firefox =
      std::wstring(L"\uFEFF\"url\",\"username\",\"password\",\"httpRealm\",\"formActionOrigin\","
                   L"\"guid\"\r\n") +
      L"https://github.com/login,annameier,gh-pw,,https://github.com,{1}\r\n" +
      L"https://www.bank.example,ann,bank-pw,,,{2}\r\n" +
      L"https://xn--mnchen-3ya.de/,anna,p\xD800w,Members,,{3}\r\n" +
      L"https://m\u00FCnchen.de/login,anna,p\xD800w,,,{4}\r\n";
  const auto* bytes = reinterpret_cast<const unsigned char*>(firefox.data());
  const std::wstring logins = m_files.File(L"logins.csv");
  WriteBytes(logins, Bytes(bytes, bytes + firefox.size() * sizeof(wchar_t)));
  Import(program, logins);
  box = program.WaitForMessageBox();
  EXPECT_EQ(box.text,
            L"Import the sites of \"logins.csv\"?\n\nIt is an export of Firefox.\n\nSites to add: "
            L"1\nLeft out: 3 (2 already there, 1 repeated in the file)\nTitles changed to keep "
            L"them unique: 0\nSites where a broken character was replaced: 1");
  program.Answer(box, L"Yes");
  program.Answer(program.WaitForMessageBox(), L"No");
  EXPECT_EQ(program.Titles(),
            (std::vector<std::wstring>{L"bank.example", L"github.com", L"Imported note", L"Mail",
                                       L"m\u00FCnchen.de"}));
  const std::vector<SiteTexts> stored = TextsOf(ReadVaultOnDrive());
  ASSERT_EQ(stored.size(), 5u);
  EXPECT_EQ(stored[2], (SiteTexts{L"Imported note", L"", L"", L"", L"door code 1234"}));
  EXPECT_EQ(stored[4], (SiteTexts{L"m\u00FCnchen.de", L"anna", L"p\uFFFDw",
                                  L"https://xn--mnchen-3ya.de/", L"httpRealm: Members"}));
}

struct RefusedFile {
  const char* name;
  // Makes the file in the folder; its full path.
  std::wstring (*make)(const TempFolder& folder);
  // What the box says after the file's path.
  const wchar_t* says;
};

void PrintTo(const RefusedFile& file, std::ostream* out) {
  *out << file.name;
}

std::wstring Written(const TempFolder& folder, const wchar_t* name, const std::string& bytes) {
  const std::wstring path = folder.File(name);
  WriteBytes(path, Bytes(bytes.begin(), bytes.end()));
  return path;
}

class Refused : public ImportExportTest, public ::testing::WithParamInterface<RefusedFile> {};

TEST_P(Refused, FilesAreToldWhyAndLeaveTheVaultAsItWas) {
  const SiteFields mail = StoredSite(L"Mail", 1);
  Keyfolio& program = StartWithSites({mail});
  const Bytes before = m_drive.VaultBytes();
  const std::wstring stamp = VaultStamp();
  const std::wstring path = GetParam().make(m_files);
  Import(program, path);
  const MessageBoxView box = program.AnswerMessageBox();
  EXPECT_EQ(box.caption, L"Keyfolio");
  EXPECT_EQ(box.text,
            L"The file\n" + path + L"\n" + GetParam().says + L"\n\nNothing was imported.");
  EXPECT_TRUE(box.hasIcon);
  program.WaitUntilIdle();
  EXPECT_TRUE(program.OpenDialogs().empty());
  EXPECT_EQ(program.Titles(), std::vector<std::wstring>{L"Mail"});
  EXPECT_EQ(VaultStamp(), stamp);
  EXPECT_EQ(m_drive.VaultBytes(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, Refused,
    ::testing::Values(
        RefusedFile{"NoPasswordColumn",
                    [](const TempFolder& folder) {
                      return Written(folder, L"contacts.csv",
                                     "Name,E-mail Address,Phone\r\nAnn,ann@example.com,123\r\n");
                    },
                    L"is not a file of passwords that Keyfolio knows. Its first line has 3 "
                    L"columns.\n\nKeyfolio needs one named \"password\" to import sites."},
        // A file without a line of names: its first row, password and all, is
        // not shown.
        RefusedFile{"FirstLineOfValues",
                    [](const TempFolder& folder) {
                      return Written(folder, L"no names.csv",
                                     "Bank,ann,s3cret\r\nShop,bob,pw\r\n");
                    },
                    L"is not a file of passwords that Keyfolio knows. Its first line has 3 "
                    L"columns, and Keyfolio knows none of their names: a file of sites begins "
                    L"with a line of column names.\n\nKeyfolio needs one named \"password\" to "
                    L"import sites."},
        // UTF-8 with one byte that is not: read otherwise, a password would
        // change.
        RefusedFile{"Utf8WithABrokenByte",
                    [](const TempFolder& folder) {
                      return Written(folder, L"mixed.csv",
                                     "name,url,username,password\r\n"
                                     "Caf\xC3\xA9,,ann,p\xC3\xA4ss\r\nShop,,bob,pw\xFC\r\n");
                    },
                    L"cannot be read whole.\n\nLine 3 of the file is not valid UTF-8 text. Save "
                    L"it as UTF-8 and import it again."},
        RefusedFile{"UnclosedQuote",
                    [](const TempFolder& folder) {
                      return Written(folder, L"cut.csv",
                                     "name,url,username,password\r\na,b,c,d\r\n"
                                     "e,f,\"g\r\nh,i\r\n");
                    },
                    L"cannot be read: a quoted text that begins on line 3 never ends."},
        RefusedFile{"OverTheBound",
                    [](const TempFolder& folder) {
                      const std::wstring path = folder.File(L"huge.csv");
                      HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
                      LARGE_INTEGER size;
                      size.QuadPart = 70LL * 1024 * 1024;
                      SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
                      SetEndOfFile(file);
                      CloseHandle(file);
                      return path;
                    },
                    L"is 70.0 MB large. A file of sites can be at most 64 MB: is it the right "
                    L"file?"},
        RefusedFile{"Binary",
                    [](const TempFolder& folder) {
                      return Written(folder, L"picture.csv",
                                     std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
                    },
                    L"is not a text file. Keyfolio imports sites from CSV files, as web browsers "
                    L"and password keepers export them."}),
    [](const ::testing::TestParamInfo<RefusedFile>& info) { return info.param.name; });

TEST_F(ImportExportTest, BackUpCopiesTheVaultAsItIsOnTheDrive) {
  Keyfolio& program = StartWithSites({StoredSite(L"Bank", 1), StoredSite(L"Mail", 2)});
  program.ChooseMenu(L"File", L"Back Up Vault...");
  HWND save = program.WaitForDialog(L"Back Up Vault");
  SYSTEMTIME today{};
  GetLocalTime(&today);
  EXPECT_EQ(TextOf(Keyfolio::FileNameField(save)),
            FormatString(L"KFO backup %04d-%02d-%02d.dta", today.wYear, today.wMonth, today.wDay));
  const std::wstring backup = m_files.File(L"my backup.dta");
  program.ChooseFile(L"Back Up Vault", backup);
  const MessageBoxView box = program.AnswerMessageBox();
  EXPECT_EQ(box.text.substr(0, box.text.find(L"\n\n")),
            L"Your vault was backed up to\n" + backup);
  EXPECT_EQ(ReadBytes(backup), m_drive.VaultBytes());
  EXPECT_EQ(FolderContents(m_files.Path()), std::vector<std::wstring>{L"my backup.dta"});
}

}  // namespace
