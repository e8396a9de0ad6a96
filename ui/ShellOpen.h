// What the program hands to the shell, the person's browser for the most
// part: the website addresses and the help page. ShellExecuteW is taken from
// the system folder (SystemLibrary), so that shell32, which brings many DLLs
// of its own, is loaded only once the search is narrowed, and only when a
// person first opens something.
#pragma once

#include <windows.h>

#include <string>

// Opens `target`, a web address or a file's full path, with the shell's
// default action; `owner` owns whatever the shell shows. True when the shell
// took it (ShellExecuteW answered more than 32).
bool OpenWithShell(HWND owner, const std::wstring& target);
