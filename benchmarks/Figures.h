// The benchmarks' figures as their Markdown tables print them.
#pragma once

#include <string>

#include "benchmarks/Samples.h"

// 10000 as "10,000".
std::string Grouped(unsigned long long number);
// The median with the fastest and the slowest: "12.3 (11.0-15.9)".
std::string Cell(const Samples& samples);
// Two decimals.
std::string Ratio(double ratio);
std::string Milliseconds(double ms);
// "met" or "NOT met".
const char* Met(bool met);
