// Vault files built byte by byte from the format's tables, with the tests'
// own copy of the scramble table: fixtures that do not come from the code
// under test. Also the small file helpers the vault tests share.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

struct SiteFields {
  std::wstring title, user, password, address, notes, created, modified;
  int32_t key;
};

class VaultBytes {
 public:
  VaultBytes& Long(uint32_t value);
  // The byte length, then each unit XOR'ed with the table, low byte first.
  VaultBytes& String(const std::wstring& text);
  VaultBytes& Raw(const Bytes& bytes);

  // Signature and file version.
  VaultBytes& Start(uint32_t fileVersion = 257);
  // Header version, title, spare text, master password and, for version
  // 257, the flag.
  VaultBytes& Header(const std::wstring& masterPassword, uint32_t flag = 0,
                     uint32_t headerVersion = 257, const std::wstring& spare = L"");
  VaultBytes& Site(const SiteFields& site);

  const Bytes& Get() const { return m_bytes; }
  size_t Size() const { return m_bytes.size(); }

 private:
  Bytes m_bytes;
};

// A whole vault: start, header, last key, sites.
Bytes Vault(const std::wstring& masterPassword, uint32_t flag, uint32_t lastKey,
            const std::vector<SiteFields>& sites);

// The names in a folder, sorted, without "." and "..".
std::vector<std::wstring> FolderContents(const std::wstring& folder);
