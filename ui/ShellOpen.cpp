#include "ui/ShellOpen.h"

#include <shellapi.h>

#include "support/DebugLog.h"
#include "support/SystemLibrary.h"

namespace {

// A website address is as long as its field holds; a box that showed it
// whole could run off the screen.
constexpr size_t kShownLength = 200;

std::wstring Shown(const std::wstring& target) {
  if (target.size() <= kShownLength) return target;
  size_t cut = kShownLength;
  if (IS_HIGH_SURROGATE(target[cut - 1])) --cut;
  return target.substr(0, cut) + L"...";
}

// The current folder of what the shell starts. It would take this program's
// own, on the flash drive when the program was started from there, and a
// browser that stays open would keep the drive busy after Keyfolio ended:
// Windows refuses to remove a drive safely while any program has its
// current folder on it. Null, the program's own, only if Windows cannot
// name its system folder.
std::wstring FolderOffTheDrive() {
  wchar_t folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

}  // namespace

bool OpenWithShell(HWND owner, const std::wstring& target) {
  static const auto shellExecute =
      SystemLibrary::Function<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
  const std::wstring folder = FolderOffTheDrive();
  // ShellExecuteW answers a value above 32 on success, an error code if not.
  const INT_PTR answer =
      shellExecute ? reinterpret_cast<INT_PTR>(shellExecute(
                         owner, nullptr, target.c_str(), nullptr,
                         folder.empty() ? nullptr : folder.c_str(), SW_SHOWNORMAL))
                   : 0;
  if (answer > 32) return true;
  DebugLog(L"OpenWithShell: %s not opened (%i)", target.c_str(), static_cast<int>(answer));
  const std::wstring text = L"Windows could not open \"" + Shown(target) + L"\".";
  MessageBoxW(owner, text.c_str(), L"Keyfolio", MB_OK | MB_ICONEXCLAMATION);
  return false;
}
