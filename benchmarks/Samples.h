// Repeated timings of one step. Machines under load (other builds, the
// Wine server) make single timings worthless; a median over repeated runs
// with the spread beside it says how far a figure can be trusted.
#pragma once

#include <functional>
#include <vector>

// Seconds on the performance counter.
double Now();

class Samples {
 public:
  void Add(double milliseconds) { m_times.push_back(milliseconds); }
  // Times `step` once and keeps the time.
  void Time(const std::function<void()>& step);

  size_t Count() const { return m_times.size(); }
  // The middle time, or the mean of the two middle ones; 0 with no times.
  double Median() const;
  double Min() const;
  double Max() const;

 private:
  std::vector<double> Sorted() const;

  std::vector<double> m_times;
};
