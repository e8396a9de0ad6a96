#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "security/GeneratorSelections.h"
#include "security/PasswordGenerator.h"
#include "security/RandomSource.h"
#include "tests/security/ScriptedBytes.h"

namespace {

using Selections = std::vector<int32_t>;

const std::wstring kClassCharacters[kCharacterClassCount] = {
    L"abcdefghijklmnopqrstuvwxyz",
    L"ABCDEFGHIJKLMNOPQRSTUVWXYZ",
    L"0123456789",
    L"!\"#$%&'()*+,-./",
};

Selections Choose(bool lower, bool upper, bool digits, bool punctuation, int32_t length) {
  return {lower, upper, digits, punctuation, length};
}

// The class of a character, or -1 for one of no class.
int ClassOf(wchar_t character) {
  for (size_t i = 0; i < kCharacterClassCount; ++i)
    if (kClassCharacters[i].find(character) != std::wstring::npos) return static_cast<int>(i);
  return -1;
}

std::vector<int> ClassCounts(const std::wstring& password) {
  std::vector<int> counts(kCharacterClassCount, 0);
  for (const wchar_t character : password) {
    const int characterClass = ClassOf(character);
    EXPECT_GE(characterClass, 0) << "character " << static_cast<int>(character);
    if (characterClass >= 0) ++counts[characterClass];
  }
  return counts;
}

// A script for one generation: the split's draws, then a zero for each
// character and each step of the shuffle.
std::vector<uint32_t> GenerationScript(std::vector<uint32_t> splitDraws, int32_t length) {
  splitDraws.insert(splitDraws.end(), 2 * length - 1, 0);
  return splitDraws;
}

}  // namespace

