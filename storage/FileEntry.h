// One open file of a record file reader or writer: its handle, closed with the
// entry, and its name for the trace.
#pragma once

#include <string>

#include "support/ScopedHandle.h"

struct FileEntry {
  ScopedHandle m_File;
  std::wstring m_Name;
};
