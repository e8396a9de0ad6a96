// What a CSV file's first line says about the file: which program wrote it,
// and which of its columns hold a site's title, user name, password, address
// and notes. People should not have to tell: each program marks its export
// with names of its own (Bitwarden's login_password, LastPass's grouping), so
// the names are enough, in any order, with columns added or missing as the
// versions of those programs differ. Any other first line is read by the
// names people use for these columns. The names are compared without case
// and spaces around them.
#pragma once

#include <string>
#include <vector>

class CsvSource {
 public:
  // What a column holds.
  enum Role {
    CR_Title,
    CR_User,
    CR_Password,
    CR_Address,
    CR_Notes,
    // Kept in the notes, a line under the column's name: a one-time-password
    // secret, custom fields, anything else a person would miss.
    CR_Extra,
    // Bookkeeping of the other program (group, favourite, times, icon,
    // ids): left out.
    CR_Ignored,
    // The kind of item (Bitwarden, Proton Pass): only logins are sites.
    CR_Kind,
  };

  enum Verdict {
    CV_Recognised,
    // No column named as a password column is.
    CV_NoPassword,
    // A password column, but none for a title, a user name or an address.
    CV_NoSiteColumns,
  };

  // Recognises the header line's names.
  explicit CsvSource(const std::vector<std::wstring>& header);
  CsvSource(const CsvSource&) = delete;
  CsvSource& operator=(const CsvSource&) = delete;
  // A first line may be a row of values: its names are wiped.
  ~CsvSource();

  Verdict GetVerdict() const { return m_Verdict; }
  // The program that wrote the file ("Bitwarden"); empty for a file known
  // only by its column names.
  const std::wstring& Name() const { return m_Name; }
  // The header's names as they stand, trimmed, each on one line and cut at
  // 100 units: what the notes call the other columns' texts.
  const std::vector<std::wstring>& Columns() const { return m_Columns; }
  // The columns whose names Keyfolio knows; the others are kept in the notes.
  size_t KnownColumns() const;

  Role RoleOf(size_t column) const { return m_Roles[column]; }
  // The columns of a role, the one to use first first: a row takes its
  // title, user name, password, address and notes from the first of them
  // that is not empty, and keeps the others in its notes.
  const std::vector<size_t>& ColumnsOf(Role role) const { return m_Candidates[role]; }
  // Where `column` stands in ColumnsOf(RoleOf(column)): a row compares its
  // columns by this, without walking the role's list.
  size_t RankOf(size_t column) const { return m_Ranks[column]; }
  // Only rows whose kind column says "login" are sites.
  bool HasKindColumn() const { return !m_Candidates[CR_Kind].empty(); }
  // Bitwarden puts each of a login's addresses on a line of its own.
  bool AddressesOnePerLine() const { return m_AddressesOnePerLine; }
  // LastPass exports its secure notes among the logins under the address
  // "http://sn".
  bool SecureNotesAsAddress() const { return m_SecureNotesAsAddress; }

  // A name as it is compared: no byte-order mark, no spaces around it, a-z
  // as A-Z.
  static std::wstring Normalised(const std::wstring& name);

 private:
  static constexpr int kRoleCount = CR_Kind + 1;

  Verdict m_Verdict = CV_NoPassword;
  std::wstring m_Name;
  std::vector<std::wstring> m_Columns;
  std::vector<Role> m_Roles;
  std::vector<size_t> m_Ranks;
  std::vector<size_t> m_Candidates[kRoleCount];
  bool m_AddressesOnePerLine = false;
  bool m_SecureNotesAsAddress = false;
};
