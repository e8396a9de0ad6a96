#include "exchange/SiteImport.h"

#include "exchange/CsvReader.h"
#include "exchange/CsvSiteMapper.h"
#include "exchange/CsvSource.h"
#include "exchange/ImportPlan.h"
#include "exchange/TextFile.h"
#include "storage/DatabasePasswordSet.h"
#include "support/DebugLog.h"
#include "support/SecureWipe.h"

namespace {

// What m_Marks holds for a site.
constexpr unsigned char kNote = 1;
constexpr unsigned char kRepaired = 2;

// A record of the file's, wiped when reading ends, on every path.
class WipedRecord {
 public:
  WipedRecord() = default;
  WipedRecord(const WipedRecord&) = delete;
  WipedRecord& operator=(const WipedRecord&) = delete;
  ~WipedRecord() { WipeRecord(record); }

  CsvRecord record;
};

bool ReplaceLoneSurrogates(PasswordRecStruct& site) {
  bool replaced = false;
  for (std::wstring* text : {&site.m_SiteTitle, &site.m_UserName, &site.m_Password,
                             &site.m_WebsiteAddress, &site.m_Notes})
    replaced = TextFile::ReplaceLoneSurrogates(*text) || replaced;
  return replaced;
}

}  // namespace

bool SiteImport::Fail(Problem problem) {
  DebugLog(L"SiteImport::Read: refused, problem %i", static_cast<int>(problem));
  m_Problem = problem;
  m_Sites.clear();
  m_Marks.clear();
  m_NotLogin = 0;
  m_Empty = 0;
  return false;
}

bool SiteImport::Read(const std::wstring& path) {
  TextFile file;
  const bool read = file.Read(path);
  m_Size = file.GetSize();
  return read ? ReadText(file.Text()) : Refuse(file);
}

bool SiteImport::Decode(const char* bytes, size_t size) {
  TextFile file;
  m_Size = size;
  return file.Decode(bytes, size) ? ReadText(file.Text()) : Refuse(file);
}

bool SiteImport::Refuse(const TextFile& file) {
  m_Error = file.GetError();
  m_Line = file.GetLine();
  switch (file.GetProblem()) {
    case TextFile::TF_TooLarge: return Fail(SI_TooLarge);
    case TextFile::TF_NotText: return Fail(SI_NotText);
    case TextFile::TF_NotUtf8: return Fail(SI_NotUtf8);
    default: return Fail(SI_Unreadable);
  }
}

bool SiteImport::ReadText(const std::wstring& text) {
  CsvReader reader(text);
  WipedRecord header, row;
  if (!reader.Next(header.record)) {
    m_Line = reader.UnclosedLine();
    return Fail(m_Line != 0 ? SI_UnclosedQuote : SI_Empty);
  }
  const CsvSource source(header.record);
  m_ColumnCount = header.record.size();
  m_KnownColumnCount = source.KnownColumns();
  if (source.GetVerdict() == CsvSource::CV_NoPassword) return Fail(SI_NoPassword);
  if (source.GetVerdict() == CsvSource::CV_NoSiteColumns) return Fail(SI_NoSiteColumns);
  m_SourceName = source.Name();

  const CsvSiteMapper mapper(source);
  while (reader.Next(row.record)) {
    PasswordRecStruct site;
    const CsvSiteMapper::Outcome outcome = mapper.Map(row.record, site);
    if (outcome == CsvSiteMapper::SM_NotLogin) {
      ++m_NotLogin;
      continue;
    }
    if (outcome == CsvSiteMapper::SM_Empty) {
      ++m_Empty;
      continue;
    }
    unsigned char marks = outcome == CsvSiteMapper::SM_Note ? kNote : 0;
    if (ReplaceLoneSurrogates(site)) marks |= kRepaired;
    m_Sites.push_back(std::move(site));
    m_Marks.push_back(marks);
  }
  if (reader.UnclosedLine() != 0) {
    m_Line = reader.UnclosedLine();
    return Fail(SI_UnclosedQuote);
  }
  return true;
}

SiteImport::Counts SiteImport::Plan(const DatabasePasswordSet& set,
                                    std::vector<std::wstring>* titles) const {
  Counts counts;
  counts.notLogin = m_NotLogin;
  counts.empty = m_Empty;
  ImportPlan plan(set);
  for (size_t i = 0; i < m_Sites.size(); ++i) {
    std::wstring title;
    ScopedWipe wipe(title);
    const ImportPlan::Fate fate = plan.Place(m_Sites[i], title);
    switch (fate) {
      case ImportPlan::IP_AlreadyThere: ++counts.alreadyThere; break;
      case ImportPlan::IP_RepeatedInFile: ++counts.repeated; break;
      case ImportPlan::IP_AddRenamed:
      case ImportPlan::IP_Add:
        ++counts.added;
        if (fate == ImportPlan::IP_AddRenamed) ++counts.renamed;
        if (m_Marks[i] & kNote) ++counts.notes;
        if (m_Marks[i] & kRepaired) ++counts.repaired;
        break;
    }
    // An empty title marks a site left out.
    if (titles) titles->push_back(std::move(title));
  }
  return counts;
}

SiteImport::Counts SiteImport::Preview(const DatabasePasswordSet& set) const {
  return Plan(set, nullptr);
}

SiteImport::Counts SiteImport::AddTo(DatabasePasswordSet& set) {
  std::vector<std::wstring> titles;
  titles.reserve(m_Sites.size());
  const Counts counts = Plan(set, &titles);
  std::vector<PasswordRecStruct> adds;
  adds.reserve(counts.added);
  for (size_t i = 0; i < m_Sites.size(); ++i) {
    if (titles[i].empty()) continue;
    PasswordRecStruct& site = m_Sites[i];
    SecureWipe(site.m_SiteTitle);
    site.m_SiteTitle = std::move(titles[i]);
    adds.push_back(std::move(site));
  }
  for (std::wstring& title : titles) SecureWipe(title);
  m_Sites.clear();
  m_Marks.clear();
  set.AddRecords(adds);
  return counts;
}
