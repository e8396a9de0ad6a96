// The tests' own reader of vault files, the twin of VaultBytes: it follows
// the format's tables with its own copy of the scramble table, so what a
// test reads back does not come from the code under test. A file that is not
// a whole vault is an error that says where it stopped.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/storage/VaultBytes.h"

// Raised for bytes that end early or hold a value no vault holds.
class VaultFormatError : public std::runtime_error {
 public:
  VaultFormatError(const std::string& what, size_t offset);
  size_t Offset() const { return m_offset; }

 private:
  size_t m_offset;
};

class VaultReader {
 public:
  explicit VaultReader(const Bytes& bytes) : m_bytes(bytes) {}

  uint32_t Long();
  // The byte length (even, and within the bytes left), then the units, each
  // XOR'ed with the table from the string's first unit on.
  std::wstring String();
  bool AtEnd() const { return m_offset == m_bytes.size(); }
  size_t Offset() const { return m_offset; }

 private:
  const Bytes& m_bytes;
  size_t m_offset = 0;
};

struct VaultContents {
  std::wstring signature;
  uint32_t fileVersion = 0;
  uint32_t headerVersion = 0;
  std::wstring headerTitle;
  std::wstring spare;
  std::wstring masterPassword;
  // Present only in a header of version 257; 0 otherwise.
  uint32_t flag = 0;
  uint32_t lastKey = 0;
  std::vector<SiteFields> sites;
};

// The whole file: signature, versions, header, last key, then sites up to
// the very last byte. Throws VaultFormatError for anything else.
VaultContents ReadVault(const Bytes& bytes);

bool operator==(const SiteFields& a, const SiteFields& b);
void PrintTo(const SiteFields& site, std::ostream* out);
