#include "crypto/VaultKey.h"

#include <windows.h>

#include <sodium.h>

#include <utility>

#include "crypto/SodiumLibrary.h"
#include "support/DebugLog.h"
#include "support/WipedBytes.h"

namespace {

// The UTF-16 text converted exactly: no normalisation, and a text that has
// no exact UTF-8 form is refused rather than given a replacement character,
// which would let two passwords share one key.
bool ToUtf8(const std::wstring& text, WipedBytes& utf8) {
  utf8.clear();
  if (text.empty()) return true;
  const int units = static_cast<int>(text.size());
  const int size =
      WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), units, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return false;
  utf8.resize(static_cast<size_t>(size));
  return WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), units,
                             reinterpret_cast<char*>(utf8.data()), size, nullptr, nullptr) == size;
}

}  // namespace

VaultKey::~VaultKey() {
  Forget();
}

VaultKey::Result VaultKey::Derive(const std::wstring& password, const KeyDerivation& derivation) {
  if (!SodiumLibrary::Start()) return VK_Failed;
  WipedBytes utf8;
  if (!ToUtf8(password, utf8)) return VK_UnusablePassword;
  unsigned char* key = static_cast<unsigned char*>(sodium_malloc(kKeyBytes));
  if (!key) return VK_NotEnoughMemory;
  const unsigned long long memoryBytes = 1024ULL * derivation.memoryKiB;
  const int result =
      crypto_pwhash_argon2id(key, kKeyBytes, reinterpret_cast<const char*>(utf8.data()), utf8.size(),
                             derivation.salt.data(), derivation.passes, memoryBytes,
                             crypto_pwhash_argon2id_ALG_ARGON2ID13);
  SodiumLibrary::WipeStack();
  if (result != 0) {
    DebugLog(L"VaultKey::Derive: crypto_pwhash_argon2id failed with %lu KiB", derivation.memoryKiB);
    sodium_free(key);
    return VK_NotEnoughMemory;
  }
  Forget();
  m_Key = key;
  m_Derivation = derivation;
  return VK_Made;
}

VaultKey::Result VaultKey::DeriveWithNewSalt(const std::wstring& password, RandomByteSource& random) {
  KeyDerivation derivation;
  if (!random.Fill(derivation.salt.data(), static_cast<ULONG>(derivation.salt.size()))) return VK_Failed;
  return Derive(password, derivation);
}

void VaultKey::Forget() {
  // sodium_free wipes the page before it lets it go.
  if (m_Key) sodium_free(m_Key);
  m_Key = nullptr;
  m_Derivation = KeyDerivation();
}

void VaultKey::Swap(VaultKey& other) {
  std::swap(m_Key, other.m_Key);
  std::swap(m_Derivation, other.m_Derivation);
}
