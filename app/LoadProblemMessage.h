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

// The message for a locked program that could not read its vault again when
// a password was given: the same words for what happened (KR_None: the
// file is not there, as when the flash drive was pulled), and that the
// program stays locked until the file can be read. It never starts empty
// then: a vault that is only out of reach for a while would be written over
// by the first save of an empty one.
std::wstring UnlockProblemMessage(VaultFiles::KeepReason reason);
