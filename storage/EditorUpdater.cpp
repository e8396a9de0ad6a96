#include "storage/EditorUpdater.h"

#include <exception>
#include <new>
#include <thread>

#include "crypto/SystemRandomBytes.h"
#include "crypto/VaultEnvelope.h"

#include "storage/DatabasePasswordHeader.h"
#include "storage/DatabasePasswordSet.h"
#include "storage/DeSerializer.h"
#include "storage/Initialization.h"
#include "storage/Serializer.h"
#include "support/DebugLog.h"
#include "support/ExceptionBase.h"
#include "support/SecureWipe.h"
#include "support/UserMessages.h"
#include "support/WipedBytes.h"

const wchar_t EditorUpdater::m_VersionText[] = L"KEYFOLIO";

namespace {

const wchar_t kVaultFileName[] = L"KFO.dta";

VaultFiles::KeepReason ReasonOf(VaultEnvelope::Verdict verdict) {
  return verdict == VaultEnvelope::EV_Unsupported ? VaultFiles::KR_NewerVersion
                                                  : VaultFiles::KR_Damaged;
}

EditorUpdater::KeyOutcome OutcomeOf(VaultKey::Result result) {
  switch (result) {
    case VaultKey::VK_Made: return EditorUpdater::KO_Done;
    case VaultKey::VK_NotEnoughMemory: return EditorUpdater::KO_NotEnoughMemory;
    case VaultKey::VK_UnusablePassword: return EditorUpdater::KO_UnusablePassword;
    case VaultKey::VK_Failed: break;
  }
  return EditorUpdater::KO_Failed;
}

// A file that is there but was refused: another program held it longer than
// the reader waits.
VaultFiles::KeepReason ReasonOfOpenError(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? VaultFiles::KR_None
                                                                        : VaultFiles::KR_Unopened;
}

}  // namespace

EditorUpdater& EditorUpdater::GetInstance() {
  static EditorUpdater instance;
  return instance;
}

// Taking the header and the set here makes them older than this object, so
// they outlive it at exit.
EditorUpdater::EditorUpdater()
    : m_Header(DatabasePasswordHeader::GetInstance()),
      m_SiteSet(DatabasePasswordSet::GetInstance()) {}

void EditorUpdater::SetDataBaseFileName(const std::wstring& folder) {
  m_CurrentFileName = folder + kVaultFileName;
  m_Files.SetVaultName(m_CurrentFileName);
  DebugLog(L"EditorUpdater::SetDataBaseFileName: %s", m_CurrentFileName.c_str());
}

void EditorUpdater::WriteDatabase(Serializer& ser) {
  ser.PutString(m_VersionText);
  ser.PutLong(m_VersionNumber);
  m_Header.WriteFileValues(ser);
  m_SiteSet.WriteFileValues(ser);
}

bool EditorUpdater::ReadDatabase(DeSerializer& des) {
  const std::wstring signature = des.GetString();
  DebugLog(L"EditorUpdater::ReadDatabase : %s", signature.c_str());
  if (signature != m_VersionText) throw ExceptionsEditor(EditorErrorCodes::ED_WrongVersionType);
  // Unsigned: a negative version is no older than this program's.
  const uint32_t version = static_cast<uint32_t>(des.GetLong());
  if (version > static_cast<uint32_t>(m_VersionNumber))
    throw ExceptionsEditor(EditorErrorCodes::ED_WrongVersionNumber);
  m_Header.ReadFileValues(des);
  return m_SiteSet.ReadFileValues(des);
}

