#include "tests/dialogs/DialogSites.h"

#include <gtest/gtest.h>

#include "storage/DatabasePasswordSet.h"

PasswordRecStruct MakeSite(const std::wstring& title, const std::wstring& password) {
  PasswordRecStruct site;
  site.m_SiteTitle = title;
  site.m_UserName = L"user of " + title;
  site.m_Password = password;
  site.m_WebsiteAddress = L"https://" + title + L".example";
  site.m_Notes = L"notes of " + title;
  return site;
}

void PutSites(const std::vector<PasswordRecStruct>& sites, int current) {
  DatabasePasswordSet& set = DatabasePasswordSet::GetInstance();
  set.LoadDefaultValues();
  for (const PasswordRecStruct& site : sites) ASSERT_TRUE(set.AddRecord(nullptr, site));
  set.SetCurrentRecord(current);
}

std::vector<PasswordRecStruct> SitesInOrder() {
  DatabasePasswordSet& set = DatabasePasswordSet::GetInstance();
  const int current = set.GetCurrentRecordIndex();
  std::vector<PasswordRecStruct> sites;
  for (size_t i = 0; i < set.Count(); ++i) {
    set.SetCurrentRecord(static_cast<int>(i));
    sites.push_back(set.GetCurrentRecord());
  }
  // The set keeps an iterator to its current site, which EditCurrentRecord
  // relies on: put it back too.
  set.SetCurrentRecord(current);
  if (current != -1) set.UpdateDisplayIterator();
  return sites;
}

std::vector<std::wstring> TitlesInOrder() {
  std::vector<std::wstring> titles;
  for (const PasswordRecStruct& site : SitesInOrder()) titles.push_back(site.m_SiteTitle);
  return titles;
}

void RecordingEditor::RefreshSiteList() {
  ++m_refreshes;
}

void RecordingEditor::SetMasterPassword(const std::wstring&) {
  ADD_FAILURE() << "a dialog set the master password";
}

bool RecordingEditor::SaveFileValues() {
  ADD_FAILURE() << "a dialog saved the vault";
  return false;
}
