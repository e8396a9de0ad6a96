// The Add Site and Edit Site dialogs on the program's own site set, driven
// from inside their modal loops; the main window is an editor of the test's
// own that counts the refreshes the dialogs ask for.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dialogbase/DialogTemplates.h"
#include "dialogs/EditPasswordToDB.h"
#include "dialogs/NewPasswordToDB.h"
#include "security/GeneratorSelections.h"
#include "storage/DatabasePasswordSet.h"
#include "tests/common/DialogDriver.h"
#include "tests/common/MessageBoxAnswerer.h"
#include "tests/dialogbase/DialogChecks.h"
#include "tests/dialogs/DialogSites.h"
#include "tests/dialogbase/DialogTestWindows.h"
#include "ui/FontManager.h"

namespace {

const int kFields[] = {IDC_SITE_TITLE, IDC_SITE_USER_NAME, IDC_SITE_PASSWORD, IDC_SITE_WEBSITE_URL,
                       IDC_SITE_NOTES};
const int kLabels[] = {2500, 2501, 2502, 2503, 2504};

const wchar_t kNeedTitle[] = L"You need to enter a title.";
const wchar_t kNeedPassword[] = L"You need to enter a password.";
const wchar_t kTitleTaken[] = L"A site with that title already exists.";

void FillFields(HWND dialog, const PasswordRecStruct& site) {
  SetText(dialog, IDC_SITE_TITLE, site.m_SiteTitle);
  SetText(dialog, IDC_SITE_USER_NAME, site.m_UserName);
  SetText(dialog, IDC_SITE_PASSWORD, site.m_Password);
  SetText(dialog, IDC_SITE_WEBSITE_URL, site.m_WebsiteAddress);
  SetText(dialog, IDC_SITE_NOTES, site.m_Notes);
}

std::vector<std::wstring> FieldTexts(HWND dialog) {
  std::vector<std::wstring> texts;
  for (const int field : kFields) texts.push_back(Text(dialog, field));
  return texts;
}

std::vector<std::wstring> FieldTexts(const PasswordRecStruct& site) {
  return {site.m_SiteTitle, site.m_UserName, site.m_Password, site.m_WebsiteAddress, site.m_Notes};
}

class SiteDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitDialogTemplates();
    FontManager::GetInstance().CreateFonts(m_owner.Get());
    PutSites({MakeSite(L"Bank", L"bank-pw"), MakeSite(L"Mail", L"mail-pw"),
              MakeSite(L"Shop", L"shop-pw")},
             1);
  }

  TestOwner m_owner;
  RecordingEditor m_editor;
};

// Both dialogs: their caption, centred over the owner, bold labels and
// normal fields and buttons (one face in the whole dialog); Add starts
// empty, Edit with the current site.
TEST_F(SiteDialogTest, OpenWithTheFontsOfTheTableOverTheirOwner) {
  struct Case {
    const wchar_t* caption;
    std::vector<std::wstring> fields;
  };
  const Case add{L"Add Site", {L"", L"", L"", L"", L""}};
  const Case edit{L"Edit Site", FieldTexts(MakeSite(L"Mail", L"mail-pw"))};
  for (const Case* c : {&add, &edit}) {
    SCOPED_TRACE(std::string(c->caption, c->caption + wcslen(c->caption)));
    DialogDriver driver([&](HWND dialog) {
      wchar_t caption[32] = {};
      GetWindowTextW(dialog, caption, 32);
      EXPECT_STREQ(caption, c->caption);
      EXPECT_TRUE(IsCentredOver(dialog, m_owner.Get()));
      EXPECT_EQ(FieldTexts(dialog), c->fields);
      const FontManager& fonts = FontManager::GetInstance();
      ASSERT_NE(fonts.GetFontHandle(0), fonts.GetFontHandle(1));
      for (const int label : kLabels) EXPECT_EQ(FontOf(dialog, label), fonts.GetFontHandle(1));
      for (const int field : kFields) EXPECT_EQ(FontOf(dialog, field), fonts.GetFontHandle(0));
      for (const int button : {IDOK, IDCANCEL, IDC_GENERATE})
        EXPECT_EQ(FontOf(dialog, button), fonts.GetFontHandle(0));
      // A bold label fits its 50 units.
      for (const int label : kLabels)
        EXPECT_LE(TextWidth(dialog, label), VisibleWidth(dialog, label)) << Text(dialog, label);
    });
    if (c == &add) {
      NewPasswordToDB dialog(m_owner.Get());
    } else {
      EditPasswordToDB dialog(m_owner.Get());
    }
    EXPECT_TRUE(driver.ActionRan());
    EXPECT_TRUE(driver.EndedByDriver());
  }
  EXPECT_EQ(m_editor.Refreshes(), 0);
}

