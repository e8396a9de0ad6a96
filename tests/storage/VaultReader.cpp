#include "tests/storage/VaultReader.h"

#include <ostream>

namespace {

const unsigned kKey[13] = {0x6B2E, 0x13D7, 0xA941, 0x5C08, 0xE2F3, 0x0B9A, 0x7D64,
                           0xC1B5, 0x38E2, 0x9F1C, 0x24A7, 0xD05B, 0x4E86};

std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (wchar_t unit : text) narrow += unit < 0x80 ? static_cast<char>(unit) : '?';
  return narrow;
}

}  // namespace

VaultFormatError::VaultFormatError(const std::string& what, size_t offset)
    : std::runtime_error(what + " at byte " + std::to_string(offset)), m_offset(offset) {}

uint32_t VaultReader::Long() {
  if (m_bytes.size() - m_offset < 4)
    throw VaultFormatError("the file ends inside a long", m_offset);
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | m_bytes[m_offset + i];
  m_offset += 4;
  return value;
}

std::wstring VaultReader::String() {
  const size_t start = m_offset;
  const uint32_t length = Long();
  if (length % 2 != 0) throw VaultFormatError("a string of an odd byte length", start);
  if (m_bytes.size() - m_offset < length)
    throw VaultFormatError("a string longer than the bytes left", start);
  std::wstring text(length / 2, L'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned unit = m_bytes[m_offset + 2 * i] | (m_bytes[m_offset + 2 * i + 1] << 8);
    text[i] = static_cast<wchar_t>(unit ^ kKey[i % 13]);
  }
  m_offset += length;
  return text;
}

VaultContents ReadVault(const Bytes& bytes) {
  VaultReader reader(bytes);
  VaultContents vault;
  vault.signature = reader.String();
  if (vault.signature != L"KEYFOLIO") throw VaultFormatError("not a vault's signature", 0);
  vault.fileVersion = reader.Long();
  vault.headerVersion = reader.Long();
  vault.headerTitle = reader.String();
  vault.spare = reader.String();
  vault.masterPassword = reader.String();
  if (vault.headerVersion == 257) vault.flag = reader.Long();
  vault.lastKey = reader.Long();
  while (!reader.AtEnd()) {
    SiteFields site;
    for (std::wstring* field : {&site.title, &site.user, &site.password, &site.address, &site.notes,
                                &site.created, &site.modified})
      *field = reader.String();
    site.key = static_cast<int32_t>(reader.Long());
    vault.sites.push_back(site);
  }
  return vault;
}

bool operator==(const SiteFields& a, const SiteFields& b) {
  return a.title == b.title && a.user == b.user && a.password == b.password &&
         a.address == b.address && a.notes == b.notes && a.created == b.created &&
         a.modified == b.modified && a.key == b.key;
}

void PrintTo(const SiteFields& site, std::ostream* out) {
  *out << "{" << Narrow(site.title) << ", " << Narrow(site.user) << ", " << Narrow(site.password)
       << ", " << Narrow(site.address) << ", " << Narrow(site.notes) << ", " << Narrow(site.created)
       << ", " << Narrow(site.modified) << ", " << site.key << "}";
}
