// libsodium, which does all of the program's cryptography, must be started
// before its first use, and it takes the random bytes it needs for itself
// (the canaries of its guarded memory) from the program's own source, the
// system generator behind SystemRandomBytes: its default source would import
// advapi32, which the program loads only from the system folder, and one
// source of randomness is easier to trust than two.
#pragma once

class SodiumLibrary {
 public:
  // Hands libsodium the program's random source and runs sodium_init, the
  // first time; later calls answer what the first found. False when the
  // library could not start: nothing of it may be used then.
  static bool Start();
  // Zeroes the stack below the caller, where the frames of a libsodium call
  // that has returned left what it worked on (a key, blocks derived from
  // it) until the stack is used again. For every call that had a key.
  static void WipeStack();
};