// Only an empty title or password is missing, and the title is asked for
// first; a title of blanks is a title, and the other fields may stay empty.
TEST_F(SiteDialogTest, AsksForAMissingTitleFirstThenForAMissingPassword) {
  struct Case {
    const char* what;
    std::wstring title;
    std::wstring password;
    std::vector<std::wstring> boxes;
  };
  const Case cases[] = {
      {"both empty", L"", L"", {kNeedTitle}},
      {"no title", L"", L"pw", {kNeedTitle}},
      {"no password", L"Forum", L"", {kNeedPassword}},
      {"a blank password is one", L"Forum", L" ", {}},
      {"a title of blanks is one", L"   ", L"pw", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PutSites({MakeSite(L"Bank", L"bank-pw")}, 0);
    const int refreshesBefore = m_editor.Refreshes();
    MessageBoxAnswerer answerer;
    INT_PTR closed = 0;
    DialogDriver driver([&](HWND dialog) {
      SetText(dialog, IDC_SITE_TITLE, c.title);
      SetText(dialog, IDC_SITE_PASSWORD, c.password);
      Click(dialog, IDOK);
      // A refused OK keeps the dialog open with everything as typed.
      if (!c.boxes.empty()) {
        EXPECT_TRUE(IsOpen(dialog));
        EXPECT_EQ(Text(dialog, IDC_SITE_TITLE), c.title);
        EXPECT_EQ(Text(dialog, IDC_SITE_PASSWORD), c.password);
      }
    });
    {
      NewPasswordToDB dialog(m_owner.Get());
      closed = dialog.GetResult();
    }
    EXPECT_EQ(answerer.Texts(), c.boxes);
    for (const MessageBoxAnswerer::Box& box : answerer.Boxes()) {
      EXPECT_EQ(box.caption, L"Error");
      EXPECT_EQ(box.owner, driver.Dialog());
      EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    }
    if (c.boxes.empty()) {
      EXPECT_EQ(closed, IDOK);
      const std::vector<std::wstring> titles = TitlesInOrder();
      EXPECT_EQ(titles.size(), 2u);
      EXPECT_NE(std::find(titles.begin(), titles.end(), c.title), titles.end());
      EXPECT_EQ(m_editor.Refreshes(), refreshesBefore + 1);
    } else {
      EXPECT_TRUE(driver.EndedByDriver());
      EXPECT_EQ(TitlesInOrder(), std::vector<std::wstring>{L"Bank"});
      EXPECT_EQ(m_editor.Refreshes(), refreshesBefore);
    }
  }
}

// OK hands the five texts over exactly as typed and makes the new site the
// current one; Cancel changes nothing.
TEST_F(SiteDialogTest, AddKeepsTheFiveTextsAsTypedAndCancelAddsNothing) {
  PasswordRecStruct typed;
  typed.m_SiteTitle = L" Forum ";
  typed.m_UserName = L"me@example.org";
  typed.m_Password = L"p%s\"w\\d 100%";
  typed.m_WebsiteAddress = L"https://forum.example/?a=1&b=2";
  typed.m_Notes = L"first line\r\nsecond line\r\n";
  for (const int button : {IDCANCEL, IDOK}) {
    SCOPED_TRACE(button);
    DialogDriver driver([&](HWND dialog) {
      FillFields(dialog, typed);
      Click(dialog, button);
    });
    NewPasswordToDB dialog(m_owner.Get());
    EXPECT_EQ(dialog.GetResult(), button);
    EXPECT_FALSE(driver.EndedByDriver());
  }
  EXPECT_EQ(m_editor.Refreshes(), 1);
  EXPECT_EQ(TitlesInOrder(), (std::vector<std::wstring>{L" Forum ", L"Bank", L"Mail", L"Shop"}));
  const PasswordRecStruct added = DatabasePasswordSet::GetInstance().GetCurrentRecord();
  EXPECT_EQ(FieldTexts(added), FieldTexts(typed));
  EXPECT_FALSE(added.m_DateCreated.empty());
  EXPECT_EQ(added.m_DateModified, added.m_DateCreated);
}

// A title that another site has, in any ASCII case, is refused by the set:
// one box, the dialog stays open with all five fields as typed, nothing is
// added; a new title then goes through from the same dialog.
TEST_F(SiteDialogTest, AddRefusesATakenTitleAndKeepsWhatWasTyped) {
  for (const wchar_t* taken : {L"Mail", L"mAIL", L"MAIL"}) {
    SCOPED_TRACE(std::string(taken, taken + wcslen(taken)));
    PutSites({MakeSite(L"Bank", L"bank-pw"), MakeSite(L"Mail", L"mail-pw")}, 0);
    const int refreshesBefore = m_editor.Refreshes();
    const PasswordRecStruct typed = MakeSite(taken, L"new-pw");
    MessageBoxAnswerer answerer;
    DialogDriver driver([&](HWND dialog) {
      FillFields(dialog, typed);
      Click(dialog, IDOK);
      EXPECT_TRUE(IsOpen(dialog));
      EXPECT_EQ(FieldTexts(dialog), FieldTexts(typed));
      EXPECT_EQ(TitlesInOrder(), (std::vector<std::wstring>{L"Bank", L"Mail"}));
      EXPECT_EQ(m_editor.Refreshes(), refreshesBefore);
      SetText(dialog, IDC_SITE_TITLE, L"Mail 2");
      Click(dialog, IDOK);
    });
    NewPasswordToDB dialog(m_owner.Get());
    EXPECT_EQ(dialog.GetResult(), IDOK);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].text, kTitleTaken);
    EXPECT_EQ(answerer.Boxes()[0].caption, L"Keyfolio");
    EXPECT_EQ(answerer.Boxes()[0].owner, driver.Dialog());
    EXPECT_EQ(TitlesInOrder(), (std::vector<std::wstring>{L"Bank", L"Mail", L"Mail 2"}));
    EXPECT_EQ(SitesInOrder()[1].m_Password, L"mail-pw");
    EXPECT_EQ(m_editor.Refreshes(), refreshesBefore + 1);
  }
}

