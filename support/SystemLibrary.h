// Code from Windows's own folder only. The program runs from a flash drive
// that passes from computer to computer, and Windows looks for a DLL in the
// program's folder before its system folder, except for the few that it
// always takes from there (its known DLLs): a DLL left beside the program
// under the name of another would run its code at every start, with the
// vault open in memory. So the program imports only known DLLs, its first
// statement narrows every later search to the system folder, and the
// functions of any other DLL are taken through here, after that.
#pragma once

#include <windows.h>

class SystemLibrary {
 public:
  // Every later load by name, also of a loaded DLL's own imports, searches
  // the system folder alone. SetDefaultDllDirectories came to Windows 7 with
  // an update; without it the current folder at least leaves the search.
  static void RestrictSearchToSystemFolder();

  // The function `name` of the system DLL `dll` ("shell32.dll"), typed as
  // `FunctionPointer` (decltype(&ShellExecuteW)); null when the DLL or the
  // function cannot be had. The DLL is loaded from the system folder and
  // stays for the rest of the process, as an import would.
  template <typename FunctionPointer>
  static FunctionPointer Function(const wchar_t* dll, const char* name) {
    // void (*)() converts to and from every function pointer type without a
    // warning of a mismatch.
    return reinterpret_cast<FunctionPointer>(reinterpret_cast<void (*)()>(Address(dll, name)));
  }

 private:
  static FARPROC Address(const wchar_t* dll, const char* name);
};
