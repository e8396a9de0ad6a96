// File > "Export Sites...": every site written to a CSV file that browsers
// and other password keepers read. The file lays every password open, so the
// master password is asked again first (anyone at an unlocked computer must
// not walk away with them all), and the person is warned before choosing
// where the file goes.
#pragma once

#include <windows.h>

class ExportSitesCommand {
 public:
  static void Run(HWND mainWindow);
};