// The site may keep its title, in any case, or take a free one; its number
// and creation date come along.
TEST_F(SiteDialogTest, EditAcceptsTheSitesOwnTitleAndKeepsItsNumberAndDate) {
  for (const wchar_t* title : {L"Mail", L"MAIL", L"Post"}) {
    SCOPED_TRACE(std::string(title, title + wcslen(title)));
    PutSites({MakeSite(L"Bank", L"bank-pw"), MakeSite(L"Mail", L"mail-pw"),
              MakeSite(L"Shop", L"shop-pw")},
             1);
    const PasswordRecStruct before = DatabasePasswordSet::GetInstance().GetCurrentRecord();
    const int refreshesBefore = m_editor.Refreshes();
    PasswordRecStruct typed = MakeSite(title, L"changed-pw");
    typed.m_Notes = L"";
    MessageBoxAnswerer answerer;
    DialogDriver driver([&](HWND dialog) {
      FillFields(dialog, typed);
      Click(dialog, IDOK);
    });
    EditPasswordToDB dialog(m_owner.Get());
    EXPECT_EQ(dialog.GetResult(), IDOK);
    EXPECT_TRUE(answerer.Boxes().empty());
    EXPECT_EQ(m_editor.Refreshes(), refreshesBefore + 1);
    ASSERT_EQ(DatabasePasswordSet::GetInstance().Count(), 3u);
    const PasswordRecStruct after = DatabasePasswordSet::GetInstance().GetCurrentRecord();
    EXPECT_EQ(FieldTexts(after), FieldTexts(typed));
    EXPECT_EQ(after.m_PrimaryKeyRecord, before.m_PrimaryKeyRecord);
    EXPECT_EQ(after.m_DateCreated, before.m_DateCreated);
  }
}