bool EditorUpdater::Serialize() {
  if (m_CurrentFileName.empty()) return false;
  if (m_Sealed) {
    DebugLog(L"EditorUpdater::Serialize: the vault is sealed, nothing written");
    return false;
  }
  if (m_Encrypted && !m_Key.Held()) {
    std::wstring master = m_Header.GetMasterPassword();
    ScopedWipe wipe(master);
    const VaultKey::Result made = m_Key.DeriveWithNewSalt(master, SystemRandomBytes::GetInstance());
    if (made != VaultKey::VK_Made) {
      DebugLog(L"EditorUpdater::Serialize: no key for the encrypted vault (%i)", static_cast<int>(made));
      return false;
    }
  }
  try {
    if (m_Encrypted) {
      WriteEncrypted();
    } else {
      m_Files.Replace([this](Serializer& ser) { WriteDatabase(ser); });
    }
    return true;
  } catch (const ExceptionsSerializer& e) {
    ReportToDebugLog(L"EditorUpdater::Serialize", e);
    switch (e.GetErrorCode()) {
      case Serializer::SR_FileNotFound:
        ErrorMessageBox(UM_OpenForSaveFailed, UM_Caption);
        break;
      case Serializer::SR_WriteFileFailed:
      case Serializer::SR_BytesWrittenIncorrect:
        ErrorMessageBox(UM_WriteForSaveFailed, UM_Caption);
        break;
      default:
        break;
    }
  } catch (const std::exception& e) {
    DebugLog(L"EditorUpdater::Serialize: %S", e.what());
    ErrorMessageBox(UM_WriteForSaveFailed, UM_Caption);
  }
  return false;
}

// The plaintext is written as the file would be, and sealed only once it is
// whole; the read-back is checked with the key, so that only a file that
// opens with it can replace the vault.
void EditorUpdater::WriteEncrypted() {
  WipedBytes plaintext;
  {
    Serializer memory(plaintext);
    WriteDatabase(memory);
  }
  std::vector<unsigned char> file;
  if (!VaultEnvelope::Seal(m_Key, plaintext, SystemRandomBytes::GetInstance(), file)) {
    DebugLog(L"EditorUpdater::WriteEncrypted: no nonce");
    throw ExceptionsSerializer(Serializer::SR_WriteFileFailed);
  }
  m_Files.ReplaceWhole(file, [this](const std::vector<unsigned char>& readBack) {
    return VaultEnvelope::Verify(m_Key, readBack.data(), readBack.size());
  });
}

EditorUpdater::ReadOutcome EditorUpdater::ReadVaultFile(const std::wstring& name) {
  // An encrypted file is not read here: one that a password may open is
  // left to it, one that none can open is what it is.
  std::vector<unsigned char> start;
  unsigned long long size = 0;
  const DWORD error = VaultFiles::ReadStart(name, VaultEnvelope::kHeaderBytes, start, size);
  if (error != ERROR_SUCCESS) {
    DebugLog(L"EditorUpdater::ReadVaultFile: %lu for %s", error, name.c_str());
    return {false, ReasonOfOpenError(error)};
  }
  KeyDerivation derivation;
  const VaultEnvelope::Verdict verdict =
      VaultEnvelope::ReadHeader(start.data(), start.size(), static_cast<size_t>(size), derivation);
  if (verdict == VaultEnvelope::EV_Readable) return {false, VaultFiles::KR_None};
  if (verdict != VaultEnvelope::EV_NotEnvelope) return {false, ReasonOf(verdict)};
  try {
    DeSerializer des(name);
    return ReadRecords(des);
  } catch (const ExceptionsDeSerializer& e) {
    ReportToDebugLog(L"EditorUpdater::ReadVaultFile", e);
    if (e.GetErrorCode() != DeSerializer::DS_FileNotFound) return {false, VaultFiles::KR_Damaged};
    // There but refused: another program held it longer than the reader waits.
    const bool there = GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES;
    return {false, there ? VaultFiles::KR_Unopened : VaultFiles::KR_None};
  }
}

EditorUpdater::ReadOutcome EditorUpdater::ReadRecords(DeSerializer& des) {
  try {
    return {true, ReadDatabase(des) ? VaultFiles::KR_None : VaultFiles::KR_PartlyRead};
  } catch (const ExceptionsEditor& e) {
    ReportToDebugLog(L"EditorUpdater::ReadRecords", e);
    return {false, e.GetErrorCode() == EditorErrorCodes::ED_WrongVersionType
                       ? VaultFiles::KR_ForeignSignature
                       : VaultFiles::KR_NewerVersion};
  } catch (const ExceptionsDeSerializer& e) {
    ReportToDebugLog(L"EditorUpdater::ReadRecords", e);
    return {false, VaultFiles::KR_Damaged};
  } catch (...) {
    DebugLog(L"EditorUpdater::ReadRecords: unexpected exception");
    return {false, VaultFiles::KR_Damaged};
  }
}

