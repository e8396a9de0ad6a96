// Vault files as a drive may hold them: a vault of sites with awkward texts
// (half characters among them, which UTF-16 vaults can hold), whole or
// mutated: bits flipped, the end cut off, length fields that lie, bytes put
// in or taken out. Each way the program stores its vault is a format of its
// own: how to write a vault of some sites in it, and how the program loads
// it. A vault made whole must load as exactly its sites; any vault must load
// or fail as a file does, within memory that follows the file, and what it
// loaded must export and import as it was.
#pragma once

#include <string>
#include <vector>

#include "tests/common/TempFolder.h"
#include "tests/fuzz/FuzzTarget.h"

// One way the program stores its vault.
struct VaultFormat {
  const char* name;
  // A vault of `sites` that opens with `masterPassword`.
  std::vector<unsigned char> (*write)(const std::vector<SiteFields>& sites,
                                      const std::wstring& masterPassword);
  // Loads the file into the site set as the program loads a vault, given
  // the master password that it was made with: false, and an empty set, when
  // it cannot be loaded. Throws nothing that the program would not catch.
  bool (*read)(const std::wstring& path, const std::wstring& masterPassword);
};

// The formats the fuzz program tries, each a target of its own.
extern const VaultFormat kVaultFormats[];
extern const size_t kVaultFormatCount;

class VaultFuzz : public FuzzTarget {
 public:
  explicit VaultFuzz(const VaultFormat& format);

  std::string Name() const override;
  FuzzInput Make(FuzzRandom& random) override;
  std::string Check(const FuzzInput& input) override;

 private:
  const VaultFormat& m_format;
  TempFolder m_folder;
};
