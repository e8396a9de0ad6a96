// The envelope: its header read within bounds before anything is trusted,
// and sealed files that open only whole and unchanged, with their own key.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "crypto/VaultEnvelope.h"
#include "crypto/VaultKey.h"
#include "tests/common/CryptoFixtures.h"

namespace {

using Bytes = std::vector<unsigned char>;

void PutWord(Bytes& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// A header as the format's table lays it out, written here byte by byte.
Bytes Header(uint32_t version = 1, uint32_t derivation = 2, uint32_t passes = 3,
             uint32_t memoryKiB = 65536, uint32_t cipher = 1) {
  Bytes bytes(68, 0);
  std::memcpy(bytes.data(), "KFOCRYPT", 8);
  PutWord(bytes, 8, version);
  PutWord(bytes, 12, derivation);
  PutWord(bytes, 16, passes);
  PutWord(bytes, 20, memoryKiB);
  for (int i = 0; i < 16; ++i) bytes[24 + i] = static_cast<unsigned char>(0xA0 + i);
  PutWord(bytes, 40, cipher);
  for (int i = 0; i < 24; ++i) bytes[44 + i] = static_cast<unsigned char>(0x10 + i);
  return bytes;
}

WipedBytes Plain(const char* text) {
  return WipedBytes(text, text + std::strlen(text));
}

bool Opens(const VaultKey& key, const Bytes& file, WipedBytes& plaintext) {
  return VaultEnvelope::Open(key, file.data(), file.size(), plaintext);
}

}  // namespace

TEST(VaultEnvelope, HeaderVerdicts) {
  const size_t kLeast = 68 + 16;
  struct Case {
    const char* what;
    Bytes header;
    size_t fileSize;
    VaultEnvelope::Verdict verdict;
  } cases[] = {
      {"as written", Header(), 200, VaultEnvelope::EV_Readable},
      {"a header and a tag alone", Header(), kLeast, VaultEnvelope::EV_Readable},
      {"one byte short of a tag", Header(), kLeast - 1, VaultEnvelope::EV_Damaged},
      {"as large as may be", Header(), size_t{1} << 30, VaultEnvelope::EV_Readable},
      {"larger", Header(), (size_t{1} << 30) + 1, VaultEnvelope::EV_Damaged},
      {"version 0", Header(0), 200, VaultEnvelope::EV_Unsupported},
      {"version 2", Header(2), 200, VaultEnvelope::EV_Unsupported},
      {"derivation 1 (Argon2i)", Header(1, 1), 200, VaultEnvelope::EV_Unsupported},
      {"derivation 3", Header(1, 3), 200, VaultEnvelope::EV_Unsupported},
      {"cipher 0", Header(1, 2, 3, 65536, 0), 200, VaultEnvelope::EV_Unsupported},
      {"cipher 2", Header(1, 2, 3, 65536, 2), 200, VaultEnvelope::EV_Unsupported},
      {"passes 0", Header(1, 2, 0), 200, VaultEnvelope::EV_Damaged},
      {"passes 1", Header(1, 2, 1), 200, VaultEnvelope::EV_Readable},
      {"passes 16", Header(1, 2, 16), 200, VaultEnvelope::EV_Readable},
      {"passes 17", Header(1, 2, 17), 200, VaultEnvelope::EV_Damaged},
      {"memory 8 MiB less 1 KiB", Header(1, 2, 3, 8191), 200, VaultEnvelope::EV_Damaged},
      {"memory 8 MiB", Header(1, 2, 3, 8192), 200, VaultEnvelope::EV_Readable},
      {"memory 1 GiB", Header(1, 2, 3, 1048576), 200, VaultEnvelope::EV_Readable},
      {"memory 1 GiB and 1 KiB", Header(1, 2, 3, 1048577), 200, VaultEnvelope::EV_Damaged},
      {"memory 4 GiB less 1 KiB", Header(1, 2, 3, 0xFFFFFFFF), 200, VaultEnvelope::EV_Damaged},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    KeyDerivation derivation;
    EXPECT_EQ(VaultEnvelope::ReadHeader(c.header.data(), c.header.size(), c.fileSize, derivation),
              c.verdict);
    if (c.verdict != VaultEnvelope::EV_Readable) continue;
    EXPECT_EQ(derivation.passes, c.header[16]);
    for (size_t i = 0; i < 16; ++i) EXPECT_EQ(derivation.salt[i], 0xA0 + i);
  }

  Bytes foreign = Header();
  foreign[7] = 'X';
  KeyDerivation derivation;
  EXPECT_EQ(VaultEnvelope::ReadHeader(foreign.data(), foreign.size(), 200, derivation),
            VaultEnvelope::EV_NotEnvelope);
  // A file cut inside its header has the signature and nothing to trust.
  EXPECT_EQ(VaultEnvelope::ReadHeader(Header().data(), 40, 40, derivation), VaultEnvelope::EV_Damaged);
  EXPECT_EQ(VaultEnvelope::ReadHeader(Header().data(), 7, 7, derivation),
            VaultEnvelope::EV_NotEnvelope);
}

TEST(VaultEnvelope, ASealedFileOpensWholeAndUnchangedWithItsKeyAlone) {
  VaultKey key;
  ASSERT_EQ(key.Derive(L"pw", CheapDerivation(0x5A)), VaultKey::VK_Made);
  CountingBytes nonces(0x10);
  Bytes file;
  ASSERT_TRUE(VaultEnvelope::Seal(key, Plain("the vault's bytes"), nonces, file));
  ASSERT_EQ(file.size(), 68u + 17 + 16);
  Bytes expectedHeader = Header(1, 2, 1, 8192);
  std::memset(expectedHeader.data() + 24, 0x5A, 16);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 68), expectedHeader);
  EXPECT_EQ(std::string(file.begin() + 68, file.begin() + 85).find("vault"), std::string::npos);

  WipedBytes plaintext;
  ASSERT_TRUE(Opens(key, file, plaintext));
  EXPECT_EQ(std::string(plaintext.begin(), plaintext.end()), "the vault's bytes");
  EXPECT_TRUE(VaultEnvelope::Verify(key, file.data(), file.size()));

  // Every byte matters: header (the associated data), ciphertext and tag.
  for (size_t at = 0; at < file.size(); ++at) {
    Bytes changed = file;
    changed[at] ^= 0x01;
    EXPECT_FALSE(Opens(key, changed, plaintext)) << "byte " << at;
    EXPECT_TRUE(plaintext.empty());
    EXPECT_FALSE(VaultEnvelope::Verify(key, changed.data(), changed.size())) << "byte " << at;
  }
  Bytes shorter(file.begin(), file.end() - 1);
  Bytes longer = file;
  longer.push_back(0);
  for (const Bytes* cut : {&shorter, &longer}) {
    EXPECT_FALSE(Opens(key, *cut, plaintext));
    EXPECT_FALSE(VaultEnvelope::Verify(key, cut->data(), cut->size()));
  }

  // The same password with another salt is another key.
  VaultKey other;
  ASSERT_EQ(other.Derive(L"pw", CheapDerivation(0x5B)), VaultKey::VK_Made);
  EXPECT_FALSE(Opens(other, file, plaintext));
  VaultKey none;
  EXPECT_FALSE(Opens(none, file, plaintext));
  EXPECT_FALSE(VaultEnvelope::Seal(none, Plain("x"), nonces, file));
}

TEST(VaultEnvelope, EverySealTakesANewNonce) {
  VaultKey key;
  ASSERT_EQ(key.Derive(L"pw", CheapDerivation(0x11)), VaultKey::VK_Made);
  CountingBytes nonces(0);
  Bytes first, second;
  ASSERT_TRUE(VaultEnvelope::Seal(key, Plain("same"), nonces, first));
  ASSERT_TRUE(VaultEnvelope::Seal(key, Plain("same"), nonces, second));
  EXPECT_NE(Bytes(first.begin() + 44, first.begin() + 68), Bytes(second.begin() + 44, second.begin() + 68));
  EXPECT_NE(Bytes(first.begin() + 68, first.end()), Bytes(second.begin() + 68, second.end()));
}
