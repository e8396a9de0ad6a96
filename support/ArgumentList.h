// The process's argument vector, as the runtime parsed it at start-up. The
// program only traces it: the folder it runs from is not taken from
// argument 0, which whoever starts the program chooses (RunningProgram.h).
#pragma once

#include <cstdint>
#include <memory>

class ArgumentList {
 public:
  // The runtime's own vector (__argc, __wargv of a wide program). The text is
  // only traced.
  explicit ArgumentList(const wchar_t* commandLine);
  // A vector of the caller's; the strings must outlive the list.
  ArgumentList(const wchar_t* commandLine, int count, wchar_t* const* arguments);

  int32_t Count() const { return m_count; }
  // Null for an index below 0 or not below the count.
  const wchar_t* Argument(int index) const;

 private:
  int32_t m_count;
  std::unique_ptr<const wchar_t*[]> m_arguments;
};
