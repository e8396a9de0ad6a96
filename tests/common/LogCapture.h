// Switches the debug log on into a temporary file for one test and reads back
// what was written, so tests can check the trace lines a path leaves.
#pragma once

#include <string>
#include <vector>

#include "tests/common/TempFolder.h"

class LogCapture {
 public:
  LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;
  ~LogCapture();

  // The file as written, each line with its time prefix.
  std::vector<std::string> RawLines() const;
  // The lines written since the capture started (the header skipped), with
  // the time prefix removed.
  std::vector<std::string> Lines() const;
  // True when some line of Lines() contains `text`.
  bool Contains(const std::string& text) const;

  const std::wstring& Path() const { return m_path; }

 private:
  TempFolder m_folder;
  std::wstring m_path;
};
