#include "ui/FileDialog.h"

#include <cderr.h>
#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "support/DebugLog.h"
#include "support/SystemLibrary.h"

const wchar_t FileDialog::kCsvFilter[] = L"CSV files (*.csv)\0*.csv\0All files (*.*)\0*.*\0";
const wchar_t FileDialog::kVaultFilter[] =
    L"Keyfolio vault files (*.dta)\0*.dta\0All files (*.*)\0*.*\0";

namespace {

// Room for a long path, and then some.
constexpr DWORD kPathRoom = 32768;

using FileDialogFunction = BOOL(WINAPI*)(OPENFILENAMEW*);

// The dialog's answer: the path, or empty after Cancel or a failure, which
// CommDlgExtendedError tells apart (0 for Cancel).
std::wstring Run(HWND owner, const char* function, const wchar_t* title, const wchar_t* filter,
                 const std::wstring& name, const wchar_t* extension, DWORD flags) {
  const auto run = SystemLibrary::Function<FileDialogFunction>(L"comdlg32.dll", function);
  const auto extendedError = SystemLibrary::Function<decltype(&CommDlgExtendedError)>(
      L"comdlg32.dll", "CommDlgExtendedError");
  std::vector<wchar_t> path(kPathRoom, L'\0');
  name.copy(path.data(), kPathRoom - 1);
  const std::wstring folder = FileDialog::DocumentsFolder();
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = kPathRoom;
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = title;
  dialog.lpstrDefExt = extension;
  // The program's current folder stays where it was.
  dialog.Flags = flags | OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
                 OFN_DONTADDTORECENT;
  if (run && run(&dialog)) return path.data();
  const DWORD error = run && extendedError ? extendedError() : CDERR_INITIALIZATION;
  if (error == 0) return std::wstring();
  DebugLog(L"FileDialog::Run: %hs failed 0x%lx", function, static_cast<unsigned long>(error));
  MessageBoxW(owner, L"Windows could not show the dialog for choosing a file.", L"Keyfolio",
              MB_OK | MB_ICONEXCLAMATION);
  return std::wstring();
}

}  // namespace

std::wstring FileDialog::ChooseFileToOpen(HWND owner, const wchar_t* title,
                                          const wchar_t* filter) {
  return Run(owner, "GetOpenFileNameW", title, filter, std::wstring(), nullptr,
             OFN_FILEMUSTEXIST);
}

std::wstring FileDialog::ChooseFileToSave(HWND owner, const wchar_t* title, const wchar_t* filter,
                                          const std::wstring& name, const wchar_t* extension) {
  return Run(owner, "GetSaveFileNameW", title, filter, name, extension, OFN_OVERWRITEPROMPT);
}

std::wstring FileDialog::DocumentsFolder() {
  static const auto folderPath =
      SystemLibrary::Function<decltype(&SHGetFolderPathW)>(L"shell32.dll", "SHGetFolderPathW");
  wchar_t folder[MAX_PATH] = {};
  if (!folderPath || FAILED(folderPath(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT,
                                       folder)))
    return std::wstring();
  return folder;
}
