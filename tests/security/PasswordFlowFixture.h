// A master password flow as the program runs it: the real editor over a
// window of the test's own that stands in for the main window, the fonts and
// dialog templates that the main window sets up, and the vault in a data
// folder inside a temporary folder. What the flows store is read back from
// that file, byte for byte against vaults built by the tests' own writer.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/common/TempFolder.h"
#include "tests/security/FlowScript.h"
#include "tests/storage/VaultBytes.h"
#include "tests/ui/TestWindows.h"

// The program's own words.
extern const wchar_t kEnterCaption[];
extern const wchar_t kCreateCaption[];
extern const wchar_t kConfirmCaption[];
extern const wchar_t kChangeCaption[];
extern const wchar_t kConfirmNewCaption[];
extern const wchar_t kProgramCaption[];
extern const wchar_t kNotCorrect[];
extern const wchar_t kNoMatch[];
extern const wchar_t kOldNotCorrect[];
extern const wchar_t kCreated[];
extern const wchar_t kChanged[];
extern const wchar_t kOpenForSaveFailed[];

class PasswordFlowTest : public ::testing::Test {
 protected:
  PasswordFlowTest();

  // Writes the vault with two sites and this master password, then builds
  // the editor, which loads it.
  void StartWithVault(const std::wstring& masterPassword);
  // No vault file: the editor starts empty, with no master password.
  void StartWithoutVault();

  HWND Owner() const { return m_owner.Get(); }
  // "...\KFOdata", without the trailing backslash.
  const std::wstring& DataFolder() const { return m_dataFolder; }
  std::wstring VaultPath() const { return m_dataFolder + L"\\KFO.dta"; }
  Bytes StoredVault() const { return ReadBytes(VaultPath()); }

  // What StartWithVault writes, for this master password.
  static Bytes VaultWithSites(const std::wstring& masterPassword);
  // A vault first saved with this master password.
  static Bytes VaultWithoutSites(const std::wstring& masterPassword);
  // The current master password, as the program holds it.
  static std::wstring CurrentPassword();

 private:
  void BuildEditor();

  TempFolder m_folder;
  std::wstring m_dataFolder;
  // Away from the desktop's centre, so that a dialog centred over it is
  // not where the system would put it anyway.
  TestParent m_owner{true, 300, 200, 487, 320};
};

// Types into the dialog's first field and presses OK.
FlowScript::Action EnterAndOk(const std::wstring& text);
// Types into the change dialog's old and new fields and presses OK.
FlowScript::Action ChangeAndOk(const std::wstring& oldPassword, const std::wstring& newPassword);
FlowScript::Action PressOnly(int buttonId);
