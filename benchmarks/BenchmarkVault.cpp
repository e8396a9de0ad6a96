#include "benchmarks/BenchmarkVault.h"

#include <vector>

#include "storage/EditorUpdater.h"
#include "support/StringFunctions.h"

SiteFields MadeUpSite(int number) {
  return {FormatString(L"Site %06d", number),
          FormatString(L"user%d@example.com", number),
          L"x7!Kq2#pLm9z",
          FormatString(L"https://www.example%d.com/login", number),
          L"Security question: first pet. Answer: Rex.",
          L"Tuesday, March 03, 2026",
          L"Saturday, December 05, 2026",
          number};
}

Bytes BenchmarkVault(int sites) {
  std::vector<SiteFields> list;
  for (int number = 1; number <= sites; ++number) list.push_back(MadeUpSite(number));
  return Vault(kBenchmarkPassword, 0, static_cast<uint32_t>(sites), list);
}

VaultFolder::VaultFolder(const Bytes& vault) : name(folder.File(L"KFO.dta")) {
  WriteBytes(name, vault);
  EditorUpdater::GetInstance().SetDataBaseFileName(folder.Path() + L"\\");
}
