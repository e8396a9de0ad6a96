// Importing the CSV files that browsers and password keepers write: each
// known export, with the header line as it is written today and rows of
// awkward texts, checked site by site; any other first line read by its
// names; every refusal; the rules that keep titles unique and a second
// import, or another browser's export of the same logins, from adding
// anything; every value the import changes or leaves out counted; and files
// of 10,000 and 40,000 rows.
#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "exchange/SiteImport.h"
#include "storage/CalendarDate.h"
#include "storage/DatabasePasswordSet.h"
#include "tests/common/TempFolder.h"
#include "tests/storage/SiteTexts.h"
#include "tests/storage/VaultBytes.h"

namespace {

std::vector<SiteTexts> TextsOf(const std::deque<PasswordRecStruct>& sites) {
  std::vector<SiteTexts> texts;
  for (const PasswordRecStruct& site : sites) texts.push_back(TextsOf(site));
  return texts;
}

void WriteText(const std::wstring& path, const std::string& utf8) {
  WriteBytes(path, Bytes(utf8.begin(), utf8.end()));
}

class SiteImportTest : public ::testing::Test {
 protected:
  SiteImportTest() { DatabasePasswordSet::GetInstance().LoadDefaultValues(); }

  // Reads `bytes` as a file of its own.
  bool Read(SiteImport& import, const std::string& bytes) {
    const std::wstring path = m_folder.File(L"sites" + std::to_wstring(++m_files) + L".csv");
    WriteText(path, bytes);
    return import.Read(path);
  }

  // Imports `bytes` into the set; what the import did, which the preview
  // told before.
  SiteImport::Counts Import(const std::string& bytes) {
    SiteImport import;
    EXPECT_TRUE(Read(import, bytes));
    const SiteImport::Counts previewed = import.Preview(DatabasePasswordSet::GetInstance());
    const SiteImport::Counts counts = import.AddTo(DatabasePasswordSet::GetInstance());
    EXPECT_EQ(Listed(previewed), Listed(counts));
    return counts;
  }

  static std::vector<size_t> Listed(const SiteImport::Counts& c) {
    return {c.added,    c.notes,    c.renamed,  c.repaired,
            c.alreadyThere, c.repeated, c.notLogin, c.empty};
  }

