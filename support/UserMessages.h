// The fixed texts the user sees when an operation fails. Exceptions never
// reach the user with their own text: the catcher picks one of these.
#pragma once

#include <string>

enum UserMessageIndex {
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
// OK box and returns when the user closes it.
class ErrorMessageBox {
 public:
  ErrorMessageBox(int textIndex, int captionIndex);
  virtual ~ErrorMessageBox() = default;
};
