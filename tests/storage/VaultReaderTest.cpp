// The tests' vault reader against bytes written out by hand, so that the
// program's tests can trust what it reads back from the program's files.
#include <gtest/gtest.h>

#include "tests/storage/VaultBytes.h"
#include "tests/storage/VaultReader.h"

namespace {

// A fresh vault with the master password "abc" and no sites, byte by byte.
const Bytes kFreshVault = {
    0x10, 0x00, 0x00, 0x00, 0x65, 0x6B, 0x92, 0x13, 0x18, 0xA9, 0x4E, 0x5C, 0xBC, 0xE2, 0xD6, 0x0B,
    0x2D, 0x7D, 0xFA, 0xC1, 0x01, 0x01, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00, 0x1A, 0x00, 0x00, 0x00,
    0x7E, 0x6B, 0xB6, 0x13, 0x32, 0xA9, 0x7B, 0x5C, 0x84, 0xE2, 0xF5, 0x0B, 0x16, 0x7D, 0xD1, 0xC1,
    0xC2, 0x38, 0x58, 0x9F, 0xC6, 0x24, 0x2F, 0xD0, 0xE7, 0x4E, 0x00, 0x00, 0x00, 0x00, 0x06, 0x00,
    0x00, 0x00, 0x4F, 0x6B, 0xB5, 0x13, 0x22, 0xA9, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
};

TEST(VaultReader, ReadsAFreshVaultWrittenByHand) {
  const VaultContents vault = ReadVault(kFreshVault);
  EXPECT_EQ(vault.signature, L"KEYFOLIO");
  EXPECT_EQ(vault.fileVersion, 257u);
  EXPECT_EQ(vault.headerVersion, 257u);
  EXPECT_EQ(vault.headerTitle, L"Password Data");
  EXPECT_EQ(vault.spare, L"");
  EXPECT_EQ(vault.masterPassword, L"abc");
  EXPECT_EQ(vault.flag, 0u);
  EXPECT_EQ(vault.lastKey, 0u);
  EXPECT_TRUE(vault.sites.empty());
}

TEST(VaultReader, ReadsSitesAndAHeaderWithoutFlag) {
  // Fourteen units: the table starts over at the fourteenth.
  const SiteFields first = {L"Fourteen units", L"",           L"pw",         L"https://a.example",
                            L"two\r\nlines",   L"01/02/2026", L"03/04/2026", 7};
  const SiteFields second = {L"b", L"u", L"p", L"", L"", L"d", L"d", -2};
  VaultBytes bytes;
  bytes.Start(256).Header(L"12345678", 0, 256, L"kept").Long(9).Site(first).Site(second);
  const VaultContents vault = ReadVault(bytes.Get());
  EXPECT_EQ(vault.fileVersion, 256u);
  EXPECT_EQ(vault.headerVersion, 256u);
  EXPECT_EQ(vault.spare, L"kept");
  EXPECT_EQ(vault.masterPassword, L"12345678");
  EXPECT_EQ(vault.lastKey, 9u);
  EXPECT_EQ(vault.sites, (std::vector<SiteFields>{first, second}));
}

struct Damage {
  const char* what;
  Bytes bytes;
  size_t offset;
};

void PrintTo(const Damage& damage, std::ostream* out) {
  *out << damage.what;
}

class VaultReaderDamage : public ::testing::TestWithParam<Damage> {};

TEST_P(VaultReaderDamage, StopsWhereTheBytesStopBeingAVault) {
  try {
    ReadVault(GetParam().bytes);
    FAIL() << "read as a vault";
  } catch (const VaultFormatError& e) {
    EXPECT_EQ(e.Offset(), GetParam().offset) << e.what();
  }
}

Bytes Cut(const Bytes& bytes, size_t size) {
  return Bytes(bytes.begin(), bytes.begin() + size);
}

Bytes WithSite() {
  return Vault(L"abc", 1, 1, {{L"t", L"u", L"p", L"w", L"n", L"c", L"m", 1}});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VaultReaderDamage,
    ::testing::Values(
        Damage{"another signature", VaultBytes().String(L"KEYFOLIA").Long(257).Get(), 0},
        Damage{"cut inside the version", Cut(kFreshVault, 22), 20},
        Damage{"cut inside the last key", Cut(kFreshVault, 78), 76},
        // The site's title "t" starts at 80; the cut falls in its user name.
        Damage{"cut inside a site", Cut(WithSite(), 80 + 6 + 3), 86},
        Damage{"an odd string length", VaultBytes().Long(3).Raw({1, 2, 3}).Get(), 0},
        Damage{"a string longer than the file", VaultBytes().Long(100).Long(0).Get(), 0}));

}  // namespace
