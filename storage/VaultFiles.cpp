#include "storage/VaultFiles.h"

#include "storage/HeldFile.h"
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
void LogFailure(const wchar_t* where, DWORD error, const std::wstring& path) {
  DebugLog(L"%s failed %lu for %s", where, error, path.c_str());
}

// Windows refuses to delete a read-only file.
bool Remove(const std::wstring& path) {
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  const DWORD error =
      RetryWhileHeld(FileCall::Open, [&] { return DeleteFileW(path.c_str()) != FALSE; });
  if (error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND) return true;
  LogFailure(L"VaultFiles::Remove: DeleteFileW", error, path);
  return false;
}

// A rename that is on the medium when the call returns. Without
// MOVEFILE_REPLACE_EXISTING in `flags` it fails on a taken name.
DWORD Rename(const std::wstring& from, const std::wstring& to, DWORD flags = 0) {
  return RetryWhileHeld(FileCall::Rename, [&] {
    return MoveFileExW(from.c_str(), to.c_str(), flags | MOVEFILE_WRITE_THROUGH) != FALSE;
  });
}

[[noreturn]] void Fail(int code) {
  throw ExceptionsSerializer(code);
}

// The message of a failed step follows its cause: a file that is refused
// (held by another program, protected, on a medium that is gone or
// write-protected) could not be opened for saving; anything else failed in
// the writing.
int CodeForError(DWORD error) {
  switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_NOT_READY:
      return VaultFiles::SR_FileNotFound;
    default:
      return VaultFiles::SR_WriteFileFailed;
  }
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
  BeginLoad();
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

bool VaultFiles::BeginLoad() {
  m_CompleteLoaded = false;
  m_CompleteKeep = PendingKeep();
  m_VaultKeep = PendingKeep();
  return Exists(CompleteName());
}

void VaultFiles::UseCompleteFile() {
  m_CompleteLoaded = true;
}

// The complete file is set aside before the vault (SettleCompleteFile runs
// first in a save), and PutAside takes the first free number: predicting the
// names in that order gives the names they will get.
std::wstring VaultFiles::FreeKeptName(KeepReason reason) const {
  for (int number = 1; number < kMostKeptFiles; ++number) {
    std::wstring name = KeptName(reason, number);
    if (!Exists(name) && name != m_CompleteKeep.name) return name;
  }
  return KeptName(reason, kMostKeptFiles);
}

std::wstring VaultFiles::KeepCompleteAside(KeepReason reason) {
  m_CompleteLoaded = false;
  m_CompleteKeep.reason = reason;
  m_CompleteKeep.name = FreeKeptName(reason);
  return m_CompleteKeep.name;
}

std::wstring VaultFiles::KeepVaultAside(KeepReason reason) {
  m_VaultKeep.reason = reason;
  m_VaultKeep.name = FreeKeptName(reason);
  return m_VaultKeep.name;
}

std::wstring VaultFiles::PutAside(const std::wstring& source, KeepReason reason,
                                  const std::function<DWORD(const std::wstring&)>& put) const {
  for (int number = 1; number <= kMostKeptFiles; ++number) {
    const std::wstring kept = KeptName(reason, number);
    const DWORD error = put(kept);
    if (error == ERROR_SUCCESS) {
      DebugLog(L"VaultFiles::PutAside: %s as %s", source.c_str(), kept.c_str());
      return kept;
    }
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
      LogFailure(L"VaultFiles::PutAside", error, source);
      return std::wstring();
    }
  }
  DebugLog(L"VaultFiles::PutAside: no free name for %s", source.c_str());
  return std::wstring();
}

std::wstring VaultFiles::RenameCompleteAside() {
  const std::wstring complete = CompleteName();
  const std::wstring kept = PutAside(complete, m_CompleteKeep.reason, [&](const std::wstring& name) {
    return Rename(complete, name);
  });
  if (!kept.empty()) m_CompleteKeep = PendingKeep();
  return kept;
}

