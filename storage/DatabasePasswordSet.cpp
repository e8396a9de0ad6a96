#include "storage/DatabasePasswordSet.h"

#include <iterator>
#include <utility>

#include "storage/CalendarDate.h"
#include "storage/DeSerializer.h"
#include "storage/Serializer.h"
#include "support/DebugLog.h"
#include "support/ExceptionBase.h"
#include "support/StringFunctions.h"
#include "support/UserMessages.h"

namespace {

const wchar_t kTitleTaken[] = L"A site with that title already exists.";

std::wstring TodayStamp() {
  return CalendarDate().FormatLongDate();
}

}  // namespace

bool SiteTitleLess::Less(const std::wstring& left, const std::wstring& right) {
  const size_t common = left.size() < right.size() ? left.size() : right.size();
  // The set compares titles a dozen times per insert: fold as it compares
  // instead of copying both titles for MakeUpper.
  for (size_t i = 0; i < common; ++i) {
    // wchar_t is an unsigned 16-bit unit here, so this is the code unit order.
    const wchar_t l = UpperUnit(left[i]);
    const wchar_t r = UpperUnit(right[i]);
    if (l != r) return l < r;
  }
  return left.size() < right.size();
}

bool SiteTitleLess::Equal(const std::wstring& left, const std::wstring& right) {
  if (left.size() != right.size()) return false;
  for (size_t i = 0; i < left.size(); ++i)
    if (UpperUnit(left[i]) != UpperUnit(right[i])) return false;
  return true;
}

DatabasePasswordSet& DatabasePasswordSet::GetInstance() {
  static DatabasePasswordSet instance;
  return instance;
}

DatabasePasswordSet::DatabasePasswordSet() : m_itDisplay(m_Records.end()) {}

void DatabasePasswordSet::LoadDefaultValues() {
  m_Records.clear();
  m_itDisplay = m_Records.end();
  m_LastPrimaryKey = 0;
  m_CurrentRecord = -1;
}

bool DatabasePasswordSet::DatabaseIsEmpty() {
  if (!m_Records.empty()) return false;
  m_itDisplay = m_Records.end();
  m_CurrentRecord = -1;
  return true;
}

void DatabasePasswordSet::SetCurrentRecord(int index) {
  m_CurrentRecord = index;
}

int32_t DatabasePasswordSet::GetCurrentPrimaryKey() {
  UpdateDisplayIterator();
  return m_itDisplay == m_Records.end() ? 0 : m_itDisplay->m_PrimaryKeyRecord;
}

bool DatabasePasswordSet::ChoosePrimaryKey(int32_t key) {
  int32_t position = 0;
  for (auto site = m_Records.begin(); site != m_Records.end(); ++site, ++position) {
    if (site->m_PrimaryKeyRecord != key) continue;
    m_itDisplay = site;
    m_CurrentRecord = position;
    return true;
  }
  return false;
}

void DatabasePasswordSet::UpdateDisplayIterator() {
  if (m_CurrentRecord == -1) m_CurrentRecord = 0;
  // Unsigned, so that any other negative position counts as past the end.
  if (static_cast<uint32_t>(m_CurrentRecord) > m_Records.size())
    m_CurrentRecord = static_cast<int32_t>(m_Records.size());
  if (m_Records.empty()) {
    m_itDisplay = m_Records.end();
    m_CurrentRecord = -1;
    return;
  }
  // A position equal to the count leaves the end: no site is current.
  m_itDisplay = std::next(m_Records.begin(), m_CurrentRecord);
}

template <UINT ResetMessage, UINT AddMessage, UINT SetDataMessage, UINT SetSelectionMessage>
int DatabasePasswordSet::FillList(HWND list) {
  SendMessageW(list, ResetMessage, 0, 0);
  if (m_Records.empty()) return -1;
  for (const PasswordRecStruct& site : m_Records) {
    // The list must not sort: its positions are the set's positions.
    const LRESULT index =
        SendMessageW(list, AddMessage, 0, reinterpret_cast<LPARAM>(site.m_SiteTitle.c_str()));
    // CB_ERR and CB_ERRSPACE (LB_ the same) are negative.
    if (index >= 0) {
      SendMessageW(list, SetDataMessage, static_cast<WPARAM>(index),
                   static_cast<LPARAM>(site.m_PrimaryKeyRecord));
    }
  }
  UpdateDisplayIterator();
  SendMessageW(list, SetSelectionMessage, static_cast<WPARAM>(m_CurrentRecord), 0);
  return m_CurrentRecord;
}

int DatabasePasswordSet::FillCombobox(HWND combo) {
  return FillList<CB_RESETCONTENT, CB_ADDSTRING, CB_SETITEMDATA, CB_SETCURSEL>(combo);
}

int DatabasePasswordSet::FillListbox(HWND list) {
  return FillList<LB_RESETCONTENT, LB_ADDSTRING, LB_SETITEMDATA, LB_SETCURSEL>(list);
}

std::wstring DatabasePasswordSet::FieldsByIndex(int field) {
  UpdateDisplayIterator();
  if (m_itDisplay == m_Records.end()) return std::wstring();
  const PasswordRecStruct& site = *m_itDisplay;
  switch (field) {
    case 0: return site.m_SiteTitle;
    case 1: return site.m_UserName;
    case 2: return site.m_Password;
    case 3: return site.m_WebsiteAddress;
    case 4: return site.m_Notes;
    case 5: return site.m_DateCreated;
    case 6: return site.m_DateModified;
    case 7: return FormatString(L"%i", site.m_PrimaryKeyRecord);
    default: return std::wstring();
  }
}

PasswordRecStruct DatabasePasswordSet::GetCurrentRecord() {
  UpdateDisplayIterator();
  if (m_itDisplay == m_Records.end()) return PasswordRecStruct();
  return *m_itDisplay;
}

