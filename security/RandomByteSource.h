// Where RandomSource gets its randomness: the system's generator in the
// program, a scripted or failing source in the tests, so that the mapping to
// ranges, the shuffle and the handling of a failure can be checked exactly.
#pragma once

#include <windows.h>

class RandomByteSource {
 public:
  virtual ~RandomByteSource() = default;
  // Fills all `size` bytes with unpredictable bytes and answers true, or
  // answers false when it cannot; the buffer then holds nothing to rely on.
  virtual bool Fill(BYTE* buffer, ULONG size) = 0;
};
