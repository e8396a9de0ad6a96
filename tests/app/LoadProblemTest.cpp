// A vault that could not be read whole is told at start-up, before the first
// password question, with what happened and the name the file is kept under.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Editor.h"
#include "app/ProgramLock.h"
#include "app/WMCommandMsg.h"
#include "dialogbase/DialogTemplates.h"
#include "support/ResourceIds.h"
#include "support/ScopedHandle.h"
#include "tests/common/MessageBoxAnswerer.h"
#include "tests/common/TempFolder.h"
#include "tests/storage/VaultBytes.h"
#include "tests/ui/TestWindows.h"
#include "ui/FontManager.h"

namespace {

SiteFields Site(const std::wstring& title) {
  return {title, L"user", L"password", L"https://example.com", L"notes", L"d", L"d", 1};
}

struct Cause {
  const char* name;
  Bytes file;
  bool held;
  const wchar_t* keptName;
  const wchar_t* firstLine;
  // What follows the message: the create-password question, or the entry
  // dialog when the sites that could be read carry a master password.
  const wchar_t* nextCaption;
};

void PrintTo(const Cause& cause, std::ostream* out) {
  *out << cause.name;
}

std::vector<Cause> Causes() {
  const Bytes whole = Vault(L"master", 0, 2, {Site(L"first"), Site(L"second")});
  const Bytes firstOnly = Vault(L"master", 0, 2, {Site(L"first")});
  return {
      {"unopened", whole, true, L"KFO-kept-unopened-1.dta",
       L"Keyfolio could not open your data file KFO.dta. Another program may be using it.",
       L"Keyfolio"},
      {"foreign", VaultBytes().String(L"SOMETHING").Long(257).Get(), false,
       L"KFO-kept-foreign-1.dta",
       L"The file KFO.dta in your data folder is not a Keyfolio data file.", L"Keyfolio"},
      {"newer", VaultBytes().Start(258).Header(L"master").Long(0).Get(), false,
       L"KFO-kept-newer-version-1.dta",
       L"Your data file KFO.dta was made by a newer version of Keyfolio, which this version "
       L"cannot read.",
       L"Keyfolio"},
      {"damaged", Bytes(whole.begin(), whole.begin() + 30), false, L"KFO-kept-damaged-1.dta",
       L"Your data file KFO.dta is damaged and could not be read.", L"Keyfolio"},
      {"partly read", Bytes(whole.begin(), whole.begin() + firstOnly.size() + 20), false,
       L"KFO-kept-partly-read-1.dta",
       L"Your data file KFO.dta is damaged: Keyfolio could read only some of your sites.",
       L"Keyfolio"},
  };
}

class LoadProblemTest : public ::testing::TestWithParam<Cause> {};

}  // namespace

TEST_P(LoadProblemTest, IsToldBeforeThePasswordQuestion) {
  const Cause& cause = GetParam();
  TempFolder folder;
  const std::wstring vault = folder.File(L"KFO.dta");
  WriteBytes(vault, cause.file);
  TestParent mainWindow(true, 40, 40, 487, 320);
  FontManager::GetInstance().CreateFonts(mainWindow.Get());
  InitDialogTemplates();
  Editor& editor = Editor::GetInstance();
  editor.SetDatabaseFolder(folder.Path() + L"\\");
  {
    // Held by another program for longer than the load waits.
    ScopedHandle holder;
    if (cause.held)
      holder.Reset(CreateFileW(vault.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    editor.ConstructWindows(mainWindow.Get());
  }

  // Cancel ends whatever asks for the password, which ends the program.
  MessageBoxAnswerer answerer(IDCANCEL, MessageBoxAnswerer::BoxesAndDialogs);
  ProgramLock lock;
  WMCommandMsg commands(lock);
  lock.ArmStartupQuestion();
  commands.Dispatch(mainWindow.Get(), nullptr, ID_Intro_Dialog, 0);
  const std::vector<MessageBoxAnswerer::Box>& boxes = answerer.Boxes();
  ASSERT_GE(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].caption, L"Keyfolio");
  EXPECT_TRUE(boxes[0].hasIcon);
  const std::wstring& message = boxes[0].text;
  EXPECT_EQ(message.substr(0, message.find(L'\n')), cause.firstLine);
  EXPECT_NE(message.find(std::wstring(L"keeps it as ") + cause.keptName +
                         L" in the KFOdata folder beside the program."),
            std::wstring::npos)
      << std::string(message.begin(), message.end());
  EXPECT_EQ(boxes[1].caption, cause.nextCaption);
  EXPECT_FALSE(IsWindow(mainWindow.Get()));
  // Nothing was saved, so nothing was kept yet but the partly read file,
  // which the rewrite after the load put aside; the vault is still there.
  EXPECT_TRUE(FileExists(vault));
}

INSTANTIATE_TEST_SUITE_P(EachCause, LoadProblemTest, ::testing::ValuesIn(Causes()),
                         [](const ::testing::TestParamInfo<Cause>& info) {
                           std::string name = info.param.name;
                           for (char& c : name)
                             if (c == ' ') c = '_';
                           return name;
                         });

class NoLoadProblemTest : public ::testing::TestWithParam<bool> {};

// A vault without a master password, or none at all: the first question is
// the create-password message.
TEST_P(NoLoadProblemTest, AWholeVaultOrNoneIsNotMentioned) {
  TempFolder folder;
  if (GetParam()) WriteBytes(folder.File(L"KFO.dta"), Vault(L"", 0, 1, {Site(L"only")}));
  TestParent mainWindow(true, 40, 40, 487, 320);
  FontManager::GetInstance().CreateFonts(mainWindow.Get());
  InitDialogTemplates();
  Editor& editor = Editor::GetInstance();
  editor.SetDatabaseFolder(folder.Path() + L"\\");
  editor.ConstructWindows(mainWindow.Get());
  MessageBoxAnswerer answerer(IDCANCEL, MessageBoxAnswerer::BoxesAndDialogs);
  ProgramLock lock;
  WMCommandMsg commands(lock);
  lock.ArmStartupQuestion();
  commands.Dispatch(mainWindow.Get(), nullptr, ID_Intro_Dialog, 0);
  ASSERT_FALSE(answerer.Boxes().empty());
  EXPECT_EQ(answerer.Boxes()[0].text,
            L"You must first create a master password for\nKeyfolio between 1 to 8 characters "
            L"long.");
}

INSTANTIATE_TEST_SUITE_P(VaultOrNone, NoLoadProblemTest, ::testing::Bool());
