// The checks that the fuzz program makes of every input that gave sites,
// whatever kind of input gave them: the memory the reading held, and the
// round trip of an export, which must import as what was stored.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tests/storage/SiteTexts.h"

// The site set's sites in title order, each broken character (a lone
// surrogate, which no export can carry) as the U+FFFD that an import makes
// of it.
std::vector<SiteTexts> StoredSites();

// The bytes the texts of the set's sites take.
size_t TextBytes();

// Exports the set's sites, empties the set and imports the export into it.
// Sites made as imports make them (one-line titles, user names and
// addresses, CRLF notes, distinct logins) must come back as they were, all
// of them (`exact`); any others, each under its title as it was, with what
// the import leaves out counted. Empty when that held.
std::string ExportRoundTrip(bool exact);

// Empty when `peak` stays within a few times the input and the sites' texts
// and a share for each site, else what it was against that bound.
std::string MemoryWithin(size_t peak, size_t inputBytes, size_t sites, size_t textBytes);
