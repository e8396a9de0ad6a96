#include "support/UserMessages.h"

#include <windows.h>

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

// The box has no owner window until the main window exists to own it.
ErrorMessageBox::ErrorMessageBox(int textIndex, int captionIndex) {
  MessageBoxW(nullptr, UserMessages[textIndex].c_str(), UserMessages[captionIndex].c_str(), MB_OK);
}
