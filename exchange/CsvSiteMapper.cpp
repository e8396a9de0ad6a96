#include "exchange/CsvSiteMapper.h"

#include <string>
#include <vector>

#include "exchange/SiteHost.h"
#include "support/SecureWipe.h"

namespace {

const std::wstring kNothing;
// Titles for a row that has none: the list needs a title.
const wchar_t kNoTitle[] = L"Imported site";
const wchar_t kNoteTitle[] = L"Imported note";
const wchar_t kSecureNoteAddress[] = L"http://sn";
// What the notes call a column the first line gives no name.
const wchar_t kColumn[] = L"Column ";

const std::wstring& Field(const CsvRecord& row, size_t column) {
  return column < row.size() ? row[column] : kNothing;
}

// CRLF, CR, LF and tabs each become one space.
std::wstring OneLine(const std::wstring& text) {
  std::wstring line;
  line.reserve(text.size());
  for (size_t at = 0; at < text.size(); ++at) {
    const wchar_t unit = text[at];
    if (unit == L'\r' && at + 1 < text.size() && text[at + 1] == L'\n') ++at;
    line += CsvReader::IsLineEnd(unit) || unit == L'\t' ? L' ' : unit;
  }
  return line;
}

// What a text takes with its line ends as CRLF.
size_t CrlfLength(const std::wstring& text) {
  size_t length = text.size();
  for (size_t at = 0; at < text.size(); ++at) {
    if (text[at] == L'\r' && at + 1 < text.size() && text[at + 1] == L'\n')
      ++at;
    else if (CsvReader::IsLineEnd(text[at]))
      ++length;
  }
  return length;
}

void AppendCrlf(std::wstring& out, const std::wstring& text) {
  for (size_t at = 0; at < text.size(); ++at) {
    const wchar_t unit = text[at];
    if (!CsvReader::IsLineEnd(unit)) {
      out += unit;
      continue;
    }
    if (unit == L'\r' && at + 1 < text.size() && text[at + 1] == L'\n') ++at;
    out += L"\r\n";
  }
}

// The notes of a site: the row's own, then a line for each other text under
// its column's name, or "Column 7" for a column the first line does not
// name. Measured first, so that the notes are made at their final size and
// no growing leaves a copy behind; a name is written, never made.
class Notes {
 public:
  explicit Notes(const std::vector<std::wstring>& names) : m_names(names) {}

  void AddOwn(const std::wstring& value) { m_parts.push_back({kOwn, &value}); }
  void Add(size_t column, const std::wstring& value) { m_parts.push_back({column, &value}); }

  std::wstring Join() const {
    size_t length = 0;
    for (const Part& part : m_parts)
      length += 2 + NameLength(part.column) + CrlfLength(*part.value);
    std::wstring notes;
    notes.reserve(length);
    // The row's own notes come first; when it has none, no empty line.
    for (const Part& part : m_parts) {
      if (!notes.empty()) notes += L"\r\n";
      AppendName(notes, part.column);
      AppendCrlf(notes, *part.value);
    }
    return notes;
  }

 private:
  static constexpr size_t kOwn = static_cast<size_t>(-1);

  struct Part {
    size_t column;
    const std::wstring* value;
  };

  bool Named(size_t column) const { return column < m_names.size() && !m_names[column].empty(); }

  // With its ": ".
  size_t NameLength(size_t column) const {
    if (column == kOwn) return 0;
    if (Named(column)) return m_names[column].size() + 2;
    return sizeof kColumn / sizeof kColumn[0] - 1 + std::to_wstring(column + 1).size() + 2;
  }

  void AppendName(std::wstring& out, size_t column) const {
    if (column == kOwn) return;
    if (Named(column)) {
      out += m_names[column];
    } else {
      out += kColumn;
      out += std::to_wstring(column + 1);
    }
    out += L": ";
  }

