// The process's argument vector, as the runtime parsed it at start-up. The
// program reads nothing from it but argument 0, its own path, from which it
// takes the folder it runs from: the data lives beside the program.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

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
  // Argument 0 up to, not including, its last backslash. Argument 0 with no
  // backslash at all (a program started through a bare name) gives the
  // folder of the running program file instead: the current folder could be
  // anywhere, and the data must land beside the program.
  std::wstring ProgramFolder() const;

 private:
  int32_t m_count;
  std::unique_ptr<const wchar_t*[]> m_arguments;
};
