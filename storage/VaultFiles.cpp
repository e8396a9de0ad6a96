#include "storage/VaultFiles.h"

#include <windows.h>

#include "storage/Serializer.h"
#include "support/DebugLog.h"
#include "support/ExceptionBase.h"
#include "support/ScopedHandle.h"

namespace {

// Far more files than anyone keeps; the bound only stops a loop on a folder
// that refuses every name.
constexpr int kMostKeptFiles = 10000;

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// `where` names the function and the call that failed.
void LogFailure(const wchar_t* where, const std::wstring& path) {
  DebugLog(L"%s failed %i for %s", where, static_cast<int>(GetLastError()), path.c_str());
}

// Windows refuses to delete or replace a read-only file.
bool Remove(const std::wstring& path) {
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) return true;
  LogFailure(L"VaultFiles::Remove: DeleteFileW", path);
  return false;
}

// A rename that is on the medium when the call returns.
bool Rename(const std::wstring& from, const std::wstring& to, DWORD flags = 0) {
  if (MoveFileExW(from.c_str(), to.c_str(), flags | MOVEFILE_WRITE_THROUGH)) return true;
  LogFailure(L"VaultFiles::Rename: MoveFileExW", from);
  return false;
}

[[noreturn]] void Fail(int code) {
  throw ExceptionsSerializer(code);
}

const wchar_t* ReasonText(VaultFiles::KeepReason reason) {
  switch (reason) {
    case VaultFiles::KR_ForeignSignature: return L"foreign";
    case VaultFiles::KR_NewerVersion: return L"newer-version";
    case VaultFiles::KR_Damaged: return L"damaged";
    case VaultFiles::KR_Unopened: return L"unopened";
    case VaultFiles::KR_PartlyRead: return L"partly-read";
    case VaultFiles::KR_None: break;
  }
  return L"kept";
}

}  // namespace

void VaultFiles::SetVaultName(const std::wstring& vaultName) {
  m_VaultName = vaultName;
  m_PendingKeep = KR_None;
}

size_t VaultFiles::ExtensionStart() const {
  const size_t nameStart = m_VaultName.rfind(L'\\') + 1;  // npos + 1 is 0
  const size_t dot = m_VaultName.rfind(L'.');
  return dot == std::wstring::npos || dot < nameStart ? m_VaultName.size() : dot;
}

std::wstring VaultFiles::SiblingName(const std::wstring& suffix) const {
  return m_VaultName.substr(0, ExtensionStart()) + suffix;
}

std::wstring VaultFiles::TemporaryName() const {
  return SiblingName(L".tmp");
}

std::wstring VaultFiles::CompleteName() const {
  return SiblingName(L".new");
}

std::wstring VaultFiles::KeptName(KeepReason reason, int number) const {
  return SiblingName(std::wstring(L"-kept-") + ReasonText(reason) + L"-" +
                     std::to_wstring(number) + m_VaultName.substr(ExtensionStart()));
}

std::wstring VaultFiles::PrepareLoad() {
  const std::wstring complete = CompleteName();
  if (!Exists(m_VaultName) && Exists(complete)) {
    DebugLog(L"VaultFiles::PrepareLoad: finishing a cut replacement");
    if (!Rename(complete, m_VaultName)) return complete;
  }
  return m_VaultName;
}

// A complete file is stale exactly when the vault is there beside it; when
// the vault is missing it is the vault, and must become it before anything
// else is written.
void VaultFiles::PrepareSave() {
  const std::wstring complete = CompleteName();
  if (!Exists(complete)) return;
  if (Exists(m_VaultName)) {
    if (!Remove(complete)) Fail(SR_FileNotFound);
  } else if (!Rename(complete, m_VaultName)) {
    Fail(SR_FileNotFound);
  }
}

void VaultFiles::Replace(const std::function<void(Serializer&)>& write) {
  PrepareSave();
  const std::wstring temporary = TemporaryName();
  std::wstring kept;
  try {
    {
      Serializer ser(temporary);
      write(ser);
      ser.Flush();
    }
    // Only a file that was whole on the medium ever carries the complete name.
    if (!Rename(temporary, CompleteName())) Fail(SR_WriteFileFailed);
    kept = KeepAside();
    PutInPlace();
  } catch (...) {
    if (!kept.empty()) Remove(kept);
    RemoveLeftovers();
    throw;
  }
  m_PendingKeep = KR_None;
}

// Copies rather than renames, so that the vault stays in place, whole, until
// the one step that replaces it.
std::wstring VaultFiles::KeepAside() {
  if (m_PendingKeep == KR_None) return std::wstring();
  if (!Exists(m_VaultName)) {
    m_PendingKeep = KR_None;
    return std::wstring();
  }
  for (int number = 1; number <= kMostKeptFiles; ++number) {
    const std::wstring kept = KeptName(m_PendingKeep, number);
    if (!CopyFileW(m_VaultName.c_str(), kept.c_str(), TRUE)) {
      const DWORD error = GetLastError();
      if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
      LogFailure(L"VaultFiles::KeepAside: CopyFileW", m_VaultName);
      Fail(SR_FileNotFound);
    }
    // The copy takes the vault's attributes; a read-only one cannot be
    // opened to be flushed.
    SetFileAttributesW(kept.c_str(), FILE_ATTRIBUTE_NORMAL);
    ScopedHandle copy(CreateFileW(kept.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!copy.IsValid() || !FlushFileBuffers(copy.Get())) {
      LogFailure(L"VaultFiles::KeepAside: flushing the copy", kept);
      copy.Close();
      Remove(kept);
      Fail(SR_FileNotFound);
    }
    DebugLog(L"VaultFiles::KeepAside: %s", kept.c_str());
    return kept;
  }
  DebugLog(L"VaultFiles::KeepAside: no free name");
  Fail(SR_FileNotFound);
}

void VaultFiles::PutInPlace() {
  // Windows refuses to replace a read-only or hidden file; they come back if
  // the replacement fails.
  const DWORD attributes = GetFileAttributesW(m_VaultName.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES)
    SetFileAttributesW(m_VaultName.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (Rename(CompleteName(), m_VaultName, MOVEFILE_REPLACE_EXISTING)) return;
  if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(m_VaultName.c_str(), attributes);
  Fail(SR_WriteFileFailed);
}

void VaultFiles::RemoveLeftovers() const {
  Remove(TemporaryName());
  if (Exists(m_VaultName)) Remove(CompleteName());
}

void VaultFiles::RemoveAll() {
  Remove(TemporaryName());
  Remove(CompleteName());
  if (!Exists(m_VaultName)) {
    m_PendingKeep = KR_None;
    return;
  }
  try {
    KeepAside();
  } catch (const ExceptionsSerializer& e) {
    ReportToDebugLog(L"VaultFiles::RemoveAll: the vault stays", e);
    return;
  }
  m_PendingKeep = KR_None;
  Remove(m_VaultName);
}
