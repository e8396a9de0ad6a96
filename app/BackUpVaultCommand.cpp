#include "app/BackUpVaultCommand.h"

#include <string>

#include "app/ExchangeBox.h"
#include "exchange/VaultBackup.h"
#include "storage/EditorUpdater.h"
#include "support/WinException.h"
#include "ui/FileDialog.h"

namespace {

const wchar_t kDone[] =
    L"\n\nIt opens with the master password you use now. It is protected exactly as much as "
    L"the vault: scrambled, not encrypted. Keep it where only you can reach it.\n\nTo restore "
    L"it, end Keyfolio and copy it into the KFOdata folder as KFO.dta.";

}  // namespace

std::wstring BackUpVaultCommand::FailureMessage(const VaultBackup::Result& result,
                                                const std::wstring& vault,
                                                const std::wstring& path) {
  switch (result.step) {
    case VaultBackup::VB_ReadVault:
      return FormatWindowsError(L"Keyfolio could not read your vault file\n" + vault + L"\n",
                                result.error) +
             L"\n\nNo backup was made.";
    case VaultBackup::VB_Write:
      return FormatWindowsError(L"Keyfolio could not write the backup\n" + path + L"\n",
                                result.error) +
             (result.leftOver.empty()
                  ? L"\n\nNo backup was made there."
                  : L"\n\nPart of it may be left there, as\n" + result.leftOver +
                        L"\nIt is no backup: if it is there, delete it.");
    case VaultBackup::VB_Verify:
    case VaultBackup::VB_Done:
      break;
  }
  return L"The backup\n" + path + L"\ndid not read back the same as your vault, " +
         (result.leftOver.empty() ? L"so Keyfolio removed it."
                                  : L"and Keyfolio could not remove it: it is no backup, delete "
                                    L"it.") +
         L" The drive may be failing: choose another place.";
}

void BackUpVaultCommand::Run(HWND mainWindow) {
  SYSTEMTIME today{};
  GetLocalTime(&today);
  const std::wstring path = FileDialog::ChooseFileToSave(
      mainWindow, L"Back Up Vault", FileDialog::kVaultFilter,
      VaultBackup::DefaultName(today.wYear, today.wMonth, today.wDay), L"dta");
  if (path.empty()) return;
  const std::wstring& vault = EditorUpdater::GetInstance().GetDataBaseFileName();
  const VaultBackup::Result result = VaultBackup::Copy(vault, path);
  if (result.step != VaultBackup::VB_Done) {
    ShowExchangeBox(mainWindow, FailureMessage(result, vault, path), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  ShowExchangeBox(mainWindow, L"Your vault was backed up to\n" + path + kDone, MB_OK);
}
