#include "app/ImportSitesCommand.h"

#include <string>

#include "app/Editor.h"
#include "app/ExchangeBox.h"
#include "app/ImportMessages.h"
#include "exchange/SiteImport.h"
#include "storage/DatabasePasswordSet.h"
#include "support/DebugLog.h"
#include "support/WinException.h"
#include "ui/FileDialog.h"

namespace {

// A plain delete: on a flash drive, writing over the file would not reach
// the blocks that held it, so nothing here pretends to erase it.
void OfferToDelete(HWND mainWindow, const std::wstring& path) {
  if (ShowExchangeBox(mainWindow, DeleteImportedFileQuestion(path),
                      MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES)
    return;
  if (DeleteFileW(path.c_str())) return;
  const std::wstring message =
      FormatWindowsError(L"Keyfolio could not delete the file\n" + path + L"\n", GetLastError());
  ShowExchangeBox(mainWindow, message + L"\n\nDelete it yourself as soon as you can.",
                  MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

void ImportSitesCommand::Run(HWND mainWindow) {
  const std::wstring path =
      FileDialog::ChooseFileToOpen(mainWindow, L"Import Sites", FileDialog::kCsvFilter);
  if (path.empty()) return;
  SiteImport import;
  if (!import.Read(path)) {
    ShowExchangeBox(mainWindow, ImportProblemMessage(import, path), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  DatabasePasswordSet& sites = DatabasePasswordSet::GetInstance();
  const SiteImport::Counts planned = import.Preview(sites);
  if (planned.added == 0) {
    ShowExchangeBox(mainWindow, NothingToImportMessage(path, planned), MB_OK);
    return;
  }
  // Yes is the default: nothing is lost by adding.
  if (ShowExchangeBox(mainWindow, ImportQuestion(import, path, planned),
                      MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  const SiteImport::Counts counts = import.AddTo(sites);
  DebugLog(L"ImportSitesCommand::Run: %u sites added", static_cast<unsigned>(counts.added));
  Editor& editor = Editor::GetInstance();
  editor.RefreshSiteList();
  // A failed save has told the person, and the sites stay in the list as
  // after a failed Add; the file is then their only other copy, so it is not
  // offered for deletion.
  if (editor.SaveFileValues()) OfferToDelete(mainWindow, path);
}
