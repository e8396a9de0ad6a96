// What the program hands to the shell, the person's browser for the most
// part: the website addresses and the help page. ShellExecuteW is taken from
// the system folder (SystemLibrary), so that shell32, which brings many DLLs
// of its own, is loaded only once the search is narrowed, and only when a
// person first opens something. A click after which nothing happens leaves a
// person waiting for a browser that never comes, so the person is told when
// Windows cannot open a target. What the shell starts runs in the system
// folder, never in this program's, so that it leaves the drive free.
#pragma once

#include <windows.h>

#include <string>

// Opens `target`, a web address or a file's full path, with the shell's
// default action; `owner` owns whatever the shell shows. When Windows cannot
// (ShellExecuteW answers 32 or less), says "Windows could not open
// "<target>"." in a box owned by `owner`; a target of more than 200
// characters shows its first 200 and "...". True when the shell took it.
bool OpenWithShell(HWND owner, const std::wstring& target);
