#include "storage/EditorUpdater.h"

#include <exception>

#include "storage/DatabasePasswordHeader.h"
#include "storage/DatabasePasswordSet.h"
#include "storage/DeSerializer.h"
#include "storage/Initialization.h"
#include "storage/Serializer.h"
#include "support/DebugLog.h"
#include "support/ExceptionBase.h"
#include "support/SecureWipe.h"
#include "support/UserMessages.h"

const wchar_t EditorUpdater::m_VersionText[] = L"KEYFOLIO";

namespace {

const wchar_t kVaultFileName[] = L"KFO.dta";

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
  try {
    m_Files.Replace([this](Serializer& ser) { WriteDatabase(ser); });
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

EditorUpdater::ReadOutcome EditorUpdater::ReadVaultFile(const std::wstring& name) {
  try {
    DeSerializer des(name);
    return {true, ReadDatabase(des) ? VaultFiles::KR_None : VaultFiles::KR_PartlyRead};
  } catch (const ExceptionsEditor& e) {
    ReportToDebugLog(L"EditorUpdater::ReadVaultFile", e);
    return {false, e.GetErrorCode() == EditorErrorCodes::ED_WrongVersionType
                       ? VaultFiles::KR_ForeignSignature
                       : VaultFiles::KR_NewerVersion};
  } catch (const ExceptionsDeSerializer& e) {
    ReportToDebugLog(L"EditorUpdater::ReadVaultFile", e);
    if (e.GetErrorCode() != DeSerializer::DS_FileNotFound) return {false, VaultFiles::KR_Damaged};
    // There but refused: another program held it longer than the reader waits.
    const bool there = GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES;
    return {false, there ? VaultFiles::KR_Unopened : VaultFiles::KR_None};
  } catch (...) {
    DebugLog(L"EditorUpdater::ReadVaultFile: unexpected exception");
    return {false, VaultFiles::KR_Damaged};
  }
}

bool EditorUpdater::DeSerialize() {
  if (!ReadWithoutWriteBack()) return false;
  Serialize();
  return true;
}

bool EditorUpdater::ReadWithoutWriteBack() {
  if (m_CurrentFileName.empty()) return false;
  m_LoadProblem = VaultFiles::KR_None;
  m_LoadKeptName.clear();
  if (m_Files.BeginLoad()) {
    const ReadOutcome newer = ReadVaultFile(m_Files.CompleteName());
    if (newer.loaded && newer.problem == VaultFiles::KR_None) {
      m_Files.UseCompleteFile();
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
  return outcome.loaded;
}

bool EditorUpdater::ReadDefaultDatabase(bool clearHeader) {
  m_SiteSet.LoadDefaultValues();
  if (clearHeader) m_Header.ResetHeader();
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
  return FileRemoval();
}

void EditorUpdater::ForgetDatabase() {
  m_Header.ClearHeader();
  m_SiteSet.LoadDefaultValues();
  Initialization::GetInstance().ClearMasterPassword();
}