// A complete file here is the one the load used, one it could not use, or
// the leftover of a failed save of this run that could not remove it: the
// program is the only one that makes these files, and the load saw any
// other.
void VaultFiles::SettleCompleteFile() {
  if (!Exists(CompleteName())) {
    m_CompleteLoaded = false;
    m_CompleteKeep = PendingKeep();
    return;
  }
  if (m_CompleteLoaded) {
    PutInPlace();
    m_CompleteLoaded = false;
  } else if (m_CompleteKeep.reason != KR_None) {
    if (RenameCompleteAside().empty()) Fail(SR_FileNotFound);
  } else if (!Remove(CompleteName())) {
    Fail(SR_FileNotFound);
  }
}

void VaultFiles::Replace(const std::function<void(Serializer&)>& write) {
  ReplaceChecked(write, nullptr);
}

void VaultFiles::ReplaceWhole(const std::vector<unsigned char>& bytes,
                              const std::function<bool(const std::vector<unsigned char>&)>& check) {
  ReplaceChecked(
      [&](Serializer& ser) { ser.PutBytes(bytes.data(), static_cast<unsigned long>(bytes.size())); },
      [&](const std::wstring& temporary) {
        std::vector<unsigned char> readBack;
        unsigned long long size = 0;
        const DWORD error = ReadStart(temporary, bytes.size() + 1, readBack, size);
        if (error != ERROR_SUCCESS || size != bytes.size() || !check(readBack)) {
          LogFailure(L"VaultFiles::ReplaceWhole: reading back", error, temporary);
          Fail(SR_WriteFileFailed);
        }
      });
}

DWORD VaultFiles::ReadStart(const std::wstring& name, size_t most, std::vector<unsigned char>& bytes,
                            unsigned long long& size) {
  bytes.clear();
  size = 0;
  HANDLE opened = INVALID_HANDLE_VALUE;
  const DWORD error = RetryWhileHeld(FileCall::Open, [&] {
    opened = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    return opened != INVALID_HANDLE_VALUE;
  });
  if (error != ERROR_SUCCESS) return error;
  ScopedHandle file(opened);
  LARGE_INTEGER whole{};
  if (!GetFileSizeEx(file.Get(), &whole)) return GetLastError();
  size = static_cast<unsigned long long>(whole.QuadPart);
  const size_t wanted = size < most ? static_cast<size_t>(size) : most;
  bytes.resize(wanted);
  size_t done = 0;
  while (done < wanted) {
    const DWORD part = wanted - done > 0x40000000 ? 0x40000000 : static_cast<DWORD>(wanted - done);
    DWORD read = 0;
    if (!ReadFile(file.Get(), bytes.data() + done, part, &read, nullptr)) return GetLastError();
    if (read == 0) return ERROR_HANDLE_EOF;
    done += read;
  }
  return ERROR_SUCCESS;
}

void VaultFiles::ReplaceChecked(const std::function<void(Serializer&)>& write,
                                const std::function<void(const std::wstring&)>& check) {
  SettleCompleteFile();
  const std::wstring temporary = TemporaryName();
  std::wstring kept;
  try {
    {
      Serializer ser(temporary);
      write(ser);
      ser.Flush();
    }
    if (check) check(temporary);
    // Only a file that was whole on the medium ever carries the complete name.
    const DWORD error = Rename(temporary, CompleteName());
    if (error != ERROR_SUCCESS) {
      LogFailure(L"VaultFiles::Replace: MoveFileExW", error, temporary);
      Fail(CodeForError(error));
    }
    kept = CopyVaultAside();
    PutInPlace();
  } catch (...) {
    if (!kept.empty()) Remove(kept);
    RemoveLeftovers();
    throw;
  }
  m_VaultKeep = PendingKeep();
}

