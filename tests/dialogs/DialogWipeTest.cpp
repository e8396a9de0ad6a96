// The site dialogs and the generator go back to the heap only wiped: every
// block the program frees while a dialog runs is searched for the passwords
// typed into it, read out of it or made by it. (What the edit controls keep
// is the system's memory, not the program's heap, and is not searched.)
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogbase/DialogTemplates.h"
#include "dialogs/EditPasswordToDB.h"
#include "dialogs/NewPasswordToDB.h"
#include "security/GeneratePassword.h"
#include "security/RandomSource.h"
#include "storage/DatabasePasswordSet.h"
#include "tests/common/DialogDriver.h"
#include "tests/common/FieldTextWatch.h"
#include "tests/common/FreedMemoryWatch.h"
#include "tests/common/MessageBoxAnswerer.h"
#include "tests/dialogbase/DialogChecks.h"
#include "tests/dialogs/DialogSites.h"
#include "tests/dialogbase/DialogTestWindows.h"
#include "tests/security/ScriptedBytes.h"
#include "ui/FontManager.h"

namespace {

// No 4 units in a row of one of these appear in anything else. The short
// one lives inside its string objects, the long ones in blocks of their own.
const wchar_t kTyped[] = L"Ty4~Qp8|Zr2^Wm6`Xk0";
const wchar_t kShort[] = L"S#h9!";
const wchar_t kStored[] = L"St3<Vb7>Nc1?Lj5;";
const wchar_t kEdited[] = L"Ed8{Hg2}Rf6(Ju4)Ki0[Ol9]Pq3";

class DialogWipeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitDialogTemplates();
    FontManager::GetInstance().CreateFonts(m_owner.Get());
  }

  TestOwner m_owner;
  RecordingEditor m_editor;
};

// A password typed into Add Site, refused once for a taken title and then
// added, and a short one added after it; an edited site whose password is
// replaced. The sites themselves stay in the set, which is not freed.
TEST_F(DialogWipeTest, SiteDialogsFreeNoPasswordUnwiped) {
  PutSites({MakeSite(L"Bank", kStored)}, 0);
  MessageBoxAnswerer answerer;
  FreedMemoryWatch watch({kTyped, kShort, kStored, kEdited});
  {
    DialogDriver driver([&](HWND dialog) {
      SetText(dialog, IDC_SITE_TITLE, L"bank");
      // Straight from the constants: a string made for SetText would be
      // freed unwiped by the test itself.
      SetDlgItemTextW(dialog, IDC_SITE_PASSWORD, kTyped);
      SetDlgItemTextW(dialog, IDC_SITE_NOTES, kTyped);
      Click(dialog, IDOK);
      SetText(dialog, IDC_SITE_TITLE, L"Mail");
      Click(dialog, IDOK);
    });
    NewPasswordToDB dialog(m_owner.Get());
    EXPECT_EQ(dialog.GetResult(), IDOK);
  }
  {
    DialogDriver driver([&](HWND dialog) {
      SetText(dialog, IDC_SITE_TITLE, L"Shop");
      SetDlgItemTextW(dialog, IDC_SITE_PASSWORD, kShort);
      Click(dialog, IDOK);
    });
    NewPasswordToDB dialog(m_owner.Get());
    EXPECT_EQ(dialog.GetResult(), IDOK);
  }
  DatabasePasswordSet::GetInstance().SetCurrentRecord(0);
  {
    DialogDriver driver([&](HWND dialog) {
      SetDlgItemTextW(dialog, IDC_SITE_PASSWORD, kEdited);
      Click(dialog, IDOK);
    });
    EditPasswordToDB dialog(m_owner.Get());
    EXPECT_EQ(dialog.GetResult(), IDOK);
  }
  watch.Stop();
  EXPECT_EQ(answerer.Boxes().size(), 1u);
  EXPECT_EQ(TitlesInOrder(), (std::vector<std::wstring>{L"Bank", L"Mail", L"Shop"}));
  EXPECT_EQ(SitesInOrder()[0].m_Password, kEdited);
  const wchar_t* const secrets[] = {kTyped, kShort, kStored, kEdited};
  for (size_t i = 0; i < 4; ++i) {
    const std::wstring secret = secrets[i];
    EXPECT_EQ(watch.FreedUnwiped(i), 0) << std::string(secret.begin(), secret.end());
  }
  EXPECT_GE(watch.LargestFreed(), sizeof kEdited);
}