  TempFolder m_folder;
  int m_files = 0;
};

struct SourceCase {
  const char* name;
  std::string file;
  const wchar_t* source;
  std::vector<SiteTexts> sites;
  size_t notLogin;
  size_t empty;
};

void PrintTo(const SourceCase& c, std::ostream* out) {
  *out << c.name;
}

class KnownExport : public SiteImportTest, public ::testing::WithParamInterface<SourceCase> {};

TEST_P(KnownExport, IsRecognisedAndGivesEverySite) {
  const SourceCase& c = GetParam();
  SiteImport import;
  ASSERT_TRUE(Read(import, c.file)) << import.GetProblem();
  EXPECT_EQ(import.SourceName(), c.source);
  EXPECT_EQ(TextsOf(import.Sites()), c.sites);
  const SiteImport::Counts counts = import.Preview(DatabasePasswordSet::GetInstance());
  EXPECT_EQ(counts.notLogin, c.notLogin);
  EXPECT_EQ(counts.empty, c.empty);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, KnownExport,
    ::testing::Values(
        SourceCase{"Chrome",
                   "name,url,username,password,note\r\n"
                   "bank.example,https://bank.example/login,ann,\"pa,ss\"\"word\","
                   "\"first line\nsecond, \"\"quoted\"\"\"\r\n"
                   ",https://www.shop.example/cart?x=1,bob@example.com,=SUM(1),\r\n"
                   ",,,,only a note\r\n"
                   ",,,,\r\n",
                   L"Chrome or Edge",
                   {{L"bank.example", L"ann", L"pa,ss\"word", L"https://bank.example/login",
                     L"first line\r\nsecond, \"quoted\""},
                    {L"shop.example", L"bob@example.com", L"=SUM(1)",
                     L"https://www.shop.example/cart?x=1", L""},
                    {L"Imported note", L"", L"", L"", L"only a note"}},
                   0, 1},
        SourceCase{"ChromeOlderWithoutNote",
                   "name,url,username,password\n"
                   "Caf\xC3\xA9 Z\xC3\xBCrich,https://caf\xC3\xA9.example/,zo\xC3\xAB,"
                   "p\xC3\xA4ss w\xC3\xB6rd \xF0\x9F\x94\x91\n",
                   L"Chrome or Edge",
                   {{L"Caf\u00E9 Z\u00FCrich", L"zo\u00EB", L"p\u00E4ss w\u00F6rd \U0001F511",
                     L"https://caf\u00E9.example/", L""}},
                   0, 0},
        SourceCase{"Firefox",
                   "\"url\",\"username\",\"password\",\"httpRealm\",\"formActionOrigin\","
                   "\"guid\",\"timeCreated\",\"timeLastUsed\",\"timePasswordChanged\"\r\n"
                   "\"https://accounts.example.com\",\"ann\",\"p1\",,"
                   "\"https://accounts.example.com\",\"{1a2b}\",\"1700000000000\","
                   "\"1700000000001\",\"1700000000002\"\r\n"
                   "\"https://ann@www.mail.example:8443/in\",\"ann\",\" p 2 \",\"realm\",\"\","
                   "\"{3c4d}\",\"1\",\"2\",\"3\"\r\n",
                   L"Firefox",
                   {{L"accounts.example.com", L"ann", L"p1", L"https://accounts.example.com", L""},
                    {L"mail.example", L"ann", L" p 2 ", L"https://ann@www.mail.example:8443/in",
                     L"httpRealm: realm"}},
                   0, 0},
        SourceCase{"FirefoxOlder",
                   "hostname,username,password\r\nhttps://old.example,,pw\r\n", L"Firefox",
                   {{L"old.example", L"", L"pw", L"https://old.example", L""}}, 0, 0},
        SourceCase{"Safari",
                   "Title,URL,Username,Password,Notes,OTPAuth\r\n"
                   "Mail (work),https://mail.example.com/,ann@example.com,\"p,w\","
                   "Desk: 3rd floor,otpauth://totp/Mail?secret=ABC\r\n",
                   L"Safari or Apple Passwords",
                   {{L"Mail (work)", L"ann@example.com", L"p,w", L"https://mail.example.com/",
                     L"Desk: 3rd floor\r\nOTPAuth: otpauth://totp/Mail?secret=ABC"}},
                   0, 0},
        SourceCase{"Bitwarden",
                   "folder,favorite,type,name,notes,fields,reprompt,login_uri,login_username,"
                   "login_password,login_totp\n"
                   "Work,1,login,Intranet,\"line1\nline2\",\"PIN: 1234\nQuestion: Rex\",0,"
                   "\"https://intra.example/\nhttps://intra2.example/\",ann,s3cr3t!,JBSWY3DP\n"
                   ",,note,My note,secret text,,,,,,\n"
                   ",,card,Visa,,,,,,,\n"
                   ",,login,,,,,,,,\n",
                   L"Bitwarden",
                   {{L"Intranet", L"ann", L"s3cr3t!", L"https://intra.example/",
                     L"line1\r\nline2\r\nfields: PIN: 1234\r\nQuestion: Rex\r\n"
                     L"login_uri: https://intra2.example/\r\nlogin_totp: JBSWY3DP"}},
                   2, 1},
        SourceCase{"BitwardenOlderWithoutReprompt",
                   "folder,favorite,type,name,notes,fields,login_uri,login_username,"
                   "login_password,login_totp\n"
                   ",,login,Old,,,https://old.example,ann,pw,\n",
                   L"Bitwarden", {{L"Old", L"ann", L"pw", L"https://old.example", L""}}, 0, 0},
        SourceCase{"KeePassXC",
                   "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\",\"TOTP\","
                   "\"Icon\",\"Last Modified\",\"Created\"\n"
                   "\"Root/Banking\",\"Bank \"\"Main\"\"\",\"ann\",\"pw,1\","
                   "\"https://bank.example\",\"Branch: =Centre\","
                   "\"otpauth://totp/x?secret=Q\",\"0\",\"2024-01-01T00:00:00Z\","
                   "\"2023-01-01T00:00:00Z\"\n",
                   L"KeePassXC",
                   {{L"Bank \"Main\"", L"ann", L"pw,1", L"https://bank.example",
                     L"Branch: =Centre\r\nTOTP: otpauth://totp/x?secret=Q"}},
                   0, 0},
        SourceCase{"KeePass2",
                   "\"Account\",\"Login Name\",\"Password\",\"Web Site\",\"Comments\"\r\n"
                   "\"Forum\",\"ann\tlee\",\"p\tw\",\"http://forum.example\",\"multi\r\nline\"\r\n",
                   L"KeePass 2",
                   {{L"Forum", L"ann lee", L"p\tw", L"http://forum.example", L"multi\r\nline"}}, 0,
                   0},
        SourceCase{"LastPass",
                   "url,username,password,totp,extra,name,grouping,fav\r\n"
                   "https://shop.example,ann,pw1,,Gift card: 42,Shop,Shopping,0\r\n"
                   "http://sn,,,,Secret note body,Note,Notes,0\r\n",
                   L"LastPass",
                   {{L"Shop", L"ann", L"pw1", L"https://shop.example", L"Gift card: 42"}}, 1, 0},
        SourceCase{"OnePassword",
                   "Title,Url,Username,Password,OTPAuth,Favorite,Archived,Tags,Notes\r\n"
                   "Git,https://git.example,ann,pw,otpauth://totp/git?secret=Z,false,false,"
                   "\"dev,work\",Use SSH\r\n",
                   L"1Password",
                   {{L"Git", L"ann", L"pw", L"https://git.example",
                     L"Use SSH\r\nOTPAuth: otpauth://totp/git?secret=Z"}},
                   0, 0},
        SourceCase{"ProtonPass",
                   "type,name,url,email,username,password,note,totp,createTime,modifyTime,vault\n"
                   "login,Cloud,https://cloud.example,ann@example.com,ann,pw,,,1700000000,"
                   "1700000000,Personal\n"
                   "login,Mailbox,https://mail.example,me@example.com,,pw2,note text,,1,1,"
                   "Personal\n"
                   "note,Diary,,,,,dear diary,,1,1,Personal\n",
                   L"Proton Pass",
                   {{L"Cloud", L"ann", L"pw", L"https://cloud.example", L"email: ann@example.com"},
                    {L"Mailbox", L"me@example.com", L"pw2", L"https://mail.example",
                     L"note text"}},
                   1, 0},
        SourceCase{"Dashlane",
                   "username,username2,username3,title,password,note,url,category,otpSecret\n"
                   "ann,ann.alt,ann.third,Game,pw,,https://game.example,Entertainment,ABCDEF\n",
                   L"Dashlane",
                   {{L"Game", L"ann", L"pw", L"https://game.example",
                     L"username2: ann.alt\r\nusername3: ann.third\r\notpSecret: ABCDEF"}},
                   0, 0}),
    [](const ::testing::TestParamInfo<SourceCase>& info) { return info.param.name; });

// Tomorrow's versions: the usual names, in any order, under other spellings,
// with columns added.
INSTANTIATE_TEST_SUITE_P(
    OtherFirstLines, KnownExport,
    ::testing::Values(
        SourceCase{"ShuffledRenamedSemicolons",
                   "\xEF\xBB\xBF Password ;Web Site;  LOGIN ;Notes;Security question\r\n"
                   "pw;https://x.example/a;ann;hello;Rex\r\n",
                   L"",
                   {{L"x.example", L"ann", L"pw", L"https://x.example/a",
                     L"hello\r\nSecurity question: Rex"}},
                   0, 0},
        SourceCase{"TabsEmailAndWebsite",
                   "website\temail\tpassword\ttitle\ttype\n"
                   "https://site.example\tme@example.com\tpw\tMy site\tlogin\n",
                   L"",
                   {{L"My site", L"me@example.com", L"pw", L"https://site.example",
                     L"type: login"}},
                   0, 0},
        SourceCase{"LoginPasswordAndUriWithExtrasAndShortRow",
                   "account,password,uri,extra,,tags\r\n"
                   "Box,pw,https://box.example,note,unnamed,t1,beyond\r\n"
                   "Short,pw2\r\n",
                   L"",
                   {{L"Box", L"", L"pw", L"https://box.example",
                     L"note\r\nColumn 5: unnamed\r\nColumn 7: beyond"},
                    {L"Short", L"", L"pw2", L"", L""}},
                   0, 0},
        SourceCase{"InternationalHostsTitledAsPeopleReadThem",
                   "url,username,password\r\n"
                   "https://xn--mnchen-3ya.de/login,ann,pw1\r\n"
                   "https://www.xn--bcher-kva.example,ann,pw2\r\n",
                   L"",
                   {{L"m\u00FCnchen.de", L"ann", L"pw1", L"https://xn--mnchen-3ya.de/login", L""},
                    {L"b\u00FCcher.example", L"ann", L"pw2", L"https://www.xn--bcher-kva.example",
                     L""}},
                   0, 0},
        SourceCase{"NotesAloneTitledFromTheFileOrAsANote",
                   "title,username,password,url,notes,custom\r\n"
                   "Door code,,,,1234,\r\n"
                   ",,,,,PIN 99\r\n"
                   "Bookmark only,,,,,\r\n",
                   L"",
                   {{L"Door code", L"", L"", L"", L"1234"},
                    {L"Imported note", L"", L"", L"", L"custom: PIN 99"},
                    {L"Bookmark only", L"", L"", L"", L""}},
                   0, 0},
        // A first line may hold anything: a name is shown on one line, and
        // one of any length is not repeated whole in every site's notes.
        SourceCase{"NamesShownOnOneLineAndCutShort",
                   "password,title,\"two\r\nlines\"," + std::string(120, 'x') + "\r\n"
                   "pw,T,a,b\r\n",
                   L"",
                   {{L"T", L"", L"pw", L"", L"two lines: a\r\n" + std::wstring(100, L'x') +
                                                L"\u2026: b"}},
                   0, 0},
        SourceCase{"TitleFromUserNameAndNoTitleAtAll",
                   "user name,password,address\r\n"
                   "ann,pw,\r\n"
                   ",pw2,\r\n"
                   "\"a\r\nb\",\"p\r\nw\",\"https://a.example\r\n/x\"\r\n",
                   L"",
                   {{L"ann", L"ann", L"pw", L"", L""},
                    {L"Imported site", L"", L"pw2", L"", L""},
                    {L"a.example", L"a b", L"p\r\nw", L"https://a.example /x", L""}},
                   0, 0}),
    [](const ::testing::TestParamInfo<SourceCase>& info) { return info.param.name; });

struct RefusalCase {
  const char* name;
  std::string file;
  SiteImport::Problem problem;
};

void PrintTo(const RefusalCase& c, std::ostream* out) {
  *out << c.name;
}

class Refusal : public SiteImportTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(Refusal, ReadsNoSiteAndLeavesTheSetAsItWas) {
  PasswordRecStruct bank;
  bank.m_SiteTitle = L"Bank";
  bank.m_Password = L"pw";
  ASSERT_TRUE(DatabasePasswordSet::GetInstance().AddRecord(nullptr, bank));
  const std::vector<SiteTexts> before = SetTexts();
  SiteImport import;
  EXPECT_FALSE(Read(import, GetParam().file));
  EXPECT_EQ(import.GetProblem(), GetParam().problem);
  EXPECT_TRUE(import.Sites().empty());
  EXPECT_EQ(SetTexts(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, Refusal,
    ::testing::Values(
        RefusalCase{"NoPasswordColumn", "name,url,username\r\nx,y,z\r\n",
                    SiteImport::SI_NoPassword},
        RefusalCase{"PasswordButNoSiteColumn", "password,notes\r\npw,n\r\n",
                    SiteImport::SI_NoSiteColumns},
        RefusalCase{"UnclosedQuote", "name,password\r\nok,pw\r\nx,\"never\r\nends\r\n",
                    SiteImport::SI_UnclosedQuote},
        RefusalCase{"Binary", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR,password", 25),
                    SiteImport::SI_NotText},
        RefusalCase{"Utf8WithABrokenByte",
                    "name,password,note\r\nCaf\xC3\xA9,p\xC3\xA4ss,\r\nShop,pw,\xFC\r\n",
                    SiteImport::SI_NotUtf8},
        RefusalCase{"Empty", "", SiteImport::SI_Empty},
        RefusalCase{"OnlyBlankLines", "\r\n\r\n\n", SiteImport::SI_Empty}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

// What a refusal can tell without a text of the file: a first line without
// names may be a row that holds a password.
TEST_F(SiteImportTest, RefusalsTellWhatTheyFound) {
  SiteImport import;
  ASSERT_FALSE(Read(import, "\xEF\xBB\xBF\"Name\", URL ,,user\r\nx,y,z,w\r\n"));
  EXPECT_EQ(import.GetColumnCount(), 4u);
  EXPECT_EQ(import.GetKnownColumnCount(), 2u);
  ASSERT_FALSE(Read(import, "Bank,ann,s3cret\r\nShop,bob,pw\r\n"));
  EXPECT_EQ(import.GetProblem(), SiteImport::SI_NoPassword);
  EXPECT_EQ(import.GetColumnCount(), 3u);
  EXPECT_EQ(import.GetKnownColumnCount(), 0u);
  ASSERT_FALSE(Read(import, "name,password\r\n\"a\",\"b\r\n\r\nc,d\r\n"));
  EXPECT_EQ(import.GetLine(), 2u);
  ASSERT_FALSE(Read(import, "name,password\r\n\xC3\xA4,1\r\n\r\nb,\xE4\r\n"));
  EXPECT_EQ(import.GetLine(), 4u);
  ASSERT_FALSE(import.Read(m_folder.File(L"missing.csv")));
  EXPECT_EQ(import.GetProblem(), SiteImport::SI_Unreadable);
  EXPECT_EQ(import.GetError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(SiteImportTest, AddsStampedWithTodayTheFirstImportedCurrent) {
  DatabasePasswordSet& set = DatabasePasswordSet::GetInstance();
  PasswordRecStruct zulu;
  zulu.m_SiteTitle = L"Zulu";
  ASSERT_TRUE(set.AddRecord(nullptr, zulu));
  const SiteImport::Counts counts =
      Import("name,url,username,password\r\nMike,,m,p1\r\nAlpha,,a,p2\r\n");
  EXPECT_EQ(counts.added, 2u);
  ASSERT_EQ(set.Count(), 3u);
  // The first row of the file, not the first title.
  EXPECT_EQ(set.FieldsByIndex(0), L"Mike");
  EXPECT_EQ(set.GetCurrentRecordIndex(), 1);
  const std::wstring today = CalendarDate().FormatLongDate();
  EXPECT_EQ(set.FieldsByIndex(5), today);
  EXPECT_EQ(set.FieldsByIndex(6), today);
  EXPECT_EQ(set.FieldsByIndex(7), L"2");
}

// Two accounts on one site are common in browser exports.
TEST_F(SiteImportTest, ClashingTitlesTakeTheUserNameThenANumber) {
  DatabasePasswordSet& set = DatabasePasswordSet::GetInstance();
  PasswordRecStruct there;
  there.m_SiteTitle = L"google.com";
  there.m_UserName = L"ann@example.com";
  there.m_Password = L"pw1";
  there.m_WebsiteAddress = L"https://google.com/";
  ASSERT_TRUE(set.AddRecord(nullptr, there));
  const std::string file =
      "name,url,username,password\r\n"
      "google.com,https://google.com/,ann@example.com,pw1\r\n"  // already there
      "GOOGLE.COM,https://google.com/,ben@example.com,pw2\r\n"
      "google.com,https://google.com/,,pw3\r\n"
      "google.com,https://google.com/,ben@example.com,pw4\r\n"
      "google.com,https://google.com/,,pw3\r\n"  // twice in the file
      "Mail,https://mail.example/,ann,pw5\r\n";
  const SiteImport::Counts first = Import(file);
  EXPECT_EQ(first.added, 4u);
  EXPECT_EQ(first.alreadyThere, 1u);
  EXPECT_EQ(first.repeated, 1u);
  EXPECT_EQ(first.renamed, 3u);
  EXPECT_EQ(SetTexts(),
            (std::vector<SiteTexts>{
                {L"google.com", L"ann@example.com", L"pw1", L"https://google.com/", L""},
                {L"google.com (2)", L"", L"pw3", L"https://google.com/", L""},
                {L"google.com (3)", L"ben@example.com", L"pw4", L"https://google.com/", L""},
                {L"GOOGLE.COM (ben@example.com)", L"ben@example.com", L"pw2",
                 L"https://google.com/", L""},
                {L"Mail", L"ann", L"pw5", L"https://mail.example/", L""}}));

  // The same file again, or in another order, adds nothing.
  const SiteImport::Counts again = Import(file);
  EXPECT_EQ(again.added, 0u);
  EXPECT_EQ(again.alreadyThere, 6u);
  const SiteImport::Counts shuffled = Import(
      "name,url,username,password\r\n"
      "google.com,https://google.com/,ben@example.com,pw4\r\n"
      "google.com,https://google.com/,ben@example.com,pw2\r\n");
  EXPECT_EQ(shuffled.added, 0u);
  EXPECT_EQ(set.Count(), 5u);

  // What differs in the password or the host is another account; another
  // page of the same host is the same one.
  const SiteImport::Counts changed = Import(
      "name,url,username,password\r\n"
      "google.com,https://google.com/,ann@example.com,new password\r\n"
      "Mail,https://mail.example/login,ann,pw5\r\n"
      "Mail,https://webmail.example/,ann,pw5\r\n");
  EXPECT_EQ(changed.added, 2u);
  EXPECT_EQ(changed.alreadyThere, 1u);
  EXPECT_EQ(set.FindTitle(L"google.com (ann@example.com)")->m_Password, L"new password");
  EXPECT_EQ(set.FindTitle(L"mail (ann)")->m_WebsiteAddress, L"https://webmail.example/");
}

// A new user imports Chrome's passwords, then Firefox's: the same logins,
// under other pages of their sites, come in once.
TEST_F(SiteImportTest, TheSameLoginAtTheSameHostIsAlreadyThere) {
  const SiteImport::Counts chrome = Import(
      "name,url,username,password,note\r\n"
      "github.com,https://github.com/,annameier,gh-pw,\r\n"
      "m\xC3\xBCnchen.de,https://m\xC3\xBCnchen.de/,anna,mu-pw,\r\n"
      "Shop,https://shop.example/,,shop-pw,\r\n");
  EXPECT_EQ(chrome.added, 3u);
  struct Case {
    const char* address;
    const char* user;
    const char* password;
    bool same;
  };
  const Case cases[] = {
      {"https://github.com", "annameier", "gh-pw", true},
      {"https://www.github.com/login", "annameier", "gh-pw", true},
      {"http://GitHub.COM:443/session?x=1", "annameier", "gh-pw", true},
      {"https://xn--mnchen-3ya.de/login", "anna", "mu-pw", true},
      {"https://M\xC3\x9CNCHEN.de", "anna", "mu-pw", true},
      {"shop.example/cart", "", "shop-pw", true},
      {"https://gist.github.com/", "annameier", "gh-pw", false},
      {"https://github.com/", "AnnaMeier", "gh-pw", false},
      {"https://github.com/", "annameier", "gh-pw2", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    const SiteImport::Counts firefox =
        Import(std::string("url,username,password,httpRealm,formActionOrigin\r\n") + c.address +
               "," + c.user + "," + c.password + ",,\r\n");
    EXPECT_EQ(firefox.alreadyThere, c.same ? 1u : 0u);
    EXPECT_EQ(firefox.added, c.same ? 0u : 1u);
  }
  EXPECT_EQ(DatabasePasswordSet::GetInstance().Count(), 6u);
}

// Within one file, a row of the same login as a row before it is told as
// repeated, not as already there; it makes no second site.
TEST_F(SiteImportTest, ARowRepeatedInTheFileIsToldAsSuch) {
  PasswordRecStruct there = SiteRecord(L"Bank", L"ann", L"bank-pw", L"https://bank.example/", L"");
  ASSERT_TRUE(DatabasePasswordSet::GetInstance().AddRecord(nullptr, there));
  const SiteImport::Counts counts = Import(
      "name,url,username,password,note\r\n"
      "Mail,https://mail.example/,ann,mail-pw,\r\n"
      "Mail login,https://mail.example/login,ann,mail-pw,\r\n"
      "Bank,https://bank.example/,ann,bank-pw,\r\n"
      "Mail,https://mail.example/,ann,mail-pw,\r\n"
      ",,,,a note\r\n"
      ",,,,a note\r\n"
      ",,,,another note\r\n");
  EXPECT_EQ(counts.added, 3u);
  EXPECT_EQ(counts.notes, 2u);
  EXPECT_EQ(counts.alreadyThere, 1u);
  EXPECT_EQ(counts.repeated, 3u);
  EXPECT_EQ(SetTexts(), (std::vector<SiteTexts>{
                            {L"Bank", L"ann", L"bank-pw", L"https://bank.example/", L""},
                            {L"Imported note", L"", L"", L"", L"a note"},
                            {L"Imported note (2)", L"", L"", L"", L"another note"},
                            {L"Mail", L"ann", L"mail-pw", L"https://mail.example/", L""}}));
}

// A UTF-16 file can hold half a character, which no other program reads
// back: the import makes it U+FFFD and says how many sites it touched, so
// that an export and an import again give what was stored.
TEST_F(SiteImportTest, BrokenCharactersAreReplacedAndCounted) {
  const std::wstring text =
      std::wstring(L"\uFEFFname,username,password,note\r\n") + L"Mail,ann,p\xD800w,\r\n" +
      L"Shop,bob,pw,caf\xDC00\r\n" + L"Key,cy,\U0001F511,\r\n";
  const auto* bytes = reinterpret_cast<const char*>(text.data());
  const SiteImport::Counts counts = Import(std::string(bytes, text.size() * sizeof(wchar_t)));
  EXPECT_EQ(counts.added, 3u);
  EXPECT_EQ(counts.repaired, 2u);
  EXPECT_EQ(SetTexts(), (std::vector<SiteTexts>{{L"Key", L"cy", L"\U0001F511", L"", L""},
                                                {L"Mail", L"ann", L"p\uFFFDw", L"", L""},
                                                {L"Shop", L"bob", L"pw", L"", L"caf\uFFFD"}}));
}

// A vault from before the rule above may hold half a character; its export
// writes U+FFFD, which an import then takes for the site it came from.
TEST_F(SiteImportTest, AnExportOfABrokenCharacterIsTheSiteItCameFrom) {
  DatabasePasswordSet& set = DatabasePasswordSet::GetInstance();
  ASSERT_TRUE(set.AddRecord(nullptr, SiteRecord(L"Mail", L"ann", std::wstring(L"p\xD800w", 3),
                                                L"https://mail.example/", L"")));
  ASSERT_TRUE(set.AddRecord(nullptr, SiteRecord(L"Note", L"", L"", L"",
                                                std::wstring(L"caf\xDC00", 4))));
  const SiteImport::Counts counts = Import(
      "name,url,username,password,note\r\n"
      "Mail,https://mail.example/,ann,p\xEF\xBF\xBDw,\r\n"
      "Note,,,,caf\xEF\xBF\xBD\r\n");
  EXPECT_EQ(counts.added, 0u);
  EXPECT_EQ(counts.alreadyThere, 2u);
}

TEST_F(SiteImportTest, ASiteAlreadyThereUnderATitleTheRuleGaveIsNotAddedAgain) {
  DatabasePasswordSet& set = DatabasePasswordSet::GetInstance();
  for (const wchar_t* title : {L"Shop", L"Shop (ann)", L"Shop (7)", L"Shop (07)"}) {
    PasswordRecStruct site;
    site.m_SiteTitle = title;
    site.m_UserName = L"ann";
    site.m_Password = std::wstring(L"pw of ") + title;
    ASSERT_TRUE(set.AddRecord(nullptr, site));
  }
  const SiteImport::Counts counts = Import(
      "name,username,password\r\n"
      "shop,ann,pw of Shop (ann)\r\n"  // the title folds
      "Shop,ann,pw of Shop (7)\r\n"
      "Shop,ann,pw of Shop (07)\r\n"  // not a number the rule gives
      "Shop,ANN,pw of Shop\r\n");     // a user name does not fold
  EXPECT_EQ(counts.alreadyThere, 2u);
  EXPECT_EQ(counts.added, 2u);
  EXPECT_EQ(set.FindTitle(L"Shop (2)")->m_Password, L"pw of Shop (07)");
  EXPECT_EQ(set.FindTitle(L"Shop (3)")->m_UserName, L"ANN");
}

// 40,000 rows of one login under other titles, and 40,000 without an
// address: each row is one lookup, not a comparison with every row before.
TEST_F(SiteImportTest, FortyThousandLookalikeRowsAreToldApartOneByOne) {
  std::string sameLogin = "name,url,username,password\r\n";
  std::string noAddress = sameLogin;
  for (int row = 0; row < 40000; ++row) {
    sameLogin += "Mail " + std::to_string(row) + ",https://mail.example/,ann,pw\r\n";
    noAddress += "Pin " + std::to_string(row) + ",,ann,pw\r\n";
  }
  const SiteImport::Counts repeated = Import(sameLogin);
  EXPECT_EQ(repeated.added, 1u);
  EXPECT_EQ(repeated.repeated, 39999u);
  const SiteImport::Counts titled = Import(noAddress);
  EXPECT_EQ(titled.added, 40000u);
  EXPECT_EQ(Import(noAddress).alreadyThere, 40000u);
}

TEST_F(SiteImportTest, TenThousandRowsAddOnceAndNotAgain) {
  std::string file = "name,url,username,password,note\r\n";
  // A hundred sites with a hundred accounts each: every title clashes.
  for (int row = 0; row < 10000; ++row) {
    const std::string site = "site" + std::to_string(row % 100) + ".example";
    file += site + ",https://" + site + "/,user" + std::to_string(row / 100) + ",pw" +
            std::to_string(row) + ",\"note, " + std::to_string(row) + "\"\r\n";
  }
  const SiteImport::Counts first = Import(file);
  EXPECT_EQ(first.added, 10000u);
  EXPECT_EQ(first.renamed, 9900u);
  DatabasePasswordSet& set = DatabasePasswordSet::GetInstance();
  EXPECT_EQ(set.Count(), 10000u);
  EXPECT_EQ(set.FindTitle(L"site7.example (user42)")->m_Password, L"pw4207");
  const SiteImport::Counts again = Import(file);
  EXPECT_EQ(again.added, 0u);
  EXPECT_EQ(again.alreadyThere, 10000u);
  EXPECT_EQ(set.Count(), 10000u);
}

}  // namespace
