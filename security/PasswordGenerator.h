// Makes one password from the Generate Password dialog's five selections.
// The dialog constructs a generator on its stack, reads the result, copies
// the password and lets the generator go; the generator wipes its copy then.
//
//   PasswordGenerator generator(ms_Selections);
//   if (generator.GetResult() == PasswordGenerator::GR_Generated)
//     handOver = generator.GetPassword();
//
// The length is split among the chosen classes first, each class's
// characters are drawn as a block, the blocks are joined in class order and
// the whole is shuffled. Every number comes from RandomSource; when it fails
// the generator makes no password at all, never a partial or unshuffled one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "security/GeneratorSelections.h"

class RandomSource;

class PasswordGenerator {
 public:
  enum GenerationResult {
    GR_Generated,
    // An entry was kSelectionNotFilled: nothing was asked for.
    GR_NotFilled,
    // Not five entries, a class entry other than 0 or 1, no class chosen, or
    // a length outside kMinimumPasswordLength..kMaximumPasswordLength.
    GR_Unusable,
    // The system's random generator failed.
    GR_RandomFailed,
  };

  // Copies the selections and, when they ask for a password, generates it
  // at once from RandomSource::GetInstance(), or from `source`.
  explicit PasswordGenerator(const std::vector<int32_t>& selections);
  PasswordGenerator(const std::vector<int32_t>& selections, RandomSource& source);
  PasswordGenerator(const PasswordGenerator&) = delete;
  PasswordGenerator& operator=(const PasswordGenerator&) = delete;
  virtual ~PasswordGenerator();

  GenerationResult GetResult() const { return m_Result; }
  // The password; empty unless the result is GR_Generated.
  const std::wstring& GetPassword() const { return m_Password; }

 private:
  GenerationResult ScreenSelections() const;
  void Generate(RandomSource& source);
  void SplitLength(RandomSource& source);
  void AppendBlocks(RandomSource& source);
  bool IsChosen(size_t characterClass) const { return ms_Selections[characterClass] == 1; }

  // The generator's own copy of the last selections it was given.
  static std::vector<int32_t> ms_Selections;

  // Characters per class; the GP_PASSWORDLENGTH entry counts those not yet
  // given to a class.
  std::vector<int32_t> m_CategoryCount;
  std::wstring m_Password;
  GenerationResult m_Result = GR_NotFilled;
};
