// File > "Import Sites...": the sites of a CSV file that a browser or
// another password keeper wrote, added to the vault at once. The person
// picks the file, is told what will happen (or why the file cannot be
// read), says Yes, and finds the new sites in the list, the first one
// chosen; the vault is saved once. Then the person is reminded that the file
// still holds every password in plain text, and may delete it. A file too
// large for the computer's memory ends in a box that says so, with the vault
// as it was.
#pragma once

#include <windows.h>

#include <string>

class ImportSitesCommand {
 public:
  static void Run(HWND mainWindow);
  // What Run does with the file once the person has chosen it.
  static void ImportFile(HWND mainWindow, const std::wstring& path);
};
