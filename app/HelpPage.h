// The help page ships in a "help" folder beside the program, so that help
// works without a network; a person who copied only the program file has
// none, and is told where it was looked for rather than left with a click
// that does nothing. F1, the Help menu and the About box's link all come
// here. The program's folder is the program's to know, so the page's place
// is decided here and handed to the About box.
#pragma once

#include <windows.h>

#include <string>

// The page's full path beside the program (FlashDriveFolders) while it is
// there; empty while it is not.
std::wstring ShippedHelpPage();
// Opens the page with the shell (OpenWithShell). When it is not there, says
// "The help page Keyfolio-Flash-Instructions.htm was not found in the folder
// "<folder>"." in a box owned by `owner`.
void OpenHelpPage(HWND owner);
