#include "tests/fuzz/ImportFuzz.h"

#include <windows.h>

#include <initializer_list>

#include "exchange/SiteImport.h"
#include "exchange/TextFile.h"
#include "storage/DatabasePasswordSet.h"
#include "tests/common/AllocationWatch.h"
#include "tests/fuzz/SiteChecks.h"

namespace {

// What a column holds: title, user name, password, address, notes, kind,
// extra (kept in the notes), ignored.
struct Column {
  const wchar_t* name;
  char role;
};

struct Format {
  const char* name;
  std::initializer_list<Column> columns;
};

const Format kFormats[] = {
    {"Chrome", {{L"name", 't'}, {L"url", 'a'}, {L"username", 'u'}, {L"password", 'p'},
                {L"note", 'n'}}},
    {"Firefox", {{L"url", 'a'}, {L"username", 'u'}, {L"password", 'p'}, {L"httpRealm", 'x'},
                 {L"formActionOrigin", 'i'}, {L"guid", 'i'}, {L"timeCreated", 'i'},
                 {L"timeLastUsed", 'i'}, {L"timePasswordChanged", 'i'}}},
    {"Safari", {{L"Title", 't'}, {L"URL", 'a'}, {L"Username", 'u'}, {L"Password", 'p'},
                {L"Notes", 'n'}, {L"OTPAuth", 'x'}}},
    {"Bitwarden", {{L"folder", 'i'}, {L"favorite", 'i'}, {L"type", 'k'}, {L"name", 't'},
                   {L"notes", 'n'}, {L"fields", 'x'}, {L"reprompt", 'i'}, {L"login_uri", 'a'},
                   {L"login_username", 'u'}, {L"login_password", 'p'}, {L"login_totp", 'x'}}},
    {"KeePassXC", {{L"Group", 'i'}, {L"Title", 't'}, {L"Username", 'u'}, {L"Password", 'p'},
                   {L"URL", 'a'}, {L"Notes", 'n'}, {L"TOTP", 'x'}, {L"Icon", 'i'},
                   {L"Last Modified", 'i'}, {L"Created", 'i'}}},
    {"KeePass 2", {{L"Account", 't'}, {L"Login Name", 'u'}, {L"Password", 'p'},
                   {L"Web Site", 'a'}, {L"Comments", 'n'}}},
    {"LastPass", {{L"url", 'a'}, {L"username", 'u'}, {L"password", 'p'}, {L"totp", 'x'},
                  {L"extra", 'n'}, {L"name", 't'}, {L"grouping", 'i'}, {L"fav", 'i'}}},
    {"1Password", {{L"Title", 't'}, {L"Url", 'a'}, {L"Username", 'u'}, {L"Password", 'p'},
                   {L"OTPAuth", 'x'}, {L"Favorite", 'i'}, {L"Archived", 'i'}, {L"Tags", 'i'},
                   {L"Notes", 'n'}}},
    {"Proton Pass", {{L"type", 'k'}, {L"name", 't'}, {L"url", 'a'}, {L"email", 'x'},
                     {L"username", 'u'}, {L"password", 'p'}, {L"note", 'n'}, {L"totp", 'x'},
                     {L"createTime", 'i'}, {L"modifyTime", 'i'}, {L"vault", 'i'}}},
    {"Dashlane", {{L"username", 'u'}, {L"username2", 'x'}, {L"username3", 'x'}, {L"title", 't'},
                  {L"password", 'p'}, {L"note", 'n'}, {L"url", 'a'}, {L"category", 'i'},
                  {L"otpSecret", 'x'}}},
    {"usual names", {{L" Password ", 'p'}, {L"Website", 'a'}, {L"LOGIN", 'u'}, {L"Comments", 'n'},
                     {L"Security question", 'x'}}},
};

// The pieces the texts are made of: what splits, quotes and breaks a field,
// what a spreadsheet or a host name makes of text, and characters of one,
// two and four bytes in UTF-8.
const wchar_t* const kPieces[] = {
    L"a",  L"Z",      L"7",      L" ",        L",",      L";",       L"\t",        L"\"",
    L"\"\"", L"\r",   L"\n",     L"\r\n",     L"=",      L"@",       L"/",         L":",
    L"\\", L"'",      L"(2)",    L" (",       L")",      L"http://", L"https://www.",
    L"xn--mnchen-3ya", L".example", L"\u00E9", L"\u00FC", L"\u65E5", L"\U0001F511",
    L"\uFEFF", L"\uFFFD"};
// Half characters, which only UTF-16 can carry.
const wchar_t kLoneSurrogates[] = {0xD800, 0xDBFF, 0xDC00, 0xDFFF};

std::wstring Awkward(FuzzRandom& random, size_t mostPieces) {
  std::wstring text;
  const size_t pieces = random.Below(mostPieces + 1);
  for (size_t i = 0; i < pieces; ++i) {
    if (random.OneIn(40))
      text += kLoneSurrogates[random.Below(4)];
    else
      text += kPieces[random.Below(sizeof kPieces / sizeof kPieces[0])];
  }
  return text;
}

void AppendField(std::wstring& text, const std::wstring& value, wchar_t separator,
                 bool quoteAnyway) {
  const bool quote =
      quoteAnyway || value.find_first_of(std::wstring(L"\"\r\n") + separator) != std::wstring::npos;
  if (!quote) {
    text += value;
    return;
  }
  text += L'"';
  for (const wchar_t unit : value) {
    text += unit;
    if (unit == L'"') text += L'"';
  }
  text += L'"';
}

std::string Encode(const std::wstring& text, int encoding) {
  if (encoding >= 2) {
    std::string bytes = encoding == 2 ? "\xFF\xFE" : "\xFE\xFF";
    for (const wchar_t unit : text) {
      const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
      bytes += encoding == 2 ? low : high;
      bytes += encoding == 2 ? high : low;
    }
    return bytes;
  }
  std::string bytes = encoding == 1 ? "\xEF\xBB\xBF" : "";
  const int count = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), count, nullptr, 0, nullptr, nullptr);
  const size_t start = bytes.size();
  bytes.resize(start + static_cast<size_t>(length));
  if (length > 0)
    WideCharToMultiByte(CP_UTF8, 0, text.data(), count, &bytes[start], length, nullptr, nullptr);
  return bytes;
}

