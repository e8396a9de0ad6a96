#include "exchange/CsvSiteMapper.h"

#include <vector>

#include "support/SecureWipe.h"
#include "support/StringFunctions.h"

namespace {

const std::wstring kNothing;
// A title for a row that has only a password: the list needs a title.
const wchar_t kNoTitle[] = L"Imported site";
const wchar_t kSecureNoteAddress[] = L"http://sn";

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
// its column's name. Measured first, so that the notes are made at their
// final size and no growing leaves a copy behind.
class Notes {
 public:
  void Add(const std::wstring* name, const std::wstring& value) {
    m_Parts.push_back({name, &value});
  }

  std::wstring Join() const {
    size_t length = 0;
    for (const Part& part : m_Parts)
      length += 2 + (part.name ? part.name->size() + 2 : 0) + CrlfLength(*part.value);
    std::wstring notes;
    notes.reserve(length);
    // The row's own notes come first; when it has none, no empty line.
    for (const Part& part : m_Parts) {
      if (!notes.empty()) notes += L"\r\n";
      if (part.name) {
        notes += *part.name;
        notes += L": ";
      }
      AppendCrlf(notes, *part.value);
    }
    return notes;
  }

 private:
  struct Part {
    const std::wstring* name;
    const std::wstring* value;
  };
  std::vector<Part> m_Parts;
};

struct Picked {
  size_t column = std::wstring::npos;
  const std::wstring* value = &kNothing;
};

bool StartsWithWww(const std::wstring& host) {
  static const std::wstring kWww = L"WWW.";
  if (host.size() <= kWww.size()) return false;
  for (size_t i = 0; i < kWww.size(); ++i)
    if (UpperUnit(host[i]) != kWww[i]) return false;
  return true;
}

}  // namespace

CsvSiteMapper::CsvSiteMapper(const CsvSource& source) : m_Source(source) {}

std::wstring CsvSiteMapper::HostName(const std::wstring& address) {
  const size_t scheme = address.find(L"://");
  size_t start = scheme == std::wstring::npos ? 0 : scheme + 3;
  // A host holds no space: an address made one line ends there too.
  size_t end = address.find_first_of(L"/?# ", start);
  if (end == std::wstring::npos) end = address.size();
  for (size_t at = start; at < end; ++at)
    if (address[at] == L'@') start = at + 1;
  std::wstring host = address.substr(start, end - start);
  // A port follows the host; an IPv6 host is in brackets and holds colons.
  const size_t port = host.find(host.empty() || host[0] != L'[' ? L':' : L']');
  if (port != std::wstring::npos) host.resize(host[0] == L'[' ? port + 1 : port);
  if (StartsWithWww(host)) host.erase(0, 4);
  return host.empty() ? address : host;
}

CsvSiteMapper::Outcome CsvSiteMapper::Map(const CsvRecord& row, PasswordRecStruct& site) const {
  if (m_Source.HasKindColumn()) {
    const size_t kind = m_Source.ColumnsOf(CsvSource::CR_Kind).front();
    if (CsvSource::Normalised(Field(row, kind)) != L"LOGIN") return SM_NotLogin;
  }
  Picked picked[CsvSource::CR_Notes + 1];
  for (int role = CsvSource::CR_Title; role <= CsvSource::CR_Notes; ++role) {
    for (const size_t column : m_Source.ColumnsOf(static_cast<CsvSource::Role>(role))) {
      if (Field(row, column).empty()) continue;
      picked[role] = {column, &Field(row, column)};
      break;
    }
  }
  const std::wstring& title = *picked[CsvSource::CR_Title].value;
  const std::wstring& user = *picked[CsvSource::CR_User].value;
  const std::wstring& password = *picked[CsvSource::CR_Password].value;
  const std::wstring& address = *picked[CsvSource::CR_Address].value;
  if (m_Source.SecureNotesAsAddress() && address == kSecureNoteAddress) return SM_NotLogin;
  if (title.empty() && user.empty() && password.empty() && address.empty()) return SM_Empty;

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

  site.m_UserName = OneLine(user);
  site.m_Password = password;
  site.m_WebsiteAddress = OneLine(firstAddress);
  site.m_SiteTitle = OneLine(title);
  if (site.m_SiteTitle.empty() && !site.m_WebsiteAddress.empty())
    site.m_SiteTitle = HostName(site.m_WebsiteAddress);
  if (site.m_SiteTitle.empty()) site.m_SiteTitle = site.m_UserName;
  if (site.m_SiteTitle.empty()) site.m_SiteTitle = kNoTitle;

  const std::vector<std::wstring>& columns = m_Source.Columns();
  std::vector<std::wstring> names;
  const size_t width = row.size() > columns.size() ? row.size() : columns.size();
  names.reserve(width);
  for (size_t column = 0; column < width; ++column) {
    const bool named = column < columns.size() && !columns[column].empty();
    names.push_back(named ? columns[column] : L"Column " + std::to_wstring(column + 1));
  }
  Notes notes;
  notes.Add(nullptr, *picked[CsvSource::CR_Notes].value);
  for (size_t column = 0; column < width; ++column) {
    const std::wstring& value = Field(row, column);
    if (value.empty()) continue;
    const CsvSource::Role role = column < columns.size() ? m_Source.RoleOf(column)
                                                         : CsvSource::CR_Extra;
    if (role == CsvSource::CR_Ignored || role == CsvSource::CR_Kind) continue;
    if (role != CsvSource::CR_Extra) {
      if (column == picked[role].column) {
        if (role == CsvSource::CR_Address && !otherAddresses.empty())
          notes.Add(&names[column], otherAddresses);
        continue;
      }
      if (value == *picked[role].value) continue;
    }
    notes.Add(&names[column], value);
  }
  site.m_Notes = notes.Join();
  return SM_Site;
}
