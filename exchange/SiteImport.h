// Importing the sites of a CSV file that a browser or another password
// keeper wrote: the file read and decoded (TextFile), split into records
// (CsvReader), its first line recognised (CsvSource), each row made a site
// (CsvSiteMapper), and each site placed among those already there
// (ImportPlan). Reading changes nothing: a file that cannot be read whole is
// refused with the reason, before the person is asked, and the vault stays
// as it was. The person is shown what an import would do before it is done;
// then all sites are added at once, and the caller saves once.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "storage/PasswordRecStruct.h"

class DatabasePasswordSet;

class SiteImport {
 public:
  enum Problem {
    SI_None,
    // TextFile's problems: GetError() or GetSize() says more.
    SI_Unreadable,
    SI_TooLarge,
    SI_NotText,
    // A quoted field opens on GetLine() and never closes.
    SI_UnclosedQuote,
    // Not a line in the file.
    SI_Empty,
    // The first line names no password column; Columns() are its names.
    SI_NoPassword,
    // It names a password column but none for a title, user name or
    // address.
    SI_NoSiteColumns,
  };

  // What an import does with the file's rows.
  struct Counts {
    size_t added = 0;
    size_t alreadyThere = 0;
    size_t notLogin = 0;
    size_t empty = 0;
    // Of the added, those under a title changed to make it unique.
    size_t renamed = 0;
  };

  SiteImport() = default;
  SiteImport(const SiteImport&) = delete;
  SiteImport& operator=(const SiteImport&) = delete;
  ~SiteImport() = default;

  // Reads the file into sites, none of them added yet. False, with the
  // problem, when the file cannot be imported.
  bool Read(const std::wstring& path);

  Problem GetProblem() const { return m_Problem; }
  DWORD GetError() const { return m_Error; }
  unsigned long long GetSize() const { return m_Size; }
  size_t GetLine() const { return m_Line; }
  const std::vector<std::wstring>& Columns() const { return m_Columns; }
  // The program that wrote the file, empty when it was known by its column
  // names alone.
  const std::wstring& SourceName() const { return m_SourceName; }
  // The sites of the rows as read, before their titles are made unique.
  const std::vector<PasswordRecStruct>& Sites() const { return m_Sites; }

  // What AddTo would do to `set` now.
  Counts Preview(const DatabasePasswordSet& set) const;
  // Adds the sites to `set`, the first added becoming the current one. Only
  // once: the sites are moved into the set.
  Counts AddTo(DatabasePasswordSet& set);

 private:
  bool Fail(Problem problem);
  Counts Plan(const DatabasePasswordSet& set, std::vector<std::wstring>* titles) const;

  Problem m_Problem = SI_None;
  DWORD m_Error = ERROR_SUCCESS;
  unsigned long long m_Size = 0;
  size_t m_Line = 0;
  std::vector<std::wstring> m_Columns;
  std::wstring m_SourceName;
  std::vector<PasswordRecStruct> m_Sites;
  size_t m_NotLogin = 0;
  size_t m_Empty = 0;
};
