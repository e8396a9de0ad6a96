#include "tests/fuzz/VaultFuzz.h"

#include <windows.h>

#include <algorithm>

#include "crypto/SystemRandomBytes.h"
#include "crypto/VaultEnvelope.h"
#include "crypto/VaultKey.h"
#include "exchange/TextFile.h"
#include "storage/DatabasePasswordSet.h"
#include "storage/DeSerializer.h"
#include "storage/EditorUpdater.h"
#include "support/ExceptionBase.h"
#include "tests/common/AllocationWatch.h"
#include "tests/common/CryptoFixtures.h"
#include "tests/fuzz/SiteChecks.h"

namespace {

const wchar_t kMasterPassword[] = L"fuzz";

// The vault of today: every text scrambled with the fixed table, read by
// the program's DeSerializer.
std::vector<unsigned char> WriteScrambled(const std::vector<SiteFields>& sites,
                                          const std::wstring& masterPassword) {
  return Vault(masterPassword, 0, static_cast<uint32_t>(sites.size()), sites);
}

bool ReadScrambled(const std::wstring& path, const std::wstring&) {
  EditorUpdater& updater = EditorUpdater::GetInstance();
  try {
    DeSerializer des(path);
    updater.ReadDatabase(des);
    return true;
  } catch (const ExceptionsEditor&) {
  } catch (const ExceptionsDeSerializer&) {
  }
  updater.ReadDefaultDatabase(true);
  return false;
}

// The encrypted vault: the scrambled one sealed. Its key costs the least
// the file allows and is derived once; each reading derives it again from
// the header, as the program does, through the program's own opening of a
// vault on the drive.
const VaultKey& SealingKey(const std::wstring& masterPassword) {
  static VaultKey key;
  if (!key.Held()) key.Derive(masterPassword, CheapDerivation(0x5A));
  return key;
}

std::vector<unsigned char> WriteSealed(const std::vector<SiteFields>& sites,
                                       const std::wstring& masterPassword) {
  const Bytes scrambled = WriteScrambled(sites, masterPassword);
  const WipedBytes plaintext(scrambled.begin(), scrambled.end());
  std::vector<unsigned char> file;
  VaultEnvelope::Seal(SealingKey(masterPassword), plaintext, SystemRandomBytes::GetInstance(),
                      file);
  return file;
}

bool ReadSealed(const std::wstring&, const std::wstring& masterPassword) {
  EditorUpdater& updater = EditorUpdater::GetInstance();
  updater.ForgetDatabase();
  updater.ReadWithoutWriteBack();
  if (updater.IsSealed() &&
      updater.ReadEncryptedWithoutWriteBack(masterPassword) == EditorUpdater::VO_Opened)
    return true;
  updater.ForgetDatabase();
  return false;
}

// The pieces of the texts; line breaks only as CRLF, which is how an import
// keeps notes.
const wchar_t* const kPieces[] = {L"a",  L"Z", L"7",      L" ",      L",",          L"\"",
                                  L"=",  L"/", L"\u00E9", L"\u65E5", L"\U0001F511", L"\uFFFD"};
const wchar_t kLoneSurrogates[] = {0xD800, 0xDC00};

std::wstring Text(FuzzRandom& random, size_t mostPieces, bool lines) {
  std::wstring text;
  for (size_t i = random.Below(mostPieces + 1); i > 0; --i) {
    if (random.OneIn(30))
      text += kLoneSurrogates[random.Below(2)];
    else if (lines && random.OneIn(8))
      text += L"\r\n";
    else
      text += kPieces[random.Below(sizeof kPieces / sizeof kPieces[0])];
  }
  return text;
}

const char* Mutate(FuzzRandom& random, std::vector<unsigned char>& bytes) {
  const size_t at = random.Below(bytes.size() + 1);
  switch (random.Below(6)) {
    case 0:
      for (size_t i = random.Below(3) + 1; i > 0 && !bytes.empty(); --i)
        bytes[random.Below(bytes.size())] ^= static_cast<unsigned char>(1 << random.Below(8));
      return "bits flipped";
    case 1:
      bytes.resize(at);
      return "cut short";
    case 2: {
      const uint32_t lies[] = {0, 1, 3, 0x7FFFFFFE, 0x80000000, 0xFFFFFFFF,
                               static_cast<uint32_t>(bytes.size() - std::min(at, bytes.size())),
                               static_cast<uint32_t>(random.Below(1u << 31))};
      const uint32_t lie = lies[random.Below(8)];
      for (size_t i = 0; i < 4 && at + i < bytes.size(); ++i)
        bytes[at + i] = static_cast<unsigned char>(lie >> (8 * i));
      return "a length that lies";
    }
    case 3:
      bytes.insert(bytes.begin() + static_cast<ptrdiff_t>(at), random.Below(16) + 1,
                   static_cast<unsigned char>(random.Below(256)));
      return "bytes put in";
    case 4:
      bytes.erase(bytes.begin() + static_cast<ptrdiff_t>(at),
                  bytes.begin() + static_cast<ptrdiff_t>(std::min(bytes.size(), at + 16)));
      return "bytes taken out";
    default:
      for (size_t i = random.Below(64) + 1; i > 0; --i)
        bytes.push_back(static_cast<unsigned char>(random.Below(256)));
      return "bytes after the end";
  }
}

}  // namespace

