// The Help menu's "Disclaimer": one message box, shown from the constructor,
// so the command makes the object on its stack and is done when it returns.
#pragma once

#include <windows.h>

class DisclaimerMessage {
 public:
  explicit DisclaimerMessage(HWND parent);
};
