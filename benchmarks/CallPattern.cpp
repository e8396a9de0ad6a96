#include "benchmarks/CallPattern.h"

#include <cstdint>
#include <stdexcept>

#include "support/ScopedHandle.h"

namespace {

class PatternWalk {
 public:
  PatternWalk(const Bytes& vault, std::vector<DWORD>& sizes) : m_vault(vault), m_sizes(sizes) {}

  bool AtEnd() const { return m_offset == m_vault.size(); }

  uint32_t Long() {
    const uint32_t value = Peek();
    Take(4);
    return value;
  }

  void String() {
    const uint32_t length = Long();
    if (length != 0) Take(length);
  }

 private:
  uint32_t Peek() const {
    if (m_vault.size() - m_offset < 4) throw std::runtime_error("the vault ends inside a value");
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | m_vault[m_offset + i];
    return value;
  }

  void Take(uint32_t size) {
    if (m_vault.size() - m_offset < size) throw std::runtime_error("the vault ends inside a value");
    m_sizes.push_back(size);
    m_offset += size;
  }

  const Bytes& m_vault;
  std::vector<DWORD>& m_sizes;
  size_t m_offset = 0;
};

constexpr uint32_t kFlaggedHeaderVersion = 257;
constexpr int kStringsPerSite = 7;

}  // namespace

CallPattern::CallPattern(const Bytes& vault) {
  PatternWalk walk(vault, m_sizes);
  walk.String();
  walk.Long();
  const uint32_t headerVersion = walk.Long();
  for (int i = 0; i < 3; ++i) walk.String();
  if (headerVersion == kFlaggedHeaderVersion) walk.Long();
  walk.Long();
  while (!walk.AtEnd()) {
    for (int i = 0; i < kStringsPerSite; ++i) walk.String();
    walk.Long();
  }
}

void CallPattern::WriteCalls(HANDLE file, const Bytes& vault) const {
  const unsigned char* next = vault.data();
  for (DWORD size : m_sizes) {
    DWORD written = 0;
    if (!WriteFile(file, next, size, &written, nullptr) || written != size)
      throw std::runtime_error("a floor write failed");
    next += size;
  }
}

void CallPattern::Write(const std::wstring& path, const Bytes& vault) const {
  ScopedHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsValid()) throw std::runtime_error("the floor cannot create its file");
  WriteCalls(file.Get(), vault);
}

void CallPattern::WriteSafely(const std::wstring& temporary, const std::wstring& complete,
                              const std::wstring& vaultName, const Bytes& vault) const {
  {
    ScopedHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) throw std::runtime_error("the floor cannot create its file");
    WriteCalls(file.Get(), vault);
    if (!FlushFileBuffers(file.Get())) throw std::runtime_error("the floor cannot flush");
  }
  if (!MoveFileExW(temporary.c_str(), complete.c_str(), MOVEFILE_WRITE_THROUGH) ||
      !MoveFileExW(complete.c_str(), vaultName.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    throw std::runtime_error("the floor cannot rename its file");
}

void CallPattern::Read(const std::wstring& path, Bytes& buffer) const {
  ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsValid()) throw std::runtime_error("the floor cannot open its file");
  unsigned char* next = buffer.data();
  for (DWORD size : m_sizes) {
    DWORD read = 0;
    if (!ReadFile(file.Get(), next, size, &read, nullptr) || read != size)
      throw std::runtime_error("a floor read failed");
    next += size;
  }
}
