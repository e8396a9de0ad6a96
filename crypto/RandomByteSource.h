// Where random bytes come from: the system's generator in the program
// (SystemRandomBytes), a scripted or failing source in the tests, so that
// what is made of the bytes (the generator's ranges and shuffle, a vault's
// salt and nonce) and the handling of a failure can be checked exactly.
#pragma once

#include <windows.h>

class RandomByteSource {
 public:
  virtual ~RandomByteSource() = default;
  // Fills all `size` bytes with unpredictable bytes and answers true, or
  // answers false when it cannot; the buffer then holds nothing to rely on.
  virtual bool Fill(BYTE* buffer, ULONG size) = 0;
};
