// The system's cryptographic generator. BCryptGenRandom with the
// system-preferred generator needs no algorithm handle and is the documented
// way since Windows 7; RtlGenRandom (SystemFunction036 in advapi32) is the
// older entry to the same kernel source and serves when bcrypt refuses.
// Neither keeps state in this program, so there is nothing to seed and
// nothing to guess from the time the machine started. Both are taken from
// the system folder at their first use (SystemLibrary), not imported. It is
// the program's one source of randomness: the password generator's numbers,
// the vault's salt and nonces, and what libsodium itself asks for
// (SodiumLibrary) all come from it.
#pragma once

#include "crypto/RandomByteSource.h"

class SystemRandomBytes : public RandomByteSource {
 public:
  // The program's source, made at first use.
  static SystemRandomBytes& GetInstance();

  // Tries BCryptGenRandom, then RtlGenRandom. On false the buffer is zeroed.
  bool Fill(BYTE* buffer, ULONG size) override;

  // The two system calls alone; each answers whether the system filled the
  // buffer.
  static bool FromBCrypt(BYTE* buffer, ULONG size);
  static bool FromRtlGenRandom(BYTE* buffer, ULONG size);
};