bool EditorUpdater::DeSerialize() {
  if (!ReadWithoutWriteBack()) return false;
  Serialize();
  return true;
}

bool EditorUpdater::FindsSealedVault(bool complete) const {
  for (const std::wstring& name : {complete ? m_Files.CompleteName() : std::wstring(), m_CurrentFileName}) {
    if (name.empty()) continue;
    std::vector<unsigned char> start;
    unsigned long long size = 0;
    KeyDerivation derivation;
    if (VaultFiles::ReadStart(name, VaultEnvelope::kHeaderBytes, start, size) == ERROR_SUCCESS &&
        VaultEnvelope::ReadHeader(start.data(), start.size(), static_cast<size_t>(size), derivation) ==
            VaultEnvelope::EV_Readable)
      return true;
  }
  return false;
}

bool EditorUpdater::ReadWithoutWriteBack() {
  if (m_CurrentFileName.empty()) return false;
  m_LoadProblem = VaultFiles::KR_None;
  m_LoadKeptName.clear();
  const bool complete = m_Files.BeginLoad();
  m_Sealed = FindsSealedVault(complete);
  if (m_Sealed) {
    m_Encrypted = true;
    m_Key.Forget();
    return false;
  }
  if (complete) {
    const ReadOutcome newer = ReadVaultFile(m_Files.CompleteName());
    if (newer.loaded && newer.problem == VaultFiles::KR_None) {
      m_Files.UseCompleteFile();
      m_Encrypted = false;
      return true;
    }
    if (newer.problem != VaultFiles::KR_None) {
      m_LoadProblem = newer.problem;
      m_LoadKeptName = m_Files.KeepCompleteAside(newer.problem);
    }
  }
  // What was not read whole goes aside before the rewrite below, or the
  // first save, replaces it.
  const ReadOutcome outcome = ReadVaultFile(m_CurrentFileName);
  if (outcome.problem != VaultFiles::KR_None) {
    m_LoadProblem = outcome.problem;
    m_LoadKeptName = m_Files.KeepVaultAside(outcome.problem);
  }
  if (outcome.loaded) m_Encrypted = false;
  return outcome.loaded;
}

EditorUpdater::Attempt EditorUpdater::TryPassword(const std::wstring& name, const std::wstring& password,
                                                  VaultKey& key) {
  std::vector<unsigned char> start;
  unsigned long long size = 0;
  const DWORD error = VaultFiles::ReadStart(name, VaultEnvelope::kHeaderBytes, start, size);
  if (error != ERROR_SUCCESS) {
    const VaultFiles::KeepReason reason = ReasonOfOpenError(error);
    return {reason == VaultFiles::KR_None ? Attempt::Absent : Attempt::Unreadable, reason, false};
  }
  KeyDerivation derivation;
  const VaultEnvelope::Verdict verdict =
      VaultEnvelope::ReadHeader(start.data(), start.size(), static_cast<size_t>(size), derivation);
  if (verdict == VaultEnvelope::EV_NotEnvelope) {
    // A scrambled file holds its master password: only that one opens it.
    const ReadOutcome outcome = ReadVaultFile(name);
    if (!outcome.loaded) return {Attempt::Unreadable, outcome.problem, false};
    std::wstring stored = m_Header.GetMasterPassword();
    ScopedWipe wipe(stored);
    if (stored == password) return {Attempt::Opened, outcome.problem, false};
    ForgetDatabase();
    return {Attempt::Wrong, VaultFiles::KR_None, false};
  }
  if (verdict != VaultEnvelope::EV_Readable) return {Attempt::Unreadable, ReasonOf(verdict), true};
  // The file is read, and the room for its plaintext made, while the key is
  // derived: what a password waits for is the derivation, and little more.
  std::vector<unsigned char> file;
  WipedBytes plaintext;
  DWORD readError = ERROR_SUCCESS;
  std::thread reader([&] {
    try {
      unsigned long long whole = 0;
      readError = VaultFiles::ReadStart(name, static_cast<size_t>(size), file, whole);
      if (readError == ERROR_SUCCESS && whole != size) readError = ERROR_HANDLE_EOF;
      if (readError == ERROR_SUCCESS) plaintext.resize(file.size() - VaultEnvelope::kHeaderBytes);
    } catch (const std::bad_alloc&) {
      readError = ERROR_NOT_ENOUGH_MEMORY;
    }
  });
  // Both files of a cut save have the same salt: one derivation serves both.
  VaultKey::Result made = VaultKey::VK_Made;
  if (!key.Held() || !(key.Derivation() == derivation)) made = key.Derive(password, derivation);
  reader.join();
  if (made == VaultKey::VK_NotEnoughMemory || readError == ERROR_NOT_ENOUGH_MEMORY)
    return {Attempt::NoMemory, VaultFiles::KR_None, true};
  if (readError != ERROR_SUCCESS) {
    DebugLog(L"EditorUpdater::TryPassword: reading %s whole failed %lu", name.c_str(), readError);
    return {Attempt::Unreadable, VaultFiles::KR_Unopened, true};
  }
  if (made == VaultKey::VK_UnusablePassword) return {Attempt::Wrong, VaultFiles::KR_None, true};
  if (made != VaultKey::VK_Made) return {Attempt::Unreadable, VaultFiles::KR_Unopened, true};
  if (!VaultEnvelope::Open(key, file.data(), file.size(), plaintext))
    return {Attempt::Wrong, VaultFiles::KR_None, true};
  DeSerializer des(plaintext.data(), static_cast<unsigned long>(plaintext.size()));
  const ReadOutcome outcome = ReadRecords(des);
  return {outcome.loaded ? Attempt::Opened : Attempt::Unreadable, outcome.problem, true};
}

