#include "tests/common/AllocationWatch.h"

#include <windows.h>

#include <new>

namespace {
bool g_watching = false;
size_t g_largest = 0;
// Bytes held by blocks of operator new, the level when the watch started,
// and the most held since.
size_t g_held = 0;
size_t g_heldAtStart = 0;
size_t g_peak = 0;
size_t g_allocations = 0;
// The allocation of this number fails; 0 for none.
size_t g_failAt = 0;
}  // namespace

// HeapAlloc rather than malloc: the compiler pairs malloc with free only.
void* operator new(size_t size) {
  if (g_failAt != 0 && g_allocations + 1 == g_failAt) {
    g_failAt = 0;
    throw std::bad_alloc();
  }
  if (g_watching && size > g_largest) g_largest = size;
  void* block = HeapAlloc(GetProcessHeap(), 0, size ? size : 1);
  if (!block) throw std::bad_alloc();
  ++g_allocations;
  g_held += HeapSize(GetProcessHeap(), 0, block);
  if (g_watching && g_held > g_peak) g_peak = g_held;
  return block;
}

void operator delete(void* block) noexcept {
  if (!block) return;
  g_held -= HeapSize(GetProcessHeap(), 0, block);
  HeapFree(GetProcessHeap(), 0, block);
}

void operator delete(void* block, size_t) noexcept {
  operator delete(block);
}

AllocationWatch::AllocationWatch() {
  g_largest = 0;
  g_heldAtStart = g_held;
  g_peak = g_held;
  g_watching = true;
}

AllocationWatch::~AllocationWatch() {
  Stop();
}

size_t AllocationWatch::Largest() const {
  return g_largest;
}

size_t AllocationWatch::PeakHeld() const {
  return g_peak - g_heldAtStart;
}

void AllocationWatch::Stop() {
  g_watching = false;
}

void AllocationWatch::FailNextAllocation() {
  FailAllocationAfter(0);
}

void AllocationWatch::FailAllocationAfter(size_t count) {
  g_failAt = g_allocations + count + 1;
}

void AllocationWatch::FailNone() {
  g_failAt = 0;
}

size_t AllocationWatch::Allocations() {
  return g_allocations;
}
