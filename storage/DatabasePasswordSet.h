// All sites of the open vault, in memory, ordered by title. Titles compare
// with a-z folded to A-Z and nothing else, so the order and the rule that
// titles are unique do not depend on the C runtime's locale. The current site
// is named by its position (m_CurrentRecord), which the main window's list
// selection sets; the iterator to it is derived from that position whenever
// the current site is read.
#pragma once

#include <windows.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "storage/PasswordRecStruct.h"

class DeSerializer;
class Serializer;

// Title order: the titles with a-z upper-cased, compared by unsigned 16-bit
// code unit, a prefix first. Transparent, so that a title is looked up
// without making a record around it.
struct SiteTitleLess {
  using is_transparent = void;
  bool operator()(const PasswordRecStruct& a, const PasswordRecStruct& b) const {
    return Less(a.m_SiteTitle, b.m_SiteTitle);
  }
  bool operator()(const PasswordRecStruct& a, const std::wstring& b) const {
    return Less(a.m_SiteTitle, b);
  }
  bool operator()(const std::wstring& a, const PasswordRecStruct& b) const {
    return Less(a, b.m_SiteTitle);
  }
  static bool Less(const std::wstring& left, const std::wstring& right);
  // The same title under the set's rule: Bank, BANK and bank are one.
  static bool Equal(const std::wstring& left, const std::wstring& right);
};

class DatabasePasswordSet {
 public:
  using RecordSet = std::set<PasswordRecStruct, SiteTitleLess>;

  static DatabasePasswordSet& GetInstance();
  DatabasePasswordSet(const DatabasePasswordSet&) = delete;
  DatabasePasswordSet& operator=(const DatabasePasswordSet&) = delete;
  virtual ~DatabasePasswordSet() = default;

  // No sites, no key handed out yet, no current site.
  void LoadDefaultValues();
  // True for an empty set, which then also has no current site.
  bool DatabaseIsEmpty();
  // Unchecked: a list selection, -1 when nothing is selected.
  void SetCurrentRecord(int index);
  int GetCurrentRecordIndex() const { return m_CurrentRecord; }
  // The current site's primary key, which names it also in a vault read
  // again; 0, which no site is given, when there is no current site.
  int32_t GetCurrentPrimaryKey();
  // The first site with that key becomes current; false, and nothing
  // changes, when there is none.
  bool ChoosePrimaryKey(int32_t key);
  size_t Count() const { return m_Records.size(); }
  // Every site, in title order, as the lists show them.
  const RecordSet& Records() const { return m_Records; }
  // The site with this title under the set's rule, or null; as fast as the
  // set finds a place for a new site.
  const PasswordRecStruct* FindTitle(const std::wstring& title) const;

  // Fill a list that does not sort with the titles in title order, each with
  // its primary key as item data, and select the current site. The selected
  // position, or -1 for an empty set.
  int FillCombobox(HWND combo);
  int FillListbox(HWND list);

  // Field 0 to 6 as stored, 7 the primary key as "%i"; any other field, or
  // no current site, gives the empty string. A copy, the caller's to wipe.
  std::wstring FieldsByIndex(int field);
  // A copy of the current site, which wipes its texts when it goes; a
  // default record when there is none.
  PasswordRecStruct GetCurrentRecord();

  // Stamps both dates with today and a new primary key (used up even when the
  // site is refused), then adds. False, after telling the user in a box
  // owned by `owner`, when the title is taken.
  bool AddRecord(HWND owner, const PasswordRecStruct& site);
  // Adds many sites at once, each stamped and keyed as AddRecord does, with
  // no box: the caller has made their titles free, and a site whose title
  // is taken all the same is left out. Each add costs a lookup, not a walk
  // through the set; the first site added becomes the current one. All or
  // none: when memory runs out on the way (std::bad_alloc), the set is as it
  // was. The sites are moved from. The number added.
  size_t AddRecords(std::vector<PasswordRecStruct>& sites);
  // Replaces the site that the caller's GetCurrentRecord returned with
  // `site`, stamped modified today. False, after telling the user, when the
  // new title is another site's; the set is then as before. False without a
  // word when there is no current site. `site` is taken by value: the old
  // site is erased before `site` is read, so a reference into the set would
  // be left dangling.
  bool EditCurrentRecord(HWND owner, PasswordRecStruct site);
  // Removes the current site; the following one, or the new last one,
  // becomes current. Nothing happens when there is no current site.
  void DeleteCurrentRecord();
  // Removes every site; the key count and the current position stay.
  void DeleteAllRecords();

  // The site set's section of the vault file: the last primary key, then
  // every site, to the end of the file.
  void WriteFileValues(Serializer& ser);
  // Replaces all sites with those of the file. Reading stops at the first
  // site that cannot be read whole; a site whose title is taken is dropped
  // after a message box with no owner. True when every site the file holds
  // was kept: reading ended at the clean end and dropped nothing.
  // Throws what reading the last primary key throws.
  bool ReadFileValues(DeSerializer& des);

  void UpdateDisplayIterator();
  void LocateRecord(const PasswordRecStruct& site);
  int32_t NextPrimaryKey();

 private:
  DatabasePasswordSet();
  template <UINT ResetMessage, UINT AddMessage, UINT SetDataMessage, UINT SetSelectionMessage>
  int FillList(HWND list);
  void ShowTitleTaken(HWND owner) const;

  RecordSet m_Records;
  RecordSet::iterator m_itDisplay;
  int32_t m_LastPrimaryKey = 0;
  int32_t m_CurrentRecord = -1;
};