const PasswordRecStruct* DatabasePasswordSet::FindTitle(const std::wstring& title) const {
  const auto found = m_Records.find(title);
  return found == m_Records.end() ? nullptr : &*found;
}

int32_t DatabasePasswordSet::NextPrimaryKey() {
  return ++m_LastPrimaryKey;
}

void DatabasePasswordSet::ShowTitleTaken(HWND owner) const {
  MessageBoxW(owner, kTitleTaken, UserMessages[UM_Caption].c_str(), MB_OK);
}

bool DatabasePasswordSet::AddRecord(HWND owner, const PasswordRecStruct& site) {
  PasswordRecStruct copy = site;
  copy.m_DateCreated = TodayStamp();
  copy.m_DateModified = copy.m_DateCreated;
  copy.m_PrimaryKeyRecord = NextPrimaryKey();
  const auto inserted = m_Records.insert(std::move(copy));
  if (!inserted.second) {
    DebugLog(L"DatabasePasswordSet::AddRecord: title taken");
    ShowTitleTaken(owner);
    return false;
  }
  LocateRecord(*inserted.first);
  return true;
}

size_t DatabasePasswordSet::AddRecords(std::vector<PasswordRecStruct>& sites) {
  const std::wstring today = TodayStamp();
  // Gathered apart and then merged, which moves nodes and allocates nothing:
  // memory that runs out on the way leaves the set as it was.
  RecordSet added;
  RecordSet::iterator first = added.end();
  for (PasswordRecStruct& site : sites) {
    site.m_DateCreated = today;
    site.m_DateModified = today;
    site.m_PrimaryKeyRecord = NextPrimaryKey();
    if (m_Records.count(site) == 0) {
      const auto inserted = added.insert(std::move(site));
      if (inserted.second) {
        if (first == added.end()) first = inserted.first;
        continue;
      }
    }
    DebugLog(L"DatabasePasswordSet::AddRecords: title taken, site left out");
  }
  const size_t count = added.size();
  m_Records.merge(added);
  // One walk to the first site's position, for all of them.
  if (count != 0) LocateRecord(*first);
  return count;
}

bool DatabasePasswordSet::EditCurrentRecord(HWND owner, PasswordRecStruct site) {
  if (m_itDisplay == m_Records.end()) {
    DebugLog(L"DatabasePasswordSet::EditCurrentRecord: no current site");
    return false;
  }
  // Taken out whole rather than copied: no second copy of its password.
  RecordSet::node_type old = m_Records.extract(m_itDisplay);
  if (m_Records.count(site) != 0) {
    // Back in place before the box runs its message loop, so that whatever
    // repaints meanwhile sees the set as it was.
    m_itDisplay = m_Records.insert(std::move(old)).position;
    DebugLog(L"DatabasePasswordSet::EditCurrentRecord: title taken");
    ShowTitleTaken(owner);
    return false;
  }
  // The old site takes every field of `site`: that is `site` itself.
  site.m_DateModified = TodayStamp();
  const auto inserted = m_Records.insert(std::move(site));
  LocateRecord(*inserted.first);
  return true;
}

void DatabasePasswordSet::LocateRecord(const PasswordRecStruct& site) {
  m_itDisplay = m_Records.find(site);
  m_CurrentRecord = static_cast<int32_t>(std::distance(m_Records.begin(), m_itDisplay));
}

void DatabasePasswordSet::DeleteCurrentRecord() {
  UpdateDisplayIterator();
  if (m_itDisplay == m_Records.end()) return;
  m_itDisplay = m_Records.erase(m_itDisplay);
  if (m_Records.empty()) {
    m_CurrentRecord = -1;
  } else if (m_itDisplay == m_Records.end()) {
    --m_itDisplay;
    --m_CurrentRecord;
  }
}

void DatabasePasswordSet::DeleteAllRecords() {
  m_Records.clear();
  m_itDisplay = m_Records.end();
}

void DatabasePasswordSet::WriteFileValues(Serializer& ser) {
  ser.PutLong(m_LastPrimaryKey);
  for (const PasswordRecStruct& site : m_Records) {
    ser.PutString(site.m_SiteTitle);
    ser.PutString(site.m_UserName);
    ser.PutString(site.m_Password);
    ser.PutString(site.m_WebsiteAddress);
    ser.PutString(site.m_Notes);
    ser.PutString(site.m_DateCreated);
    ser.PutString(site.m_DateModified);
    ser.PutLong(site.m_PrimaryKeyRecord);
  }
}

bool DatabasePasswordSet::ReadFileValues(DeSerializer& des) {
  m_Records.clear();
  m_itDisplay = m_Records.end();
  m_LastPrimaryKey = des.GetLong();
  bool keptAll = true;
  // Nothing counts or ends the sites: the clean end of the file is the end.
  while (des.BytesRemaining() != 0) {
    PasswordRecStruct site;
    try {
      site.m_SiteTitle = des.GetString();
      site.m_UserName = des.GetString();
      site.m_Password = des.GetString();
      site.m_WebsiteAddress = des.GetString();
      site.m_Notes = des.GetString();
      site.m_DateCreated = des.GetString();
      site.m_DateModified = des.GetString();
      site.m_PrimaryKeyRecord = des.GetLong();
    } catch (const ExceptionBase& e) {
      ReportToDebugLog(L"DatabasePasswordSet::ReadFileValues: stopped inside a site", e);
      return false;
    }
    if (!m_Records.insert(std::move(site)).second) {
      DebugLog(L"DatabasePasswordSet::ReadFileValues: title taken, site dropped");
      ShowTitleTaken(nullptr);
      keptAll = false;
    }
  }
  return keptAll;
}
