// The standard Open and Save dialogs, through which a person picks the file
// to import, the file to export to and the place of a backup. comdlg32 and
// shell32 are taken from the system folder when a dialog first opens
// (SystemLibrary), never imported: a DLL of their name on the flash drive is
// never loaded. The dialogs add nothing to the person's recent documents: the
// files they name hold passwords.
#pragma once

#include <windows.h>

#include <string>

class FileDialog {
 public:
  // A filter as the dialogs take it: pairs of a label and its patterns,
  // each ended by a zero, the whole ended by one more.
  static const wchar_t kCsvFilter[];
  static const wchar_t kVaultFilter[];

  // The Open dialog captioned `title`, showing the Documents folder, for a
  // file that exists. The full path chosen; empty when the person cancelled.
  // When Windows could not show the dialog, the person has been told.
  static std::wstring ChooseFileToOpen(HWND owner, const wchar_t* title, const wchar_t* filter);
  // The Save dialog captioned `title`, in the Documents folder with `name`
  // filled in. A name typed without an extension gets `extension`; a file
  // that exists is replaced only when the person says so.
  static std::wstring ChooseFileToSave(HWND owner, const wchar_t* title, const wchar_t* filter,
                                       const std::wstring& name, const wchar_t* extension);

  // The person's Documents folder; empty when Windows does not say.
  static std::wstring DocumentsFolder();
};
