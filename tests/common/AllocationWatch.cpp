#include "tests/common/AllocationWatch.h"

#include <windows.h>

#include <new>

namespace {
bool g_watching = false;
size_t g_largest = 0;
bool g_failNext = false;
}  // namespace

// HeapAlloc rather than malloc: the compiler pairs malloc with free only.
void* operator new(size_t size) {
  if (g_failNext) {
    g_failNext = false;
    throw std::bad_alloc();
  }
  if (g_watching && size > g_largest) g_largest = size;
  if (void* block = HeapAlloc(GetProcessHeap(), 0, size ? size : 1)) return block;
  throw std::bad_alloc();
}

void operator delete(void* block) noexcept {
  if (block) HeapFree(GetProcessHeap(), 0, block);
}

void operator delete(void* block, size_t) noexcept {
  operator delete(block);
}

AllocationWatch::AllocationWatch() {
  g_largest = 0;
  g_watching = true;
}

AllocationWatch::~AllocationWatch() {
  Stop();
}

size_t AllocationWatch::Largest() const {
  return g_largest;
}

void AllocationWatch::Stop() {
  g_watching = false;
}

void AllocationWatch::FailNextAllocation() {
  g_failNext = true;
}
