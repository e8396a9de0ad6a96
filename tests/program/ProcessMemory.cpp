#include "tests/program/ProcessMemory.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "support/ScopedHandle.h"
#include "tests/common/StepFailed.h"

namespace {

constexpr SIZE_T kChunkBytes = 1 << 20;

bool Readable(const MEMORY_BASIC_INFORMATION& region) {
  return region.State == MEM_COMMIT && !(region.Protect & (PAGE_GUARD | PAGE_NOACCESS));
}

}  // namespace

int CountInProcessMemory(DWORD processId, const std::wstring& text) {
  const ScopedHandle process(
      OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
  if (!process.IsValid()) throw StepFailed("the process cannot be read");
  const SIZE_T textBytes = text.size() * sizeof(wchar_t);
  std::vector<unsigned char> chunk;
  int found = 0;
  MEMORY_BASIC_INFORMATION region{};
  for (auto* address = static_cast<unsigned char*>(nullptr);
       VirtualQueryEx(process.Get(), address, &region, sizeof region) == sizeof region;
       address = static_cast<unsigned char*>(region.BaseAddress) + region.RegionSize) {
    if (!Readable(region)) continue;
    auto* const start = static_cast<unsigned char*>(region.BaseAddress);
    // Chunks overlap by the text's length less one unit, so that a text
    // across a chunk's end is found once.
    for (SIZE_T offset = 0; offset < region.RegionSize;) {
      const SIZE_T size = std::min(kChunkBytes, region.RegionSize - offset);
      chunk.resize(size);
      SIZE_T read = 0;
      if (!ReadProcessMemory(process.Get(), start + offset, chunk.data(), size, &read)) read = 0;
      for (SIZE_T at = 0; at + textBytes <= read; at += sizeof(wchar_t))
        if (std::memcmp(chunk.data() + at, text.data(), textBytes) == 0) ++found;
      if (offset + size == region.RegionSize || size <= textBytes) break;
      offset += size - (textBytes - sizeof(wchar_t));
    }
  }
  return found;
}
