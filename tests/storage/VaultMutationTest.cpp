// Any bytes at all read as a vault end in a loaded vault or an empty one:
// no crash, no hang, no exception but the two file families, and no
// allocation larger than the file. Thousands of variants of a real vault,
// from one printed seed: every truncation, random bit flips, and every
// length long set to values that lie.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "storage/DatabasePasswordSet.h"
#include "storage/DeSerializer.h"
#include "storage/EditorUpdater.h"
#include "storage/Initialization.h"
#include "support/ExceptionBase.h"
#include "tests/common/AllocationWatch.h"
#include "tests/common/MessageBoxAnswerer.h"
#include "tests/common/TempFolder.h"
#include "tests/storage/VaultBytes.h"

namespace {

constexpr uint32_t kSeed = 20261210;
constexpr int kSites = 12;
constexpr int kBitFlipVariants = 3000;
// Room for one site record in the set and a path: what any read allocates
// whatever the file holds.
constexpr size_t kBookkeeping = 512;

uint32_t LongAt(const Bytes& bytes, size_t offset) {
  return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
         static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

// Where each length long of the vault stands, and where each site ends,
// found by walking the layout.
struct Layout {
  std::vector<size_t> lengths;
  std::vector<size_t> siteEnds;
  size_t sitesStart = 0;
};

Layout Walk(const Bytes& vault) {
  Layout layout;
  size_t at = 0;
  auto string = [&] {
    layout.lengths.push_back(at);
    at += 4 + LongAt(vault, at);
  };
  string();      // signature
  at += 8;       // file and header version
  string();      // title
  string();      // spare text
  string();      // master password
  at += 8;       // flag, last key
  layout.sitesStart = at;
  while (at < vault.size()) {
    for (int i = 0; i < 7; ++i) string();
    at += 4;
    layout.siteEnds.push_back(at);
  }
  return layout;
}

class Reader {
 public:
  explicit Reader(const std::wstring& path) : m_path(path) {}

  // Reads `bytes` as the vault file the way a load does. -1 when the load
  // failed (the vault is then empty), else the number of sites loaded; sets
  // `whole` to whether reading kept every stored site.
  int Read(const Bytes& bytes, bool& whole) {
    WriteBytes(m_path, bytes);
    EditorUpdater& updater = EditorUpdater::GetInstance();
    AllocationWatch watch;
    int result = -1;
    try {
      DeSerializer des(m_path);
      whole = updater.ReadDatabase(des);
      result = static_cast<int>(DatabasePasswordSet::GetInstance().Count());
    } catch (const ExceptionsEditor&) {
    } catch (const ExceptionsDeSerializer&) {
    } catch (...) {
      watch.Stop();
      ADD_FAILURE() << "an exception of neither file family";
    }
    watch.Stop();
    largest = watch.Largest();
    if (largest > bytes.size() && largest - bytes.size() > worstExcess)
      worstExcess = largest - bytes.size();
    if (result < 0) updater.ReadDefaultDatabase(true);
    return result;
  }

  size_t largest = 0;
  size_t worstExcess = 0;

 private:
  std::wstring m_path;
};

}  // namespace

TEST(VaultMutation, AnyBytesLoadAsAVaultOrAnEmptyOne) {
  std::printf("seed %u\n", static_cast<unsigned>(kSeed));
  std::mt19937 random(kSeed);
  TempFolder folder;
  EditorUpdater& updater = EditorUpdater::GetInstance();
  updater.SetDataBaseFileName(folder.Path() + L"\\");

  // A real vault, written by the program.
  Initialization::GetInstance().SetMasterPassword(L"master");
  updater.ReadDefaultDatabase(true);
  updater.SetPasswordDisplayFlag(1);
  for (int i = 0; i < kSites; ++i) {
    PasswordRecStruct site;
    site.m_SiteTitle = L"Site \u00E9 " + std::to_wstring(i * 7);
    site.m_UserName = L"user" + std::to_wstring(i);
    site.m_Password = std::wstring(static_cast<size_t>(i + 1), L'p');
    site.m_WebsiteAddress = i % 3 ? L"https://example.org/" + std::to_wstring(i) : L"";
    site.m_Notes = std::wstring(static_cast<size_t>(i * 5), L'\u4E2D');
    ASSERT_TRUE(DatabasePasswordSet::GetInstance().AddRecord(nullptr, site));
  }
  ASSERT_TRUE(updater.Serialize());
  const Bytes vault = ReadBytes(folder.File(L"KFO.dta"));
  const Layout layout = Walk(vault);
  ASSERT_EQ(layout.siteEnds.size(), static_cast<size_t>(kSites));
  ASSERT_EQ(layout.siteEnds.back(), vault.size());

  MessageBoxAnswerer answerer;  // bit flips can make two titles equal
  Reader reader(folder.File(L"mutant.dta"));
  int variants = 0, loaded = 0;
  auto check = [&](const Bytes& bytes, const char* kind, size_t where) -> int {
    bool whole = false;
    const int sites = reader.Read(bytes, whole);
    ++variants;
    if (sites >= 0) ++loaded;
    EXPECT_LE(sites, kSites) << kind << " at " << where;
    EXPECT_LE(reader.largest, bytes.size() + kBookkeeping) << kind << " at " << where;
    return sites;
  };

  // Every truncation: the sites wholly inside load, and reading calls itself
  // whole exactly when the cut falls between two sites.
  for (size_t length = 0; length < vault.size(); ++length) {
    bool whole = false;
    const Bytes cut(vault.begin(), vault.begin() + length);
    const int sites = reader.Read(cut, whole);
    ++variants;
    if (length < layout.sitesStart) {
      EXPECT_EQ(sites, -1) << "cut at " << length;
      continue;
    }
    ++loaded;
    int expected = 0;
    bool boundary = length == layout.sitesStart;
    for (size_t end : layout.siteEnds) {
      if (end <= length) ++expected;
      if (end == length) boundary = true;
    }
    EXPECT_EQ(sites, expected) << "cut at " << length;
    EXPECT_EQ(whole, boundary) << "cut at " << length;
    EXPECT_LE(reader.largest, cut.size() + kBookkeeping) << "cut at " << length;
  }

  std::uniform_int_distribution<size_t> anyByte(0, vault.size() - 1);
  std::uniform_int_distribution<int> anyBit(0, 7), flipCount(1, 3);
  for (int i = 0; i < kBitFlipVariants; ++i) {
    Bytes mutant = vault;
    const size_t first = anyByte(random);
    for (int flips = flipCount(random); flips > 0; --flips)
      mutant[flips == 1 ? first : anyByte(random)] ^= static_cast<unsigned char>(1 << anyBit(random));
    check(mutant, "bit flip", first);
  }

  std::uniform_int_distribution<uint32_t> anyLong;
  for (size_t offset : layout.lengths) {
    const uint32_t honest = LongAt(vault, offset);
    const uint32_t remaining = static_cast<uint32_t>(vault.size() - offset - 4);
    const uint32_t lies[] = {0,          1,          3,          honest + 1, honest + 2,
                             honest - 2, remaining,  remaining + 1, remaining + 2,
                             0x7FFFFFFE, 0x80000000, 0xFFFFFFFE, 0xFFFFFFFF, anyLong(random)};
    for (uint32_t lie : lies) {
      Bytes mutant = vault;
      for (int b = 0; b < 4; ++b) mutant[offset + b] = static_cast<unsigned char>(lie >> (8 * b));
      check(mutant, "length", offset);
    }
  }

  std::printf("%d variants of a %u-byte vault: %d loaded, %d empty; %zu duplicate-title boxes; "
              "largest allocation at most %zu bytes beyond the file\n",
              variants, static_cast<unsigned>(vault.size()), loaded, variants - loaded,
              answerer.Boxes().size(), reader.worstExcess);
  EXPECT_GT(variants, 5000);
}
