// Looks into every block the program frees while it watches, for text that
// must never be left behind in freed memory: a password, or the order of
// its characters before the shuffle. A test program that uses this compiles
// FreedMemoryWatch.cpp as one of its own sources, which replaces the global
// operator new and delete of the whole program.
#pragma once

#include <cstddef>
#include <string>

class FreedMemoryWatch {
 public:
  // Runs of this many characters of a watched text count as a finding.
  static constexpr size_t kRun = 8;

  // Starts watching; one watch at a time.
  FreedMemoryWatch();
  FreedMemoryWatch(const FreedMemoryWatch&) = delete;
  FreedMemoryWatch& operator=(const FreedMemoryWatch&) = delete;
  ~FreedMemoryWatch();

  // Adds a text to look for: at most four texts, and of each the first 64
  // characters. It is copied into fixed storage, so watching allocates
  // nothing.
  void Watch(const std::wstring& text);
  void Stop();

  // Freed blocks that held a run of a watched text.
  int Findings() const;
  // The largest block freed while watching, in bytes.
  size_t LargestFreed() const;
};
