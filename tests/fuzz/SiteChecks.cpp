#include "tests/fuzz/SiteChecks.h"

#include <cstdio>
#include <map>

#include "exchange/SiteExport.h"
#include "exchange/SiteImport.h"
#include "exchange/TextFile.h"
#include "storage/DatabasePasswordSet.h"
#include "support/StringFunctions.h"

namespace {

// An input may need this much beyond what it is made of (the program's own
// tables, a file's buffers) at any size; for each of its bytes, what a field
// of one byte takes (a first line or a row of empty fields: the field's
// string, the first line's name for the notes, its role); and for each site
// it gives, what the vault holds of one and its texts, held several times
// over by the round trip of an export and by the checks.
constexpr size_t kFixedBytes = 1 << 20;
constexpr size_t kPerInputByte = 96;
constexpr size_t kPerTextByte = 12;
constexpr size_t kPerSite = 2048;

std::wstring Repaired(std::wstring text) {
  TextFile::ReplaceLoneSurrogates(text);
  return text;
}

// Up to 40 units of a made-up text from `from`, as a person reads them in
// the failure's line: ASCII as it is, any other unit as its number.
std::string Shown(const std::wstring& text, size_t from = 0) {
  std::string shown = from == 0 ? "\"" : "\"...";
  for (size_t at = from; at < text.size() && at < from + 40; ++at) {
    const wchar_t unit = text[at];
    if (unit >= 0x20 && unit < 0x7F && unit != L'\\') {
      shown += static_cast<char>(unit);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%04X", static_cast<unsigned>(unit));
      shown += escaped;
    }
  }
  return shown + (from + 40 < text.size() ? "...\"" : "\"");
}

// What differs between a site as it was stored and as it came back.
std::string Changed(const SiteTexts& was, const SiteTexts& is) {
  const char* const names[] = {"title", "user name", "password", "address", "notes"};
  const std::wstring* before[] = {&was.title, &was.user, &was.password, &was.address, &was.notes};
  const std::wstring* after[] = {&is.title, &is.user, &is.password, &is.address, &is.notes};
  for (int i = 0; i < 5; ++i) {
    if (*before[i] == *after[i]) continue;
    size_t from = 0;
    while (from < before[i]->size() && from < after[i]->size() &&
           (*before[i])[from] == (*after[i])[from])
      ++from;
    from = from < 10 ? 0 : from - 10;
    return "the site " + Shown(was.title) + " came back with its " + names[i] + " " +
           Shown(*after[i], from) + " for " + Shown(*before[i], from);
  }
  return "";
}

bool HoldsZero(const std::vector<SiteTexts>& sites) {
  for (const SiteTexts& site : sites)
    for (const std::wstring* text :
         {&site.title, &site.user, &site.password, &site.address, &site.notes})
      if (text->find(L'\0') != std::wstring::npos) return true;
  return false;
}

}  // namespace

std::vector<SiteTexts> StoredSites() {
  std::vector<SiteTexts> sites;
  for (const PasswordRecStruct& site : DatabasePasswordSet::GetInstance().Records())
    sites.push_back({Repaired(site.m_SiteTitle), Repaired(site.m_UserName),
                     Repaired(site.m_Password), Repaired(site.m_WebsiteAddress),
                     Repaired(site.m_Notes)});
  return sites;
}

size_t TextBytes() {
  size_t units = 0;
  for (const PasswordRecStruct& site : DatabasePasswordSet::GetInstance().Records())
    units += site.m_SiteTitle.size() + site.m_UserName.size() + site.m_Password.size() +
             site.m_WebsiteAddress.size() + site.m_Notes.size();
  return units * sizeof(wchar_t);
}

std::string ExportRoundTrip(bool exact) {
  DatabasePasswordSet& set = DatabasePasswordSet::GetInstance();
  const std::vector<SiteTexts> stored = StoredSites();
  const std::string csv = SiteExport::Csv(set);
  set.LoadDefaultValues();
  SiteImport import;
  if (!import.Decode(csv.data(), csv.size())) {
    // A damaged vault can hold a zero character, which the export writes
    // and which makes the file no text for an import.
    if (import.GetProblem() == SiteImport::SI_NotText && HoldsZero(stored)) return "";
    return "the export of the sites was refused, problem " + std::to_string(import.GetProblem());
  }
  const SiteImport::Counts counts = import.AddTo(set);
  const std::vector<SiteTexts> back = StoredSites();
  if (exact) {
    if (counts.added != stored.size())
      return "an export of " + std::to_string(stored.size()) + " sites imported " +
             std::to_string(counts.added);
    for (size_t i = 0; i < stored.size(); ++i)
      if (!(back[i] == stored[i])) return Changed(stored[i], back[i]);
    return "";
  }
  if (counts.notLogin != 0 || counts.added + counts.repeated + counts.empty != stored.size())
    return "an export of " + std::to_string(stored.size()) + " sites imported " +
           std::to_string(counts.added) + " and left out " +
           std::to_string(counts.repeated + counts.empty + counts.notLogin);
  // A site stored by other means than an import may have texts that an
  // import makes otherwise (a title of two lines made one, notes with lone
  // line breaks made CRLF, an empty title given one); its password comes
  // back as it was.
  std::map<std::wstring, const SiteTexts*> byTitle;
  for (const SiteTexts& site : stored) byTitle[site.title] = &site;
  for (const SiteTexts& site : back) {
    const auto was = byTitle.find(site.title);
    if (was != byTitle.end() && site.password != was->second->password)
      return Changed(*was->second, site);
  }
  return "";
}

std::string MemoryWithin(size_t peak, size_t inputBytes, size_t sites, size_t textBytes) {
  const size_t bound =
      kFixedBytes + kPerInputByte * inputBytes + kPerTextByte * textBytes + kPerSite * sites;
  if (peak <= bound) return "";
  return "held " + std::to_string(peak) + " bytes at its peak, for " +
         std::to_string(inputBytes) + " bytes of input and " + std::to_string(sites) +
         " sites of " + std::to_string(textBytes) + " bytes (bound " + std::to_string(bound) +
         ")";
}
