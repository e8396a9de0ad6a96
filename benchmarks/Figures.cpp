#include "benchmarks/Figures.h"

#include <cstdio>

std::string Grouped(unsigned long long number) {
  std::string digits = std::to_string(number);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, ",");
  return digits;
}

std::string Cell(const Samples& samples) {
  char text[64];
  std::snprintf(text, sizeof text, "%.1f (%.1f-%.1f)", samples.Median(), samples.Min(),
                samples.Max());
  return text;
}

std::string Ratio(double ratio) {
  char text[16];
  std::snprintf(text, sizeof text, "%.2f", ratio);
  return text;
}

std::string Milliseconds(double ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f ms", ms);
  return text;
}

const char* Met(bool met) {
  return met ? "met" : "NOT met";
}
