// Bytes that may hold secrets: the vault laid out in memory before it is
// encrypted or after it is decrypted, a password in UTF-8. A vector that
// grows frees its old block, beyond the reach of any wipe its owner could
// do; this allocator wipes every block before it goes back to the heap, the
// old ones of a growth as well as the last.
#pragma once

#include <windows.h>

#include <cstddef>
#include <new>
#include <vector>

template <typename T>
struct WipingAllocator {
  using value_type = T;

  WipingAllocator() = default;
  template <typename U>
  WipingAllocator(const WipingAllocator<U>&) noexcept {}

  T* allocate(size_t count) { return static_cast<T*>(::operator new(count * sizeof(T))); }
  void deallocate(T* block, size_t count) noexcept {
    SecureZeroMemory(block, count * sizeof(T));
    ::operator delete(block);
  }

  template <typename U>
  bool operator==(const WipingAllocator<U>&) const noexcept { return true; }
  template <typename U>
  bool operator!=(const WipingAllocator<U>&) const noexcept { return false; }
};

using WipedBytes = std::vector<unsigned char, WipingAllocator<unsigned char>>;
