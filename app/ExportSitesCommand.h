// File > "Export Sites...": every site written to a CSV file that browsers
// and other password keepers read. The file lays every password open, so the
// master password is asked again first (anyone at an unlocked computer must
// not walk away with them all), and the person is warned before choosing
// where the file goes. A write that fails says that no file was written only
// when it saw none left.
#pragma once

#include <windows.h>

#include <string>

#include "exchange/SafeFileWriter.h"

class ExportSitesCommand {
 public:
  static void Run(HWND mainWindow);
  // What the box says when the export to `path` failed.
  static std::wstring FailureMessage(const std::wstring& path,
                                     const SafeFileWriter::Result& written);
};
