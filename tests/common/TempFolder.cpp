#include "tests/common/TempFolder.h"

#include <windows.h>

#include <atomic>
#include <stdexcept>

#include "support/ScopedHandle.h"

namespace {
std::atomic<unsigned> g_counter{0};
}

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, base);
  for (;;) {
    m_path = std::wstring(base) + L"kfo-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(g_counter++);
    if (CreateDirectoryW(m_path.c_str(), nullptr)) return;
    if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("no temporary folder");
  }
}

TempFolder::~TempFolder() {
  RemoveTree(m_path);
}

std::wstring TempFolder::File(const std::wstring& name) const {
  return m_path + L"\\" + name;
}

void RemoveTree(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileW(path.c_str());
    return;
  }
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(path.c_str());
}

std::vector<unsigned char> ReadBytes(const std::wstring& path) {
  ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file.IsValid()) throw std::runtime_error("cannot open a file to read");
  std::vector<unsigned char> bytes(GetFileSize(file.Get(), nullptr));
  DWORD read = 0;
  if (!bytes.empty() &&
      (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
       read != bytes.size()))
    throw std::runtime_error("cannot read a file");
  return bytes;
}

void WriteBytes(const std::wstring& path, const std::vector<unsigned char>& bytes) {
  ScopedHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!file.IsValid()) throw std::runtime_error("cannot create a file");
  DWORD written = 0;
  if (!bytes.empty() &&
      (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
       written != bytes.size()))
    throw std::runtime_error("cannot write a file");
}

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
