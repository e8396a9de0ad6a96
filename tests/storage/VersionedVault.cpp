#include "tests/storage/VersionedVault.h"

#include <string>

#include "storage/DatabasePasswordSet.h"
#include "storage/EditorUpdater.h"
#include "storage/Initialization.h"
#include "support/StringFunctions.h"

namespace {

// Enough sites that a save takes many writes and a kill can land inside it.
constexpr int kSites = 60;

std::wstring Title(int site) {
  return FormatString(L"site %02d", site);
}

std::wstring Notes(uint32_t version, int site) {
  return FormatString(L"site %02d of version %u", site, version);
}

std::wstring MasterPassword(uint32_t version, bool sealed) {
  return sealed ? kSealedVersionsPassword : FormatString(L"m%u", version % 1000000);
}

}  // namespace

const wchar_t kSealedVersionsPassword[] = L"one password for every version";

void BuildVersion(uint32_t version, bool sealed) {
  EditorUpdater& updater = EditorUpdater::GetInstance();
  Initialization::GetInstance().SetMasterPassword(MasterPassword(version, sealed));
  // A reset header would drop an encrypted vault's key.
  updater.ReadDefaultDatabase(!sealed);
  updater.SetMasterPassword(MasterPassword(version, sealed));
  updater.SetPasswordDisplayFlag(static_cast<int>(version % 2));
  for (int i = 0; i < kSites; ++i) {
    PasswordRecStruct site;
    site.m_SiteTitle = Title(i);
    site.m_UserName = L"user";
    site.m_Password = FormatString(L"pw %u", version);
    site.m_WebsiteAddress = L"https://example.org/";
    site.m_Notes = Notes(version, i);
    DatabasePasswordSet::GetInstance().AddRecord(nullptr, site);
  }
}

int64_t LoadedVersion(bool sealed) {
  EditorUpdater& updater = EditorUpdater::GetInstance();
  DatabasePasswordSet& set = DatabasePasswordSet::GetInstance();
  if (set.Count() != kSites) return -1;
  set.SetCurrentRecord(0);
  const std::wstring password = set.FieldsByIndex(2);
  if (password.rfind(L"pw ", 0) != 0) return -1;
  const uint32_t version = static_cast<uint32_t>(std::stoul(password.substr(3)));
  if (updater.GetMasterPassword() != MasterPassword(version, sealed)) return -1;
  if (updater.GetPasswordDisplayFlag() != static_cast<int>(version % 2)) return -1;
  for (int i = 0; i < kSites; ++i) {
    set.SetCurrentRecord(i);
    if (set.FieldsByIndex(0) != Title(i) || set.FieldsByIndex(4) != Notes(version, i) ||
        set.FieldsByIndex(2) != password)
      return -1;
  }
  return version;
}
