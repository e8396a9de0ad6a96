#include "app/ImportMessages.h"

#include "support/StringFunctions.h"
#include "support/WinException.h"

namespace {

std::wstring FileName(const std::wstring& path) {
  return path.substr(path.rfind(L'\\') + 1);
}

std::wstring Quoted(const std::wstring& text) {
  return L"\"" + text + L"\"";
}

std::wstring Count(size_t count) {
  return FormatString(L"%u", static_cast<unsigned>(count));
}

// "3 columns", "1 column".
std::wstring Columns(size_t count) {
  return Count(count) + (count == 1 ? L" column" : L" columns");
}

// Reasons, each a count and its words, joined by commas; those of no count
// left out.
class Reasons {
 public:
  void Add(size_t count, const std::wstring& why) {
    if (count == 0) return;
    if (!m_text.empty()) m_text += L", ";
    m_text += Count(count) + L" " + why;
  }
  const std::wstring& Text() const { return m_text; }

 private:
  std::wstring m_text;
};

// "4 (1 already there, 1 repeated in the file, 2 not logins)", "none".
std::wstring LeftOut(const SiteImport::Counts& counts) {
  const size_t total = counts.alreadyThere + counts.repeated + counts.notLogin + counts.empty;
  if (total == 0) return L"none";
  Reasons reasons;
  reasons.Add(counts.alreadyThere, L"already there");
  reasons.Add(counts.repeated, L"repeated in the file");
  reasons.Add(counts.notLogin, counts.notLogin == 1 ? L"not a login" : L"not logins");
  reasons.Add(counts.empty, L"empty");
  return Count(total) + L" (" + reasons.Text() + L")";
}

// The first line's texts may be a row of values, its password among them:
// only how many columns it has is told, and whether Keyfolio knows any name.
std::wstring FirstLine(const SiteImport& import) {
  std::wstring line = L"Its first line has " + Columns(import.GetColumnCount());
  if (import.GetKnownColumnCount() == 0)
    line += L", and Keyfolio knows none of their names: a file of sites begins with a line of "
            L"column names.";
  else
    line += L".";
  return line;
}

const wchar_t kNothingImported[] = L"\n\nNothing was imported.";

}  // namespace

std::wstring ImportProblemMessage(const SiteImport& import, const std::wstring& path) {
  const std::wstring file = L"The file\n" + path + L"\n";
  std::wstring message;
  switch (import.GetProblem()) {
    case SiteImport::SI_Unreadable:
      message = FormatWindowsError(L"Keyfolio could not read the file\n" + path + L"\n",
                                   import.GetError());
      break;
    case SiteImport::SI_TooLarge:
      message = file + FormatString(L"is %.1f MB large. A file of sites can be at most 64 MB: "
                                    L"is it the right file?",
                                    static_cast<double>(import.GetSize()) / (1024.0 * 1024.0));
      break;
    case SiteImport::SI_NotText:
      message = file + L"is not a text file. Keyfolio imports sites from CSV files, as web "
                       L"browsers and password keepers export them.";
      break;
    case SiteImport::SI_NotUtf8:
      message = file + L"cannot be read whole.\n\n" +
                FormatString(L"Line %u of the file is not valid UTF-8 text. Save it as UTF-8 "
                             L"and import it again.",
                             static_cast<unsigned>(import.GetLine()));
      break;
    case SiteImport::SI_UnclosedQuote:
      message = file + FormatString(L"cannot be read: a quoted text that begins on line %u "
                                    L"never ends.",
                                    static_cast<unsigned>(import.GetLine()));
      break;
    case SiteImport::SI_Empty:
      message = file + L"is empty.";
      break;
    case SiteImport::SI_NoPassword:
      message = file + L"is not a file of passwords that Keyfolio knows. " + FirstLine(import) +
                L"\n\nKeyfolio needs one named \"password\" to import sites.";
      break;
    case SiteImport::SI_NoSiteColumns:
      message = file + L"has a password column, but Keyfolio cannot tell which site each "
                       L"password is for. " +
                FirstLine(import) +
                L"\n\nKeyfolio needs, besides \"password\", one named \"name\" or \"title\", "
                L"\"username\", or \"url\".";
      break;
    case SiteImport::SI_None:
      break;
  }
  return message + kNothingImported;
}

std::wstring ImportQuestion(const SiteImport& import, const std::wstring& path,
                            const SiteImport::Counts& counts) {
  const std::wstring source =
      import.SourceName().empty()
          ? std::wstring(L"Its columns were recognised by their names.")
          : L"It is an export of " + import.SourceName() + L".";
  std::wstring question = L"Import the sites of " + Quoted(FileName(path)) + L"?\n\n" + source +
                          L"\n\nSites to add: " + Count(counts.added);
  if (counts.notes != 0) question += L" (" + Count(counts.notes) + L" of them notes only)";
  question += L"\nLeft out: " + LeftOut(counts) +
              L"\nTitles changed to keep them unique: " + Count(counts.renamed);
  if (counts.repaired != 0)
    question += L"\nSites where a broken character was replaced: " + Count(counts.repaired);
  return question;
}

std::wstring NothingToImportMessage(const std::wstring& path, const SiteImport::Counts& counts) {
  return L"There are no sites to add from " + Quoted(FileName(path)) + L".\n\nLeft out: " +
         LeftOut(counts);
}

std::wstring TooLargeToImportMessage() {
  return std::wstring(L"The file is too large to import on this computer.") + kNothingImported;
}

std::wstring DeleteImportedFileQuestion(const std::wstring& path) {
  return L"Your sites are imported. The file\n" + path +
         L"\nstill holds every password in plain text: anyone who opens it can read them "
         L"all.\n\nDelete the file now?";
}
