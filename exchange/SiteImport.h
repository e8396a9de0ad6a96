// Importing the sites of a CSV file that a browser or another password
// keeper wrote: the file read and decoded (TextFile), split into records
// (CsvReader) one at a time, its first line recognised (CsvSource), each row
// made a site (CsvSiteMapper), and each site placed among those already there
// (ImportPlan). Reading changes nothing: a file that cannot be read whole is
// refused with the reason, before the person is asked, and the vault stays
// as it was. The person is shown what an import would do before it is done,
// with every value that the import changes or leaves out counted; then all
// sites are added at once, or none, and the caller saves once.
//
// Memory follows the file and the sites it gives, never the width of its
// first line times its rows; time follows the rows.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "storage/PasswordRecStruct.h"

class DatabasePasswordSet;
class TextFile;

class SiteImport {
 public:
  enum Problem {
    SI_None,
    // TextFile's problems: GetError(), GetSize() or GetLine() says more.
    SI_Unreadable,
    SI_TooLarge,
    SI_NotText,
    SI_NotUtf8,
    // A quoted field opens on GetLine() and never closes.
    SI_UnclosedQuote,
    // Not a line in the file.
    SI_Empty,
    // The first line names no password column.
    SI_NoPassword,
    // It names a password column but none for a title, user name or
    // address.
    SI_NoSiteColumns,
  };

  // What an import does with the file's rows.
  struct Counts {
    size_t added = 0;
    // Of the added: those of notes alone (another keeper's secure notes),
    // those under a title changed to make it unique, and those in which a
    // broken character was replaced with U+FFFD.
    size_t notes = 0;
    size_t renamed = 0;
    size_t repaired = 0;
    // Left out: the same login as a site of the vault, or as a row before
    // it in the file; another kind of item; nothing a site could hold.
    size_t alreadyThere = 0;
    size_t repeated = 0;
    size_t notLogin = 0;
    size_t empty = 0;
  };

  SiteImport() = default;
  SiteImport(const SiteImport&) = delete;
  SiteImport& operator=(const SiteImport&) = delete;
  ~SiteImport() = default;

  // Reads the file into sites, none of them added yet. False, with the
  // problem, when the file cannot be imported.
  bool Read(const std::wstring& path);
  // Reads the bytes of a file as Read reads the file's.
  bool Decode(const char* bytes, size_t size);

  Problem GetProblem() const { return m_Problem; }
  DWORD GetError() const { return m_Error; }
  unsigned long long GetSize() const { return m_Size; }
  size_t GetLine() const { return m_Line; }
  // The columns of the first line, and how many of them have a name that
  // Keyfolio knows: what a refusal can say of a first line without showing
  // its texts, which may be a row of passwords.
  size_t GetColumnCount() const { return m_ColumnCount; }
  size_t GetKnownColumnCount() const { return m_KnownColumnCount; }
  // The program that wrote the file, empty when it was known by its column
  // names alone.
  const std::wstring& SourceName() const { return m_SourceName; }
  // The sites of the rows as read, before their titles are made unique.
  const std::deque<PasswordRecStruct>& Sites() const { return m_Sites; }

  // What AddTo would do to `set` now.
  Counts Preview(const DatabasePasswordSet& set) const;
  // Adds the sites to `set`, the first added becoming the current one; when
  // memory runs out on the way (std::bad_alloc), none. Only once: the sites
  // are moved into the set.
  Counts AddTo(DatabasePasswordSet& set);

 private:
  bool Refuse(const TextFile& file);
  bool ReadText(const std::wstring& text);
  bool Fail(Problem problem);
  Counts Plan(const DatabasePasswordSet& set, std::vector<std::wstring>* titles) const;

  Problem m_Problem = SI_None;
  DWORD m_Error = ERROR_SUCCESS;
  unsigned long long m_Size = 0;
  size_t m_Line = 0;
  size_t m_ColumnCount = 0;
  size_t m_KnownColumnCount = 0;
  std::wstring m_SourceName;
  // A deque, so that a site read is never moved again: a moved text may
  // leave a copy behind.
  std::deque<PasswordRecStruct> m_Sites;
  // For each site, what Counts tells of the added beyond their number.
  std::vector<unsigned char> m_Marks;
  size_t m_NotLogin = 0;
  size_t m_Empty = 0;
};
