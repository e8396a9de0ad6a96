// The locked program as a test looks at it from outside: the master password
// question over an empty main window, no window of the program showing any
// text of a site, and none of the passwords in its memory.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/program/ProgramTest.h"

// Sites whose passwords are long enough to be found only where the program
// put them: the standard library keeps a text of up to 7 units inside the
// string object itself, which leaves a copy on the stack of every function
// that made one (README, Security).
std::vector<SiteFields> LockTestSites();

// The texts the memory scan searches: each site's password and the master
// password, as UTF-16 and as the vault file holds them, scrambled.
struct Secret {
  std::wstring name;
  std::wstring text;
};
std::vector<Secret> SecretsOf(const std::vector<SiteFields>& sites,
                              const std::wstring& masterPassword);

// How often each secret stands in the program's memory now, once the
// program is idle; "name: count" for each one found, for a failure message.
std::vector<int> CountSecrets(Keyfolio& program, const std::vector<Secret>& secrets);
std::string Findings(const std::vector<Secret>& secrets, const std::vector<int>& counts);

// Windows's news as Windows sends it to the main window.
void SendSessionLocked(Keyfolio& program);
void SendGoingToSleep(Keyfolio& program);

// The question over the main window, which is disabled, shows no title and
// no field; no window of the program shows a text of any of `sites`. The
// question's dialog.
HWND ExpectLocked(Keyfolio& program, const std::vector<SiteFields>& sites);
