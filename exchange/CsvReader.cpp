#include "exchange/CsvReader.h"

#include "support/SecureWipe.h"

namespace {

// One pass over the text, keeping the line number for the one error there is.
class Scanner {
 public:
  Scanner(const std::wstring& text, wchar_t separator) : m_text(text), m_separator(separator) {}

  bool AtEnd() const { return m_at >= m_text.size(); }
  size_t Line() const { return m_line; }

  // Steps over CRLF, LF or CR when one is here.
  bool SkipLineEnd() {
    if (AtEnd() || !CsvReader::IsLineEnd(m_text[m_at])) return false;
    if (m_text[m_at] == L'\r' && m_at + 1 < m_text.size() && m_text[m_at + 1] == L'\n') ++m_at;
    ++m_at;
    ++m_line;
    return true;
  }

  // Reads one record into `record`; false, with the line it opened on in
  // `openLine`, when a quoted field never closes.
  bool ReadRecord(CsvRecord& record, size_t& openLine) {
    for (;;) {
      if (!AtEnd() && m_text[m_at] == L'"') {
        openLine = m_line;
        if (!ReadQuoted(record)) return false;
      } else {
        ReadPlain(record);
      }
      if (AtEnd() || m_text[m_at] != m_separator) break;
      ++m_at;
    }
    SkipLineEnd();
    return true;
  }

 private:
  // Up to the next separator or line end.
  size_t PlainEnd(size_t from) const {
    size_t end = from;
    while (end < m_text.size() && m_text[end] != m_separator &&
           !CsvReader::IsLineEnd(m_text[end]))
      ++end;
    return end;
  }

  void ReadPlain(CsvRecord& record) {
    const size_t end = PlainEnd(m_at);
    record.emplace_back(m_text, m_at, end - m_at);
    m_at = end;
  }

  // The field is sized before it is filled: the text inside the quotes with
  // each doubled quote made one, and whatever stands between the closing
  // quote and the next separator.
  bool ReadQuoted(CsvRecord& record) {
    const size_t start = m_at + 1;
    size_t close = start;
    size_t doubled = 0;
    size_t line = m_line;
    for (;; ++close) {
      if (close >= m_text.size()) return false;
      const wchar_t unit = m_text[close];
      if (unit == L'"') {
        if (close + 1 < m_text.size() && m_text[close + 1] == L'"') {
          ++doubled;
          ++close;
          continue;
        }
        break;
      }
      if (unit == L'\n' || (unit == L'\r' && !(close + 1 < m_text.size() &&
                                                m_text[close + 1] == L'\n')))
        ++line;
    }
    const size_t tailEnd = PlainEnd(close + 1);
    std::wstring field;
    field.reserve(close - start - doubled + tailEnd - close - 1);
    for (size_t at = start; at < close; ++at) {
      field += m_text[at];
      if (m_text[at] == L'"') ++at;
    }
    field.append(m_text, close + 1, tailEnd - close - 1);
    record.push_back(std::move(field));
    m_line = line;
    m_at = tailEnd;
    return true;
  }

  const std::wstring& m_text;
  const wchar_t m_separator;
  size_t m_at = 0;
  size_t m_line = 1;
};

constexpr size_t kFirstRecordRoom = 32;

bool IsBlank(const CsvRecord& record) {
  return record.size() == 1 && record[0].empty();
}

}  // namespace

CsvTable::~CsvTable() {
  for (CsvRecord& record : records)
    for (std::wstring& field : record) SecureWipe(field);
}

wchar_t CsvReader::Separator(const std::wstring& text) {
  bool quoted = false, semicolon = false, tab = false;
  for (const wchar_t unit : text) {
    if (unit == L'"') {
      quoted = !quoted;
    } else if (!quoted) {
      if (CsvReader::IsLineEnd(unit)) break;
      if (unit == L',') return L',';
      semicolon = semicolon || unit == L';';
      tab = tab || unit == L'\t';
    }
  }
  return semicolon ? L';' : tab ? L'\t' : L',';
}

CsvReader::Result CsvReader::Read(const std::wstring& text) {
  Result result;
  Scanner scanner(text, Separator(text));
  // A record that grows moves its fields, and a short field is moved by
  // copying it: room for the header's count of fields, made at the start,
  // leaves no copy behind in the common case.
  size_t expectedFields = kFirstRecordRoom;
  while (!scanner.AtEnd()) {
    if (scanner.SkipLineEnd()) continue;
    CsvRecord record;
    record.reserve(expectedFields);
    size_t openLine = 0;
    if (!scanner.ReadRecord(record, openLine)) {
      for (std::wstring& field : record) SecureWipe(field);
      // What was read so far is wiped as `result` goes.
      Result failed;
      failed.line = openLine;
      return failed;
    }
    // A line of nothing but a quoted empty field is as blank as an empty one.
    if (IsBlank(record)) continue;
    if (result.table.records.empty()) expectedFields = record.size();
    result.table.records.push_back(std::move(record));
  }
  return result;
}
