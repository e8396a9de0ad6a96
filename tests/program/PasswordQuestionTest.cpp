// The master password question: nothing gets past it, neither another
// program posting commands nor a key pressed once too often, and what it
// deletes when the person has forgotten the password is really gone or
// still there, as the program says.
#include <gtest/gtest.h>

#include "support/ResourceIds.h"
#include "support/ScopedHandle.h"
#include "tests/program/ClipboardContents.h"
#include "tests/program/Desktop.h"
#include "tests/program/ProgramTest.h"
#include "tests/program/ShellMarkers.h"

namespace {

using PasswordQuestionTest = ProgramTest;

// Every command the menu bar, the accelerators and the buttons send, and a
// second start-up check.
const int kCommands[] = {IDM_PASSWORD_ADD,  IDB_ADDNEWSITE,    IDM_PASSWORD_DELETE,
                         IDM_IMPORT_SITES,  IDM_EXPORT_SITES,  IDM_BACKUP_VAULT,
                         IDM_LOCK,          IDM_EXIT,          IDM_PASSWORD_EDIT,
                         IDM_FIND_SITE,     IDM_PASSWORD_HIDE, IDM_PASSWORD_SHOW,
                         IDM_MASTERPASSWORD_CHANGE, IDM_HELP,  IDM_DISCLAIMER,
                         IDM_ABOUT,         IDB_USERNAME,      IDB_PASSWORD,
                         IDB_WEBSITEURL,    ID_Intro_Dialog};

// A list box of the test's own, as the handle of a selection change; its
// selection names the first site.
class ForeignList {
 public:
  ForeignList()
      : m_list(CreateWindowExW(0, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_POPUP, 0, 0, 100, 100,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {
    for (const wchar_t* item : {L"one", L"two", L"three"})
      SendMessageW(m_list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendMessageW(m_list, CB_SETCURSEL, 0, 0);
  }
  ForeignList(const ForeignList&) = delete;
  ForeignList& operator=(const ForeignList&) = delete;
  ~ForeignList() { DestroyWindow(m_list); }
  HWND Get() const { return m_list; }

 private:
  HWND m_list;
};

void PostCommand(HWND main, int id, HWND control = nullptr, UINT code = 0) {
  if (!PostMessageW(main, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control)))
    throw StepFailed("the command could not be posted");
}

// Posted messages are handled in the order they came: once a press posted
// after them has taken the mouse, everything posted before has been handled.
void WaitForPostedHandled(HWND main) {
  PostMessageW(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  Expect([&] { return CaptureIn(main) == main; }, "the posted press to be handled");
  PostMessageW(main, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  Expect([&] { return CaptureIn(main) == nullptr; }, "the posted release to be handled");
}

// The question at start-up, or the same question after a lock (File >
// Lock, given from outside as any command is).
class PostedCommands : public ProgramTest, public ::testing::WithParamInterface<bool> {};

TEST_P(PostedCommands, DoNothingUntilThePasswordIsGiven) {
  const SiteFields bank = StoredSite(L"Bank", 1, L"bank pw"),
                   mail = StoredSite(L"Mail", 2, L"mail pw");
  m_drive.PutVault(Vault(kPassword, 0, 2, {bank, mail}));
  Keyfolio& program = Start();
  HWND main = program.MainWindow();
  if (GetParam()) {
    program.LogIn(kPassword);
    PostCommand(main, IDM_LOCK);
  }
  HWND question = program.WaitForDialog(L"Keyfolio");
  const std::wstring stamp = VaultStamp();
  ShellMarkers shell;
  PutClipboardText(L"the person's own text");
  ForeignList foreign;

  for (int id : kCommands) PostCommand(main, id);
  PostCommand(main, IDCB_DBPASSWORD, foreign.Get(), CBN_SELCHANGE);
  WaitForPostedHandled(main);

  EXPECT_EQ(program.OpenDialogs(), std::vector<HWND>{question});
  EXPECT_TRUE(program.Process().Running());
  EXPECT_EQ(ClipboardText(), std::optional<std::wstring>(L"the person's own text"));
  EXPECT_TRUE(program.Titles().empty());
  EXPECT_EQ(program.VisibleFields(), (std::array<std::wstring, 4>{}));
  EXPECT_EQ(VaultStamp(), stamp);
  EXPECT_FALSE(shell.AnyMarkerRunning());
  EXPECT_TRUE(shell.PagesOpened().empty());
  EXPECT_TRUE(shell.WebAddressesOpened().empty());

  // Let in, the same commands work, and a selection change is read from the
  // program's own list whatever handle comes with it.
  program.LogIn(kPassword);
  PostCommand(main, IDB_PASSWORD);
  EXPECT_TRUE(WaitFor([] { return ClipboardText() == std::optional<std::wstring>(L"bank pw"); }));
  Ask(program.SiteList(), CB_SETCURSEL, 1);
  PostCommand(main, IDCB_DBPASSWORD, foreign.Get(), CBN_SELCHANGE);
  EXPECT_TRUE(WaitFor([&] { return program.VisibleFields()[0] == mail.user; }));
  PostCommand(main, IDM_PASSWORD_EDIT);
  HWND edit = program.WaitForDialog(L"Edit Site");
  EXPECT_EQ(program.ReadSite(edit).title, L"Mail");
  program.CloseWith(edit, L"Cancel");
}

INSTANTIATE_TEST_SUITE_P(Questions, PostedCommands, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "AfterALock" : "AtStartUp";
                         });

// Under common controls 6 on Windows an ES_PASSWORD field shows a bullet
// unless told otherwise; Wine's edit control shows "*" by default, so here
// this guards only against another mask being set.
TEST_F(PasswordQuestionTest, HidesThePasswordWithTheMainWindowsMask) {
  m_drive.PutVault(Vault(kPassword, 0, 1, {StoredSite(L"Bank", 1)}));
  Keyfolio& program = Start();
  const std::vector<HWND> edits = program.EditsIn(program.WaitForDialog(L"Keyfolio"));
  ASSERT_EQ(edits.size(), 1u);
  EXPECT_EQ(Ask(edits[0], EM_GETPASSWORDCHAR), L'*');
  program.LogIn(kPassword);
  EXPECT_EQ(program.PasswordChar(), L'*');
}

// Alt+H and Enter pressed on: No is the default of both questions, so the
// vault stays.
TEST_F(PasswordQuestionTest, EnterAtTheForgottenPasswordQuestionsDeletesNothing) {
  const Bytes vault = Vault(kPassword, 0, 1, {StoredSite(L"Bank", 1)});
  m_drive.PutVault(vault);
  Keyfolio& program = Start();
  HWND question = program.WaitForDialog(L"Keyfolio");
  Keyfolio::GiveTo(question, [] { PressKeys({VK_MENU, 'H'}); });
  const MessageBoxView forgotten = program.WaitForMessageBox();
  EXPECT_EQ(forgotten.text.substr(0, 40), L"If you have forgotten your master passwo");
  Keyfolio::GiveTo(forgotten.window, [] { PressKey(VK_RETURN); });
  program.WaitForClose(forgotten.window);
  // The question is asked again, in a dialog of its own.
  HWND again = program.WaitForDialog(L"Keyfolio");
  EXPECT_TRUE(program.OpenDialogs().size() == 1 && !IsMessageBox(program.OpenDialogs()[0]));

  program.ClickButtonIn(again, L"Help");
  program.AnswerMessageBox(L"Yes");
  const MessageBoxView reallyDelete = program.WaitForMessageBox();
  EXPECT_EQ(reallyDelete.text,
            L"This action is not reversible. Are you sure you want to delete your data?");
  Keyfolio::GiveTo(reallyDelete.window, [] { PressKey(VK_RETURN); });
  program.WaitForClose(reallyDelete.window);
  EXPECT_EQ(m_drive.VaultBytes(), vault);
  program.LogIn(kPassword);
  EXPECT_EQ(program.Titles(), std::vector<std::wstring>{L"Bank"});
}

void DeleteAllDataAtTheQuestion(Keyfolio& program) {
  program.ClickButtonIn(program.WaitForDialog(L"Keyfolio"), L"Help");
  program.AnswerMessageBox(L"Yes");
  program.AnswerMessageBox(L"Yes");
}

// The reset vault's flag is 0: the field, the View menu and the vault agree
// that the password is hidden.
TEST_F(PasswordQuestionTest, AResetVaultHidesThePasswordAgain) {
  m_drive.PutVault(Vault(kPassword, 1, 1, {StoredSite(L"Bank", 1)}));
  Keyfolio& program = Start();
  DeleteAllDataAtTheQuestion(program);
  program.AnswerMessageBox(L"OK");
  program.CreateMasterPassword(L"n3w");
  EXPECT_EQ(program.PasswordChar(), L'*');
  EXPECT_EQ(program.CheckMarksOf(L"View"), (std::vector<bool>{true, false}));
  EXPECT_EQ(ReadVaultOnDrive().flag, 0);

  program.PressShortcut({VK_CONTROL, 'N'});
  HWND add = program.WaitForDialog(L"Add Site");
  program.FillSite(add, {L"Shop", L"me", L"shop pw", L"", L""});
  program.CloseWith(add, L"OK");
  ASSERT_TRUE(WaitFor([&] { return program.Titles() == std::vector<std::wstring>{L"Shop"}; }));
  EXPECT_EQ(program.VisibleFields()[1], L"*******");
}

// Another program holds the vault for longer than the program waits: the
// person is told, the vault and its password stay in force, and nothing
// asks for a new password over it.
TEST_F(PasswordQuestionTest, AVaultThatCannotBeDeletedIsSaidSoAndStillOpens) {
  const Bytes vault = Vault(kPassword, 0, 1, {StoredSite(L"Bank", 1)});
  m_drive.PutVault(vault);
  Keyfolio& program = Start();
  program.WaitForDialog(L"Keyfolio");
  {
    ScopedHandle holder(CreateFileW(m_drive.VaultPath().c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder.IsValid());
    DeleteAllDataAtTheQuestion(program);
    const MessageBoxView box = program.WaitForMessageBox();
    EXPECT_EQ(box.caption, L"Keyfolio");
    EXPECT_EQ(box.text,
              L"Your data could not be deleted. Another program is using the file\n" +
                  m_drive.VaultPath() +
                  L"\n\nClose that program and try again.\n\nYour sites and your master "
                  L"password are unchanged.");
    program.Answer(box, L"OK");
    program.WaitForDialog(L"Keyfolio");
  }
  EXPECT_EQ(m_drive.VaultBytes(), vault);
  program.LogIn(kPassword);
  EXPECT_EQ(program.Titles(), std::vector<std::wstring>{L"Bank"});
  EXPECT_EQ(ReadVaultOnDrive().masterPassword, kPassword);
}

}  // namespace
