#include "tests/security/FreedMemoryWatch.h"

#include <windows.h>

#include <cstring>
#include <new>

namespace {

constexpr size_t kMaxTexts = 4;
constexpr size_t kMaxLength = 64;

bool g_watching = false;
wchar_t g_texts[kMaxTexts][kMaxLength];
size_t g_lengths[kMaxTexts];
size_t g_textCount = 0;
int g_findings = 0;
size_t g_largestFreed = 0;

bool HoldsWatchedRun(const wchar_t* block, size_t characters) {
  for (size_t t = 0; t < g_textCount; ++t)
    for (size_t start = 0; start + FreedMemoryWatch::kRun <= g_lengths[t]; ++start)
      for (size_t at = 0; at + FreedMemoryWatch::kRun <= characters; ++at)
        if (std::memcmp(block + at, g_texts[t] + start, FreedMemoryWatch::kRun * sizeof(wchar_t)) == 0)
          return true;
  return false;
}

}  // namespace

// HeapAlloc rather than malloc: the compiler pairs malloc with free only.
// HeapSize then tells how much of a freed block was asked for.
void* operator new(size_t size) {
  if (void* block = HeapAlloc(GetProcessHeap(), 0, size ? size : 1)) return block;
  throw std::bad_alloc();
}

void operator delete(void* block) noexcept {
  if (!block) return;
  if (g_watching) {
    const size_t size = HeapSize(GetProcessHeap(), 0, block);
    if (size > g_largestFreed) g_largestFreed = size;
    if (HoldsWatchedRun(static_cast<const wchar_t*>(block), size / sizeof(wchar_t))) ++g_findings;
  }
  HeapFree(GetProcessHeap(), 0, block);
}

void operator delete(void* block, size_t) noexcept {
  operator delete(block);
}

FreedMemoryWatch::FreedMemoryWatch() {
  g_textCount = 0;
  g_findings = 0;
  g_largestFreed = 0;
  g_watching = true;
}

FreedMemoryWatch::~FreedMemoryWatch() {
  Stop();
}

void FreedMemoryWatch::Watch(const std::wstring& text) {
  if (g_textCount == kMaxTexts) return;
  const size_t length = text.size() < kMaxLength ? text.size() : kMaxLength;
  std::memcpy(g_texts[g_textCount], text.data(), length * sizeof(wchar_t));
  g_lengths[g_textCount++] = length;
}

void FreedMemoryWatch::Stop() {
  g_watching = false;
}

int FreedMemoryWatch::Findings() const {
  return g_findings;
}

size_t FreedMemoryWatch::LargestFreed() const {
  return g_largestFreed;
}
