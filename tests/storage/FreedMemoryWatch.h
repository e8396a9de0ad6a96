// Catches a secret whose memory went back to the heap without being wiped:
// while the watch runs, every block the program frees is searched for the
// watched texts, or any 4 units in a row of them, before it is freed. The
// texts should have no 4 units in a row that other data might hold. A test program that uses this compiles
// FreedMemoryWatch.cpp as one of its own sources, which replaces the global
// operator new and delete of the whole program.
#pragma once

#include <cstddef>
#include <initializer_list>

class FreedMemoryWatch {
 public:
  // Up to 8 texts of up to 63 units; kept outside the heap, so the watch
  // itself frees nothing that holds them. One watch at a time.
  explicit FreedMemoryWatch(std::initializer_list<const wchar_t*> secrets);
  FreedMemoryWatch(const FreedMemoryWatch&) = delete;
  FreedMemoryWatch& operator=(const FreedMemoryWatch&) = delete;
  ~FreedMemoryWatch();

  // The number of freed blocks that still held (a part of) the `index`-th
  // text.
  int FreedUnwiped(size_t index) const;
  void Stop();
};
