#include "exchange/SafeFileWriter.h"

#include "storage/HeldFile.h"
#include "support/DebugLog.h"
#include "support/ScopedHandle.h"

namespace {

// The largest piece one WriteFile is given.
constexpr size_t kMostPerWrite = 1 << 20;

DWORD WriteAll(HANDLE file, const char* data, size_t size) {
  while (size != 0) {
    const DWORD piece = static_cast<DWORD>(size < kMostPerWrite ? size : kMostPerWrite);
    DWORD written = 0;
    if (!WriteFile(file, data, piece, &written, nullptr)) return GetLastError();
    // A full disk first completes a write short, and only the next one fails.
    if (written != piece) return ERROR_DISK_FULL;
    data += piece;
    size -= piece;
  }
  return FlushFileBuffers(file) ? ERROR_SUCCESS : GetLastError();
}

DWORD WriteTemporary(const std::wstring& temporary, const void* data, size_t size) {
  ScopedHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsValid()) return GetLastError();
  const DWORD error = WriteAll(file.Get(), static_cast<const char*>(data), size);
  if (error != ERROR_SUCCESS) return error;
  return file.Close() ? ERROR_SUCCESS : GetLastError();
}

}  // namespace

DWORD SafeFileWriter::Write(const std::wstring& target, const void* data, size_t size) {
  const size_t slash = target.rfind(L'\\');
  const std::wstring folder = slash == std::wstring::npos ? L"." : target.substr(0, slash + 1);
  // A name of its own in the target's folder, made there (empty) at once, so
  // that no other file is ever written over.
  wchar_t temporary[MAX_PATH] = {};
  if (!GetTempFileNameW(folder.c_str(), L"kfo", 0, temporary)) {
    const DWORD error = GetLastError();
    DebugLog(L"SafeFileWriter::Write: GetTempFileNameW failed %lu in %s", error, folder.c_str());
    return error;
  }
  DWORD error = WriteTemporary(temporary, data, size);
  if (error == ERROR_SUCCESS) {
    error = RetryWhileHeld(FileCall::Rename, [&] {
      return MoveFileExW(temporary, target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    });
  }
  if (error != ERROR_SUCCESS) {
    DebugLog(L"SafeFileWriter::Write: failed %lu for %s", error, target.c_str());
    DeleteFileW(temporary);
  }
  return error;
}