// The files are tried as a load reads them, the complete one first; what
// could not be used is kept aside as a load keeps it, but only once a file
// opened or none could be read: after a wrong password nothing is decided.
EditorUpdater::VaultOpening EditorUpdater::Open(const std::wstring& password) {
  if (m_CurrentFileName.empty()) return VO_Unreadable;
  m_LoadProblem = VaultFiles::KR_None;
  m_LoadKeptName.clear();
  VaultKey key;
  const bool complete = m_Files.BeginLoad();
  Attempt newer{Attempt::Absent, VaultFiles::KR_None, false};
  if (complete) {
    newer = TryPassword(m_Files.CompleteName(), password, key);
    if (newer.kind == Attempt::NoMemory) return VO_NotEnoughMemory;
    if (newer.kind == Attempt::Opened && newer.problem == VaultFiles::KR_None) {
      m_Files.UseCompleteFile();
      m_Key.Swap(key);
      m_Encrypted = newer.encrypted;
      m_Sealed = false;
      return VO_Opened;
    }
  }
  const Attempt vault = TryPassword(m_CurrentFileName, password, key);
  if (vault.kind == Attempt::NoMemory) return VO_NotEnoughMemory;
  const bool opened = newer.kind == Attempt::Opened || vault.kind == Attempt::Opened;
  if (!opened && (newer.kind == Attempt::Wrong || vault.kind == Attempt::Wrong)) {
    ForgetDatabase();
    return VO_WrongPassword;
  }
  // A file that this password does not open beside one that it does:
  // damaged, or sealed with another password by a save that was cut;
  // either way it goes aside, never away.
  const auto problemOf = [](const Attempt& attempt) {
    return attempt.kind == Attempt::Wrong ? VaultFiles::KR_Damaged : attempt.problem;
  };
  if (problemOf(newer) != VaultFiles::KR_None) {
    m_LoadProblem = problemOf(newer);
    m_LoadKeptName = m_Files.KeepCompleteAside(m_LoadProblem);
  }
  if (problemOf(vault) != VaultFiles::KR_None) {
    m_LoadProblem = problemOf(vault);
    m_LoadKeptName = m_Files.KeepVaultAside(m_LoadProblem);
  }
  if (vault.kind != Attempt::Opened) return VO_Unreadable;
  m_Key.Swap(key);
  m_Encrypted = vault.encrypted;
  m_Sealed = false;
  return VO_Opened;
}

