#include "support/UserMessages.h"

#include "support/DebugLog.h"

const std::wstring UserMessages[UM_Count] = {
    L"Keyfolio",
    L"The amount entered is too large.",
    L"The amount cannot be negative.",
    L"The amount entered is not a number.",
    L"The program was unable to create the edit windows.\nThe program will exit.",
    L"Unable to open the selected file for loading. Check the disk.",
    L"This is not a valid file.",
    L"The file has been corrupted. It will not be loaded.",
    L"An unknown error has occured loading the file. It will not load.",
    L"Unable to open the selected file for saving. Check the disk.",
    L"Unable to write to the selected file for saving. Check the disk.",
    L"",
};

HWND ErrorMessageBox::ms_owner = nullptr;

namespace {

const std::wstring& Entry(UserMessageIndex index, UserMessageIndex substitute,
                          const wchar_t* role) {
  if (index >= 0 && index < UM_Count) return UserMessages[index];
  DebugLog(L"ErrorMessageBox::ErrorMessageBox: %s index out of range = %i", role,
           static_cast<int>(index));
  return UserMessages[substitute];
}

}  // namespace

ErrorMessageBox::ErrorMessageBox(UserMessageIndex text, UserMessageIndex caption) {
  const std::wstring& textEntry = Entry(text, UM_Empty, L"text");
  const std::wstring& captionEntry = Entry(caption, UM_Caption, L"caption");
  const HWND owner = IsWindow(ms_owner) ? ms_owner : nullptr;
  MessageBoxW(owner, textEntry.c_str(), captionEntry.c_str(), MB_OK);
}

void ErrorMessageBox::SetOwner(HWND owner) {
  ms_owner = owner;
}
