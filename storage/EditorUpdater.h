// The vault file manager: the only code that reads or writes the vault file.
// The file is the signature, the file version, the header and the site set,
// in that order and nothing else. Loading reads it once at start-up and
// writes it back at once; every change is saved whole. How a save reaches
// the disk without ever putting the old vault at risk, and what happens to a
// file that could not be read, is VaultFiles' business; this class lays the
// values out and tells the user when a save failed.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

#include "storage/VaultFiles.h"

class DatabasePasswordHeader;
class DatabasePasswordSet;
class DeSerializer;
class Serializer;

class EditorUpdater {
 public:
  static EditorUpdater& GetInstance();
  EditorUpdater(const EditorUpdater&) = delete;
  EditorUpdater& operator=(const EditorUpdater&) = delete;
  virtual ~EditorUpdater() = default;

  // `folder` is the data folder with its trailing backslash; the vault file
  // is "KFO.dta" in it.
  void SetDataBaseFileName(const std::wstring& folder);
  const std::wstring& GetDataBaseFileName() const { return m_CurrentFileName; }

  // Writes the whole vault. False, after a message box, when it could not be
  // written; the vault file on disk is then as it was. False without a word
  // before SetDataBaseFileName.
  bool Serialize();
  // Reads the vault into the header and the site set and, when that worked,
  // saves it back at once. A complete file that a cut save left beside the
  // vault is newer: it is read first, and used when it reads whole. False
  // when there was nothing readable: the caller then resets to an empty
  // vault. Shows no message of its own.
  bool DeSerialize();
  // DeSerialize without the write-back: what the load decided about the
  // files around the vault (a complete file to put in place, a file to keep
  // aside) is done by the next save. For a locked program, whose vault is
  // read again when a password is given, before it is known to be the
  // right one.
  bool ReadWithoutWriteBack();
  // What the last DeSerialize could not load of a file it found, for the
  // start-up to tell the user: KR_Unopened (refused for longer than the
  // reader waits), KR_ForeignSignature, KR_NewerVersion or KR_Damaged
  // (nothing of it loaded), KR_PartlyRead (loaded without the sites it could
  // not read whole or whose title was taken). KR_None after a whole load and
  // when there was no vault at all. When both a complete file and the vault
  // failed, the vault's.
  VaultFiles::KeepReason GetLoadProblem() const { return m_LoadProblem; }
  // The full name under which that file is kept aside before anything
  // replaces or removes it: already, for a partly read vault whose rewrite
  // succeeded; else at the next save, unless another file takes the name
  // first. Empty with KR_None.
  const std::wstring& GetLoadKeptName() const { return m_LoadKeptName; }

  // True when every stored site was kept; false when reading stopped inside a
  // site or dropped a duplicate title (the vault is loaded all the same).
  // Throws ExceptionsEditor for a foreign signature or a newer version, and
  // what the reader throws for damage before the sites.
  bool ReadDatabase(DeSerializer& des);
  void WriteDatabase(Serializer& ser);

  // An empty site set and, with `clearHeader`, a reset header. Always true.
  bool ReadDefaultDatabase(bool clearHeader);

  // The user name, password, website address and notes windows, in that
  // order: the current site's fields, or empty texts for an empty vault.
  void DisplayPasswordRecord(const std::array<HWND, 4>& fieldWindows);
  int FillCombobox(HWND combo);

  // The header's master password: a copy, the caller's to wipe.
  std::wstring GetMasterPassword();
  void SetMasterPassword(const std::wstring& text);
  int GetPasswordDisplayFlag();
  void SetPasswordDisplayFlag(int flag);

  // After a forgotten master password: removes every file that holds sites
  // (VaultFiles::RemoveAll) and then leaves an empty header and set and no
  // current master password. When a file stays, or cannot be seen to be
  // gone, the answer says which and why, and the header, the sites and the
  // master password in memory are as they were, so the vault still opens
  // with the password that it holds.
  FileRemoval DeleteAllData();
  // Wipes the sites, the header and the current master password from
  // memory, as if no vault had been read; the files stay as they are.
  void ForgetDatabase();

  static const wchar_t m_VersionText[];
  static constexpr int32_t m_VersionNumber = 257;

 private:
  struct ReadOutcome {
    bool loaded;
    VaultFiles::KeepReason problem;
  };

  EditorUpdater();
  ReadOutcome ReadVaultFile(const std::wstring& name);

  std::wstring m_CurrentFileName;
  DatabasePasswordHeader& m_Header;
  DatabasePasswordSet& m_SiteSet;
  VaultFiles m_Files;
  VaultFiles::KeepReason m_LoadProblem = VaultFiles::KR_None;
  std::wstring m_LoadKeptName;
};
