// The text of a file that another program wrote for people to move their
// passwords with: a browser's or a password keeper's export, or a sheet a
// spreadsheet saved as CSV. Such files come as UTF-8 with or without a
// byte-order mark, as UTF-16 with one, or, from spreadsheets, in the
// system's ANSI code page; which one is told by the mark, or by the bytes.
// A password must come out as it went in, or not at all: a file read in the
// wrong encoding changes every password with a letter beyond ASCII, and a
// broken byte read as U+FFFD changes the one it stands in. So a file is read
// in the ANSI code page only when it holds no valid multi-byte UTF-8
// sequence at all; one that does, but also holds a byte that UTF-8 cannot
// have, is refused with the line of that byte. Every password of the person
// is in these files, in plain text: the bytes are wiped before they are
// freed, and so is the text.
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
    // UTF-8, but with a byte that is not UTF-8 on GetLine().
    TF_NotUtf8,
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
  // Decodes bytes as the file's would be; false, with the problem, for a
  // text with a zero character or a broken UTF-8 one. A byte-order mark is
  // not part of the text.
  bool Decode(const char* bytes, size_t size);

  Problem GetProblem() const { return m_Problem; }
  DWORD GetError() const { return m_Error; }
  unsigned long long GetSize() const { return m_Size; }
  // The 1-based line of the first byte that is not UTF-8 (CRLF, LF and CR
  // end a line).
  size_t GetLine() const { return m_Line; }
  // The decoded text; empty after a problem.
  const std::wstring& Text() const { return m_Text; }

  // Replaces each UTF-16 surrogate that stands without its partner (a
  // broken character, which UTF-8 and the other programs cannot hold) with
  // U+FFFD, in place; true when there was one.
  static bool ReplaceLoneSurrogates(std::wstring& text);

 private:
  bool Fail(Problem problem, DWORD error = ERROR_SUCCESS);

  Problem m_Problem = TF_None;
  DWORD m_Error = ERROR_SUCCESS;
  unsigned long long m_Size = 0;
  size_t m_Line = 0;
  std::wstring m_Text;
};
