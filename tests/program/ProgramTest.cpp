#include "tests/program/ProgramTest.h"

#include <windows.h>

#include <algorithm>

#include "support/ScopedHandle.h"

Keyfolio& ProgramTest::Start(const std::wstring& argumentZero) {
  m_runs.push_back(std::make_unique<Keyfolio>(m_drive, argumentZero));
  return *m_runs.back();
}

Keyfolio& ProgramTest::StartProgram(const std::wstring& programPath) {
  m_runs.push_back(std::make_unique<Keyfolio>(programPath));
  return *m_runs.back();
}

Keyfolio& ProgramTest::StartWithSites(const std::vector<SiteFields>& sites) {
  int32_t lastKey = 0;
  for (const SiteFields& site : sites) lastKey = std::max(lastKey, site.key);
  m_drive.PutVault(Vault(kPassword, 0, static_cast<uint32_t>(lastKey), sites));
  Keyfolio& program = Start();
  program.LogIn(kPassword);
  return program;
}

VaultContents ProgramTest::ReadVaultOnDrive() const {
  return ReadVault(m_drive.VaultBytes());
}

std::wstring ProgramTest::VaultStamp() const {
  ScopedHandle file(CreateFileW(m_drive.VaultPath().c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
  BY_HANDLE_FILE_INFORMATION information{};
  if (!file.IsValid() || !GetFileInformationByHandle(file.Get(), &information)) return L"no vault";
  return std::to_wstring(information.nFileIndexHigh) + L":" +
         std::to_wstring(information.nFileIndexLow) + L":" +
         std::to_wstring(information.ftLastWriteTime.dwHighDateTime) + L":" +
         std::to_wstring(information.ftLastWriteTime.dwLowDateTime);
}

SiteFields StoredSite(const std::wstring& title, int32_t key, const std::wstring& password,
                      const std::wstring& address) {
  return {title,         L"user of " + title, password, address, L"notes of " + title,
          L"01/02/2026", L"03/04/2026",       key};
}

SiteEntry EntryOf(const SiteFields& site) {
  return {site.title, site.user, site.password, site.address, site.notes};
}
