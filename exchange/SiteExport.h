// The sites written out for another program: Chrome's CSV format, which the
// other browsers and password keepers read without asking which column is
// which. One row per site in the list's order, each value exactly as stored,
// quoted where it holds a comma, a quote or a line break; UTF-8 without a
// byte-order mark, CRLF line ends. A value that begins with "=" stays as it
// is: the file is for moving passwords, not for spreadsheets, and a changed
// value would come back changed.
#pragma once

#include <string>

#include "exchange/SafeFileWriter.h"

class DatabasePasswordSet;

class SiteExport {
 public:
  // The first line.
  static const char kHeader[];

  // The whole file, as UTF-8. It holds every password: the caller wipes it.
  static std::string Csv(const DatabasePasswordSet& set);
  // Writes the file through SafeFileWriter and wipes what it made.
  static SafeFileWriter::Result Write(const DatabasePasswordSet& set, const std::wstring& target);
};
