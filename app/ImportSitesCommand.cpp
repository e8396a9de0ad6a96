#include "app/ImportSitesCommand.h"

#include <string>

#include "app/Editor.h"
#include "app/ImportMessages.h"
#include "exchange/SiteImport.h"
#include "storage/DatabasePasswordSet.h"
#include "support/DebugLog.h"
#include "support/WinException.h"
#include "ui/FileDialog.h"

namespace {

const wchar_t kCaption[] = L"Keyfolio";

// A plain delete: on a flash drive, writing over the file would not reach
// the blocks that held it, so nothing here pretends to erase it.
void OfferToDelete(HWND mainWindow, const std::wstring& path) {
  if (MessageBoxW(mainWindow, DeleteImportedFileQuestion(path).c_str(), kCaption,
                  MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES)
    return;
  if (DeleteFileW(path.c_str())) return;
  const std::wstring message = FormatWindowsError(
      L"Keyfolio could not delete the file\n" + path + L"\n", GetLastError());
  MessageBoxW(mainWindow, (message + L"\n\nDelete it yourself as soon as you can.").c_str(),
              kCaption, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

void ImportSitesCommand::Run(HWND mainWindow) {
  const std::wstring path =
      FileDialog::ChooseFileToOpen(mainWindow, L"Import Sites", FileDialog::kCsvFilter);
  if (path.empty()) return;
  SiteImport import;
  if (!import.Read(path)) {
    MessageBoxW(mainWindow, ImportProblemMessage(import, path).c_str(), kCaption,
                MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  DatabasePasswordSet& sites = DatabasePasswordSet::GetInstance();
  const SiteImport::Counts planned = import.Preview(sites);
  if (planned.added == 0) {
    MessageBoxW(mainWindow, NothingToImportMessage(path, planned).c_str(), kCaption, MB_OK);
    return;
  }
  // Yes is the default: nothing is lost by adding.
  if (MessageBoxW(mainWindow, ImportQuestion(import, path, planned).c_str(), kCaption,
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
