// The vault file on disk and the files around it. A save never writes over
// the vault: it writes a temporary file, forces it to the medium, renames it
// to a name that means "complete", and only then puts it in the vault's place
// in one step. A cut at any instant thus leaves the old vault, or the new
// one under the vault's name or (where the file system replaces by delete
// then rename) under the complete name alone; the temporary name is never
// read. A vault that could not be read, or was read only in part, is copied
// aside under a name that says why before anything replaces or removes it.
// All names stay in the vault's folder: a rename never crosses a volume.
#pragma once

#include <functional>
#include <string>

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

  // Before a load: a vault name that is missing while a complete file is
  // there means a replacement was cut between its delete and its rename;
  // finishes it. The name to read: the vault's, or the complete file's when
  // it could not be renamed.
  std::wstring PrepareLoad();

  // The file at the vault's name must be copied aside for `reason` before
  // it is next replaced or removed.
  void KeepAsideBeforeReplacing(KeepReason reason) { m_PendingKeep = reason; }

  // Writes a new vault through `write` and puts it in the vault's place.
  // First finishes a replacement that a cut left half done, and removes a
  // stale complete file. Throws ExceptionsSerializer: SR_FileNotFound when
  // the save cannot begin (those first steps fail, or the temporary file
  // cannot be made) or the old vault cannot be kept aside;
  // SR_WriteFileFailed or SR_BytesWrittenIncorrect for every later failure;
  // what `write` throws otherwise, as it is. After a throw the vault file is
  // as it was, byte for byte, and the files this save made are gone as far
  // as they could be removed.
  void Replace(const std::function<void(Serializer&)>& write);

  // Removes the temporary, complete and vault files, in that order, so that
  // no cut leaves an older vault to be found. A vault that is to be kept
  // aside is copied aside first, and stays when it cannot be. Files kept
  // aside earlier are the user's and stay. Failures are only logged.
  void RemoveAll();

 private:
  size_t ExtensionStart() const;
  std::wstring SiblingName(const std::wstring& suffix) const;
  void PrepareSave();
  std::wstring KeepAside();
  void PutInPlace();
  void RemoveLeftovers() const;

  std::wstring m_VaultName;
  KeepReason m_PendingKeep = KR_None;
};
