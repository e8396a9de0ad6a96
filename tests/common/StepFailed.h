// What a test's step throws when what it waits for does not come, or when it
// cannot be done at all (a process that does not start, a window that is
// gone); GoogleTest reports the text.
#pragma once

#include <stdexcept>
#include <string>

class StepFailed : public std::runtime_error {
 public:
  explicit StepFailed(const std::string& what) : std::runtime_error(what) {}
};
