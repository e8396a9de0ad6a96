// The key that seals and opens an encrypted vault, together with the salt
// and the cost it was derived with: one value, so that a save can only ever
// write a salt beside the key that belongs to it, and a new salt comes only
// with a new key. The key is Argon2id (one lane, version 1.3) of the master
// password's UTF-8 bytes, 32 bytes in libsodium's guarded memory
// (sodium_malloc: pages of its own between guard pages, locked out of the
// page file where the system allows), wiped and freed when the key is
// forgotten or replaced and when the object goes.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "crypto/RandomByteSource.h"

struct KeyDerivation {
  static constexpr uint32_t kPasses = 3;
  static constexpr uint32_t kMemoryKiB = 65536;
  static constexpr size_t kSaltBytes = 16;

  uint32_t passes = kPasses;
  uint32_t memoryKiB = kMemoryKiB;
  std::array<unsigned char, kSaltBytes> salt{};

  bool operator==(const KeyDerivation& other) const {
    return passes == other.passes && memoryKiB == other.memoryKiB && salt == other.salt;
  }
};

class VaultKey {
 public:
  enum Result {
    VK_Made,
    // Argon2id could not have its memory (crypto_pwhash answered -1), or
    // the guarded page for the key could not be had: nothing to do with
    // the password.
    VK_NotEnoughMemory,
    // The password holds a lone half of a surrogate pair, which has no
    // exact UTF-8 form.
    VK_UnusablePassword,
    // No random bytes for a new salt, or libsodium did not start.
    VK_Failed,
  };

  static constexpr size_t kKeyBytes = 32;

  VaultKey() = default;
  VaultKey(const VaultKey&) = delete;
  VaultKey& operator=(const VaultKey&) = delete;
  ~VaultKey();

  // Derives the key of `password` with `derivation`. On VK_Made the key
  // held before is replaced; on anything else it is kept as it was.
  Result Derive(const std::wstring& password, const KeyDerivation& derivation);
  // The same with a new salt from `random` and the file's standard cost.
  Result DeriveWithNewSalt(const std::wstring& password, RandomByteSource& random);

  bool Held() const { return m_Key != nullptr; }
  // The salt and cost of the key held.
  const KeyDerivation& Derivation() const { return m_Derivation; }
  // The 32 bytes; null when no key is held.
  const unsigned char* Bytes() const { return m_Key; }

  // Wipes and frees the key.
  void Forget();
  // Exchanges the keys, each with its salt and cost.
  void Swap(VaultKey& other);

 private:
  unsigned char* m_Key = nullptr;
  KeyDerivation m_Derivation;
};
