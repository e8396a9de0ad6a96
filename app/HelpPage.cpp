#include "app/HelpPage.h"

#include "storage/FlashDriveFolders.h"
#include "ui/ShellOpen.h"

namespace {

const wchar_t kHelpFolder[] = L"help";
const wchar_t kHelpPageName[] = L"Keyfolio-Flash-Instructions.htm";

std::wstring HelpFolder() {
  return FlashDriveFolders::ProgramFolder() + kHelpFolder;
}

std::wstring HelpPagePath() {
  return HelpFolder() + L"\\" + kHelpPageName;
}

}  // namespace

std::wstring ShippedHelpPage() {
  const std::wstring page = HelpPagePath();
  const DWORD attributes = GetFileAttributesW(page.c_str());
  const bool shipped =
      attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  return shipped ? page : std::wstring();
}

void OpenHelpPage(HWND owner) {
  const std::wstring page = ShippedHelpPage();
  if (!page.empty()) {
    OpenWithShell(owner, page);
    return;
  }
  const std::wstring text = std::wstring(L"The help page ") + kHelpPageName +
                            L" was not found in the folder \"" + HelpFolder() + L"\".";
  MessageBoxW(owner, text.c_str(), L"Keyfolio", MB_OK | MB_ICONEXCLAMATION);
}
