#include "exchange/SafeFileWriter.h"

#include "storage/HeldFile.h"
#include "support/DebugLog.h"
#include "support/ScopedHandle.h"
#include "support/StringFunctions.h"

namespace {

// The largest piece one WriteFile is given.
constexpr size_t kMostPerWrite = 1 << 20;
// Temporary names tried before the write gives up: each taken one is a file
// that an earlier, interrupted write left.
constexpr int kMostNames = 100;

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

// While marked, the file goes with the last handle to it.
bool MarkForDeletion(HANDLE file, bool marked) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = marked ? TRUE : FALSE;
  return SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                    sizeof disposition) != FALSE;
}

// A new file of that name, made for writing and marked for deletion, or an
// invalid handle with the last error set. Made, then marked: a file made
// with FILE_FLAG_DELETE_ON_CLOSE cannot have its mark taken off where Wine
// runs (FileDispositionInfoEx is missing there), so a program that ends
// between the two calls leaves it, empty.
HANDLE CreateMarked(const std::wstring& name) {
  HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE || MarkForDeletion(file, true)) return file;
  const DWORD error = GetLastError();
  CloseHandle(file);
  DeleteFileW(name.c_str());
  SetLastError(error);
  return INVALID_HANDLE_VALUE;
}

// Writes the bytes into the marked file and takes the mark off once they are
// on the medium; on any failure the file goes when `file` is closed.
DWORD WriteMarked(ScopedHandle& file, const void* data, size_t size) {
  DWORD error = WriteAll(file.Get(), static_cast<const char*>(data), size);
  if (error == ERROR_SUCCESS && !MarkForDeletion(file.Get(), false)) error = GetLastError();
  if (error != ERROR_SUCCESS) return error;
  return file.Close() ? ERROR_SUCCESS : GetLastError();
}

bool SeenGone(const std::wstring& name) {
  return GetFileAttributesW(name.c_str()) == INVALID_FILE_ATTRIBUTES &&
         GetLastError() == ERROR_FILE_NOT_FOUND;
}

}  // namespace

std::wstring SafeFileWriter::TemporaryName(const std::wstring& target, int attempt) {
  if (attempt == 0) return target + L".unfinished";
  return target + FormatString(L" (%d).unfinished", attempt + 1);
}

SafeFileWriter::Result SafeFileWriter::Write(const std::wstring& target, const void* data,
                                             size_t size) {
  // A name of its own, made at once, so that no other file is ever written
  // over.
  std::wstring temporary;
  ScopedHandle file;
  for (int attempt = 0; attempt < kMostNames && !file.IsValid(); ++attempt) {
    temporary = TemporaryName(target, attempt);
    file.Reset(CreateMarked(temporary));
    const DWORD error = file.IsValid() ? ERROR_SUCCESS : GetLastError();
    if (error != ERROR_SUCCESS && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
      DebugLog(L"SafeFileWriter::Write: cannot make %s (%lu)", temporary.c_str(), error);
      return {error, L""};
    }
  }
  if (!file.IsValid()) return {ERROR_FILE_EXISTS, L""};
  DWORD error = WriteMarked(file, data, size);
  if (error == ERROR_SUCCESS) {
    error = RetryWhileHeld(FileCall::Rename, [&] {
      return MoveFileExW(temporary.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    });
    if (error == ERROR_SUCCESS) return {};
  }
  DebugLog(L"SafeFileWriter::Write: failed %lu for %s", error, target.c_str());
  // A file still marked goes as it is closed; one no longer marked is
  // removed by name.
  file.Close();
  DeleteFileW(temporary.c_str());
  return {error, SeenGone(temporary) ? L"" : temporary};
}
