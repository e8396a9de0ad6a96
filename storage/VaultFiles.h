// The vault file on disk and the files around it. A save never writes over
// the vault: it writes a temporary file, forces it to the medium, renames it
// to a name that means "complete", and only then puts it in the vault's place
// in one step. A cut at any instant thus leaves the old vault, alone or with
// a temporary file that is never read, or a whole new vault under the
// complete name, beside the old one or (where the file system replaces by
// delete then rename) alone. A complete file is never older than the vault:
// a load reads it first and uses it when it reads whole, and the next save
// first puts it in the vault's place. A file that could not be read, or was
// read only in part, is kept aside under a name that says why before a save
// replaces it; the reset after a forgotten master password removes every
// file that holds sites, those kept aside too, or none. Another program's
// brief hold on a file is waited out (HeldFile.h). All names stay in the
// vault's folder: a rename never crosses a volume.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "storage/FileRemoval.h"
#include "support/ErrorCodes.h"

class Serializer;

// Raises the writer's codes, so that the save's one catcher picks the message.
class VaultFiles : public SerializerErrorCodes {
 public:
  enum KeepReason {
    KR_None,
    KR_ForeignSignature,
    KR_NewerVersion,
    KR_Damaged,
    KR_Unopened,
    KR_PartlyRead,
  };

  VaultFiles() = default;
  virtual ~VaultFiles() = default;

  // The vault's full name, e.g. "E:\KFOdata\KFO.dta"; the other names are
  // made beside it from its stem ("KFO.tmp", "KFO.new").
  void SetVaultName(const std::wstring& vaultName);
  std::wstring TemporaryName() const;
  std::wstring CompleteName() const;
  // "KFO-kept-damaged-3.dta": never a name that loading or saving touches.
  std::wstring KeptName(KeepReason reason, int number) const;

  // Starts a load, forgetting what an earlier one decided. True when a
  // complete file is there, to be read before the vault.
  bool BeginLoad();
  // The complete file read whole and is what was loaded: the next save first
  // puts it in the vault's place, and the vault stays as it is until then.
  void UseCompleteFile();
  // The complete file could not be used for `reason`: the next save renames
  // it aside instead of removing it. The name it will get.
  std::wstring KeepCompleteAside(KeepReason reason);
  // The file at the vault's name must be copied aside for `reason` before a
  // save next replaces it. The name it will get.
  std::wstring KeepVaultAside(KeepReason reason);

  // Writes a new vault through `write` and puts it in the vault's place.
  // First settles a complete file that is there: put in place when it was
  // loaded, renamed aside when the load could not use it, else removed (the
  // leftover of a failed save of this run). Throws ExceptionsSerializer:
  // SR_FileNotFound when the save cannot begin (that first step fails, or the
  // temporary file cannot be made) or the old vault cannot be kept aside;
  // after the temporary file is written, the code that fits the Windows
  // error of the step that failed: SR_FileNotFound for a file that is
  // refused (held by another program, protected, on a medium that is gone),
  // SR_WriteFileFailed for any other; SR_WriteFileFailed or
  // SR_BytesWrittenIncorrect from the writing itself; what `write` throws
  // otherwise, as it is. After a throw the vault file is as it was, byte for
  // byte, and the files this save made are gone as far as they could be
  // removed.
  void Replace(const std::function<void(Serializer&)>& write);
  // Replace for a file made whole in memory (an encrypted vault): `bytes`
  // are written in one call and flushed, then read back from the disk and
  // handed to `check`; only a file that `check` accepts may take the
  // complete name. One that it refuses, or that cannot be read back, fails
  // with SR_WriteFileFailed, the vault as it was.
  void ReplaceWhole(const std::vector<unsigned char>& bytes,
                    const std::function<bool(const std::vector<unsigned char>&)>& check);

  // The first `most` bytes of the file `name` (all of them when it is
  // shorter) into `bytes`, and its whole size into `size`, waiting out
  // another program's hold on it (HeldFile.h). ERROR_SUCCESS, or the
  // Windows error of the open or the read; ERROR_HANDLE_EOF when the file
  // got shorter meanwhile.
  static DWORD ReadStart(const std::wstring& name, size_t most, std::vector<unsigned char>& bytes,
                         unsigned long long& size);

  // Removes every file that holds sites: the temporary, complete and vault
  // files and the copies kept aside earlier (KeptName), all of them or none
  // (FileRemoval.h). Nothing is kept aside on the way: the person asked for
  // all of it to go. What it could not remove, or could not look at, is in
  // the answer; a folder that cannot be searched is named itself.
  FileRemoval RemoveAll();

 private:
  struct PendingKeep {
    KeepReason reason = KR_None;
    std::wstring name;
  };

  size_t ExtensionStart() const;
  std::wstring SiblingName(const std::wstring& suffix) const;
  std::wstring FreeKeptName(KeepReason reason) const;
  DWORD FindKeptFiles(const std::wstring& folder, std::vector<std::wstring>& files) const;
  std::wstring PutAside(const std::wstring& source, KeepReason reason,
                        const std::function<DWORD(const std::wstring&)>& put) const;
  std::wstring RenameCompleteAside();
  void SettleCompleteFile();
  std::wstring CopyVaultAside();
  void PutInPlace();
  void ReplaceChecked(const std::function<void(Serializer&)>& write,
                      const std::function<void(const std::wstring&)>& check);
  void RemoveLeftovers() const;

  std::wstring m_VaultName;
  bool m_CompleteLoaded = false;
  PendingKeep m_CompleteKeep;
  PendingKeep m_VaultKeep;
};
