// The help page ships in a "help" folder beside the program, so that help
// works without a network; a person who copied only the program file has
// none, and is told where it was looked for rather than left with a click
// that does nothing. F1, the Help menu and the About box's link all come
// here.
#pragma once

#include <windows.h>

#include <string>

// The page's full path beside the program (FlashDriveFolders).
std::wstring HelpPagePath();
// True when the page is there.
bool HelpPageShipped();
// Opens the page with the shell (OpenWithShell). When it is not there, says
// "The help page Keyfolio-Flash-Instructions.htm was not found in the folder
// "<folder>"." in a box owned by `owner`.
void OpenHelpPage(HWND owner);
