// Splits the text of a CSV file into records and fields, as RFC 4180 reads
// it and as the programs that write such files actually write them: quoted
// fields that hold separators, doubled quotes and line breaks; CRLF, LF or CR
// line ends; a last line with or without one. Spreadsheets in many countries
// separate with a semicolon or a tab, so the first line chooses the
// separator. The fields hold passwords: each is made at its final size, so no
// growing string leaves a copy behind, and the table wipes them all when it
// goes.
#pragma once

#include <string>
#include <vector>

using CsvRecord = std::vector<std::wstring>;

// The records of one file, in file order; the first is the header line.
class CsvTable {
 public:
  CsvTable() = default;
  CsvTable(const CsvTable&) = delete;
  CsvTable& operator=(const CsvTable&) = delete;
  CsvTable(CsvTable&&) = default;
  CsvTable& operator=(CsvTable&&) = default;
  ~CsvTable();

  std::vector<CsvRecord> records;
};

class CsvReader {
 public:
  // What reading found. `line` is the 1-based line on which a quoted field
  // opened that never closed; 0 when the text read whole.
  struct Result {
    CsvTable table;
    size_t line = 0;
  };

  // A comma, unless the first line has none but has a semicolon (then that)
  // or a tab. Quoted text does not count.
  static wchar_t Separator(const std::wstring& text);
  // CR or LF: what ends a line, alone or as CRLF.
  static bool IsLineEnd(wchar_t unit) { return unit == L'\r' || unit == L'\n'; }
  // Every record of `text`. Blank lines are skipped and count no record;
  // rows keep the fields they have (the caller pads short ones). A quote
  // that does not open a field is taken as a character of its field, and so
  // is what follows a closing quote before the next separator.
  static Result Read(const std::wstring& text);
};
