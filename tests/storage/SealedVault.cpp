#include "tests/storage/SealedVault.h"

#include <gtest/gtest.h>

#include "crypto/SystemRandomBytes.h"
#include "crypto/VaultEnvelope.h"
#include "storage/EditorUpdater.h"
#include "storage/Serializer.h"

WipedBytes PlaintextNow() {
  WipedBytes plaintext;
  Serializer memory(plaintext);
  EditorUpdater::GetInstance().WriteDatabase(memory);
  return plaintext;
}

std::vector<unsigned char> SealedNow(const VaultKey& key) {
  return SealedNow(key, SystemRandomBytes::GetInstance());
}

std::vector<unsigned char> SealedNow(const VaultKey& key, RandomByteSource& nonces) {
  std::vector<unsigned char> file;
  EXPECT_TRUE(VaultEnvelope::Seal(key, PlaintextNow(), nonces, file));
  return file;
}

void DeriveCheap(VaultKey& key, const std::wstring& password, unsigned char saltByte) {
  ASSERT_EQ(key.Derive(password, CheapDerivation(saltByte)), VaultKey::VK_Made);
}
