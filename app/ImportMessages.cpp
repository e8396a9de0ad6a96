#include "app/ImportMessages.h"

#include "support/StringFunctions.h"
#include "support/WinException.h"

namespace {

// A first line can name hundreds of columns, or one endless one: the box
// shows enough of them to recognise the file.
constexpr size_t kShownColumns = 20;
constexpr size_t kShownNameLength = 40;

std::wstring FileName(const std::wstring& path) {
  return path.substr(path.rfind(L'\\') + 1);
}

std::wstring Quoted(const std::wstring& text) {
  return L"\"" + text + L"\"";
}

std::wstring ColumnList(const std::vector<std::wstring>& columns) {
  std::wstring list;
  for (size_t i = 0; i < columns.size() && i < kShownColumns; ++i) {
    if (i != 0) list += L", ";
    const std::wstring& name = columns[i];
    if (name.empty())
      list += L"(no name)";
    else if (name.size() > kShownNameLength)
      list += Quoted(name.substr(0, kShownNameLength) + L"...");
    else
      list += Quoted(name);
  }
  if (columns.size() > kShownColumns)
    list += FormatString(L" and %u more", static_cast<unsigned>(columns.size() - kShownColumns));
  return list;
}

// "3 (2 already there, 1 not a login)", "none".
std::wstring LeftOut(const SiteImport::Counts& counts) {
  const size_t total = counts.alreadyThere + counts.notLogin + counts.empty;
  if (total == 0) return L"none";
  std::wstring reasons;
  const auto add = [&](size_t count, const wchar_t* why) {
    if (count == 0) return;
    if (!reasons.empty()) reasons += L", ";
    reasons += FormatString(L"%u %s", static_cast<unsigned>(count), why);
  };
  add(counts.alreadyThere, L"already there");
  add(counts.notLogin, counts.notLogin == 1 ? L"not a login" : L"not logins");
  add(counts.empty, L"empty");
  return FormatString(L"%u (%s)", static_cast<unsigned>(total), reasons.c_str());
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
    case SiteImport::SI_UnclosedQuote:
      message = file + FormatString(L"cannot be read: a quoted text that begins on line %u "
                                    L"never ends.",
                                    static_cast<unsigned>(import.GetLine()));
      break;
    case SiteImport::SI_Empty:
      message = file + L"is empty.";
      break;
    case SiteImport::SI_NoPassword:
      message = file + L"is not a file of passwords that Keyfolio knows. Its first line names "
                       L"these columns:\n\n" +
                ColumnList(import.Columns()) +
                L"\n\nKeyfolio needs one named \"password\" to import sites.";
      break;
    case SiteImport::SI_NoSiteColumns:
      message = file + L"has a password column, but Keyfolio cannot tell which site each "
                       L"password is for. Its first line names these columns:\n\n" +
                ColumnList(import.Columns()) +
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
  return L"Import the sites of " + Quoted(FileName(path)) + L"?\n\n" + source + L"\n\n" +
         L"Sites to add: " + FormatString(L"%u", static_cast<unsigned>(counts.added)) + L"\n" +
         L"Left out: " + LeftOut(counts) + L"\n" +
         L"Titles changed to keep them unique: " +
         FormatString(L"%u", static_cast<unsigned>(counts.renamed));
}

std::wstring NothingToImportMessage(const std::wstring& path, const SiteImport::Counts& counts) {
  return L"There are no sites to add from " + Quoted(FileName(path)) + L".\n\nLeft out: " +
         LeftOut(counts);
}

std::wstring DeleteImportedFileQuestion(const std::wstring& path) {
  return L"Your sites are imported. The file\n" + path +
         L"\nstill holds every password in plain text: anyone who opens it can read them "
         L"all.\n\nDelete the file now?";
}
