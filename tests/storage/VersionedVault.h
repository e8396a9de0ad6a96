// Vault versions that tell themselves apart: version N carries N in its
// header and in every one of its sites, so a load that mixed two versions,
// or stopped part-way, is seen at once. Shared by the crash test and the
// child process it kills.
#pragma once

#include <cstdint>

// The master password of every version of an encrypted vault, whose key
// would otherwise be made anew for each save.
extern const wchar_t kSealedVersionsPassword[];

// Fills the header and the site set with version `version`; `sealed`
// versions all keep kSealedVersionsPassword.
void BuildVersion(uint32_t version, bool sealed = false);

// The version that the header and the site set hold, whole; -1 when they
// hold anything else.
int64_t LoadedVersion(bool sealed = false);
