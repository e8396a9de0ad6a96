// Random numbers for the password generator. Every value comes from a
// RandomByteSource, the system's cryptographic generator unless a test hands
// in its own: nothing is seeded, so no clock or counter narrows the values
// down. A range is served by rejection, never by a bare remainder, so every
// value of it is equally likely, and the shuffle is Fisher-Yates over the
// same numbers, so every order is. A source that fails ends the request with
// RandomSourceFailure; no weaker number is ever put in its place.
#pragma once

#include <cstdint>
#include <string>

#include "crypto/RandomByteSource.h"
#include "support/WinException.h"

// Thrown when the byte source gave no bytes. It is of the Exception family,
// which the message loop would log, but the password generator catches it.
class RandomSourceFailure : public Exception {
 public:
  std::wstring GetErrorText() const override;
};

class RandomSource {
 public:
  // The program's one source, over the system's generator, made at first use.
  static RandomSource& GetInstance();

  // A source over `bytes`, which must outlive it.
  explicit RandomSource(RandomByteSource& bytes) : m_Bytes(bytes) {}
  RandomSource(const RandomSource&) = delete;
  RandomSource& operator=(const RandomSource&) = delete;
  virtual ~RandomSource() = default;

  // A value in low..high, both included, each equally likely. Each attempt
  // takes four bytes, least significant first, as an unsigned value v; with
  // n = high - low + 1 it is kept when v is below the largest multiple of n
  // up to 2^32, and then gives low + v % n; otherwise the next four bytes
  // are tried. Throws std::invalid_argument when low is above high and
  // RandomSourceFailure when the bytes cannot be had.
  int32_t Random(int32_t low, int32_t high);

  // Puts the characters in a random order: for i from the last position
  // down to 1, swaps position i with position Random(0, i). Works in place,
  // so a secret is never copied. Throws RandomSourceFailure as Random does,
  // leaving the text partly shuffled, and std::invalid_argument for a text
  // of more than 2^31 characters.
  void Shuffle(std::wstring& text);

 private:
  uint32_t Draw();

  RandomByteSource& m_Bytes;
};
