// What the person is told at start-up when the vault could not be read whole.
// The program then starts empty (or with the sites it could read) and asks
// for a master password as on a first day; without a word, a person whose
// file is damaged, was made by a newer version or was held by another
// program would believe the passwords gone. The file itself is never lost:
// the vault layer keeps it aside under a name that says why.
#pragma once

#include <string>

#include "storage/VaultFiles.h"

// The message for a load that ended with `reason`, naming the file kept as
// `keptName` (a full path); empty for KR_None.
std::wstring LoadProblemMessage(VaultFiles::KeepReason reason, const std::wstring& keptName);
