// Where the running program file is. Whoever starts a program chooses its
// argument 0, and can make it name any folder while the real program runs:
// the data, and the help page beside the program, would then be read and
// written there. So the folder comes from the running module's own path,
// which only Windows sets.
#pragma once

#include <string>

// The folder of the running program file, with no trailing backslash ("E:"
// for a drive's root). Empty only when Windows cannot tell the module's path.
std::wstring RunningProgramFolder();
