#include "exchange/SiteImport.h"

#include "exchange/CsvReader.h"
#include "exchange/CsvSiteMapper.h"
#include "exchange/CsvSource.h"
#include "exchange/ImportPlan.h"
#include "exchange/TextFile.h"
#include "storage/DatabasePasswordSet.h"
#include "support/DebugLog.h"
#include "support/SecureWipe.h"

bool SiteImport::Fail(Problem problem) {
  DebugLog(L"SiteImport::Read: refused, problem %i", static_cast<int>(problem));
  m_Problem = problem;
  m_Sites.clear();
  return false;
}

bool SiteImport::Read(const std::wstring& path) {
  TextFile file;
  if (!file.Read(path)) {
    m_Error = file.GetError();
    m_Size = file.GetSize();
    switch (file.GetProblem()) {
      case TextFile::TF_TooLarge: return Fail(SI_TooLarge);
      case TextFile::TF_NotText: return Fail(SI_NotText);
      default: return Fail(SI_Unreadable);
    }
  }
  m_Size = file.GetSize();
  const CsvReader::Result read = CsvReader::Read(file.Text());
  if (read.line != 0) {
    m_Line = read.line;
    return Fail(SI_UnclosedQuote);
  }
  const std::vector<CsvRecord>& records = read.table.records;
  if (records.empty()) return Fail(SI_Empty);
  const CsvSource source(records.front());
  m_Columns = source.Columns();
  if (source.GetVerdict() == CsvSource::CV_NoPassword) return Fail(SI_NoPassword);
  if (source.GetVerdict() == CsvSource::CV_NoSiteColumns) return Fail(SI_NoSiteColumns);
  m_SourceName = source.Name();

  const CsvSiteMapper mapper(source);
  // Made once at its final size: a vector that grows moves its sites, and
  // moving copies a short text, leaving it behind unwiped.
  m_Sites.reserve(records.size() - 1);
  for (size_t row = 1; row < records.size(); ++row) {
    PasswordRecStruct site;
    switch (mapper.Map(records[row], site)) {
      case CsvSiteMapper::SM_Site: m_Sites.push_back(std::move(site)); break;
      case CsvSiteMapper::SM_NotLogin: ++m_NotLogin; break;
      case CsvSiteMapper::SM_Empty: ++m_Empty; break;
    }
  }
  return true;
}

SiteImport::Counts SiteImport::Plan(const DatabasePasswordSet& set,
                                    std::vector<std::wstring>* titles) const {
  Counts counts;
  counts.notLogin = m_NotLogin;
  counts.empty = m_Empty;
  ImportPlan plan(set);
  for (const PasswordRecStruct& site : m_Sites) {
    std::wstring title;
    ScopedWipe wipe(title);
    switch (plan.Place(site, title)) {
      case ImportPlan::IP_AlreadyThere: ++counts.alreadyThere; break;
      case ImportPlan::IP_AddRenamed: ++counts.renamed; ++counts.added; break;
      case ImportPlan::IP_Add: ++counts.added; break;
    }
    // An empty title marks a site left out.
    if (titles) titles->push_back(title);
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
  set.AddRecords(adds);
  m_Sites.clear();
  return counts;
}
