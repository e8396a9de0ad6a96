// A whole file in memory: what an import reads and what a backup copies. The
// open waits out another program's brief hold on the file, as the vault's
// own files do (HeldFile.h), and lets others go on reading and writing it: a
// spreadsheet that has a file open keeps it open. The bytes may be every
// password of the person: they are wiped before they are freed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class WholeFile {
 public:
  WholeFile() = default;
  WholeFile(const WholeFile&) = delete;
  WholeFile& operator=(const WholeFile&) = delete;
  ~WholeFile();

  // ERROR_SUCCESS; ERROR_FILE_TOO_LARGE, with Size() set and nothing read,
  // for a file of more than `mostBytes`; else the Windows error of the open
  // or the read (ERROR_HANDLE_EOF when the file got shorter meanwhile).
  DWORD Read(const std::wstring& path, unsigned long long mostBytes);

  unsigned long long Size() const { return m_Size; }
  const std::vector<char>& Bytes() const { return m_Bytes; }

 private:
  void Wipe();

  unsigned long long m_Size = 0;
  std::vector<char> m_Bytes;
};
