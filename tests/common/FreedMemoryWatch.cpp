#include "tests/common/FreedMemoryWatch.h"

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <new>

#include <gtest/gtest.h>

namespace {

constexpr size_t kMostSecrets = 8;
constexpr size_t kLongestSecret = 64;

bool g_watching = false;
size_t g_secretCount = 0;
wchar_t g_secrets[kMostSecrets][kLongestSecret] = {};
size_t g_secretUnits[kMostSecrets] = {};
int g_freedUnwiped[kMostSecrets] = {};
int g_findings = 0;
size_t g_largestFreed = 0;

// Any 4 units in a row of the secret count, not only the whole: a string
// that was moved from or shrunk keeps a part of what it held.
constexpr size_t kTellingUnits = 4;

bool Holds(const unsigned char* block, size_t size, const wchar_t* secret, size_t units) {
  const size_t window = (units < kTellingUnits ? units : kTellingUnits) * sizeof(wchar_t);
  if (window == 0) return false;
  for (size_t from = 0; from + window <= units * sizeof(wchar_t); from += sizeof(wchar_t)) {
    const unsigned char* part = reinterpret_cast<const unsigned char*>(secret) + from;
    for (size_t at = 0; at + window <= size; ++at) {
      if (std::memcmp(block + at, part, window) == 0) return true;
    }
  }
  return false;
}

void AddSecret(const wchar_t* text, size_t units) {
  if (g_secretCount == kMostSecrets) return;
  if (units > kLongestSecret) units = kLongestSecret;
  std::wmemcpy(g_secrets[g_secretCount], text, units);
  g_secretUnits[g_secretCount] = units;
  g_freedUnwiped[g_secretCount] = 0;
  ++g_secretCount;
}

}  // namespace

// HeapAlloc rather than malloc, so that HeapSize tells each block's size
// (the compiler pairs malloc with free only). Blocks start zeroed: a block
// can only hold a secret that was written into it while it lived, never one
// left in reused memory by a block freed before the watch began.
void* operator new(size_t size) {
  if (void* block = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size ? size : 1)) return block;
  throw std::bad_alloc();
}

void operator delete(void* block) noexcept {
  if (!block) return;
  if (g_watching) {
    const size_t size = HeapSize(GetProcessHeap(), 0, block);
    if (size > g_largestFreed) g_largestFreed = size;
    bool found = false;
    for (size_t i = 0; i < g_secretCount; ++i) {
      if (Holds(static_cast<const unsigned char*>(block), size, g_secrets[i], g_secretUnits[i])) {
        ++g_freedUnwiped[i];
        found = true;
      }
    }
    if (found) ++g_findings;
  }
  HeapFree(GetProcessHeap(), 0, block);
}

void operator delete(void* block, size_t) noexcept {
  operator delete(block);
}

FreedMemoryWatch::FreedMemoryWatch(std::initializer_list<const wchar_t*> secrets) {
  g_secretCount = 0;
  g_findings = 0;
  g_largestFreed = 0;
  for (const wchar_t* secret : secrets) AddSecret(secret, std::wcslen(secret));
  g_watching = true;
}

FreedMemoryWatch::~FreedMemoryWatch() {
  Stop();
}

void FreedMemoryWatch::Watch(const std::wstring& text) {
  AddSecret(text.data(), text.size());
}

void FreedMemoryWatch::Stop() {
  g_watching = false;
}

int FreedMemoryWatch::FreedUnwiped(size_t index) const {
  return index < g_secretCount ? g_freedUnwiped[index] : 0;
}

int FreedMemoryWatch::Findings() const {
  return g_findings;
}

size_t FreedMemoryWatch::LargestFreed() const {
  return g_largestFreed;
}

void ExpectNoneFreedUnwiped(const FreedMemoryWatch& watch,
                            std::initializer_list<const wchar_t*> secrets) {
  size_t index = 0;
  for (const wchar_t* secret : secrets) {
    const std::wstring text = secret;
    EXPECT_EQ(watch.FreedUnwiped(index++), 0) << std::string(text.begin(), text.end());
  }
}
