// The text of a file that another program wrote for people to move their
// passwords with: a browser's or a password keeper's export, or a sheet a
// spreadsheet saved as CSV. Such files come as UTF-8 with or without a
// byte-order mark, as UTF-16 with one, or, from spreadsheets, in the
// system's ANSI code page; which one is told by the mark, or by whether the
// bytes are valid UTF-8. Every password of the person is in them, in plain
// text: the bytes are wiped before they are freed, and so is the text.
#pragma once

#include <windows.h>

#include <string>

class TextFile {
 public:
  enum Problem {
    TF_None,
    // Windows refused to open or read it; `error` says why.
    TF_Unreadable,
    // Larger than kMostBytes; `size` says how large.
    TF_TooLarge,
    // Holds a zero character: a program, a picture, a document, not text.
    TF_NotText,
  };

  // Far beyond any export of passwords; the bound keeps a wrong choice of
  // file (a film, a disk image) from filling the memory.
  static constexpr unsigned long long kMostBytes = 64ull * 1024 * 1024;

  TextFile() = default;
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;
  ~TextFile();

  // Reads and decodes the file. A file that another program holds is waited
  // for a moment, as the vault's files are.
  bool Read(const std::wstring& path);
  // Decodes bytes as the file's would be; false for a text with a zero
  // character. A byte-order mark is not part of the text.
  bool Decode(const char* bytes, size_t size);

  Problem GetProblem() const { return m_Problem; }
  DWORD GetError() const { return m_Error; }
  unsigned long long GetSize() const { return m_Size; }
  // The decoded text; empty after a problem.
  const std::wstring& Text() const { return m_Text; }

 private:
  bool Fail(Problem problem, DWORD error = ERROR_SUCCESS);

  Problem m_Problem = TF_None;
  DWORD m_Error = ERROR_SUCCESS;
  unsigned long long m_Size = 0;
  std::wstring m_Text;
};
