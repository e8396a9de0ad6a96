// The Generate Password dialog, driven from inside its modal loop: what it
// opens with, what it refuses, and the password it hands over.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogbase/DialogTemplates.h"
#include "security/GeneratePassword.h"
#include "security/RandomSource.h"
#include "tests/common/DialogDriver.h"
#include "tests/common/MessageBoxAnswerer.h"
#include "tests/dialogbase/DialogChecks.h"
#include "tests/dialogbase/DialogTestWindows.h"
#include "tests/security/ScriptedBytes.h"
#include "ui/FontManager.h"

namespace {

const int kClassBoxes[] = {IDC_LOWERCASE, IDC_UPPERCASE, IDC_NUMBERS, IDC_PUNCTUATION};
const wchar_t* const kClassCharacters[] = {
    L"abcdefghijklmnopqrstuvwxyz",
    L"ABCDEFGHIJKLMNOPQRSTUVWXYZ",
    L"0123456789",
    L"!\"#$%&'()*+,-./",
};

// The check boxes' texts as the table gives them and the user must see them.
const wchar_t* const kBoxTexts[] = {L"(e.g. abcdef)", L"(e.g. ABCDEF)", L"(e.g. 0123456789)",
                                    L"(e.g. !@#$%^&*.,)"};

const wchar_t kLengthMessage[] = L"A password must be between 4 to 64 characters long.";
const wchar_t kNoClassMessage[] = L"Select at least one character type.";

// Length and classes as the user leaves them before pressing a button.
void Choose(HWND dialog, const std::wstring& length, const std::vector<bool>& classes) {
  SetText(dialog, IDC_PASSWORD_LENGTH, length);
  for (size_t i = 0; i < classes.size(); ++i) SetChecked(dialog, kClassBoxes[i], classes[i]);
}

class GeneratePasswordDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitDialogTemplates();
    FontManager::GetInstance().CreateFonts(m_owner.Get());
  }

  TestOwner m_owner;
};

// Every opening, the first and one after the user chose otherwise and
// generated: length "8" in a field of two digits, all four classes. The
// labels take the bold font and fit the table in it (with Arial's metrics,
// as on Windows: the test prefix has Liberation Sans); the rest takes the
// normal font of the same face, and every text shows as the table has it.
TEST_F(GeneratePasswordDialogTest, EveryOpeningStartsFromLengthEightAndEveryClass) {
  for (int opening = 0; opening < 2; ++opening) {
    SCOPED_TRACE(opening);
    DialogDriver driver([&](HWND dialog) {
      wchar_t caption[32] = {};
      GetWindowTextW(dialog, caption, 32);
      EXPECT_STREQ(caption, L"Generate Password");
      EXPECT_TRUE(IsCentredOver(dialog, m_owner.Get()));
      EXPECT_EQ(Text(dialog, IDC_PASSWORD_LENGTH), L"8");
      EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_PASSWORD_LENGTH, EM_GETLIMITTEXT, 0, 0), 2);
      for (const int box : kClassBoxes) EXPECT_TRUE(IsChecked(dialog, box)) << box;
      const HFONT bold = FontManager::GetInstance().GetFontHandle(1);
      ASSERT_NE(bold, nullptr);
      for (int label = 2500; label <= 2505; ++label) {
        EXPECT_EQ(FontOf(dialog, label), bold) << label;
        EXPECT_LE(TextWidth(dialog, label), VisibleWidth(dialog, label)) << label;
      }
      const HFONT normal = FontManager::GetInstance().GetFontHandle(0);
      for (const int id : {IDC_PASSWORD_LENGTH, IDC_GENERATE_PASSWORD, IDCANCEL})
        EXPECT_EQ(FontOf(dialog, id), normal) << id;
      for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(FontOf(dialog, kClassBoxes[i]), normal) << i;
        EXPECT_EQ(ShownText(Text(dialog, kClassBoxes[i])), kBoxTexts[i]);
      }
      Choose(dialog, L"5", {false, true, false, true});
      Click(dialog, IDC_GENERATE_PASSWORD);
    });
    GeneratePassword generator(m_owner.Get());
    EXPECT_EQ(generator.GetResult(), IDC_GENERATE_PASSWORD);
    EXPECT_EQ(generator.GetPassword().size(), 5u);
  }
}

// The field takes digits only, two at most, and typing replaces the "8" it
// opens with.
TEST_F(GeneratePasswordDialogTest, TheLengthFieldTakesTwoDigits) {
  std::vector<std::wstring> seen;
  DialogDriver driver([&](HWND dialog) {
    Type(dialog, IDC_PASSWORD_LENGTH, L"12");
    seen.push_back(Text(dialog, IDC_PASSWORD_LENGTH));
    Type(dialog, IDC_PASSWORD_LENGTH, L"3");
    seen.push_back(Text(dialog, IDC_PASSWORD_LENGTH));
    SetText(dialog, IDC_PASSWORD_LENGTH, L"");
    Type(dialog, IDC_PASSWORD_LENGTH, L"a-6 x");
    seen.push_back(Text(dialog, IDC_PASSWORD_LENGTH));
    Click(dialog, IDCANCEL);
  });
  GeneratePassword generator(m_owner.Get());
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"12", L"12", L"6"}));
}

