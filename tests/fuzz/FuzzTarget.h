// What the fuzz program tries, in turn: a kind of input that the program
// meets on a drive (a file to import, a vault to load), made at random from
// a seed, and the checks of what the program makes of it. An input made
// whole, without a mutation, is checked against what it was made to hold; a
// mutated one, or one read back from a file, against what must hold of any
// input: no crash, no hang, memory that follows the input, and an export of
// what was read that imports as what was stored.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tests/storage/SiteTexts.h"

// One input's random source: the run's seed and the input's number give
// the same input again.
class FuzzRandom {
 public:
  FuzzRandom(uint32_t seed, uint32_t input) {
    std::seed_seq sequence{seed, input};
    m_engine.seed(sequence);
  }

  // A number from 0 to count - 1; count must not be 0.
  size_t Below(size_t count) {
    return std::uniform_int_distribution<size_t>(0, count - 1)(m_engine);
  }
  bool OneIn(size_t count) { return Below(count) == 0; }

 private:
  std::mt19937_64 m_engine;
};

struct FuzzInput {
  std::string bytes;
  // Made whole: the checks against what it holds apply.
  bool whole = false;
  // Of a file to import made whole: the password of each row that is a
  // site, in the file's order. Of a vault made whole: its sites.
  std::vector<std::wstring> passwords;
  std::vector<SiteTexts> sites;
  // How it was made, for the person who looks at a failure.
  std::string how;
};

class FuzzTarget {
 public:
  virtual ~FuzzTarget() = default;
  // "import", "vault scrambled": also the start of a failing input's file name.
  virtual std::string Name() const = 0;
  virtual FuzzInput Make(FuzzRandom& random) = 0;
  // What went wrong with the input; empty when every check held.
  virtual std::string Check(const FuzzInput& input) = 0;
};