// The Password field gives up a password only overwritten in place: the one
// typed into Add Site when a generated one replaces it, and the one each
// dialog holds when it closes: generated, or the site's own.
TEST_F(DialogWipeTest, ThePasswordFieldIsOverwrittenBeforeItChangesOrGoes) {
  PutSites({MakeSite(L"Bank", kStored)}, 0);
  FieldTextWatch added, edited;
  std::wstring generated;
  {
    DialogDriver driver([&](HWND dialog) {
      added.Attach(GetDlgItem(dialog, IDC_SITE_PASSWORD));
      SetDlgItemTextW(dialog, IDC_SITE_PASSWORD, kTyped);
      // Digits alone: no character of it is the filler's.
      DialogDriver digits([&](HWND generator) {
        for (const int box : {IDC_LOWERCASE, IDC_UPPERCASE, IDC_PUNCTUATION})
          SetChecked(generator, box, false);
        Click(generator, IDC_GENERATE_PASSWORD);
      });
      Click(dialog, IDC_GENERATE);
      generated = Text(dialog, IDC_SITE_PASSWORD);
      Click(dialog, IDCANCEL);
    });
    NewPasswordToDB dialog(m_owner.Get());
  }
  {
    DialogDriver driver([&](HWND dialog) {
      edited.Attach(GetDlgItem(dialog, IDC_SITE_PASSWORD));
      Click(dialog, IDCANCEL);
    });
    EditPasswordToDB dialog(m_owner.Get());
  }
  ASSERT_EQ(generated.size(), 8u);
  EXPECT_TRUE(added.Destroyed() && edited.Destroyed());
  EXPECT_TRUE(added.OverwrittenInPlace(kTyped)) << testing::PrintToString(added.Texts());
  EXPECT_TRUE(added.OverwrittenInPlace(generated)) << testing::PrintToString(added.Texts());
  EXPECT_TRUE(edited.OverwrittenInPlace(kStored)) << testing::PrintToString(edited.Texts());
}

// The generator dialog's own copy of the password it made. Length 64 with
// all classes; the split's draws give 33, 17, 9 and 5 characters and every
// later number is 0, so before the shuffle the password is runs of 'a',
// 'A', '0' and '!', and the shuffle moves the last character to the front
// at every step.
TEST_F(DialogWipeTest, TheGeneratorFreesNoPasswordUnwiped) {
  std::vector<uint32_t> script = {30, 15, 7, 4, 2, 1};
  script.resize(6 + 64 + 63, 0);
  ScriptedBytes bytes(script);
  RandomSource source(bytes);
  const std::wstring unshuffled =
      std::wstring(33, L'a') + std::wstring(17, L'A') + std::wstring(9, L'0') + std::wstring(5, L'!');
  std::wstring shuffled = unshuffled;
  for (size_t i = shuffled.size(); i > 1; --i) std::swap(shuffled[i - 1], shuffled[0]);
  FreedMemoryWatch watch;
  watch.Watch(unshuffled);
  watch.Watch(shuffled);
  std::wstring handedOver;
  {
    DialogDriver driver([&](HWND dialog) {
      SetText(dialog, IDC_PASSWORD_LENGTH, L"64");
      Click(dialog, IDC_GENERATE_PASSWORD);
    });
    GeneratePassword generator(m_owner.Get(), source);
    handedOver.reserve(64);
    handedOver = generator.GetPassword();
  }
  watch.Stop();
  EXPECT_EQ(handedOver, shuffled);
  EXPECT_EQ(bytes.Remaining(), 0u);
  EXPECT_EQ(watch.Findings(), 0);
  EXPECT_GE(watch.LargestFreed(), 64 * sizeof(wchar_t));
}

}  // namespace
