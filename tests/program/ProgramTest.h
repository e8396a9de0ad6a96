// The fixture of the program's tests: a fresh flash drive with the packaged
// program on it, and the runs of the program a test starts from it, each
// ended when the test ends (before the drive goes).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/program/FlashDrive.h"
#include "tests/program/Keyfolio.h"
#include "tests/storage/VaultBytes.h"
#include "tests/storage/VaultReader.h"

class ProgramTest : public ::testing::Test {
 protected:
  // Starts the program from the drive and waits for its main window.
  Keyfolio& Start(const std::wstring& argumentZero = L"");
  // The same for a copy of the program elsewhere.
  Keyfolio& StartProgram(const std::wstring& programPath);
  // Lays down a vault with kPassword and `sites`, the password hidden,
  // starts the program and logs in.
  Keyfolio& StartWithSites(const std::vector<SiteFields>& sites);
  // The vault on the drive now, read by the tests' own reader.
  VaultContents ReadVaultOnDrive() const;
  // Which file is the vault, and when it was written: a save puts a new
  // file in the vault's place, so this changes with every save, also one
  // that writes the same bytes.
  std::wstring VaultStamp() const;

  static constexpr wchar_t kPassword[] = L"Pa55word";

  FlashDrive m_drive;
  std::vector<std::unique_ptr<Keyfolio>> m_runs;
};

// A site as the vault stores it; the dates are fixed, the key counts from 1.
SiteFields StoredSite(const std::wstring& title, int32_t key, const std::wstring& password = L"pw",
                      const std::wstring& address = L"https://example.com/");
// The five texts a person sees or types of a stored site.
SiteEntry EntryOf(const SiteFields& site);
