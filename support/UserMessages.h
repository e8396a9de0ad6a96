// The fixed texts the user sees when an operation fails. Exceptions never
// reach the user with their own text: the catcher picks one of these.
#pragma once

#include <windows.h>

#include <string>

// A fixed underlying type, so that any int converts to an index that the
// box can check against the table.
enum UserMessageIndex : int {
  UM_Caption = 0,
  UM_AmountTooLarge,
  UM_AmountNegative,
  UM_AmountNotNumber,
  UM_EditWindowsFailed,
  UM_OpenForLoadFailed,
  UM_NotValidFile,
  UM_FileCorrupted,
  UM_UnknownLoadError,
  UM_OpenForSaveFailed,
  UM_WriteForSaveFailed,
  UM_Empty,
  UM_Count
};

extern const std::wstring UserMessages[UM_Count];

// Shows UserMessages[text] with UserMessages[caption] as caption in a plain
// OK box and returns when the user closes it. The box is modal to the owner
// set with SetOwner, which is disabled while it shows.
class ErrorMessageBox {
 public:
  // An index outside the table is traced and replaced: the text by the
  // empty entry, the caption by UM_Caption. The failure is still reported
  // to the user, and nothing outside the table is read.
  ErrorMessageBox(UserMessageIndex text, UserMessageIndex caption);
  virtual ~ErrorMessageBox() = default;

  // The owner of every box from now on: null (the start) for none, the main
  // window once it exists. A handle that is no longer a window when a box
  // is shown is passed over, since MessageBoxW would refuse to show the box
  // at all; the box then has no owner.
  static void SetOwner(HWND owner);

 private:
  static HWND ms_owner;
};
