#include "crypto/VaultEnvelope.h"

#include <sodium.h>

#include <cstring>

#include "crypto/SodiumLibrary.h"

namespace {

constexpr size_t kVersionAt = 8;
constexpr size_t kDerivationAt = 12;
constexpr size_t kPassesAt = 16;
constexpr size_t kMemoryAt = 20;
constexpr size_t kSaltAt = 24;
constexpr size_t kCipherAt = 40;
constexpr size_t kNonceAt = 44;

static_assert(kNonceAt + VaultEnvelope::kNonceBytes == VaultEnvelope::kHeaderBytes, "header layout");
static_assert(VaultEnvelope::kNonceBytes == crypto_aead_xchacha20poly1305_ietf_NPUBBYTES, "nonce");
static_assert(VaultEnvelope::kTagBytes == crypto_aead_xchacha20poly1305_ietf_ABYTES, "tag");
static_assert(VaultKey::kKeyBytes == crypto_aead_xchacha20poly1305_ietf_KEYBYTES, "key");

uint32_t ReadWord(const unsigned char* at) {
  return at[0] | uint32_t{at[1]} << 8 | uint32_t{at[2]} << 16 | uint32_t{at[3]} << 24;
}

void WriteWord(unsigned char* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(value >> (8 * i));
}

// A whole file that may be handed to the cipher: its header read and within
// bounds, and its key's salt and cost those of `key`.
bool Openable(const VaultKey& key, const unsigned char* file, size_t size) {
  KeyDerivation derivation;
  return key.Held() && SodiumLibrary::Start() &&
         VaultEnvelope::ReadHeader(file, size, size, derivation) == VaultEnvelope::EV_Readable &&
         derivation == key.Derivation();
}

}  // namespace

bool VaultEnvelope::HasSignature(const unsigned char* bytes, size_t size) {
  return size >= sizeof kSignature && std::memcmp(bytes, kSignature, sizeof kSignature) == 0;
}

VaultEnvelope::Verdict VaultEnvelope::ReadHeader(const unsigned char* start, size_t startSize,
                                                 size_t fileSize, KeyDerivation& derivation) {
  if (!HasSignature(start, startSize)) return EV_NotEnvelope;
  if (startSize < kHeaderBytes || fileSize < kHeaderBytes + kTagBytes || fileSize > kMostFileBytes)
    return EV_Damaged;
  if (ReadWord(start + kVersionAt) != kVersion || ReadWord(start + kDerivationAt) != kArgon2id13 ||
      ReadWord(start + kCipherAt) != kXChaCha20Poly1305)
    return EV_Unsupported;
  const uint32_t passes = ReadWord(start + kPassesAt);
  const uint32_t memoryKiB = ReadWord(start + kMemoryAt);
  if (passes < kFewestPasses || passes > kMostPasses || memoryKiB < kLeastMemoryKiB ||
      memoryKiB > kMostMemoryKiB)
    return EV_Damaged;
  derivation.passes = passes;
  derivation.memoryKiB = memoryKiB;
  std::memcpy(derivation.salt.data(), start + kSaltAt, derivation.salt.size());
  return EV_Readable;
}

bool VaultEnvelope::Seal(const VaultKey& key, const WipedBytes& plaintext, RandomByteSource& random,
                         std::vector<unsigned char>& file) {
  file.clear();
  if (!key.Held() || !SodiumLibrary::Start()) return false;
  unsigned char header[kHeaderBytes];
  std::memcpy(header, kSignature, sizeof kSignature);
  WriteWord(header + kVersionAt, kVersion);
  WriteWord(header + kDerivationAt, kArgon2id13);
  WriteWord(header + kPassesAt, key.Derivation().passes);
  WriteWord(header + kMemoryAt, key.Derivation().memoryKiB);
  std::memcpy(header + kSaltAt, key.Derivation().salt.data(), key.Derivation().salt.size());
  WriteWord(header + kCipherAt, kXChaCha20Poly1305);
  if (!random.Fill(header + kNonceAt, kNonceBytes)) return false;
  file.resize(kHeaderBytes + plaintext.size() + kTagBytes);
  std::memcpy(file.data(), header, kHeaderBytes);
  unsigned long long sealed = 0;
  crypto_aead_xchacha20poly1305_ietf_encrypt(file.data() + kHeaderBytes, &sealed, plaintext.data(),
                                             plaintext.size(), header, kHeaderBytes, nullptr,
                                             header + kNonceAt, key.Bytes());
  SodiumLibrary::WipeStack();
  return true;
}

bool VaultEnvelope::Open(const VaultKey& key, const unsigned char* file, size_t size,
                         WipedBytes& plaintext) {
  if (!Openable(key, file, size)) {
    plaintext.clear();
    return false;
  }
  const size_t sealedBytes = size - kHeaderBytes;
  plaintext.resize(sealedBytes - kTagBytes);
  unsigned long long opened = 0;
  const int result = crypto_aead_xchacha20poly1305_ietf_decrypt(
      plaintext.data(), &opened, nullptr, file + kHeaderBytes, sealedBytes, file, kHeaderBytes,
      file + kNonceAt, key.Bytes());
  SodiumLibrary::WipeStack();
  if (result != 0) {
    plaintext.clear();
    return false;
  }
  return true;
}

bool VaultEnvelope::Verify(const VaultKey& key, const unsigned char* file, size_t size) {
  if (!Openable(key, file, size)) return false;
  const size_t sealedBytes = size - kHeaderBytes;
  // Without a buffer for the plaintext, libsodium checks the tag and stops.
  const int result = crypto_aead_xchacha20poly1305_ietf_decrypt_detached(
      nullptr, nullptr, file + kHeaderBytes, sealedBytes - kTagBytes, file + size - kTagBytes, file,
      kHeaderBytes, file + kNonceAt, key.Bytes());
  SodiumLibrary::WipeStack();
  return result == 0;
}
