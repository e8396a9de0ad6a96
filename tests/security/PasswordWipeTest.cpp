#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "security/PasswordGenerator.h"
#include "security/RandomSource.h"
#include "tests/common/FreedMemoryWatch.h"
#include "tests/security/ScriptedBytes.h"

// Length 64, all classes. The split's draws give 33 lower-case letters, 17
// upper-case, 9 digits and 5 punctuation characters, and every later number
// is 0, so before the shuffle the password is runs of 'a', 'A', '0' and '!'.
// Neither that text nor the password may be found in a block the generator
// frees: a string that grew one character at a time would free three
// buffers holding the first 14, 28 and 56 characters.
TEST(PasswordGeneratorMemory, NoFreedBlockHoldsThePassword) {
  const std::vector<int32_t> selections = {1, 1, 1, 1, 64};
  const std::vector<uint32_t> split = {30, 15, 7, 4, 2, 1};
  const std::wstring unshuffled =
      std::wstring(33, L'a') + std::wstring(17, L'A') + std::wstring(9, L'0') + std::wstring(5, L'!');
  // 6 split draws, 64 characters and 63 shuffle steps: 133 numbers.
  const struct {
    const char* name;
    size_t numbers;
    PasswordGenerator::GenerationResult result;
  } cases[] = {
      {"generated", 133, PasswordGenerator::GR_Generated},
      {"failed at the 41st character", 46, PasswordGenerator::GR_RandomFailed},
      {"failed at the last shuffle step", 132, PasswordGenerator::GR_RandomFailed},
  };
  for (const auto& c : cases) {
    std::vector<uint32_t> script = split;
    script.resize(c.numbers, 0);
    ScriptedBytes bytes(script);
    RandomSource source(bytes);
    PasswordGenerator::GenerationResult result;
    FreedMemoryWatch watch;
    watch.Watch(unshuffled);
    {
      PasswordGenerator generator(selections, source);
      result = generator.GetResult();
      watch.Watch(generator.GetPassword());
    }
    watch.Stop();
    EXPECT_EQ(result, c.result) << c.name;
    EXPECT_EQ(watch.Findings(), 0) << c.name;
    // The password's own buffer was among the blocks looked into.
    EXPECT_GE(watch.LargestFreed(), 64 * sizeof(wchar_t)) << c.name;
  }
}
