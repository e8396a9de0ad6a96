// Splits the text of a CSV file into records and fields, as RFC 4180 reads
// it and as the programs that write such files actually write them: quoted
// fields that hold separators, doubled quotes and line breaks; CRLF, LF or CR
// line ends; a last line with or without one. Spreadsheets in many countries
// separate with a semicolon or a tab, so the first line chooses the
// separator.
//
// One record at a time, into a record the caller keeps: a file's memory is
// its text and the record being read, whatever its width and length. The
// fields hold passwords: a record is sized for its fields before they are
// read and each field is made at its final size, so no growing vector or
// string leaves a copy behind, and a record's fields are wiped before it
// takes the next one's.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

using CsvRecord = std::vector<std::wstring>;

// Wipes every field of `record` and empties it.
void WipeRecord(CsvRecord& record);

class CsvReader {
 public:
  // Reads `text`, which must outlive the reader.
  explicit CsvReader(const std::wstring& text);
  CsvReader(const CsvReader&) = delete;
  CsvReader& operator=(const CsvReader&) = delete;

  // The next record into `record`, whose fields are wiped first; false at
  // the end of the text, and when a quoted field never closes (UnclosedLine
  // then says where). Blank lines are skipped and count no record; rows keep
  // the fields they have (the caller pads short ones). A quote that does not
  // open a field is taken as a character of its field, and so is what
  // follows a closing quote before the next separator.
  bool Next(CsvRecord& record);
  // The 1-based line on which a quoted field opened that never closed; 0
  // while the text reads whole.
  size_t UnclosedLine() const { return m_unclosedLine; }

  // A comma, unless the first line has none but has a semicolon (then that)
  // or a tab. Quoted text does not count.
  static wchar_t Separator(const std::wstring& text);
  // CR or LF: what ends a line, alone or as CRLF.
  static bool IsLineEnd(wchar_t unit) { return unit == L'\r' || unit == L'\n'; }

 private:
  bool AtEnd() const { return m_at >= m_text.size(); }
  bool SkipLineEnd();
  size_t PlainEnd(size_t from) const;
  size_t ClosingQuote(size_t open, size_t& line) const;
  size_t CountFields(size_t& unclosedLine) const;
  void ReadRecord(CsvRecord& record);
  void ReadQuoted(CsvRecord& record);

  const std::wstring& m_text;
  const wchar_t m_separator;
  size_t m_at = 0;
  size_t m_line = 1;
  size_t m_unclosedLine = 0;
};
