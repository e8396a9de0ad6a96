#include "exchange/CsvReader.h"

#include "support/SecureWipe.h"

namespace {

bool IsBlank(const CsvRecord& record) {
  return record.size() == 1 && record[0].empty();
}

}  // namespace

void WipeRecord(CsvRecord& record) {
  for (std::wstring& field : record) SecureWipe(field);
  record.clear();
}

CsvReader::CsvReader(const std::wstring& text) : m_text(text), m_separator(Separator(text)) {}

wchar_t CsvReader::Separator(const std::wstring& text) {
  bool quoted = false, semicolon = false, tab = false;
  for (const wchar_t unit : text) {
    if (unit == L'"') {
      quoted = !quoted;
    } else if (!quoted) {
      if (IsLineEnd(unit)) break;
      if (unit == L',') return L',';
      semicolon = semicolon || unit == L';';
      tab = tab || unit == L'\t';
    }
  }
  return semicolon ? L';' : tab ? L'\t' : L',';
}

bool CsvReader::Next(CsvRecord& record) {
  WipeRecord(record);
  while (!AtEnd()) {
    if (SkipLineEnd()) continue;
    size_t unclosedLine = 0;
    const size_t fields = CountFields(unclosedLine);
    if (fields == 0) {
      m_unclosedLine = unclosedLine;
      m_at = m_text.size();
      return false;
    }
    // Room made while the record is empty moves no field.
    record.reserve(fields);
    ReadRecord(record);
    // A line of nothing but a quoted empty field is as blank as an empty one.
    if (!IsBlank(record)) return true;
    WipeRecord(record);
  }
  return false;
}

// Steps over CRLF, LF or CR when one is here.
bool CsvReader::SkipLineEnd() {
  if (AtEnd() || !IsLineEnd(m_text[m_at])) return false;
  if (m_text[m_at] == L'\r' && m_at + 1 < m_text.size() && m_text[m_at + 1] == L'\n') ++m_at;
  ++m_at;
  ++m_line;
  return true;
}

// Up to the next separator or line end.
size_t CsvReader::PlainEnd(size_t from) const {
  size_t end = from;
  while (end < m_text.size() && m_text[end] != m_separator && !IsLineEnd(m_text[end])) ++end;
  return end;
}

// Where the quoted field that opens at `open` closes, a doubled quote being
// a quote of its text; npos when it never does. `line` counts the line ends
// inside it.
size_t CsvReader::ClosingQuote(size_t open, size_t& line) const {
  for (size_t at = open + 1; at < m_text.size(); ++at) {
    const wchar_t unit = m_text[at];
    if (unit == L'"') {
      if (at + 1 < m_text.size() && m_text[at + 1] == L'"') {
        ++at;
        continue;
      }
      return at;
    }
    if (unit == L'\n' || (unit == L'\r' && !(at + 1 < m_text.size() && m_text[at + 1] == L'\n')))
      ++line;
  }
  return std::wstring::npos;
}

// The fields of the record that starts here, counted without reading them;
// 0, with the line on which it opened in `unclosedLine`, when a quoted field
// never closes.
size_t CsvReader::CountFields(size_t& unclosedLine) const {
  size_t count = 0;
  size_t at = m_at;
  size_t line = m_line;
  for (;;) {
    ++count;
    if (at < m_text.size() && m_text[at] == L'"') {
      const size_t opened = line;
      const size_t close = ClosingQuote(at, line);
      if (close == std::wstring::npos) {
        unclosedLine = opened;
        return 0;
      }
      at = close + 1;
    }
    at = PlainEnd(at);
    if (at >= m_text.size() || m_text[at] != m_separator) return count;
    ++at;
  }
}

void CsvReader::ReadRecord(CsvRecord& record) {
  for (;;) {
    if (!AtEnd() && m_text[m_at] == L'"') {
      ReadQuoted(record);
    } else {
      const size_t end = PlainEnd(m_at);
      record.emplace_back(m_text, m_at, end - m_at);
      m_at = end;
    }
    if (AtEnd() || m_text[m_at] != m_separator) break;
    ++m_at;
  }
  SkipLineEnd();
}

// The field is sized before it is filled: the text inside the quotes with
// each doubled quote made one, and whatever stands between the closing quote
// and the next separator. CountFields has seen it close.
void CsvReader::ReadQuoted(CsvRecord& record) {
  const size_t start = m_at + 1;
  const size_t close = ClosingQuote(m_at, m_line);
  const size_t tailEnd = PlainEnd(close + 1);
  size_t length = tailEnd - close - 1;
  for (size_t at = start; at < close; ++at) {
    ++length;
    if (m_text[at] == L'"') ++at;
  }
  std::wstring field;
  field.reserve(length);
  for (size_t at = start; at < close; ++at) {
    field += m_text[at];
    if (m_text[at] == L'"') ++at;
  }
  field.append(m_text, close + 1, tailEnd - close - 1);
  record.push_back(std::move(field));
  m_at = tailEnd;
}
