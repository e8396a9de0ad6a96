// What the person reads about an import: why a file was refused, what an
// import will do before it is done, and the reminder after it. A person who
// picked the wrong file, or an export the program cannot read, must learn
// from the box what to do next; and a person who is about to add two hundred
// sites must see how many, from which program, and what is left out, before
// anything changes.
#pragma once

#include <string>

#include "exchange/SiteImport.h"

// Why `path` could not be imported, after SiteImport::Read refused it.
std::wstring ImportProblemMessage(const SiteImport& import, const std::wstring& path);
// The question before an import that adds sites: the file's name, the
// program recognised, how many sites are added (and of them notes alone),
// how many are left out and why, how many titles were changed, and how many
// sites had a broken character replaced.
std::wstring ImportQuestion(const SiteImport& import, const std::wstring& path,
                            const SiteImport::Counts& counts);
// Said when memory ran out while the file was read or its sites added.
std::wstring TooLargeToImportMessage();
// Said instead when the file holds no site to add.
std::wstring NothingToImportMessage(const std::wstring& path, const SiteImport::Counts& counts);
// The reminder after the import, with the offer to delete the file.
std::wstring DeleteImportedFileQuestion(const std::wstring& path);