// One mutation of the bytes; its name.
const char* Mutate(FuzzRandom& random, std::string& bytes, bool utf16, wchar_t separator) {
  const size_t at = bytes.empty() ? 0 : random.Below(bytes.size() + 1);
  switch (random.Below(12)) {
    case 0:
      if (!bytes.empty())
        bytes[random.Below(bytes.size())] ^= static_cast<char>(1 << random.Below(8));
      return "a bit flipped";
    case 1:
      bytes.insert(at, utf16 ? std::string("\"\0", 2) : "\"");
      return "a quote";
    case 2:
      bytes.insert(at, std::string(utf16 ? 2 : 1, '\0'));
      return "a zero";
    case 3:
      for (size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) bytes[i] = '\r';
      return "LF made CR";
    case 4:
      bytes.resize(at);
      return "cut short";
    case 5:
      bytes.insert(at, std::string((random.Below(4) + 1) << 18, 'A'));
      return "a huge field";
    case 6: {
      // Columns into the first line, or any other.
      const size_t line = random.OneIn(2) ? 4 : at;
      std::string columns;
      for (size_t i = random.Below(5000) + 1000; i > 0; --i) {
        columns += static_cast<char>(separator);
        if (utf16) columns += '\0';
        columns += utf16 ? std::string("c\0", 2) : "c";
      }
      bytes.insert(line < bytes.size() ? line : bytes.size(), columns);
      return "thousands of columns";
    }
    case 7: {
      const char* const broken[] = {"\xFF", "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80"};
      bytes.insert(at, broken[random.Below(5)]);
      return "broken UTF-8";
    }
    case 8:
      bytes.insert(at & ~static_cast<size_t>(1), random.OneIn(2) ? "\x00\xD8" : "\x00\xDC", 2);
      return "a half UTF-16 character";
    case 9: {
      const char* const marks[] = {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
      bytes.insert(random.OneIn(2) ? 0 : at, marks[random.Below(3)]);
      return "a byte-order mark";
    }
    case 10: {
      const size_t length = random.Below(200) + 1;
      const std::string piece = bytes.substr(at, length);
      std::string repeated;
      for (size_t i = random.Below(2000) + 2; i > 0; --i) repeated += piece;
      bytes.insert(at, repeated);
      return "rows repeated";
    }
    default:
      bytes.erase(at, random.Below(64) + 1);
      return "bytes cut out";
  }
}

bool ContainsMarker(const std::wstring& text) {
  return text.find(L"#PW") != std::wstring::npos;
}

}  // namespace

