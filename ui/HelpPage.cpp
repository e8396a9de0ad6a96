#include "ui/HelpPage.h"

#include "storage/FlashDriveFolders.h"
#include "ui/ShellOpen.h"

namespace {

const wchar_t kHelpFolder[] = L"help";
const wchar_t kHelpPageName[] = L"Keyfolio-Flash-Instructions.htm";

std::wstring HelpFolder() {
  return FlashDriveFolders::ProgramFolder() + kHelpFolder;
}

}  // namespace

std::wstring HelpPagePath() {
  return HelpFolder() + L"\\" + kHelpPageName;
}

bool HelpPageShipped() {
  const DWORD attributes = GetFileAttributesW(HelpPagePath().c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void OpenHelpPage(HWND owner) {
  if (HelpPageShipped()) {
    OpenWithShell(owner, HelpPagePath());
    return;
  }
  const std::wstring text = std::wstring(L"The help page ") + kHelpPageName +
                            L" was not found in the folder \"" + HelpFolder() + L"\".";
  MessageBoxW(owner, text.c_str(), L"Keyfolio", MB_OK | MB_ICONEXCLAMATION);
}
