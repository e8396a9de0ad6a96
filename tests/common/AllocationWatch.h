// Shows how much memory a reader asks for (a reader that trusted a length
// read from a file would ask for all of it at once), and makes the next
// allocation fail, for code that must survive it. A test program that uses
// this compiles AllocationWatch.cpp as one of its own sources, which replaces
// the global operator new of the whole program; it is no part of the shared
// test library for that reason.
#pragma once

#include <cstddef>

class AllocationWatch {
 public:
  // Starts watching; one watch at a time.
  AllocationWatch();
  AllocationWatch(const AllocationWatch&) = delete;
  AllocationWatch& operator=(const AllocationWatch&) = delete;
  ~AllocationWatch();

  // The largest single block asked for since the watch started and before
  // it stopped.
  size_t Largest() const;
  void Stop();

  // The next operator new of the program throws std::bad_alloc.
  static void FailNextAllocation();
};
