#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "security/RandomSource.h"
#include "crypto/SystemRandomBytes.h"
#include "tests/security/ScriptedBytes.h"

namespace {

// Pearson's statistic of `counts` against equal shares of their total.
double ChiSquare(const std::vector<int>& counts) {
  double total = 0;
  for (const int count : counts) total += count;
  const double expected = total / counts.size();
  double statistic = 0;
  for (const int count : counts) statistic += (count - expected) * (count - expected) / expected;
  return statistic;
}

}  // namespace

TEST(RandomSource, MapsFourBytesToTheRangeAndRejectsTheUnevenTail) {
  const struct {
    int32_t low, high;
    std::vector<uint32_t> script;
    int32_t expected;
  } cases[] = {
      {0, 9, {7}, 7},
      {0, 9, {17}, 7},
      // 2^32 = 429496729 * 10 + 6: the six values from 4294967290 up would
      // favour 0..5, so they are drawn again.
      {0, 9, {4294967289u}, 9},
      {0, 9, {4294967290u, 3}, 3},
      {0, 9, {0xFFFFFFFFu, 0xFFFFFFFAu, 5}, 5},
      {-5, 5, {0}, -5},
      {-5, 5, {10}, 5},
      {'!', '/', {14}, '/'},
      {'!', '/', {15}, '!'},
      {42, 42, {123456}, 42},
      // 2^31 + 1 values: everything above 2^31 is drawn again.
      {-1, INT32_MAX, {0x80000001u, 0x80000000u}, INT32_MAX},
      {-1, INT32_MAX, {0xFFFFFFFFu, 0}, -1},
      // All 2^32 values: nothing is rejected.
      {INT32_MIN, INT32_MAX, {0}, INT32_MIN},
      {INT32_MIN, INT32_MAX, {0xFFFFFFFFu}, INT32_MAX},
  };
  for (const auto& c : cases) {
    ScriptedBytes bytes(c.script);
    RandomSource source(bytes);
    EXPECT_EQ(source.Random(c.low, c.high), c.expected) << c.low << ".." << c.high;
    EXPECT_EQ(bytes.Remaining(), 0u) << c.low << ".." << c.high;
  }
}

TEST(RandomSource, RefusesAnEmptyRange) {
  ScriptedBytes bytes({1, 2, 3});
  RandomSource source(bytes);
  EXPECT_THROW(source.Random(10, 9), std::invalid_argument);
  EXPECT_THROW(source.Random(INT32_MAX, INT32_MIN), std::invalid_argument);
  EXPECT_EQ(bytes.Remaining(), 12u);
}

TEST(RandomSource, AFailingSourceThrowsAndGivesNoNumber) {
  ScriptedBytes empty({});
  RandomSource source(empty);
  EXPECT_THROW(source.Random(0, 9), RandomSourceFailure);
  std::wstring text = L"abc";
  EXPECT_THROW(source.Shuffle(text), RandomSourceFailure);
  EXPECT_FALSE(RandomSourceFailure().GetErrorText().empty());

  // Failing after a rejected draw still fails: the tail value is not used.
  ScriptedBytes rejectedThenNothing({0xFFFFFFFFu});
  RandomSource afterRejection(rejectedThenNothing);
  EXPECT_THROW(afterRejection.Random(0, 9), RandomSourceFailure);
}

TEST(RandomSource, ShuffleIsFisherYatesFromTheEnd) {
  const struct {
    const wchar_t* text;
    std::vector<uint32_t> script;
    const wchar_t* expected;
  } cases[] = {
      // i = 3 swaps with 1 ("adcb"), i = 2 with itself, i = 1 with 0.
      {L"abcd", {1, 2, 0}, L"dacb"},
      {L"abcd", {3, 2, 1}, L"abcd"},
      // The range shrinks with i: 3 is 0 in 0..2, and 2 is 0 in 0..1.
      {L"abcd", {0, 3, 2}, L"bcda"},
      {L"ab", {0}, L"ba"},
      {L"a", {}, L"a"},
      {L"", {}, L""},
  };
  for (const auto& c : cases) {
    ScriptedBytes bytes(c.script);
    RandomSource source(bytes);
    std::wstring text = c.text;
    source.Shuffle(text);
    EXPECT_EQ(text, c.expected) << "shuffling " << testing::PrintToString(std::wstring(c.text));
    EXPECT_EQ(bytes.Remaining(), 0u);
  }
}

// The real source, unseeded: these bounds must never be crossed by chance.
// Each is the chi-square value that a flat source exceeds with probability
// below 1e-10 (70 with 9 degrees of freedom: 1.5e-11; 80 with 14: 2.8e-11;
// 65 with 5: 1.1e-12), while every bin expects thousands, so the
// approximation holds.
TEST(RandomSource, RandomIsFlatOverSmallRanges) {
  const struct {
    int32_t low, high;
    int draws;
    double bound;
  } cases[] = {
      {0, 9, 100000, 70.0},
      {'!', '/', 150000, 80.0},
  };
  RandomSource& source = RandomSource::GetInstance();
  for (const auto& c : cases) {
    std::vector<int> counts(c.high - c.low + 1, 0);
    for (int n = 0; n < c.draws; ++n) {
      const int32_t value = source.Random(c.low, c.high);
      ASSERT_GE(value, c.low);
      ASSERT_LE(value, c.high);
      ++counts[value - c.low];
    }
    EXPECT_LT(ChiSquare(counts), c.bound) << c.low << ".." << c.high;
  }
}

// A shuffle that swaps with any position, not only the ones not yet fixed,
// makes 27 equally likely paths onto 6 orders and favours three of them; at
// this count that gives a statistic near 740.
TEST(RandomSource, ShuffleMakesEveryOrderEquallyLikely) {
  RandomSource& source = RandomSource::GetInstance();
  std::map<std::wstring, int> seen;
  for (int n = 0; n < 60000; ++n) {
    std::wstring text = L"abc";
    source.Shuffle(text);
    ++seen[text];
  }
  ASSERT_EQ(seen.size(), 6u);
  std::vector<int> counts;
  for (const auto& order : seen) counts.push_back(order.second);
  EXPECT_LT(ChiSquare(counts), 65.0);
}

TEST(RandomSource, OneSharedInstance) {
  EXPECT_EQ(&RandomSource::GetInstance(), &RandomSource::GetInstance());
}

// Both entries to the system's generator work here; two fills of 32 bytes
// agree only with probability 2^-256.
TEST(SystemRandomBytes, EachEntryFillsWithFreshBytes) {
  const struct {
    const char* name;
    bool (*fill)(BYTE*, ULONG);
  } entries[] = {
      {"BCryptGenRandom", SystemRandomBytes::FromBCrypt},
      {"RtlGenRandom", SystemRandomBytes::FromRtlGenRandom},
      {"Fill", [](BYTE* buffer, ULONG size) { return SystemRandomBytes().Fill(buffer, size); }},
  };
  for (const auto& entry : entries) {
    std::vector<BYTE> first(32, 0), second(32, 0);
    ASSERT_TRUE(entry.fill(first.data(), 32)) << entry.name;
    ASSERT_TRUE(entry.fill(second.data(), 32)) << entry.name;
    EXPECT_NE(first, second) << entry.name;
    EXPECT_NE(std::count(first.begin(), first.end(), 0), 32) << entry.name;
  }
}
