#include "ui/ShellOpen.h"

#include <shellapi.h>

#include "support/DebugLog.h"
#include "support/SystemLibrary.h"

bool OpenWithShell(HWND owner, const std::wstring& target) {
  static const auto shellExecute =
      SystemLibrary::Function<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
  // ShellExecuteW answers a value above 32 on success, an error code if not.
  const INT_PTR answer =
      shellExecute ? reinterpret_cast<INT_PTR>(shellExecute(owner, nullptr, target.c_str(), nullptr,
                                                            nullptr, SW_SHOWNORMAL))
                   : 0;
  if (answer > 32) return true;
  DebugLog(L"OpenWithShell: %s not opened (%i)", target.c_str(), static_cast<int>(answer));
  return false;
}
