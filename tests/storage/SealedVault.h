// Encrypted vault files for the tests, made from what the header and the site
// set hold, with a key of the tests' choosing: a cheap cost, so that a table
// of files or hundreds of kills do not wait for the standard derivation.
#pragma once

#include <string>
#include <vector>

#include "crypto/RandomByteSource.h"
#include "crypto/VaultKey.h"
#include "support/WipedBytes.h"
#include "tests/common/CryptoFixtures.h"

// The bytes that the vault's writer lays out for the header and the set now.
WipedBytes PlaintextNow();

// Those bytes sealed with `key` and a nonce from `nonces` (the system's
// generator unless given).
std::vector<unsigned char> SealedNow(const VaultKey& key);
std::vector<unsigned char> SealedNow(const VaultKey& key, RandomByteSource& nonces);

// A password's key at the cheap cost (CryptoFixtures.h).
void DeriveCheap(VaultKey& key, const std::wstring& password, unsigned char saltByte);
