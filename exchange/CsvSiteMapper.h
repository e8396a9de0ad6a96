// One row of a CSV file made into a site: its title, user name, password,
// website address and notes from the columns the first line named. Nothing
// the row holds that a person would miss is lost: a second user name, a
// one-time-password secret, custom fields go into the notes, a line each
// under its column's name; the other program's bookkeeping (groups, times,
// icons, ids) is left out. A title, user name or address is one line; a
// password is never changed; notes keep their lines, as CRLF, which the edit
// controls show. A row costs the work and memory of its own fields, however
// wide the first line is.
#pragma once

#include "exchange/CsvReader.h"
#include "exchange/CsvSource.h"
#include "storage/PasswordRecStruct.h"

class CsvSiteMapper {
 public:
  enum Outcome {
    SM_Site,
    // A row of notes alone, no user name, password or address (another
    // keeper's secure note): a site all the same, so that nothing is lost.
    SM_Note,
    // Another kind of item (a secure note, a card, an identity).
    SM_NotLogin,
    // Nothing a site could hold.
    SM_Empty,
  };

  // `source` must outlive the mapper.
  explicit CsvSiteMapper(const CsvSource& source);

  // Fills the five texts of `site`, which comes in empty. A row shorter than
  // the first line has empty fields for the columns it lacks. A missing
  // title is taken from the address's host name, then from the user name; a
  // note without one is "Imported note".
  Outcome Map(const CsvRecord& row, PasswordRecStruct& site) const;

 private:
  const CsvSource& m_Source;
};