// A site imported without a password (a note, a login whose other program
// kept none) can be edited and keep none; a site that has a password needs
// one still, as a new site does.
TEST_F(SiteDialogTest, EditLetsASiteWithoutAPasswordKeepNone) {
  struct Case {
    const char* what;
    std::wstring stored;
    std::vector<std::wstring> boxes;
  };
  const Case cases[] = {
      {"a site without a password", L"", {}},
      {"a site with a password", L"mail-pw", {kNeedPassword}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PutSites({MakeSite(L"Bank", L"bank-pw"), MakeSite(L"Mail", c.stored)}, 1);
    MessageBoxAnswerer answerer;
    DialogDriver driver([&](HWND dialog) {
      EXPECT_EQ(Text(dialog, IDC_SITE_PASSWORD), c.stored);
      SetText(dialog, IDC_SITE_PASSWORD, L"");
      SetText(dialog, IDC_SITE_NOTES, L"door code 1234");
      Click(dialog, IDOK);
      if (!c.boxes.empty()) Click(dialog, IDCANCEL);
    });
    EditPasswordToDB dialog(m_owner.Get());
    EXPECT_EQ(answerer.Texts(), c.boxes);
    EXPECT_EQ(dialog.GetResult(), c.boxes.empty() ? IDOK : IDCANCEL);
    const PasswordRecStruct after = DatabasePasswordSet::GetInstance().GetCurrentRecord();
    EXPECT_EQ(after.m_Password, c.stored);
    EXPECT_EQ(after.m_Notes, c.boxes.empty() ? L"door code 1234" : MakeSite(L"Mail", L"").m_Notes);
  }
}

// Another site's title is refused; the set keeps the old site whole and the
// dialog what was typed. Cancel then leaves the set as it was.
TEST_F(SiteDialogTest, EditRefusesAnotherSitesTitleAndKeepsTheOldSite) {
  const std::vector<PasswordRecStruct> before = SitesInOrder();
  const PasswordRecStruct typed = MakeSite(L"sHOP", L"changed-pw");
  MessageBoxAnswerer answerer;
  DialogDriver driver([&](HWND dialog) {
    FillFields(dialog, typed);
    Click(dialog, IDOK);
    EXPECT_TRUE(IsOpen(dialog));
    EXPECT_EQ(FieldTexts(dialog), FieldTexts(typed));
    Click(dialog, IDCANCEL);
  });
  EditPasswordToDB dialog(m_owner.Get());
  EXPECT_EQ(dialog.GetResult(), IDCANCEL);
  EXPECT_EQ(answerer.Texts(), std::vector<std::wstring>{kTitleTaken});
  EXPECT_EQ(m_editor.Refreshes(), 0);
  const std::vector<PasswordRecStruct> after = SitesInOrder();
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); ++i) {
    EXPECT_EQ(FieldTexts(after[i]), FieldTexts(before[i]));
    EXPECT_EQ(after[i].m_PrimaryKeyRecord, before[i].m_PrimaryKeyRecord);
  }
  EXPECT_EQ(DatabasePasswordSet::GetInstance().GetCurrentRecord().m_SiteTitle, L"Mail");
}

