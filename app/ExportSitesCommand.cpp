#include "app/ExportSitesCommand.h"

#include <string>

#include "app/ExchangeBox.h"
#include "exchange/SiteExport.h"
#include "security/PasswordProtection.h"
#include "storage/DatabasePasswordSet.h"
#include "support/StringFunctions.h"
#include "support/WinException.h"
#include "ui/FileDialog.h"

namespace {

const wchar_t kDefaultName[] = L"Keyfolio sites.csv";
const wchar_t kWarning[] =
    L"The exported file will hold every password in plain text: anyone who opens it can read "
    L"them all.\n\nKeep it only as long as you need it, and delete it when you are done. Export "
    L"your sites now?";

}  // namespace

std::wstring ExportSitesCommand::FailureMessage(const std::wstring& path,
                                                const SafeFileWriter::Result& written) {
  const std::wstring message = FormatWindowsError(
      L"Keyfolio could not export your sites to\n" + path + L"\n", written.error);
  if (written.leftOver.empty()) return message + L"\n\nNo file was written there.";
  return message + L"\n\nPart of the file may be left there, as\n" + written.leftOver +
         L"\nIf it is there, it holds passwords in plain text: delete it as soon as you can.";
}

void ExportSitesCommand::Run(HWND mainWindow) {
  const DatabasePasswordSet& sites = DatabasePasswordSet::GetInstance();
  if (sites.Count() == 0) {
    ShowExchangeBox(mainWindow, L"There are no sites to export.", MB_OK);
    return;
  }
  if (!PasswordProtection().ConfirmMasterPassword(mainWindow)) return;
  // No is the default: Enter pressed on writes nothing.
  if (ShowExchangeBox(mainWindow, kWarning, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES)
    return;
  const std::wstring path = FileDialog::ChooseFileToSave(
      mainWindow, L"Export Sites", FileDialog::kCsvFilter, kDefaultName, L"csv");
  if (path.empty()) return;
  const SafeFileWriter::Result written = SiteExport::Write(sites, path);
  if (written.error != ERROR_SUCCESS) {
    ShowExchangeBox(mainWindow, FailureMessage(path, written), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  const std::wstring done =
      FormatString(L"%u sites were exported to\n", static_cast<unsigned>(sites.Count())) + path +
      L"\n\nThe file holds every password in plain text. Delete it when you no longer need it.";
  ShowExchangeBox(mainWindow, done, MB_OK);
}
