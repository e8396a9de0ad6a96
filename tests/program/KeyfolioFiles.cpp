// The system's Open and Save dialogs, worked as a person works them: the
// full path typed into the name field and Enter pressed. Wine shows them in
// the classic Explorer style, where the name field is an Edit inside the
// combo box 1148 (cmb13); older layouts have a plain Edit 1152 (edt1).
#include "tests/program/Desktop.h"
#include "tests/program/Keyfolio.h"
#include "tests/program/KeyfolioWindows.h"

namespace {

constexpr int kNameComboId = 1148;
constexpr int kNameEditId = 1152;

}  // namespace

HWND Keyfolio::FileNameField(HWND dialog) {
  if (HWND combo = GetDlgItem(dialog, kNameComboId)) {
    const std::vector<HWND> edits = ChildrenOfClass(combo, L"Edit");
    if (!edits.empty()) return edits.front();
  }
  if (HWND edit = GetDlgItem(dialog, kNameEditId)) return edit;
  throw StepFailed("the dialog has no field for the file's name");
}

void Keyfolio::ChooseFile(const std::wstring& caption, const std::wstring& path) {
  HWND dialog = WaitForDialog(caption);
  TypeInto(FileNameField(dialog), path);
  GiveTo(dialog, [] { PressKey(VK_RETURN); });
  WaitForClose(dialog);
}
