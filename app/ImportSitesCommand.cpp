#include "app/ImportSitesCommand.h"

#include <new>
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

// Reads the file, asks, and adds its sites; true when they were added.
// Throws std::bad_alloc when memory runs out, with nothing added.
bool ReadAskAndAdd(HWND mainWindow, const std::wstring& path) {
  SiteImport import;
  if (!import.Read(path)) {
    ShowExchangeBox(mainWindow, ImportProblemMessage(import, path), MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  DatabasePasswordSet& sites = DatabasePasswordSet::GetInstance();
  const SiteImport::Counts planned = import.Preview(sites);
  if (planned.added == 0) {
    ShowExchangeBox(mainWindow, NothingToImportMessage(path, planned), MB_OK);
    return false;
  }
  // Yes is the default: nothing is lost by adding.
  if (ShowExchangeBox(mainWindow, ImportQuestion(import, path, planned),
                      MB_YESNO | MB_ICONQUESTION) != IDYES)
    return false;
  const SiteImport::Counts counts = import.AddTo(sites);
  DebugLog(L"ImportSitesCommand::ImportFile: %u sites added", static_cast<unsigned>(counts.added));
  return true;
}

}  // namespace

void ImportSitesCommand::Run(HWND mainWindow) {
  const std::wstring path =
      FileDialog::ChooseFileToOpen(mainWindow, L"Import Sites", FileDialog::kCsvFilter);
  if (!path.empty()) ImportFile(mainWindow, path);
}

void ImportSitesCommand::ImportFile(HWND mainWindow, const std::wstring& path) {
  bool added = false;
  try {
    added = ReadAskAndAdd(mainWindow, path);
  } catch (const std::bad_alloc&) {
    // The import's memory is free again by now, and the vault as it was:
    // a box can be shown, and the person can go on.
    DebugLog(L"ImportSitesCommand::ImportFile: out of memory");
    ShowExchangeBox(mainWindow, TooLargeToImportMessage(), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (!added) return;
  Editor& editor = Editor::GetInstance();
  editor.RefreshSiteList();
  // A failed save has told the person, and the sites stay in the list as
  // after a failed Add; the file is then their only other copy, so it is not
  // offered for deletion.
  if (editor.SaveFileValues()) OfferToDelete(mainWindow, path);
}
