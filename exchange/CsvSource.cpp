#include "exchange/CsvSource.h"

#include <algorithm>
#include <cwchar>
#include <initializer_list>

#include "support/SecureWipe.h"
#include "support/StringFunctions.h"

namespace {

// The names people give each column, the one to prefer first. Normalised.
struct RoleNames {
  CsvSource::Role role;
  std::initializer_list<const wchar_t*> names;
};

const RoleNames kRoleNames[] = {
    {CsvSource::CR_Title, {L"TITLE", L"NAME", L"ACCOUNT"}},
    {CsvSource::CR_User,
     {L"USERNAME", L"USER NAME", L"LOGIN", L"LOGIN NAME", L"LOGIN_USERNAME", L"EMAIL"}},
    {CsvSource::CR_Password, {L"PASSWORD", L"LOGIN_PASSWORD"}},
    {CsvSource::CR_Address,
     {L"URL", L"WEBSITE", L"WEB SITE", L"ADDRESS", L"URI", L"LOGIN_URI", L"ORIGIN", L"HOSTNAME"}},
    {CsvSource::CR_Notes, {L"NOTES", L"NOTE", L"COMMENTS", L"EXTRA"}},
    {CsvSource::CR_Ignored,
     {L"GROUP", L"GROUPING", L"FOLDER", L"CATEGORY", L"VAULT", L"TAGS", L"FAVORITE",
      L"FAVOURITE", L"FAV", L"ARCHIVED", L"REPROMPT", L"ICON", L"ID", L"GUID", L"UUID",
      L"CREATED", L"MODIFIED", L"LAST MODIFIED", L"TIMECREATED", L"TIMELASTUSED",
      L"TIMEPASSWORDCHANGED", L"CREATETIME", L"MODIFYTIME", L"FORMACTIONORIGIN",
      L"FORMSUBMITURL"}},
};

using Marker = std::initializer_list<const wchar_t*>;

// A program is recognised when all names of one of its markers are in the
// first line. Programs whose lines hold another's marker come before it:
// LastPass's and Proton Pass's lines hold Chrome's four names.
struct KnownSource {
  const wchar_t* name;
  std::initializer_list<Marker> markers;
  bool kindColumn;
  bool addressesOnePerLine;
  bool secureNotesAsAddress;
};

const KnownSource kKnownSources[] = {
    {L"Bitwarden", {{L"LOGIN_PASSWORD"}, {L"LOGIN_USERNAME"}, {L"LOGIN_URI"}}, true, true, false},
    {L"Proton Pass", {{L"CREATETIME"}, {L"MODIFYTIME"}, {L"TYPE", L"EMAIL", L"VAULT"}}, true,
     false, false},
    {L"LastPass", {{L"GROUPING"}, {L"EXTRA", L"FAV"}}, false, false, true},
    {L"Dashlane", {{L"USERNAME2"}, {L"USERNAME3"}, {L"OTPSECRET"}}, false, false, false},
    {L"1Password", {{L"ARCHIVED"}, {L"OTPAUTH", L"TAGS"}, {L"OTPAUTH", L"FAVORITE"}}, false, false,
     false},
    {L"Safari or Apple Passwords", {{L"OTPAUTH"}}, false, false, false},
    {L"KeePassXC", {{L"GROUP", L"TITLE"}, {L"TOTP", L"ICON"}, {L"LAST MODIFIED"}}, false, false,
     false},
    {L"KeePass 2", {{L"LOGIN NAME"}, {L"WEB SITE", L"COMMENTS"}}, false, false, false},
    {L"Firefox", {{L"HTTPREALM"}, {L"FORMACTIONORIGIN"}, {L"FORMSUBMITURL"}, {L"HOSTNAME"}}, false,
     false, false},
    {L"Chrome or Edge", {{L"NAME", L"URL", L"USERNAME", L"PASSWORD"}}, false, false, false},
};

// A name shown in the notes is cut at this length: a first line that holds
// values instead of names, of any length, is not repeated in every site.
constexpr size_t kMostShownName = 100;

bool IsSpace(wchar_t unit) {
  return unit == L' ' || unit == L'\t';
}

// The names of a first line that Keyfolio knows, each as one of the words of
// the tables above; null for any other name. Only these are compared, so
// that a first line of thousands of names is not copied again.
using Words = std::vector<const wchar_t*>;

const wchar_t* KnownWord(const std::wstring& normalised) {
  for (const RoleNames& role : kRoleNames)
    for (const wchar_t* name : role.names)
      if (normalised == name) return name;
  for (const KnownSource& source : kKnownSources)
    for (const Marker& marker : source.markers)
      for (const wchar_t* name : marker)
        if (normalised == name) return name;
  return nullptr;
}

bool IsWord(const wchar_t* word, const wchar_t* name) {
  return word != nullptr && std::wcscmp(word, name) == 0;
}

bool Has(const Words& words, const wchar_t* name) {
  return std::any_of(words.begin(), words.end(),
                     [&](const wchar_t* word) { return IsWord(word, name); });
}

bool Matches(const Words& words, const Marker& marker) {
  return std::all_of(marker.begin(), marker.end(),
                     [&](const wchar_t* name) { return Has(words, name); });
}

const KnownSource* FindSource(const Words& words) {
  for (const KnownSource& source : kKnownSources)
    for (const Marker& marker : source.markers)
      if (Matches(words, marker)) return &source;
  return nullptr;
}

std::wstring Trimmed(const std::wstring& text) {
  size_t start = 0, end = text.size();
  while (start < end && (IsSpace(text[start]) || text[start] == 0xFEFF)) ++start;
  while (end > start && IsSpace(text[end - 1])) --end;
  return text.substr(start, end - start);
}

// Trimmed, on one line (a line end, CRLF or alone, or a tab makes a space),
// and cut with "..." beyond kMostShownName units, never inside a character.
std::wstring ShownName(const std::wstring& column) {
  const std::wstring trimmed = Trimmed(column);
  std::wstring name;
  name.reserve(trimmed.size() < kMostShownName ? trimmed.size() : kMostShownName + 1);
  size_t at = 0;
  for (; at < trimmed.size() && name.size() < kMostShownName; ++at) {
    const wchar_t unit = trimmed[at];
    if (unit == L'\r' && at + 1 < trimmed.size() && trimmed[at + 1] == L'\n') ++at;
    name += unit == L'\r' || unit == L'\n' || unit == L'\t' ? L' ' : unit;
  }
  if (at == trimmed.size()) return name;
  if (name.back() >= 0xD800 && name.back() <= 0xDBFF) name.pop_back();
  name += L'\u2026';
  return name;
}

}  // namespace