FuzzInput ImportFuzz::Make(FuzzRandom& random) {
  const Format& format = kFormats[random.Below(sizeof kFormats / sizeof kFormats[0])];
  // 0 UTF-8, 1 UTF-8 with a mark, 2 UTF-16 LE, 3 UTF-16 BE, each with its mark.
  const int encoding = static_cast<int>(random.Below(4));
  const wchar_t separators[] = {L',', L',', L';', L'\t'};
  const wchar_t separator = separators[random.Below(4)];
  const wchar_t* const lineEnds[] = {L"\r\n", L"\n", L"\r"};
  const wchar_t* lineEnd = lineEnds[random.Below(3)];
  const size_t rows = random.OneIn(20) ? random.Below(3000) : random.Below(20);
  const bool quoteAll = random.OneIn(3);

  FuzzInput input;
  std::wstring text;
  bool first = true;
  for (const Column& column : format.columns) {
    if (!first) text += separator;
    first = false;
    AppendField(text, column.name, separator, quoteAll);
  }
  text += lineEnd;
  for (size_t row = 0; row < rows; ++row) {
    const bool login = random.Below(8) != 0;
    bool hasKind = false;
    first = true;
    for (const Column& column : format.columns) {
      std::wstring value;
      switch (column.role) {
        case 'p':
          value = Awkward(random, 6) + L"#PW" + std::to_wstring(row) + L"#" + Awkward(random, 6);
          break;
        case 'k':
          hasKind = true;
          value = login ? L"login" : L"note";
          break;
        case 'n':
        case 'x':
          value = Awkward(random, random.OneIn(10) ? 400 : 8);
          break;
        default:
          value = Awkward(random, 6);
      }
      // Only UTF-16 carries a half character; an import makes it U+FFFD.
      if (encoding < 2) TextFile::ReplaceLoneSurrogates(value);
      // The password of a row of another kind than a login is no site's.
      if (column.role == 'p' && (login || !hasKind)) {
        input.passwords.push_back(value);
        TextFile::ReplaceLoneSurrogates(input.passwords.back());
      }
      if (!first) text += separator;
      first = false;
      AppendField(text, value, separator, quoteAll || random.OneIn(4));
    }
    text += lineEnd;
  }
  input.bytes = Encode(text, encoding);
  input.whole = true;
  input.how = std::string(format.name) + ", " + std::to_string(rows) + " rows";
  if (random.OneIn(2)) {
    input.whole = false;
    input.how += "; mutated:";
    for (size_t i = random.Below(4) + 1; i > 0; --i)
      input.how += std::string(" ") + Mutate(random, input.bytes, encoding >= 2, separator) + ";";
  }
  return input;
}

std::string ImportFuzz::Check(const FuzzInput& input) {
  DatabasePasswordSet& set = DatabasePasswordSet::GetInstance();
  set.LoadDefaultValues();
  AllocationWatch watch;
  std::string failure;
  size_t sites = 0, textBytes = 0;
  {
    SiteImport import;
    if (!import.Decode(input.bytes.data(), input.bytes.size())) {
      if (input.whole)
        return "a file made whole was refused, problem " + std::to_string(import.GetProblem());
      return MemoryWithin(watch.PeakHeld(), input.bytes.size(), 0, 0);
    }
    sites = import.Sites().size();
    for (const PasswordRecStruct& site : import.Sites())
      textBytes += sizeof(wchar_t) * (site.m_SiteTitle.size() + site.m_UserName.size() +
                                      site.m_Password.size() + site.m_WebsiteAddress.size() +
                                      site.m_Notes.size());
    if (input.whole) {
      if (sites != input.passwords.size())
        return std::to_string(input.passwords.size()) + " rows gave " + std::to_string(sites) +
               " sites";
      for (size_t i = 0; i < sites; ++i) {
        const PasswordRecStruct& site = import.Sites()[i];
        if (site.m_Password != input.passwords[i])
          return "row " + std::to_string(i + 1) + ": the password changed";
        for (const std::wstring* text :
             {&site.m_SiteTitle, &site.m_UserName, &site.m_WebsiteAddress, &site.m_Notes})
          if (ContainsMarker(*text))
            return "row " + std::to_string(i + 1) + ": a password in another text";
      }
    }
    const SiteImport::Counts planned = import.Preview(set);
    const SiteImport::Counts counts = import.AddTo(set);
    if (planned.added != counts.added || planned.repeated != counts.repeated ||
        planned.renamed != counts.renamed || planned.notes != counts.notes ||
        planned.repaired != counts.repaired)
      return "the import did not do what its preview said";
    if (counts.added + counts.repeated + counts.alreadyThere != sites ||
        counts.added != set.Count())
      return "the counts do not add up to the sites read";
    failure = ExportRoundTrip(true);
  }
  watch.Stop();
  if (!failure.empty()) return failure;
  return MemoryWithin(watch.PeakHeld(), input.bytes.size(), sites, textBytes);
}
