// A simulated flash drive: a fresh folder holding the packaged program, its
// help page beside it as the build ships them, and, once the program or the
// test made it, the data folder. Everything goes with the folder.
#pragma once

#include <string>

#include "tests/common/TempFolder.h"
#include "tests/storage/VaultBytes.h"

class FlashDrive {
 public:
  // Copies the program and its help page into a fresh folder, or into a
  // folder `subfolder` made inside it.
  explicit FlashDrive(const std::wstring& subfolder = L"");
  FlashDrive(const FlashDrive&) = delete;
  FlashDrive& operator=(const FlashDrive&) = delete;

  // The folder that holds the program, with no trailing backslash.
  const std::wstring& ProgramFolder() const { return m_programFolder; }
  std::wstring ProgramPath() const;
  std::wstring HelpPagePath() const;
  std::wstring DataFolder() const;
  std::wstring VaultPath() const;

  // Lays a vault down where the program looks for it.
  void PutVault(const Bytes& bytes) const;
  // Empty when there is no vault file.
  Bytes VaultBytes() const;

 private:
  std::wstring File(const std::wstring& name) const;

  TempFolder m_folder;
  std::wstring m_programFolder;
};
