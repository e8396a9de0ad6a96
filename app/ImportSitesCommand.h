// File > "Import Sites...": the sites of a CSV file that a browser or
// another password keeper wrote, added to the vault at once. The person
// picks the file, is told what will happen (or why the file cannot be
// read), says Yes, and finds the new sites in the list, the first one
// chosen; the vault is saved once. Then the person is reminded that the file
// still holds every password in plain text, and may delete it.
#pragma once

#include <windows.h>

class ImportSitesCommand {
 public:
  static void Run(HWND mainWindow);
};