// Copies rather than renames, so that the vault stays in place, whole, until
// the one step that replaces it.
std::wstring VaultFiles::CopyVaultAside() {
  if (m_VaultKeep.reason == KR_None) return std::wstring();
  if (!Exists(m_VaultName)) {
    m_VaultKeep = PendingKeep();
    return std::wstring();
  }
  const std::wstring kept = PutAside(m_VaultName, m_VaultKeep.reason, [&](const std::wstring& name) {
    return RetryWhileHeld(FileCall::Open, [&] {
      return CopyFileW(m_VaultName.c_str(), name.c_str(), TRUE) != FALSE;
    });
  });
  if (kept.empty()) Fail(SR_FileNotFound);
  // The copy takes the vault's attributes; a read-only one cannot be opened
  // to be flushed.
  SetFileAttributesW(kept.c_str(), FILE_ATTRIBUTE_NORMAL);
  ScopedHandle copy(CreateFileW(kept.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!copy.IsValid() || !FlushFileBuffers(copy.Get())) {
    LogFailure(L"VaultFiles::CopyVaultAside: flushing the copy", GetLastError(), kept);
    copy.Close();
    Remove(kept);
    Fail(SR_FileNotFound);
  }
  return kept;
}

void VaultFiles::PutInPlace() {
  // Windows refuses to replace a read-only or hidden file; they come back if
  // the replacement fails.
  const DWORD attributes = GetFileAttributesW(m_VaultName.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES)
    SetFileAttributesW(m_VaultName.c_str(), FILE_ATTRIBUTE_NORMAL);
  const DWORD error = Rename(CompleteName(), m_VaultName, MOVEFILE_REPLACE_EXISTING);
  if (error == ERROR_SUCCESS) return;
  LogFailure(L"VaultFiles::PutInPlace: MoveFileExW", error, m_VaultName);
  if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(m_VaultName.c_str(), attributes);
  Fail(CodeForError(error));
}

void VaultFiles::RemoveLeftovers() const {
  Remove(TemporaryName());
  if (Exists(m_VaultName)) Remove(CompleteName());
}

// A pattern matches the short names that Windows makes up too: each name
// found is checked again.
DWORD VaultFiles::FindKeptFiles(const std::wstring& folder, std::vector<std::wstring>& files) const {
  const std::wstring extension = m_VaultName.substr(ExtensionStart());
  const std::wstring stem = SiblingName(L"-kept-").substr(folder.size() + 1);
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW(SiblingName(L"-kept-*" + extension).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
  }
  DWORD error = ERROR_SUCCESS;
  do {
    const std::wstring name = found.cFileName;
    if (name.size() > stem.size() + extension.size() &&
        CompareStringOrdinal(name.c_str(), static_cast<int>(stem.size()), stem.c_str(),
                             static_cast<int>(stem.size()), TRUE) == CSTR_EQUAL &&
        CompareStringOrdinal(name.c_str() + name.size() - extension.size(),
                             static_cast<int>(extension.size()), extension.c_str(),
                             static_cast<int>(extension.size()), TRUE) == CSTR_EQUAL)
      files.push_back(folder + L"\\" + name);
  } while (FindNextFileW(search, &found));
  if (GetLastError() != ERROR_NO_MORE_FILES) error = GetLastError();
  FindClose(search);
  return error;
}

FileRemoval VaultFiles::RemoveAll() {
  const std::wstring folder = m_VaultName.substr(0, m_VaultName.rfind(L'\\'));
  std::vector<std::wstring> files = {TemporaryName(), CompleteName(), m_VaultName};
  const DWORD error = FindKeptFiles(folder, files);
  if (error != ERROR_SUCCESS) {
    LogFailure(L"VaultFiles::RemoveAll: FindFirstFileW", error, folder);
    return {error, folder, false};
  }
  const FileRemoval removal = RemoveTogether(folder, files);
  if (removal.error == ERROR_SUCCESS) {
    m_CompleteLoaded = false;
    m_CompleteKeep = PendingKeep();
    m_VaultKeep = PendingKeep();
  }
  return removal;
}
