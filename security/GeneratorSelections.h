// The five selections of the Generate Password dialog, as the dialog fills
// them and the generator reads them: a vector of signed 32-bit entries,
// indexed by these names. Entries GP_LOWERCASE to GP_PUNCTUATION are 1 for a
// chosen character class and 0 for one left out; GP_PASSWORDLENGTH holds the
// requested length. The dialog marks every entry kSelectionNotFilled before
// it reads its controls, so a generator never works from half-read input.
#pragma once

#include <cstddef>
#include <cstdint>

enum GeneratorSelection {
  GP_LOWERCASE = 0,
  GP_UPPERCASE = 1,
  GP_NUMBERS = 2,
  GP_PUNCTUATION = 3,
  GP_PASSWORDLENGTH = 4,
};

// The character classes are the entries before the length.
constexpr size_t kCharacterClassCount = GP_PASSWORDLENGTH;
constexpr size_t kSelectionCount = GP_PASSWORDLENGTH + 1;

constexpr int32_t kSelectionNotFilled = -1;

// The lengths the dialog accepts and the generator makes.
constexpr int32_t kMinimumPasswordLength = 4;
constexpr int32_t kMaximumPasswordLength = 64;
