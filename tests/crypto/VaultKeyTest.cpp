// The key: Argon2id of the password's exact UTF-8 bytes, held with its salt
// and cost. The known answers were computed apart from this program (Debian's
// native libsodium), the first also by whoever set the file format.
#include <windows.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "crypto/VaultKey.h"
#include "tests/common/CryptoFixtures.h"
#include "tests/common/Sha256.h"

namespace {

KeyDerivation Derivation(const char* salt, uint32_t passes, uint32_t memoryKiB) {
  KeyDerivation derivation;
  derivation.passes = passes;
  derivation.memoryKiB = memoryKiB;
  std::memcpy(derivation.salt.data(), salt, derivation.salt.size());
  return derivation;
}

std::string KeyHex(const VaultKey& key) {
  return key.Held() ? Hex(key.Bytes(), VaultKey::kKeyBytes) : std::string("none");
}

}  // namespace

TEST(VaultKey, KnownAnswers) {
  VaultKey key;
  ASSERT_EQ(key.Derive(L"correct horse", Derivation("KeyfolioSalt0001", 3, 65536)), VaultKey::VK_Made);
  EXPECT_EQ(KeyHex(key), "728e195468389678f66046c5c9ea51a3e20e78e95df6efe09da1f79f92ea6675");
  // Letters beyond ASCII and a character beyond the 16-bit plane (a
  // surrogate pair in UTF-16): 18 bytes of UTF-8.
  ASSERT_EQ(key.Derive(L"P\u00e4ssw\u00f6rd \u20ac\U0001F600", Derivation("KeyfolioSalt0002", 1, 8192)),
            VaultKey::VK_Made);
  EXPECT_EQ(KeyHex(key), "a76eb8c55751761c48563ce8775ac2cea05761271ab467a1571b1bbb5aa475c3");
  EXPECT_EQ(key.Derivation(), Derivation("KeyfolioSalt0002", 1, 8192));
}

TEST(VaultKey, TextIsTakenAsTypedWithoutNormalising) {
  const KeyDerivation derivation = Derivation("KeyfolioSalt0003", 1, 8192);
  VaultKey composed, decomposed;
  ASSERT_EQ(composed.Derive(L"caf\u00e9", derivation), VaultKey::VK_Made);
  ASSERT_EQ(decomposed.Derive(L"cafe\u0301", derivation), VaultKey::VK_Made);
  EXPECT_NE(KeyHex(composed), KeyHex(decomposed));
}

TEST(VaultKey, AHalfSurrogateIsRefusedAndTheKeyHeldBeforeStays) {
  const KeyDerivation derivation = Derivation("KeyfolioSalt0004", 1, 8192);
  VaultKey key;
  EXPECT_EQ(key.Derive(L"ab\xD800" L"cd", derivation), VaultKey::VK_UnusablePassword);
  EXPECT_FALSE(key.Held());
  ASSERT_EQ(key.Derive(L"abcd", derivation), VaultKey::VK_Made);
  const std::string held = KeyHex(key);
  // A lone half of either kind, at the end too: no exact UTF-8 form, so no
  // replacement character may let it share a key with another text.
  for (const wchar_t* lone : {L"ab\xDC00", L"\xD83D"}) {
    EXPECT_EQ(key.Derive(lone, derivation), VaultKey::VK_UnusablePassword);
    EXPECT_EQ(KeyHex(key), held);
  }
}

TEST(VaultKey, ANewSaltComesFromTheRandomSourceWithTheFilesCost) {
  VaultKey key;
  CountingBytes failing(0, false);
  EXPECT_EQ(key.DeriveWithNewSalt(L"pw", failing), VaultKey::VK_Failed);
  EXPECT_FALSE(key.Held());

  CountingBytes counting;
  ASSERT_EQ(key.DeriveWithNewSalt(L"pw", counting), VaultKey::VK_Made);
  KeyDerivation expected;
  for (size_t i = 0; i < expected.salt.size(); ++i) expected.salt[i] = static_cast<unsigned char>(i);
  EXPECT_EQ(key.Derivation(), expected);
  EXPECT_EQ(key.Derivation().passes, 3u);
  EXPECT_EQ(key.Derivation().memoryKiB, 65536u);

  VaultKey same;
  ASSERT_EQ(same.Derive(L"pw", expected), VaultKey::VK_Made);
  EXPECT_EQ(KeyHex(same), KeyHex(key));
}

TEST(VaultKey, ForgetAndSwapMoveTheSaltWithTheKey) {
  VaultKey first, second;
  ASSERT_EQ(first.Derive(L"one", Derivation("KeyfolioSalt0005", 1, 8192)), VaultKey::VK_Made);
  const std::string firstKey = KeyHex(first);
  first.Swap(second);
  EXPECT_FALSE(first.Held());
  EXPECT_EQ(KeyHex(second), firstKey);
  EXPECT_EQ(second.Derivation(), Derivation("KeyfolioSalt0005", 1, 8192));
  second.Forget();
  EXPECT_FALSE(second.Held());
  EXPECT_EQ(second.Derivation(), KeyDerivation());
}