std::wstring CsvSource::Normalised(const std::wstring& name) {
  std::wstring normalised = Trimmed(name);
  MakeUpper(normalised);
  return normalised;
}

CsvSource::~CsvSource() {
  for (std::wstring& column : m_Columns) SecureWipe(column);
}

size_t CsvSource::KnownColumns() const {
  return static_cast<size_t>(
      std::count_if(m_Roles.begin(), m_Roles.end(), [](Role role) { return role != CR_Extra; }));
}

CsvSource::CsvSource(const std::vector<std::wstring>& header) {
  Words words;
  words.reserve(header.size());
  m_Columns.reserve(header.size());
  for (const std::wstring& column : header) {
    m_Columns.push_back(ShownName(column));
    std::wstring normalised = Normalised(column);
    words.push_back(KnownWord(normalised));
    SecureWipe(normalised);
  }
  const KnownSource* source = FindSource(words);
  m_Roles.assign(words.size(), CR_Extra);
  m_Ranks.assign(words.size(), 0);
  const auto take = [&](size_t column, Role role) {
    m_Roles[column] = role;
    m_Ranks[column] = m_Candidates[role].size();
    m_Candidates[role].push_back(column);
  };
  // Role by role in the order of preference, so that each role's columns
  // come out in that order.
  for (const RoleNames& role : kRoleNames) {
    for (const wchar_t* name : role.names) {
      for (size_t column = 0; column < words.size(); ++column)
        if (IsWord(words[column], name) && m_Roles[column] == CR_Extra) take(column, role.role);
    }
  }
  if (source) {
    m_Name = source->name;
    m_AddressesOnePerLine = source->addressesOnePerLine;
    m_SecureNotesAsAddress = source->secureNotesAsAddress;
    const auto kind = std::find_if(words.begin(), words.end(),
                                   [](const wchar_t* word) { return IsWord(word, L"TYPE"); });
    if (source->kindColumn && kind != words.end())
      take(static_cast<size_t>(kind - words.begin()), CR_Kind);
  }
  if (m_Candidates[CR_Password].empty()) {
    m_Verdict = CV_NoPassword;
  } else if (m_Candidates[CR_Title].empty() && m_Candidates[CR_User].empty() &&
             m_Candidates[CR_Address].empty()) {
    m_Verdict = CV_NoSiteColumns;
  } else {
    m_Verdict = CV_Recognised;
  }
}
