// The system calls that the record layer makes for one vault file: one read
// or write per value, a string's length and its units in two calls, an empty
// string in one. Replaying exactly these calls on the same file, with nothing
// else done, is the floor that a load or a save cannot go below while it keeps
// one call per value; what the program takes beyond it is its own work.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

class CallPattern {
 public:
  // The calls of a whole vault: signature, version, header (its flag only
  // for header version 257), last primary key, then sites to the end.
  // Throws std::runtime_error for bytes that are no such vault.
  explicit CallPattern(const Bytes& vault);

  size_t Calls() const { return m_sizes.size(); }

  // Creates `path` as the record writer does and writes `vault` in the
  // pattern's calls. Throws std::runtime_error when a call fails.
  void Write(const std::wstring& path, const Bytes& vault) const;
  // The same into `temporary`, then what a save must add to be safe from a
  // cut: flush, and the two renames that put the file in the vault's place.
  void WriteSafely(const std::wstring& temporary, const std::wstring& complete,
                   const std::wstring& vaultName, const Bytes& vault) const;
  // Opens `path` as the record reader does and reads it in the pattern's
  // calls into `buffer`, which must be as large as the file.
  void Read(const std::wstring& path, Bytes& buffer) const;

 private:
  void WriteCalls(HANDLE file, const Bytes& vault) const;

  std::vector<DWORD> m_sizes;
};
