// Puts a copied user name or password on the clipboard as Unicode text, and
// marks it as nothing for clipboard history, cloud sync or clipboard
// monitors to keep (the formats that Windows 10 and later honour): a
// password should live on the clipboard only until it is pasted.
#pragma once

#include <windows.h>

#include <cstddef>

// True when the text is on the clipboard. A failure leaves the clipboard
// closed and frees what it allocated; the caller tells the user.
bool CopyTextToClipboard(HWND owner, const wchar_t* text, size_t length);
