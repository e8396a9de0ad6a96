#include "exchange/WholeFile.h"

#include "storage/HeldFile.h"
#include "support/ScopedHandle.h"

namespace {

// The largest piece one ReadFile is asked for.
constexpr size_t kMostPerRead = 1 << 20;

}  // namespace

WholeFile::~WholeFile() {
  Wipe();
}

void WholeFile::Wipe() {
  if (!m_Bytes.empty()) SecureZeroMemory(m_Bytes.data(), m_Bytes.size());
  m_Bytes.clear();
}

DWORD WholeFile::Read(const std::wstring& path, unsigned long long mostBytes) {
  Wipe();
  m_Size = 0;
  HANDLE handle = INVALID_HANDLE_VALUE;
  const DWORD openError = RetryWhileHeld(FileCall::Open, [&] {
    handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return handle != INVALID_HANDLE_VALUE;
  });
  if (openError != ERROR_SUCCESS) return openError;
  ScopedHandle file(handle);
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size)) return GetLastError();
  m_Size = static_cast<unsigned long long>(size.QuadPart);
  if (m_Size > mostBytes) return ERROR_FILE_TOO_LARGE;
  m_Bytes.resize(static_cast<size_t>(m_Size));
  for (size_t done = 0; done < m_Bytes.size();) {
    const size_t wanted = m_Bytes.size() - done;
    DWORD read = 0;
    if (!ReadFile(file.Get(), m_Bytes.data() + done,
                  static_cast<DWORD>(wanted < kMostPerRead ? wanted : kMostPerRead), &read,
                  nullptr)) {
      const DWORD error = GetLastError();
      Wipe();
      return error;
    }
    if (read == 0) {
      Wipe();
      return ERROR_HANDLE_EOF;
    }
    done += read;
  }
  return ERROR_SUCCESS;
}
