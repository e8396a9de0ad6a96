#include "tests/storage/VaultBytes.h"

#include <windows.h>

#include <algorithm>

namespace {

const unsigned kKey[13] = {0x6B2E, 0x13D7, 0xA941, 0x5C08, 0xE2F3, 0x0B9A, 0x7D64,
                           0xC1B5, 0x38E2, 0x9F1C, 0x24A7, 0xD05B, 0x4E86};

}  // namespace

VaultBytes& VaultBytes::Long(uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    m_bytes.push_back(static_cast<unsigned char>(value >> shift));
  return *this;
}

VaultBytes& VaultBytes::String(const std::wstring& text) {
  Long(static_cast<uint32_t>(text.size() * 2));
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned unit = static_cast<unsigned>(text[i]) ^ kKey[i % 13];
    m_bytes.push_back(static_cast<unsigned char>(unit));
    m_bytes.push_back(static_cast<unsigned char>(unit >> 8));
  }
  return *this;
}

VaultBytes& VaultBytes::Raw(const Bytes& bytes) {
  m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
  return *this;
}

VaultBytes& VaultBytes::Start(uint32_t fileVersion) {
  return String(L"KEYFOLIO").Long(fileVersion);
}

VaultBytes& VaultBytes::Header(const std::wstring& masterPassword, uint32_t flag,
                               uint32_t headerVersion, const std::wstring& spare) {
  Long(headerVersion).String(L"Password Data").String(spare).String(masterPassword);
  if (headerVersion == 257) Long(flag);
  return *this;
}

VaultBytes& VaultBytes::Site(const SiteFields& site) {
  String(site.title).String(site.user).String(site.password).String(site.address);
  String(site.notes).String(site.created).String(site.modified);
  return Long(static_cast<uint32_t>(site.key));
}

Bytes Vault(const std::wstring& masterPassword, uint32_t flag, uint32_t lastKey,
            const std::vector<SiteFields>& sites) {
  VaultBytes vault;
  vault.Start().Header(masterPassword, flag).Long(lastKey);
  for (const SiteFields& site : sites) vault.Site(site);
  return vault.Get();
}

std::vector<std::wstring> FolderContents(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}