// The generator opens over the site dialog. Cancelled, or refused for a bad
// length and then cancelled, it leaves the Password field alone; a password
// it makes replaces the field's text whole.
TEST_F(SiteDialogTest, GenerateReplacesThePasswordOnlyWithAPasswordItMade) {
  const std::wstring before = L"typed before, longer than what replaces it";
  std::wstring generated;
  HWND generatorOwner = nullptr;
  MessageBoxAnswerer answerer;
  DialogDriver driver([&](HWND dialog) {
    SetText(dialog, IDC_SITE_PASSWORD, before);
    {
      DialogDriver cancel([&](HWND generator) {
        generatorOwner = GetWindow(generator, GW_OWNER);
        Click(generator, IDCANCEL);
      });
      Click(dialog, IDC_GENERATE);
      EXPECT_TRUE(cancel.ActionRan());
    }
    EXPECT_EQ(Text(dialog, IDC_SITE_PASSWORD), before);
    {
      DialogDriver refused([&](HWND generator) {
        SetText(generator, IDC_PASSWORD_LENGTH, L"3");
        Click(generator, IDC_GENERATE_PASSWORD);
        Click(generator, IDCANCEL);
      });
      Click(dialog, IDC_GENERATE);
      EXPECT_FALSE(refused.EndedByDriver());
    }
    EXPECT_EQ(Text(dialog, IDC_SITE_PASSWORD), before);
    {
      DialogDriver digits([&](HWND generator) {
        SetText(generator, IDC_PASSWORD_LENGTH, L"12");
        for (const int box : {IDC_LOWERCASE, IDC_UPPERCASE, IDC_PUNCTUATION})
          SetChecked(generator, box, false);
        Click(generator, IDC_GENERATE_PASSWORD);
      });
      Click(dialog, IDC_GENERATE);
      EXPECT_FALSE(digits.EndedByDriver());
    }
    generated = Text(dialog, IDC_SITE_PASSWORD);
  });
  NewPasswordToDB dialog(m_owner.Get());
  EXPECT_EQ(generatorOwner, driver.Dialog());
  EXPECT_EQ(answerer.Texts(),
            std::vector<std::wstring>{L"A password must be between 4 to 64 characters long."});
  EXPECT_EQ(generated.size(), 12u);
  EXPECT_EQ(generated.find_first_not_of(L"0123456789"), std::wstring::npos) << generated.c_str();
  EXPECT_EQ(m_editor.Refreshes(), 0);
}

// Enter in Notes starts a new line and leaves the dialog open; in any other
// field it is OK, the default button.
TEST_F(SiteDialogTest, EnterInNotesStartsALineAndElsewhereActsAsOK) {
  for (const int field : {IDC_SITE_TITLE, IDC_SITE_USER_NAME, IDC_SITE_PASSWORD,
                          IDC_SITE_WEBSITE_URL}) {
    SCOPED_TRACE(field);
    PutSites({}, -1);
    DialogDriver driver([&](HWND dialog) {
      SetText(dialog, IDC_SITE_TITLE, L"Forum");
      SetText(dialog, IDC_SITE_PASSWORD, L"pw");
      SetText(dialog, IDC_SITE_NOTES, L"line");
      SendDlgItemMessageW(dialog, IDC_SITE_NOTES, EM_SETSEL, 4, 4);
      PostKey(dialog, IDC_SITE_NOTES, VK_RETURN);
      PumpDialog(dialog);
      EXPECT_EQ(Text(dialog, IDC_SITE_NOTES), L"line\r\n");
      EXPECT_TRUE(IsOpen(dialog));
      PostKey(dialog, field, VK_RETURN);
    });
    NewPasswordToDB dialog(m_owner.Get());
    EXPECT_EQ(dialog.GetResult(), IDOK);
    ASSERT_EQ(DatabasePasswordSet::GetInstance().Count(), 1u);
    EXPECT_EQ(DatabasePasswordSet::GetInstance().GetCurrentRecord().m_Notes, L"line\r\n");
  }
}

}  // namespace
