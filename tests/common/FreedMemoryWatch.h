// Catches a secret whose memory went back to the heap without being wiped:
// while the watch runs, every block the program frees is searched for the
// watched texts, or any 4 units in a row of them, before it is freed. The
// texts should have no 4 units in a row that other data might hold. A test
// program that uses this compiles tests/common/FreedMemoryWatch.cpp as one of
// its own sources, which replaces the global operator new and delete of the
// whole program.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>

class FreedMemoryWatch {
 public:
  // Starts watching for these texts; one watch at a time. Up to 8 texts
  // (those given here and to Watch) of up to 64 units each, longer ones cut;
  // they are kept outside the heap, so the watch itself frees nothing that
  // holds them.
  explicit FreedMemoryWatch(std::initializer_list<const wchar_t*> secrets = {});
  FreedMemoryWatch(const FreedMemoryWatch&) = delete;
  FreedMemoryWatch& operator=(const FreedMemoryWatch&) = delete;
  ~FreedMemoryWatch();

  // Adds a text that the test learns only while it watches; blocks freed
  // before are not searched for it.
  void Watch(const std::wstring& text);
  void Stop();

  // The number of freed blocks that still held (a part of) the `index`-th
  // text, in the order the texts were given.
  int FreedUnwiped(size_t index) const;
  // The number of freed blocks that held (a part of) any of the texts.
  int Findings() const;
  // The largest block freed while watching, in bytes: shows that the blocks
  // a test cares about were among those searched.
  size_t LargestFreed() const;
};

// A test failure for each text, in the order given, that a freed block still
// held.
void ExpectNoneFreedUnwiped(const FreedMemoryWatch& watch,
                            std::initializer_list<const wchar_t*> secrets);
