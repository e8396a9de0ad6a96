#include "support/LastError.h"

#include <windows.h>

#include "support/DebugLog.h"
#include "support/WinException.h"

void LogLastError() {
  const DWORD code = GetLastError();
  if (code == 0) {
    DebugLog(L"No error");
    return;
  }
  const std::wstring text = SystemErrorText(code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT));
  if (text.empty())
    DebugLog(L"Unknown error");
  else
    DebugLog(L"LogLastError: %s", text.c_str());
}

void ShowLastError() {
  static const wchar_t kCaption[] = L"Windows SDK Error Report";
  const DWORD code = GetLastError();
  if (code == 0) {
    MessageBoxW(nullptr, L"No error", kCaption, MB_OK);
    return;
  }
  const std::wstring text = SystemErrorText(code, 0);
  MessageBoxW(nullptr, text.empty() ? L"Unknown error" : text.c_str(), kCaption,
              MB_OK | MB_ICONHAND);
}