EditorUpdater::VaultOpening EditorUpdater::OpenEncrypted(const std::wstring& password) {
  const VaultOpening opening = Open(password);
  if (opening == VO_Opened) {
    Serialize();
  } else if (opening == VO_Unreadable) {
    m_Sealed = false;
  }
  return opening;
}

EditorUpdater::VaultOpening EditorUpdater::ReadEncryptedWithoutWriteBack(const std::wstring& password) {
  return Open(password);
}

EditorUpdater::KeyOutcome EditorUpdater::EncryptVault(const std::wstring& password) {
  if (m_Sealed || m_CurrentFileName.empty()) return KO_Failed;
  VaultKey key;
  const KeyOutcome made = OutcomeOf(key.DeriveWithNewSalt(password, SystemRandomBytes::GetInstance()));
  if (made != KO_Done) return made;
  std::wstring previous = m_Header.GetMasterPassword();
  ScopedWipe wipe(previous);
  const bool wasEncrypted = m_Encrypted;
  m_Key.Swap(key);
  m_Encrypted = true;
  m_Header.SetMasterPassword(password);
  if (Serialize()) return KO_Done;
  m_Key.Swap(key);
  m_Encrypted = wasEncrypted;
  m_Header.SetMasterPassword(previous);
  return KO_SaveFailed;
}

bool EditorUpdater::OpensWithKey(const unsigned char* file, size_t size) const {
  return m_Encrypted && VaultEnvelope::Verify(m_Key, file, size);
}

EditorUpdater::KeyOutcome EditorUpdater::SetEncryptedMasterPassword(const std::wstring& password) {
  if (!m_Encrypted || m_Sealed) return KO_Failed;
  VaultKey key;
  const KeyOutcome made = OutcomeOf(key.DeriveWithNewSalt(password, SystemRandomBytes::GetInstance()));
  if (made != KO_Done) return made;
  m_Key.Swap(key);
  m_Header.SetMasterPassword(password);
  return KO_Done;
}

bool EditorUpdater::ReadDefaultDatabase(bool clearHeader) {
  m_SiteSet.LoadDefaultValues();
  if (clearHeader) {
    m_Header.ResetHeader();
    m_Key.Forget();
  }
  return true;
}

void EditorUpdater::DisplayPasswordRecord(const std::array<HWND, 4>& fieldWindows) {
  if (m_SiteSet.DatabaseIsEmpty()) {
    for (HWND window : fieldWindows) SetWindowTextW(window, L"");
    return;
  }
  for (size_t i = 0; i < fieldWindows.size(); ++i) {
    std::wstring text = m_SiteSet.FieldsByIndex(static_cast<int>(i) + 1);
    ScopedWipe wipe(text);
    SetWindowTextW(fieldWindows[i], text.c_str());
  }
}

int EditorUpdater::FillCombobox(HWND combo) {
  return m_SiteSet.FillCombobox(combo);
}

std::wstring EditorUpdater::GetMasterPassword() {
  return m_Header.GetMasterPassword();
}

void EditorUpdater::SetMasterPassword(const std::wstring& text) {
  if (m_Key.Held()) {
    std::wstring current = m_Header.GetMasterPassword();
    ScopedWipe wipe(current);
    if (current != text) m_Key.Forget();
  }
  m_Header.SetMasterPassword(text);
}

int EditorUpdater::GetPasswordDisplayFlag() {
  return m_Header.GetPasswordDisplayFlag();
}

void EditorUpdater::SetPasswordDisplayFlag(int flag) {
  m_Header.SetPasswordDisplayFlag(flag);
}

FileRemoval EditorUpdater::DeleteAllData() {
  if (!m_CurrentFileName.empty()) {
    const FileRemoval removal = m_Files.RemoveAll();
    if (removal.error != ERROR_SUCCESS) return removal;
  }
  m_Header.ClearHeader();
  m_SiteSet.DeleteAllRecords();
  Initialization::GetInstance().ClearMasterPassword();
  m_Key.Forget();
  m_Sealed = false;
  return FileRemoval();
}

void EditorUpdater::ForgetDatabase() {
  m_Header.ClearHeader();
  m_SiteSet.LoadDefaultValues();
  Initialization::GetInstance().ClearMasterPassword();
  m_Key.Forget();
  if (m_Encrypted) m_Sealed = true;
}
