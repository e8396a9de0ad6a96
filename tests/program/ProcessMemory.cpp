#include "tests/program/ProcessMemory.h"

#include <algorithm>
#include <cstring>

#include "support/ScopedHandle.h"
#include "tests/common/StepFailed.h"

namespace {

constexpr SIZE_T kChunkBytes = 1 << 20;

bool Readable(const MEMORY_BASIC_INFORMATION& region) {
  return region.State == MEM_COMMIT && !(region.Protect & (PAGE_GUARD | PAGE_NOACCESS));
}

// Counts each text that starts in chunk[0, limit) and ends inside the chunk.
void CountIn(const std::vector<unsigned char>& chunk, SIZE_T read, SIZE_T limit,
             const std::vector<std::wstring>& texts, std::vector<int>& found) {
  for (size_t t = 0; t < texts.size(); ++t) {
    const SIZE_T textBytes = texts[t].size() * sizeof(wchar_t);
    if (textBytes == 0) continue;
    const wchar_t first = texts[t][0];
    for (SIZE_T at = 0; at < limit && at + textBytes <= read; at += sizeof(wchar_t)) {
      wchar_t unit;
      std::memcpy(&unit, chunk.data() + at, sizeof unit);
      if (unit == first && std::memcmp(chunk.data() + at, texts[t].data(), textBytes) == 0)
        ++found[t];
    }
  }
}

}  // namespace

int CountInProcessMemory(DWORD processId, const std::wstring& text) {
  return CountEachInProcessMemory(processId, {text}).at(0);
}

std::vector<int> CountEachInProcessMemory(DWORD processId, const std::vector<std::wstring>& texts) {
  const ScopedHandle process(
      OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
  if (!process.IsValid()) throw StepFailed("the process cannot be read");
  SIZE_T longest = 0;
  for (const std::wstring& text : texts) longest = std::max(longest, text.size() * sizeof(wchar_t));
  std::vector<unsigned char> chunk;
  std::vector<int> found(texts.size(), 0);
  MEMORY_BASIC_INFORMATION region{};
  for (auto* address = static_cast<unsigned char*>(nullptr);
       VirtualQueryEx(process.Get(), address, &region, sizeof region) == sizeof region;
       address = static_cast<unsigned char*>(region.BaseAddress) + region.RegionSize) {
    if (!Readable(region)) continue;
    auto* const start = static_cast<unsigned char*>(region.BaseAddress);
    // Chunks overlap by the longest text less one unit; a text is counted in
    // the chunk where it starts before the overlap, so each is found once.
    const SIZE_T overlap = longest > sizeof(wchar_t) ? longest - sizeof(wchar_t) : 0;
    for (SIZE_T offset = 0; offset < region.RegionSize;) {
      const SIZE_T size = std::min(kChunkBytes, region.RegionSize - offset);
      chunk.resize(size);
      SIZE_T read = 0;
      if (!ReadProcessMemory(process.Get(), start + offset, chunk.data(), size, &read)) read = 0;
      const bool last = offset + size == region.RegionSize || size <= overlap;
      CountIn(chunk, read, last ? read : size - overlap, texts, found);
      if (last) break;
      offset += size - overlap;
    }
  }
  return found;
}
