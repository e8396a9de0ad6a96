#include "storage/FileRemoval.h"

#include <memory>

#include "storage/HeldFile.h"
#include "support/DebugLog.h"
#include "support/ScopedHandle.h"

namespace {

// ERROR_SUCCESS when the look settled whether the file is there; `there`
// then says which. A folder of the name holds no file. The folder's own
// look, after those of its files, makes their "file not found" count.
DWORD LookAt(const std::wstring& path, bool& there) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  there = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  if (attributes != INVALID_FILE_ATTRIBUTES) return ERROR_SUCCESS;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
}

DWORD LookAtFolder(const std::wstring& folder) {
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return GetLastError();
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? ERROR_SUCCESS : ERROR_PATH_NOT_FOUND;
}

// The files of `paths` that are there, or the reason why that cannot be told.
FileRemoval FindPresent(const std::wstring& folder, const std::vector<std::wstring>& paths,
                        std::vector<std::wstring>& present) {
  for (const std::wstring& path : paths) {
    bool there = false;
    const DWORD error = LookAt(path, there);
    if (error != ERROR_SUCCESS) return {error, path, false};
    if (there) present.push_back(path);
  }
  const DWORD error = LookAtFolder(folder);
  if (error != ERROR_SUCCESS) return {error, folder, false};
  return {};
}

bool SetDisposition(HANDLE file, bool remove) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = remove ? TRUE : FALSE;
  return SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                    sizeof disposition) != FALSE;
}

bool SetAttributes(HANDLE file, DWORD attributes) {
  FILE_BASIC_INFO basic{};
  basic.FileAttributes = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
  return SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic) != FALSE;
}

// One file opened for deletion, shared with no one: no other program can
// open it until it is gone or let go. Windows refuses to delete a read-only
// file; the mark is taken off through the handle, and put back if the file
// stays.
class HeldForRemoval {
 public:
  explicit HeldForRemoval(const std::wstring& path) : m_path(path) {}
  HeldForRemoval(const HeldForRemoval&) = delete;
  HeldForRemoval& operator=(const HeldForRemoval&) = delete;
  ~HeldForRemoval() {
    if (!m_marked && m_readOnly) SetAttributes(m_file.Get(), m_attributes);
  }

  const std::wstring& Path() const { return m_path; }

  DWORD Open() {
    const DWORD error = RetryWhileHeld(FileCall::Open, [&] {
      m_file.Reset(CreateFileW(m_path.c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                               0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
      return m_file.IsValid();
    });
    if (error != ERROR_SUCCESS) return error;
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandleEx(m_file.Get(), FileBasicInfo, &basic, sizeof basic))
      return GetLastError();
    m_attributes = basic.FileAttributes;
    m_readOnly = (m_attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (m_readOnly && !SetAttributes(m_file.Get(), m_attributes & ~FILE_ATTRIBUTE_READONLY))
      return GetLastError();
    return ERROR_SUCCESS;
  }

  DWORD Mark() {
    if (!SetDisposition(m_file.Get(), true)) return GetLastError();
    m_marked = true;
    return ERROR_SUCCESS;
  }

  // False when the file is still marked, and goes when the handle closes.
  bool Unmark() {
    if (!m_marked) return true;
    m_marked = !SetDisposition(m_file.Get(), false);
    return !m_marked;
  }

 private:
  std::wstring m_path;
  ScopedHandle m_file;
  DWORD m_attributes = 0;
  bool m_readOnly = false;
  bool m_marked = false;
};

void LogFailure(const wchar_t* step, const FileRemoval& result) {
  DebugLog(L"RemoveTogether: %s failed %lu for %s", step, result.error, result.stays.c_str());
}

}  // namespace

FileRemoval RemoveTogether(const std::wstring& folder, const std::vector<std::wstring>& paths) {
  std::vector<std::wstring> present;
  FileRemoval result = FindPresent(folder, paths, present);
  if (result.error != ERROR_SUCCESS) {
    LogFailure(L"looking", result);
    return result;
  }
  {
    std::vector<std::unique_ptr<HeldForRemoval>> held;
    for (const std::wstring& path : present) {
      held.push_back(std::make_unique<HeldForRemoval>(path));
      const DWORD error = held.back()->Open();
      if (error != ERROR_SUCCESS) {
        result = {error, path, false};
        LogFailure(L"opening", result);
        return result;
      }
    }
    for (auto& file : held) {
      const DWORD error = file->Mark();
      if (error == ERROR_SUCCESS) continue;
      result = {error, file->Path(), false};
      LogFailure(L"marking", result);
      for (auto& marked : held)
        if (!marked->Unmark()) result.partly = true;
      return result;
    }
  }
  // The handles are closed, and the files gone, unless the drive went first.
  std::vector<std::wstring> left;
  result = FindPresent(folder, present, left);
  if (result.error == ERROR_SUCCESS && !left.empty()) result = {ERROR_ACCESS_DENIED, left[0]};
  if (result.error != ERROR_SUCCESS) {
    result.partly = true;
    LogFailure(L"making sure", result);
  }
  return result;
}