const VaultFormat kVaultFormats[] = {
    {"scrambled", WriteScrambled, ReadScrambled},
    {"encrypted", WriteSealed, ReadSealed},
};
const size_t kVaultFormatCount = sizeof kVaultFormats / sizeof kVaultFormats[0];

VaultFuzz::VaultFuzz(const VaultFormat& format) : m_format(format) {
  EditorUpdater::GetInstance().SetDataBaseFileName(m_folder.Path() + L"\\");
}

std::string VaultFuzz::Name() const {
  return std::string("vault ") + m_format.name;
}

// Sites as an import makes them, each another login (its own user name), so
// that an export of them must import as exactly these.
FuzzInput VaultFuzz::Make(FuzzRandom& random) {
  std::vector<SiteFields> sites;
  const size_t count = random.OneIn(20) ? random.Below(2000) : random.Below(12);
  for (size_t i = 0; i < count; ++i) {
    const std::wstring number = std::to_wstring(i);
    sites.push_back({L"Site " + number + L" " + Text(random, 4, false),
                     L"u" + number + Text(random, 4, false), Text(random, 8, true),
                     random.OneIn(2) ? L"" : L"https://" + Text(random, 4, false),
                     Text(random, random.OneIn(10) ? 300 : 6, true),
                     L"Monday, January 05, 2026", L"Monday, January 05, 2026",
                     static_cast<int32_t>(i + 1)});
  }
  FuzzInput input;
  const std::vector<unsigned char> vault = m_format.write(sites, kMasterPassword);
  input.bytes.assign(vault.begin(), vault.end());
  input.whole = true;
  for (const SiteFields& site : sites) input.sites.push_back(TextsOf(site));
  std::sort(input.sites.begin(), input.sites.end(), [](const SiteTexts& a, const SiteTexts& b) {
    return SiteTitleLess::Less(a.title, b.title);
  });
  input.how = std::to_string(count) + " sites";
  if (random.OneIn(4)) return input;
  std::vector<unsigned char> bytes(input.bytes.begin(), input.bytes.end());
  input.whole = false;
  input.how += "; mutated:";
  for (size_t i = random.Below(3) + 1; i > 0; --i)
    input.how += std::string(" ") + Mutate(random, bytes) + ";";
  input.bytes.assign(bytes.begin(), bytes.end());
  return input;
}

std::string VaultFuzz::Check(const FuzzInput& input) {
  const std::wstring path = m_folder.File(L"KFO.dta");
  WriteBytes(path, std::vector<unsigned char>(input.bytes.begin(), input.bytes.end()));
  DatabasePasswordSet::GetInstance().LoadDefaultValues();
  AllocationWatch watch;
  const bool loaded = m_format.read(path, kMasterPassword);
  const size_t sites = DatabasePasswordSet::GetInstance().Count();
  if (input.whole) {
    if (!loaded) return "a vault made whole did not load";
    std::vector<SiteTexts> expected = input.sites;
    for (SiteTexts& site : expected)
      for (std::wstring* text : {&site.title, &site.user, &site.password, &site.address,
                                 &site.notes})
        TextFile::ReplaceLoneSurrogates(*text);
    if (StoredSites() != expected) return "a vault made whole loaded other sites";
  }
  const std::string failure = ExportRoundTrip(input.whole);
  watch.Stop();
  if (!failure.empty()) return failure;
  return MemoryWithin(watch.PeakHeld(), input.bytes.size(), sites, TextBytes());
}
