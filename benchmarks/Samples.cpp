#include "benchmarks/Samples.h"

#include <windows.h>

#include <algorithm>

double Now() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Samples::Time(const std::function<void()>& step) {
  const double start = Now();
  step();
  Add((Now() - start) * 1000);
}

std::vector<double> Samples::Sorted() const {
  std::vector<double> times = m_times;
  std::sort(times.begin(), times.end());
  return times;
}

double Samples::Median() const {
  if (m_times.empty()) return 0;
  const std::vector<double> times = Sorted();
  const size_t middle = times.size() / 2;
  return times.size() % 2 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
}

double Samples::Min() const {
  return m_times.empty() ? 0 : *std::min_element(m_times.begin(), m_times.end());
}

double Samples::Max() const {
  return m_times.empty() ? 0 : *std::max_element(m_times.begin(), m_times.end());
}
