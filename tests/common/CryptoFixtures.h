// What the tests of the encrypted vault share: random bytes that are known in
// advance, and a key cost that is within the file's bounds and quick.
#pragma once

#include <windows.h>

#include "crypto/RandomByteSource.h"
#include "crypto/VaultKey.h"

// Hands out the bytes `first`, `first` + 1, ... (wrapping), or nothing at
// all when made not to work.
class CountingBytes : public RandomByteSource {
 public:
  explicit CountingBytes(BYTE first = 0, bool works = true) : m_next(first), m_works(works) {}
  bool Fill(BYTE* buffer, ULONG size) override {
    if (!m_works) return false;
    for (ULONG i = 0; i < size; ++i) buffer[i] = m_next++;
    return true;
  }

 private:
  BYTE m_next;
  bool m_works;
};

// One pass over 8 MiB, every salt byte `saltByte`.
inline KeyDerivation CheapDerivation(unsigned char saltByte) {
  KeyDerivation derivation;
  derivation.passes = 1;
  derivation.memoryKiB = 8192;
  derivation.salt.fill(saltByte);
  return derivation;
}
