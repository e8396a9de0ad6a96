// The made-up vaults the benchmarks measure with: sites of the size people's
// sites have, every field filled, written by the tests' own vault writer
// (not by the code measured) into temporary folders.
#pragma once

#include <string>

#include "tests/common/TempFolder.h"
#include "tests/storage/VaultBytes.h"

// Its master password.
constexpr wchar_t kBenchmarkPassword[] = L"bench";

// Site `number`: "Site 000042", user "user42@example.com", an address at
// www.example42.com, the same notes for all.
SiteFields MadeUpSite(int number);
// Sites 1 to `sites`, in title order, so that a save writes back exactly
// these bytes.
Bytes BenchmarkVault(int sites);

// A vault in a folder of its own, made the vault file manager's vault.
struct VaultFolder {
  explicit VaultFolder(const Bytes& vault);

  TempFolder folder;
  std::wstring name;
};
