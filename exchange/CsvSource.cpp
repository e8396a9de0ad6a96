#include "exchange/CsvSource.h"

#include <algorithm>
#include <initializer_list>

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
      L"TIMEPASSWORDCHANGED", L"CREATETIME", L"MODIFYTIME", L"HTTPREALM", L"REALM",
      L"FORMACTIONORIGIN", L"FORMSUBMITURL"}},
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

bool IsSpace(wchar_t unit) {
  return unit == L' ' || unit == L'\t';
}

bool Has(const std::vector<std::wstring>& names, const wchar_t* name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

bool Matches(const std::vector<std::wstring>& names, const Marker& marker) {
  return std::all_of(marker.begin(), marker.end(),
                     [&](const wchar_t* name) { return Has(names, name); });
}

const KnownSource* FindSource(const std::vector<std::wstring>& names) {
  for (const KnownSource& source : kKnownSources)
    for (const Marker& marker : source.markers)
      if (Matches(names, marker)) return &source;
  return nullptr;
}

std::wstring Trimmed(const std::wstring& text) {
  size_t start = 0, end = text.size();
  while (start < end && (IsSpace(text[start]) || text[start] == 0xFEFF)) ++start;
  while (end > start && IsSpace(text[end - 1])) --end;
  return text.substr(start, end - start);
}

}  // namespace

std::wstring CsvSource::Normalised(const std::wstring& name) {
  std::wstring normalised = Trimmed(name);
  MakeUpper(normalised);
  return normalised;
}

CsvSource::CsvSource(const std::vector<std::wstring>& header) {
  std::vector<std::wstring> names;
  for (const std::wstring& column : header) {
    m_Columns.push_back(Trimmed(column));
    names.push_back(Normalised(column));
  }
  const KnownSource* source = FindSource(names);
  m_Roles.assign(names.size(), CR_Extra);
  // Role by role in the order of preference, so that each role's columns
  // come out in that order.
  for (const RoleNames& role : kRoleNames) {
    for (const wchar_t* name : role.names) {
      for (size_t column = 0; column < names.size(); ++column) {
        if (names[column] != name || m_Roles[column] != CR_Extra) continue;
        m_Roles[column] = role.role;
        m_Candidates[role.role].push_back(column);
      }
    }
  }
  if (source) {
    m_Name = source->name;
    m_AddressesOnePerLine = source->addressesOnePerLine;
    m_SecureNotesAsAddress = source->secureNotesAsAddress;
    const auto kind = std::find(names.begin(), names.end(), L"TYPE");
    if (source->kindColumn && kind != names.end()) {
      const size_t column = static_cast<size_t>(kind - names.begin());
      m_Roles[column] = CR_Kind;
      m_Candidates[CR_Kind].push_back(column);
    }
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
