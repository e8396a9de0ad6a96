// A byte source for tests: hands out a fixed list of 32-bit values, least
// significant byte first, and fails once they are used up (at once when the
// list is empty). A test thus fixes every number the code under test draws,
// and how many it draws.
#pragma once

#include <cstdint>
#include <vector>

#include "crypto/RandomByteSource.h"

class ScriptedBytes : public RandomByteSource {
 public:
  explicit ScriptedBytes(const std::vector<uint32_t>& values);
  bool Fill(BYTE* buffer, ULONG size) override;

  // Bytes not handed out yet.
  size_t Remaining() const { return m_bytes.size() - m_next; }

 private:
  std::vector<BYTE> m_bytes;
  size_t m_next = 0;
};
