// The vault file manager: the only code that reads or writes the vault file.
// The file is the signature, the file version, the header and the site set,
// in that order and nothing else. Loading reads it once at start-up and
// writes it back at once; every change is saved whole. How a save reaches
// the disk without ever putting the old vault at risk, and what happens to a
// file that could not be read, is VaultFiles' business; this class lays the
// values out and tells the user when a save failed.
//
// A vault can also be kept encrypted (VaultEnvelope.h): the same bytes, laid
// out in memory and sealed with a key made from the master password, in a
// file that begins with "KFOCRYPT". Such a vault is not read before its
// password is given: a load finds it sealed, and until a password opens it
// nothing writes the vault, so no empty vault ever replaces it. Opening it
// derives the key once, checks the tag, and reads the plaintext with the
// same reader as a scrambled file. Once encrypted, a vault stays encrypted:
// every save seals it anew with a new nonce, and the salt changes only
// together with the key, when the master password changes.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "crypto/VaultKey.h"
#include "storage/VaultFiles.h"

class DatabasePasswordHeader;
class DatabasePasswordSet;
class DeSerializer;
class Serializer;

class EditorUpdater {
 public:
  // What a password made of an encrypted vault.
  enum VaultOpening {
    // Loaded; GetLoadProblem tells what the load could not use, as after
    // DeSerialize.
    VO_Opened,
    // No file there opened with it: a wrong password, or a file whose
    // ciphertext, tag, nonce or salt changed, which the cipher cannot tell
    // apart. Nothing was read or changed; the vault stays sealed.
    VO_WrongPassword,
    // The key could not be derived for want of memory: says nothing about
    // the password. Nothing was read or changed; the vault stays sealed.
    VO_NotEnoughMemory,
    // Nothing there could be read (GetLoadProblem says why; KR_None: the
    // files are gone, as when the drive was pulled).
    VO_Unreadable,
  };
  // What making a new key for the master password came to.
  enum KeyOutcome {
    KO_Done,
    KO_NotEnoughMemory,
    // A lone half of a surrogate pair: no exact UTF-8 form to derive from.
    KO_UnusablePassword,
    // The key was made but the save failed, after Serialize's message;
    // everything is as it was before.
    KO_SaveFailed,
    // Not now (the vault is sealed, or not encrypted), or no random bytes.
    KO_Failed,
  };

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
  // before SetDataBaseFileName and while the vault is sealed. An encrypted
  // vault is laid out in memory, sealed with a new nonce, written whole,
  // read back and checked before it takes the vault's place. When its key
  // went with a change of the master password, a new key and salt are made
  // here first; false without a word when that fails (SetEncryptedMaster-
  // Password makes them beforehand, where a failure can be told).
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
  // Both find an encrypted vault sealed: false, KR_None, IsSealed().
  bool ReadWithoutWriteBack();

  // The vault is kept encrypted: it was read encrypted (sealed or opened),
  // made so by EncryptVault, or the reset removed an encrypted one, so the
  // next vault is encrypted too.
  bool IsEncrypted() const { return m_Encrypted; }
  // An encrypted vault is on the drive and not opened: nothing of it is in
  // memory, and Serialize writes nothing.
  bool IsSealed() const { return m_Sealed; }
  // Opens the sealed vault with `password`, as DeSerialize loads a scrambled
  // one: the newest complete file that opens wins, and the load is written
  // back. A scrambled file found beside an encrypted one opens only with
  // the master password it holds. After VO_Unreadable the vault is no
  // longer sealed: the program goes on empty, and the next save keeps the
  // unreadable files aside before it writes an encrypted vault (the key made
  // then from the master password in force).
  VaultOpening OpenEncrypted(const std::wstring& password);
  // The same without the write-back, for a locked program; it stays sealed
  // after anything but VO_Opened.
  VaultOpening ReadEncryptedWithoutWriteBack(const std::wstring& password);
  // Makes the vault encrypted with `password` as its master password (a new
  // salt and key) and saves it. On anything but KO_Done the vault, in memory
  // and on the drive, is as it was. The caller puts the password in force
  // (Initialization), as after SetMasterPassword.
  KeyOutcome EncryptVault(const std::wstring& password);
  // For an encrypted vault: a new salt and key for `password`, made first,
  // and then the header's master password, all together; the caller saves.
  // On anything but KO_Done nothing changed.
  KeyOutcome SetEncryptedMasterPassword(const std::wstring& password);
  // Whether `size` bytes at `file` are a whole encrypted vault whose tag
  // verifies with the key held now: a copy of the vault (a backup) checked
  // without a derivation. False for an unencrypted or sealed vault.
  bool OpensWithKey(const unsigned char* file, size_t size) const;
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

  // An empty site set and, with `clearHeader`, a reset header (whose master
  // password an encrypted vault's key no longer belongs to). Always true.
  bool ReadDefaultDatabase(bool clearHeader);

  // The user name, password, website address and notes windows, in that
  // order: the current site's fields, or empty texts for an empty vault.
  void DisplayPasswordRecord(const std::array<HWND, 4>& fieldWindows);
  int FillCombobox(HWND combo);

  // The header's master password: a copy, the caller's to wipe. Setting
  // another on an encrypted vault drops the key, which belongs to the old
  // one; the next save makes a new key and salt.
  std::wstring GetMasterPassword();
  void SetMasterPassword(const std::wstring& text);
  int GetPasswordDisplayFlag();
  void SetPasswordDisplayFlag(int flag);

  // After a forgotten master password: removes every file that holds sites
  // (VaultFiles::RemoveAll) and then leaves an empty header and set and no
  // current master password. When a file stays, or cannot be seen to be
  // gone, the answer says which and why, and the header, the sites and the
  // master password in memory are as they were, so the vault still opens
  // with the password that it holds. An encrypted vault's key is wiped
  // with it, and the next vault, saved after a new master password, is
  // encrypted again.
  FileRemoval DeleteAllData();
  // Wipes the sites, the header, the current master password and an
  // encrypted vault's key from memory, as if no vault had been read; the
  // files stay as they are, and an encrypted vault is sealed again.
  void ForgetDatabase();

  static const wchar_t m_VersionText[];
  static constexpr int32_t m_VersionNumber = 257;

 private:
  struct ReadOutcome {
    bool loaded;
    VaultFiles::KeepReason problem;
  };
  // One file tried with a password.
  struct Attempt {
    enum Kind { Absent, Opened, Wrong, NoMemory, Unreadable } kind;
    VaultFiles::KeepReason problem;
    bool encrypted;
  };

  EditorUpdater();
  ReadOutcome ReadVaultFile(const std::wstring& name);
  ReadOutcome ReadRecords(DeSerializer& des);
  bool FindsSealedVault(bool complete) const;
  Attempt TryPassword(const std::wstring& name, const std::wstring& password, VaultKey& key);
  VaultOpening Open(const std::wstring& password);
  void WriteEncrypted();

  std::wstring m_CurrentFileName;
  DatabasePasswordHeader& m_Header;
  DatabasePasswordSet& m_SiteSet;
  VaultFiles m_Files;
  VaultFiles::KeepReason m_LoadProblem = VaultFiles::KR_None;
  std::wstring m_LoadKeptName;
  bool m_Encrypted = false;
  bool m_Sealed = false;
  VaultKey m_Key;
};