  const std::vector<std::wstring>& m_names;
  std::vector<Part> m_parts;
};

// The column a row takes a role's text from, and the text.
struct Picked {
  size_t column = std::wstring::npos;
  size_t rank = std::wstring::npos;
  const std::wstring* value = &kNothing;
};

}  // namespace

CsvSiteMapper::CsvSiteMapper(const CsvSource& source) : m_Source(source) {}

CsvSiteMapper::Outcome CsvSiteMapper::Map(const CsvRecord& row, PasswordRecStruct& site) const {
  if (m_Source.HasKindColumn()) {
    const size_t kind = m_Source.ColumnsOf(CsvSource::CR_Kind).front();
    if (CsvSource::Normalised(Field(row, kind)) != L"LOGIN") return SM_NotLogin;
  }
  const std::vector<std::wstring>& columns = m_Source.Columns();
  const auto roleOf = [&](size_t column) {
    return column < columns.size() ? m_Source.RoleOf(column) : CsvSource::CR_Extra;
  };
  // Each role's text from its most preferred column that is not empty, found
  // in one pass over the row's own fields.
  Picked picked[CsvSource::CR_Notes + 1];
  for (size_t column = 0; column < row.size(); ++column) {
    const CsvSource::Role role = roleOf(column);
    if (row[column].empty() || role > CsvSource::CR_Notes) continue;
    const size_t rank = m_Source.RankOf(column);
    if (rank < picked[role].rank) picked[role] = {column, rank, &row[column]};
  }
  const std::wstring& title = *picked[CsvSource::CR_Title].value;
  const std::wstring& user = *picked[CsvSource::CR_User].value;
  const std::wstring& password = *picked[CsvSource::CR_Password].value;
  const std::wstring& address = *picked[CsvSource::CR_Address].value;
  if (m_Source.SecureNotesAsAddress() && address == kSecureNoteAddress) return SM_NotLogin;

  // Bitwarden's further addresses of a login go into the notes.
  std::wstring firstAddress, otherAddresses;
  ScopedWipe wipeFirst(firstAddress), wipeOthers(otherAddresses);
  const size_t lineEnd = address.find_first_of(L"\r\n");
  if (m_Source.AddressesOnePerLine() && lineEnd != std::wstring::npos) {
    firstAddress = address.substr(0, lineEnd);
    const size_t rest = address.find_first_not_of(L"\r\n", lineEnd);
    if (rest != std::wstring::npos) otherAddresses = address.substr(rest);
  } else {
    firstAddress = address;
  }

  Notes notes(columns);
  notes.AddOwn(*picked[CsvSource::CR_Notes].value);
  for (size_t column = 0; column < row.size(); ++column) {
    const std::wstring& value = row[column];
    const CsvSource::Role role = roleOf(column);
    if (value.empty() || role == CsvSource::CR_Ignored || role == CsvSource::CR_Kind) continue;
    if (role != CsvSource::CR_Extra) {
      if (column == picked[role].column) {
        if (role == CsvSource::CR_Address && !otherAddresses.empty())
          notes.Add(column, otherAddresses);
        continue;
      }
      if (value == *picked[role].value) continue;
    }
    notes.Add(column, value);
  }
  site.m_Notes = notes.Join();

  const bool login = !user.empty() || !password.empty() || !address.empty();
  if (!login && title.empty() && site.m_Notes.empty()) return SM_Empty;
  site.m_UserName = OneLine(user);
  site.m_Password = password;
  site.m_WebsiteAddress = OneLine(firstAddress);
  site.m_SiteTitle = OneLine(title);
  if (site.m_SiteTitle.empty() && !site.m_WebsiteAddress.empty())
    site.m_SiteTitle = SiteHost::Shown(SiteHost::Of(site.m_WebsiteAddress));
  if (site.m_SiteTitle.empty()) site.m_SiteTitle = site.m_UserName;
  if (site.m_SiteTitle.empty()) site.m_SiteTitle = login ? kNoTitle : kNoteTitle;
  return login || site.m_Notes.empty() ? SM_Site : SM_Note;
}
