#include "app/ExchangeBox.h"

int ShowExchangeBox(HWND owner, const std::wstring& text, UINT type) {
  return MessageBoxW(owner, text.c_str(), L"Keyfolio", type);
}
