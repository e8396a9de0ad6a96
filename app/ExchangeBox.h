// The boxes of File > "Import Sites...", "Export Sites..." and "Back Up
// Vault...": one caption for all three, the program's name, as the rest of
// the program's boxes carry it.
#pragma once

#include <windows.h>

#include <string>

// MessageBoxW over `owner` with the exchange commands' caption.
int ShowExchangeBox(HWND owner, const std::wstring& text, UINT type);