// Each class chosen gets one character first; then every pass offers the
// chosen classes in order up to half of what remains, and a class reached
// when exactly one remains takes it. The script also fixes how many numbers
// the generation may draw: one more or one less fails the test.
TEST(PasswordGenerator, SplitsTheLengthAmongTheClassesInOrder) {
  const struct {
    const char* name;
    Selections selections;
    std::vector<uint32_t> splitDraws;
    std::vector<int> counts;
  } cases[] = {
      {"length 4, all classes: one each, no draw", Choose(1, 1, 1, 1, 4), {}, {1, 1, 1, 1}},
      {"length 5, all: the first class takes the last one", Choose(1, 1, 1, 1, 5), {}, {2, 1, 1, 1}},
      // 2 remain: lower Random(0, 1) = 0, upper 1, then digits reach the last.
      {"length 6, all: a later class takes the last one", Choose(1, 1, 1, 1, 6), {0, 1}, {1, 2, 2, 1}},
      // 6 remain: lower Random(0, 3) = 3 (drawn as 7: the share is at most
      // half), upper Random(0, 1) = 0, digits 1, punctuation 1; the second
      // pass gives the last one to lower.
      {"length 10, all: a second pass", Choose(1, 1, 1, 1, 10), {7, 0, 1, 1}, {5, 1, 2, 2}},
      // 5 remain: upper Random(0, 2) = 2, punctuation Random(0, 1) = 1;
      // then upper 0, punctuation 1; upper takes the last.
      {"upper and punctuation, length 7", Choose(0, 1, 0, 1, 7), {2, 1, 0, 1}, {0, 4, 0, 3}},
      // 63 remain: halves 31, 16, 8, 4, 2, 1, and the last one.
      {"digits alone, length 64", Choose(0, 0, 1, 0, 64), {31, 16, 8, 4, 2, 1}, {0, 0, 64, 0}},
      // 3 remain: shares 0, 1, 1 in passes of their own, then the last one.
      {"lower alone, length 4", Choose(1, 0, 0, 0, 4), {0, 1, 1}, {4, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    const int32_t length = c.selections[GP_PASSWORDLENGTH];
    ScriptedBytes bytes(GenerationScript(c.splitDraws, length));
    RandomSource source(bytes);
    PasswordGenerator generator(c.selections, source);
    ASSERT_EQ(generator.GetResult(), PasswordGenerator::GR_Generated) << c.name;
    EXPECT_EQ(generator.GetPassword().size(), static_cast<size_t>(length)) << c.name;
    EXPECT_EQ(ClassCounts(generator.GetPassword()), c.counts) << c.name;
    EXPECT_EQ(bytes.Remaining(), 0u) << c.name;
  }
}

// The blocks are joined lower, upper, digits, punctuation ("cZ0/"), then
// shuffled: position 3 with 0 ("/Z0c"), 2 with itself, 1 with 0.
TEST(PasswordGenerator, JoinsTheBlocksInClassOrderThenShuffles) {
  ScriptedBytes bytes({2, 25, 0, 14, 0, 2, 0});
  RandomSource source(bytes);
  PasswordGenerator generator(Choose(1, 1, 1, 1, 4), source);
  ASSERT_EQ(generator.GetResult(), PasswordGenerator::GR_Generated);
  EXPECT_EQ(generator.GetPassword(), L"Z/0c");
}

// None of these draws a number: the script is empty, so a draw would end in
// GR_RandomFailed.
TEST(PasswordGenerator, MakesNothingFromSelectionsItCannotHonour) {
  const struct {
    const char* name;
    Selections selections;
    PasswordGenerator::GenerationResult result;
  } cases[] = {
      {"lower not filled", {-1, 1, 1, 1, 8}, PasswordGenerator::GR_NotFilled},
      {"punctuation not filled", {1, 1, 1, -1, 8}, PasswordGenerator::GR_NotFilled},
      {"length not filled", {1, 1, 1, 1, -1}, PasswordGenerator::GR_NotFilled},
      {"all not filled", {-1, -1, -1, -1, -1}, PasswordGenerator::GR_NotFilled},
      {"no class chosen", {0, 0, 0, 0, 8}, PasswordGenerator::GR_Unusable},
      {"length 3", {1, 1, 1, 1, 3}, PasswordGenerator::GR_Unusable},
      {"length 2 with one class", {1, 0, 0, 0, 2}, PasswordGenerator::GR_Unusable},
      {"length 65", {1, 1, 1, 1, 65}, PasswordGenerator::GR_Unusable},
      {"length 0", {1, 1, 1, 1, 0}, PasswordGenerator::GR_Unusable},
      {"negative length", {1, 1, 1, 1, -8}, PasswordGenerator::GR_Unusable},
      {"a class entry of 2", {1, 2, 1, 1, 8}, PasswordGenerator::GR_Unusable},
      {"four entries", {1, 1, 1, 1}, PasswordGenerator::GR_Unusable},
      {"six entries", {1, 1, 1, 1, 8, 0}, PasswordGenerator::GR_Unusable},
      {"no entries", {}, PasswordGenerator::GR_Unusable},
  };
  for (const auto& c : cases) {
    ScriptedBytes empty({});
    RandomSource source(empty);
    PasswordGenerator generator(c.selections, source);
    EXPECT_EQ(generator.GetResult(), c.result) << c.name;
    EXPECT_TRUE(generator.GetPassword().empty()) << c.name;
  }
}

// A source that fails at any point, even in the last step of the shuffle
// when every character is drawn, leaves no password: neither a partial nor an
// unshuffled one, and never one of weaker numbers.
TEST(PasswordGenerator, AFailingSourceGivesNoPassword) {
  // Length 10, all classes: 4 split draws, 10 characters, 9 shuffle steps.
  const std::vector<uint32_t> whole = GenerationScript({3, 0, 1, 1}, 10);
  ASSERT_EQ(whole.size(), 23u);
  for (const size_t available : {0u, 1u, 4u, 9u, 14u, 22u}) {
    ScriptedBytes bytes(std::vector<uint32_t>(whole.begin(), whole.begin() + available));
    RandomSource source(bytes);
    PasswordGenerator generator(Choose(1, 1, 1, 1, 10), source);
    EXPECT_EQ(generator.GetResult(), PasswordGenerator::GR_RandomFailed) << available << " numbers";
    EXPECT_TRUE(generator.GetPassword().empty()) << available << " numbers";
  }
}

// The real source. Length 4 with all classes gives one of each; over 200
// runs every position must see every class: a given pair is missed with
// probability (3/4)^200 < 1e-24, so this never fails by chance.
TEST(PasswordGenerator, LengthFourGivesOneOfEachClassInEveryPosition) {
  bool seen[4][kCharacterClassCount] = {};
  for (int run = 0; run < 200; ++run) {
    PasswordGenerator generator(Choose(1, 1, 1, 1, 4));
    ASSERT_EQ(generator.GetResult(), PasswordGenerator::GR_Generated);
    const std::wstring& password = generator.GetPassword();
    ASSERT_EQ(password.size(), 4u);
    EXPECT_EQ(ClassCounts(password), std::vector<int>({1, 1, 1, 1}));
    for (size_t position = 0; position < 4; ++position) {
      const int characterClass = ClassOf(password[position]);
      if (characterClass >= 0) seen[position][characterClass] = true;
    }
  }
  for (size_t position = 0; position < 4; ++position)
    for (size_t characterClass = 0; characterClass < kCharacterClassCount; ++characterClass)
      EXPECT_TRUE(seen[position][characterClass]) << "class " << characterClass << " never at " << position;
}

TEST(PasswordGenerator, SixtyFourDigits) {
  PasswordGenerator generator(Choose(0, 0, 1, 0, 64));
  ASSERT_EQ(generator.GetResult(), PasswordGenerator::GR_Generated);
  EXPECT_EQ(generator.GetPassword().size(), 64u);
  EXPECT_EQ(generator.GetPassword().find_first_not_of(kClassCharacters[GP_NUMBERS]), std::wstring::npos);
}

// Every combination of classes at several lengths: exactly the length, only
// characters of the chosen classes, at least one of each. Over all of them
// each class yields its whole range and nothing else; punctuation in
// particular is exactly '!' to '/', never '@' or '^'. A character of a class
// is missed in all of these draws with probability far below 1e-20.
TEST(PasswordGenerator, OnlyAndAllCharactersOfTheChosenClasses) {
  std::set<wchar_t> produced[kCharacterClassCount];
  for (int mask = 1; mask < 16; ++mask) {
    for (const int32_t length : {4, 5, 13, 64}) {
      for (int run = 0; run < 40; ++run) {
        const Selections selections =
            Choose(mask & 1, (mask >> 1) & 1, (mask >> 2) & 1, (mask >> 3) & 1, length);
        PasswordGenerator generator(selections);
        ASSERT_EQ(generator.GetResult(), PasswordGenerator::GR_Generated);
        const std::wstring& password = generator.GetPassword();
        ASSERT_EQ(password.size(), static_cast<size_t>(length));
        const std::vector<int> counts = ClassCounts(password);
        for (size_t i = 0; i < kCharacterClassCount; ++i)
          EXPECT_EQ(counts[i] > 0, selections[i] == 1) << "mask " << mask << " class " << i;
        for (const wchar_t character : password)
          if (ClassOf(character) >= 0) produced[ClassOf(character)].insert(character);
      }
    }
  }
  for (size_t i = 0; i < kCharacterClassCount; ++i)
    EXPECT_EQ(produced[i], std::set<wchar_t>(kClassCharacters[i].begin(), kClassCharacters[i].end()))
        << "class " << i;
}
