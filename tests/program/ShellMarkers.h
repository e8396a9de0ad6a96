// Stands in for the browser while a test runs: the shell's "open" of web
// addresses (http, https) and of .htm pages starts marker programs
// (ShellMarker.cpp) that write down what they were given, and the handlers
// are put back as they were when the object goes.
//
// Windows reads a user's own handlers from HKCU\Software\Classes first;
// Wine 8 does not (its HKEY_CLASSES_ROOT is the machine's classes alone,
// measured), so the handlers are changed where Wine's shell reads them. What
// was there is first copied under a key of the tests' own, so that a run
// that ended without putting it back (killed at a time-out) is repaired by
// the next one.
#pragma once

#include <string>
#include <vector>

#include "tests/common/TempFolder.h"

class ShellMarkers {
 public:
  // What the handlers run: the markers, or a program that does not exist,
  // so that the shell fails to open anything (ShellExecuteW answers 32 or
  // less).
  enum class Handlers { kMarkers, kMissingProgram };

  explicit ShellMarkers(Handlers handlers = Handlers::kMarkers);
  ShellMarkers(const ShellMarkers&) = delete;
  ShellMarkers& operator=(const ShellMarkers&) = delete;
  ~ShellMarkers();

  // What the shell was asked to open so far, in order.
  std::vector<std::wstring> WebAddressesOpened() const;
  std::vector<std::wstring> PagesOpened() const;
  // The current folder that each of those handlers was started in.
  std::vector<std::wstring> WebHandlerFolders() const;
  std::vector<std::wstring> PageHandlerFolders() const;
  // A program that is registered nowhere: only a shell that runs a file
  // it is handed starts it.
  const std::wstring& ProgramMarker() const { return m_programMarker; }
  bool ProgramMarkerRan() const;
  // True while a marker that the shell started still runs: one that runs
  // has not written its line yet.
  bool AnyMarkerRunning() const;

 private:
  TempFolder m_folder;
  std::wstring m_webMarker;
  std::wstring m_pageMarker;
  std::wstring m_programMarker;
};
