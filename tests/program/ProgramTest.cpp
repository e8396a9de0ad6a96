#include "tests/program/ProgramTest.h"

Keyfolio& ProgramTest::Start(const std::wstring& argumentZero) {
  m_runs.push_back(std::make_unique<Keyfolio>(m_drive, argumentZero));
  return *m_runs.back();
}

Keyfolio& ProgramTest::StartWithSites(const std::vector<SiteFields>& sites, uint32_t flag) {
  int32_t lastKey = 0;
  for (const SiteFields& site : sites) lastKey = std::max(lastKey, site.key);
  m_drive.PutVault(Vault(kPassword, flag, static_cast<uint32_t>(lastKey), sites));
  Keyfolio& program = Start();
  program.LogIn(kPassword);
  return program;
}

VaultContents ProgramTest::ReadVaultOnDrive() const {
  return ReadVault(m_drive.VaultBytes());
}

SiteFields StoredSite(const std::wstring& title, int32_t key, const std::wstring& password,
                      const std::wstring& address) {
  return {title, L"user of " + title, password, address, L"notes of " + title, L"01/02/2026",
          L"03/04/2026", key};
}

SiteEntry EntryOf(const SiteFields& site) {
  return {site.title, site.user, site.password, site.address, site.notes};
}