// A length outside 4 to 64, empty text included, is refused before the
// classes are looked at; with a good length, no class is refused. Each box
// keeps the dialog open with the choice as it was; Cancel then hands over
// nothing.
TEST_F(GeneratePasswordDialogTest, RefusesALengthOutsideFourToSixtyFourThenNoClass) {
  struct Case {
    const wchar_t* length;
    std::vector<bool> classes;
    const wchar_t* message;
  };
  const std::vector<bool> all = {true, true, true, true};
  const std::vector<bool> none = {false, false, false, false};
  const Case cases[] = {
      {L"3", all, kLengthMessage},  {L"65", all, kLengthMessage}, {L"0", all, kLengthMessage},
      {L"99", all, kLengthMessage}, {L"", all, kLengthMessage},   {L"3", none, kLengthMessage},
      {L"", none, kLengthMessage},  {L"8", none, kNoClassMessage}, {L"64", none, kNoClassMessage},
  };
  MessageBoxAnswerer answerer;
  std::vector<std::wstring> expected;
  DialogDriver driver([&](HWND dialog) {
    for (const Case& c : cases) {
      for (const int button : {IDC_GENERATE_PASSWORD, IDOK}) {
        Choose(dialog, c.length, c.classes);
        Click(dialog, button);
        expected.push_back(c.message);
        EXPECT_TRUE(IsOpen(dialog));
        EXPECT_EQ(Text(dialog, IDC_PASSWORD_LENGTH), c.length);
        for (size_t i = 0; i < c.classes.size(); ++i)
          EXPECT_EQ(IsChecked(dialog, kClassBoxes[i]), c.classes[i]);
      }
    }
    Click(dialog, IDCANCEL);
  });
  GeneratePassword generator(m_owner.Get());
  EXPECT_EQ(generator.GetResult(), IDCANCEL);
  EXPECT_TRUE(generator.GetPassword().empty());
  EXPECT_EQ(answerer.Texts(), expected);
  for (const MessageBoxAnswerer::Box& box : answerer.Boxes()) {
    EXPECT_EQ(box.caption, L"Keyfolio");
    EXPECT_EQ(box.owner, driver.Dialog());
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
  }
}

// "&Generate Password", or OK (Enter), hands over a password of the chosen
// length with at least one character of each chosen class and none of any
// other, the punctuation box's '@' and '^' included. Each case runs often
// enough that a class left out or a stray character cannot hide by chance.
TEST_F(GeneratePasswordDialogTest, HandsOverAPasswordOfTheChosenLengthAndClasses) {
  struct Case {
    const wchar_t* length;
    std::vector<bool> classes;
    int button;
  };
  const Case cases[] = {
      {L"4", {true, true, true, true}, IDC_GENERATE_PASSWORD},
      {L"64", {false, false, true, false}, IDC_GENERATE_PASSWORD},
      {L"04", {false, false, false, true}, IDOK},
      {L"13", {true, false, false, true}, IDOK},
      {L"64", {true, true, true, true}, IDOK},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.length, c.length + wcslen(c.length)));
    for (int run = 0; run < 20; ++run) {
      DialogDriver driver([&](HWND dialog) {
        Choose(dialog, c.length, c.classes);
        Click(dialog, c.button);
      });
      GeneratePassword generator(m_owner.Get());
      ASSERT_EQ(generator.GetResult(), c.button);
      const std::wstring& password = generator.GetPassword();
      ASSERT_EQ(password.size(), static_cast<size_t>(_wtoi(c.length)));
      std::wstring allowed;
      for (size_t i = 0; i < c.classes.size(); ++i) {
        if (!c.classes[i]) continue;
        allowed += kClassCharacters[i];
        EXPECT_NE(password.find_first_of(kClassCharacters[i]), std::wstring::npos) << i;
      }
      ASSERT_EQ(password.find_first_not_of(allowed), std::wstring::npos);
    }
  }
}

// With the random numbers known, the hand-over is exactly the generator's
// password: length 4, blocks "cZ0/", shuffled to "Z/0c".
TEST_F(GeneratePasswordDialogTest, HandsOverExactlyThePasswordTheGeneratorMade) {
  ScriptedBytes bytes({2, 25, 0, 14, 0, 2, 0});
  RandomSource source(bytes);
  DialogDriver driver([&](HWND dialog) {
    Choose(dialog, L"4", {true, true, true, true});
    Click(dialog, IDC_GENERATE_PASSWORD);
  });
  GeneratePassword generator(m_owner.Get(), source);
  EXPECT_EQ(generator.GetResult(), IDC_GENERATE_PASSWORD);
  EXPECT_EQ(generator.GetPassword(), L"Z/0c");
  EXPECT_EQ(bytes.Remaining(), 0u);
}

// A random source that fails, at once or in the middle of a password, makes
// no password: the dialog says so and stays open, and hands over nothing.
TEST_F(GeneratePasswordDialogTest, AFailingRandomSourceMakesNoPassword) {
  for (const size_t available : {0u, 5u}) {
    SCOPED_TRACE(available);
    ScriptedBytes bytes(std::vector<uint32_t>(available, 0));
    RandomSource source(bytes);
    MessageBoxAnswerer answerer;
    DialogDriver driver([&](HWND dialog) {
      Click(dialog, IDC_GENERATE_PASSWORD);
      EXPECT_TRUE(IsOpen(dialog));
      Click(dialog, IDCANCEL);
    });
    GeneratePassword generator(m_owner.Get(), source);
    EXPECT_EQ(generator.GetResult(), IDCANCEL);
    EXPECT_TRUE(generator.GetPassword().empty());
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].text,
              L"Windows could not supply random numbers, so no password was made. Try again, or "
              L"type a password yourself.");
    EXPECT_EQ(answerer.Boxes()[0].caption, L"Keyfolio");
    EXPECT_EQ(answerer.Boxes()[0].icon, LoadIconW(nullptr, IDI_EXCLAMATION));
  }
}

}  // namespace
