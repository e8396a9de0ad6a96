// Shows how much memory a reader asks for (a reader that trusted a length
// read from a file would ask for all of it at once), how much it holds at
// most at one time, and makes an allocation fail, for code that must survive
// it. A program that uses this compiles AllocationWatch.cpp as one of its own
// sources, which replaces the global operator new of the whole program; it is
// no part of the shared test library for that reason.
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
  // The most bytes held at one time beyond what was held when the watch
  // started, until it stopped: what the code watched needed at its peak.
  size_t PeakHeld() const;
  void Stop();

  // The next operator new of the program throws std::bad_alloc.
  static void FailNextAllocation();
  // The allocation after `count` more that succeed throws std::bad_alloc;
  // the number of allocations since then tells how far a run came.
  static void FailAllocationAfter(size_t count);
  // No allocation fails that was to.
  static void FailNone();
  // Allocations made since the program started.
  static size_t Allocations();
};
