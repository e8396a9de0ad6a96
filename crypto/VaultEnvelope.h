// The encrypted vault file: a header of 68 bytes, then the scrambled vault,
// byte for byte what the program would otherwise write, encrypted with
// XChaCha20-Poly1305 (IETF) and followed by its 16-byte tag. All integers
// are little-endian:
//
//   0  8   "KFOCRYPT"
//   8  4   format version, 1
//   12 4   key derivation, 2 = Argon2id version 1.3
//   16 4   passes, 3
//   20 4   memory in KiB, 65536
//   24 16  salt
//   40 4   cipher, 1 = XChaCha20-Poly1305 (IETF)
//   44 24  nonce, new at every save
//   68     ciphertext, as long as the plaintext, then the tag
//
// The whole header is the associated data, so a changed header fails like a
// changed ciphertext. Reading trusts no value of a file before it is within
// the bounds below: a file could otherwise ask for a gigantic derivation or
// an allocation as large as it claims. A wrong password and a changed
// ciphertext, nonce, salt or tag are one and the same to the cipher: the
// tag does not verify.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "crypto/RandomByteSource.h"
#include "crypto/VaultKey.h"
#include "support/WipedBytes.h"

class VaultEnvelope {
 public:
  enum Verdict {
    // Not the signature: for the scrambled reader.
    EV_NotEnvelope,
    // Within every bound: a password may open it.
    EV_Readable,
    // A version, key derivation or cipher that this program does not know.
    EV_Unsupported,
    // Shorter than a header and a tag, larger than kMostFileBytes, or passes
    // or memory out of bounds.
    EV_Damaged,
  };

  static constexpr unsigned char kSignature[8] = {'K', 'F', 'O', 'C', 'R', 'Y', 'P', 'T'};
  static constexpr size_t kHeaderBytes = 68;
  static constexpr size_t kTagBytes = 16;
  static constexpr size_t kNonceBytes = 24;
  static constexpr uint32_t kVersion = 1;
  static constexpr uint32_t kArgon2id13 = 2;
  static constexpr uint32_t kXChaCha20Poly1305 = 1;
  static constexpr uint32_t kFewestPasses = 1;
  static constexpr uint32_t kMostPasses = 16;
  static constexpr uint32_t kLeastMemoryKiB = 8 * 1024;
  static constexpr uint32_t kMostMemoryKiB = 1024 * 1024;
  // A vault of a million sites is about 370 MB; nothing a person keeps
  // comes near this, and a file is read whole into memory.
  static constexpr size_t kMostFileBytes = size_t{1} << 30;

  // True when the bytes begin with the signature.
  static bool HasSignature(const unsigned char* bytes, size_t size);
  // The verdict on a file of `fileSize` bytes that begins with `start`
  // (at least the header's bytes, or the whole file when shorter); on
  // EV_Readable, the salt and cost of its key.
  static Verdict ReadHeader(const unsigned char* start, size_t startSize, size_t fileSize,
                            KeyDerivation& derivation);

  // The file of `plaintext` sealed with `key` (whose salt and cost go into
  // the header) and a nonce from `random`. False, with `file` empty, when
  // the nonce cannot be had or the key is not held.
  static bool Seal(const VaultKey& key, const WipedBytes& plaintext, RandomByteSource& random,
                   std::vector<unsigned char>& file);
  // The plaintext of a whole file whose header is EV_Readable, when its tag
  // verifies with `key`; false, with `plaintext` empty, when it does not.
  // Room that `plaintext` has already is used.
  static bool Open(const VaultKey& key, const unsigned char* file, size_t size, WipedBytes& plaintext);
  // Whether the tag of a whole, EV_Readable file verifies with `key`,
  // without making its plaintext.
  static bool Verify(const VaultKey& key, const unsigned char* file, size_t size);
};
