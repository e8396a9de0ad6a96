#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "dialogbase/DialogTemplateBuilder.h"
#include "tests/dialogbase/TemplateFixtures.h"

namespace {

// The base units of Windows's usual system font, with which the tables'
// values pass into the template unchanged.
constexpr DialogBaseUnits kIdentityUnits = {8, 16};
// What GetDialogBaseUnits answers under Wine here.
constexpr DialogBaseUnits kWineUnits = {7, 16};
// Larger units than any font here has: every value shrinks.
constexpr DialogBaseUnits kLargeUnits = {10, 20};

std::vector<BYTE> Built(const DialogTemplateBlock& block) {
  return std::vector<BYTE>(block.Bytes(), block.Bytes() + block.UsedBytes());
}

std::vector<BYTE> Utf16(const wchar_t* text) {
  std::vector<BYTE> bytes;
  for (const wchar_t* c = text;; ++c) {
    bytes.push_back(static_cast<BYTE>(*c & 0xFF));
    bytes.push_back(static_cast<BYTE>(*c >> 8));
    if (!*c) return bytes;
  }
}

std::vector<BYTE> Join(std::initializer_list<std::vector<BYTE>> parts) {
  std::vector<BYTE> joined;
  for (const auto& part : parts) joined.insert(joined.end(), part.begin(), part.end());
  return joined;
}

// x, y, cx and cy of the DLGTEMPLATE or DLGITEMTEMPLATE at `offset`.
struct Placement {
  int x, y, cx, cy;
  bool operator==(const Placement& o) const {
    return x == o.x && y == o.y && cx == o.cx && cy == o.cy;
  }
};

void PrintTo(const Placement& p, std::ostream* out) {
  *out << "{" << p.x << ", " << p.y << ", " << p.cx << ", " << p.cy << "}";
}

Placement PlacementAt(const DialogTemplateBlock& block, size_t offset) {
  short values[4];
  std::memcpy(values, block.Bytes() + offset, sizeof values);
  return {values[0], values[1], values[2], values[3]};
}

class DialogTemplateTest : public ::testing::Test {
 protected:
  void SetUp() override { InitDialogTemplates(); }
};

// Create Master Password, every byte worked out by hand from its table.
TEST_F(DialogTemplateTest, CreatePasswordHasTheExpectedBytes) {
  const std::vector<BYTE> expected = Join({
      {0x00, 0x00, 0xC8, 0x80,  // style WS_POPUP | WS_CAPTION | WS_SYSMENU
       0x00, 0x00, 0x00, 0x00,  // extended style
       0x05, 0x00,              // 5 items: 4 of the table and the closing static
       0x00, 0x00, 0x00, 0x00,  // x 0, y 0
       0x6F, 0x00, 0x3B, 0x00,  // cx 111, cy 59
       0x00, 0x00,              // no menu
       0x00, 0x00},             // the standard dialog class
      Utf16(L"Create Master Password"),
      // Offset 68.
      {0x00, 0x00, 0x81, 0x50,  // WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP
       0x00, 0x00, 0x00, 0x00,  //
       0x19, 0x00, 0x12, 0x00, 0x3C, 0x00, 0x0C, 0x00,  // 25, 18, 60, 12
       0xFC, 0x08},                                     // id 2300
      Utf16(L"EDIT"), Utf16(L""),
      {0x00, 0x00},  // no creation data; offset 100
      {0x01, 0x00, 0x00, 0x50, 0x00, 0x00, 0x00, 0x00,  // WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON
       0x12, 0x00, 0x26, 0x00, 0x1E, 0x00, 0x0E, 0x00,  // 18, 38, 30, 14
       0x01, 0x00},                                     // IDOK
      Utf16(L"BUTTON"), Utf16(L"&OK"),
      {0x00, 0x00,
       0x00, 0x00},  // padding from 142 to 144
      {0x00, 0x00, 0x00, 0x50, 0x00, 0x00, 0x00, 0x00,  // WS_CHILD | WS_VISIBLE
       0x3A, 0x00, 0x26, 0x00, 0x1E, 0x00, 0x0E, 0x00,  // 58, 38, 30, 14
       0x02, 0x00},                                     // IDCANCEL
      Utf16(L"BUTTON"), Utf16(L"&Cancel"),
      {0x00, 0x00,
       0x00, 0x00},  // padding from 194 to 196
      {0x01, 0x00, 0x00, 0x50, 0x00, 0x00, 0x00, 0x00,  // WS_CHILD | WS_VISIBLE | SS_CENTER
       0x05, 0x00, 0x06, 0x00, 0x64, 0x00, 0x09, 0x00,  // 5, 6, 100, 9
       0xC4, 0x09},                                     // id 2500
      Utf16(L"STATIC"), Utf16(L"Create Master Password:"),
      {0x00, 0x00,
       0x00, 0x00},  // padding from 278 to 280
      {0x06, 0x00, 0x00, 0x50, 0x00, 0x00, 0x00, 0x00,  // WS_CHILD | WS_VISIBLE | SS_WHITERECT
       0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00,  // 0, 0, 1, 1
       0x4D, 0x03},                                     // id 845
      Utf16(L"static"), Utf16(L""),
      {0x00, 0x00},
  });
  ASSERT_EQ(expected.size(), 316u);

  const DialogTemplateBlock block = BuildDialogTemplate(DLG_CreatePassword, kIdentityUnits);
  ASSERT_TRUE(block);
  EXPECT_EQ(Built(block), expected);
  // The same bytes as the fixture encoding that the other tests rely on.
  EXPECT_EQ(FixtureBytes(FixtureFor(DLG_CreatePassword), kIdentityUnits), expected);
  // The rest of the block is left zero.
  const BYTE* rest = block.Bytes() + block.UsedBytes();
  EXPECT_EQ(std::vector<BYTE>(rest, rest + 64), std::vector<BYTE>(64, 0));
}

class EveryTemplate : public ::testing::TestWithParam<FixtureDialog> {
 protected:
  void SetUp() override { InitDialogTemplates(); }
};

// Byte for byte: the item count (closing static included), every item on a
// DWORD boundary, class names as strings, WS_CHILD added, sizes and
// positions converted with the base units given.
TEST_P(EveryTemplate, MatchesItsTableByteForByte) {
  const FixtureDialog& dialog = GetParam();
  for (const DialogBaseUnits units : {kIdentityUnits, kWineUnits, kLargeUnits}) {
    SCOPED_TRACE(testing::Message() << "base units " << units.x << " x " << units.y);
    const DialogTemplateBlock block = BuildDialogTemplate(dialog.templateId, units);
    ASSERT_TRUE(block);
    EXPECT_EQ(Built(block), FixtureBytes(dialog, units));
  }
}

// Without base units the builder reads the system's.
TEST_P(EveryTemplate, UsesTheSystemsBaseUnitsByDefault) {
  const LONG system = GetDialogBaseUnits();
  const DialogBaseUnits units = SystemDialogBaseUnits();
  EXPECT_EQ(units.x, LOWORD(system));
  EXPECT_EQ(units.y, HIWORD(system));
  const DialogTemplateBlock block = BuildDialogTemplate(GetParam().templateId);
  ASSERT_TRUE(block);
  EXPECT_EQ(Built(block), FixtureBytes(GetParam(), units));
}

INSTANTIATE_TEST_SUITE_P(Tables, EveryTemplate, testing::ValuesIn(FixtureDialogs()),
                         [](const testing::TestParamInfo<FixtureDialog>& info) {
                           return std::string(info.param.name);
                         });

// Known answers of the conversion (integer division): 8 / 7 across and
// unchanged down under Wine; 8 / 10 and 16 / 20 for the larger units, where
// the closing 1 x 1 static shrinks to nothing.
TEST_F(DialogTemplateTest, ConvertsWithIntegerDivision) {
  struct Case {
    const char* what;
    int templateId;
    DialogBaseUnits units;
    size_t offset;  // of x in the DLGTEMPLATE or DLGITEMTEMPLATE
    Placement expected;
  };
  const Case cases[] = {
      {"Add Site at 10 x 20", DLG_AddNewPassword, kLargeUnits, 10, {0, 0, 173, 116}},
      {"Add Site at 7 x 16", DLG_AddNewPassword, kWineUnits, 10, {0, 0, 248, 145}},
      {"Create's edit at 7 x 16", DLG_CreatePassword, kWineUnits, 76, {28, 18, 68, 12}},
      {"Create's edit at 10 x 20", DLG_CreatePassword, kLargeUnits, 76, {20, 14, 48, 9}},
      {"closing static at 7 x 16", DLG_CreatePassword, kWineUnits, 288, {0, 0, 1, 1}},
      {"closing static at 10 x 20", DLG_CreatePassword, kLargeUnits, 288, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const DialogTemplateBlock block = BuildDialogTemplate(c.templateId, c.units);
    ASSERT_TRUE(block);
    EXPECT_EQ(PlacementAt(block, c.offset), c.expected);
  }
}

// Ids that have no table, and ids asked for before the tables are set up,
// build nothing rather than a dialog without controls.
TEST_F(DialogTemplateTest, IdsWithoutATableBuildNothing) {
  for (int id : {-1, 4, 5, 6, 14, 1000}) {
    SCOPED_TRACE(id);
    EXPECT_FALSE(BuildDialogTemplate(id));
    EXPECT_EQ(FindDialogControls(id), nullptr);
  }
}

// Each test runs in a process of its own: the tables start unset here.
TEST(DialogTemplatesBeforeInit, NothingCanBeBuilt) {
  for (const FixtureDialog& dialog : FixtureDialogs()) {
    SCOPED_TRACE(dialog.name);
    EXPECT_NE(FindDialogHeader(dialog.templateId), nullptr);
    EXPECT_FALSE(BuildDialogTemplate(dialog.templateId, kIdentityUnits));
  }
  InitDialogTemplates();
  EXPECT_TRUE(BuildDialogTemplate(DLG_About, kIdentityUnits));
}

DialogHeaderRecord HeaderTitled(const std::wstring& title) {
  return {WS_POPUP | WS_CAPTION, 0, 0, 100, 50, L"", L"", title.c_str(), 0, L""};
}

const DialogControlRecord kNoControls[] = {{0, 0, 0, 0, 0, 0, nullptr, nullptr}};

// A header alone takes 18 bytes, 2 for the empty menu, 2 for the class and
// 2 per title character plus 2 for its end: a title of 4084 characters
// fills the 8192 bytes exactly.
TEST_F(DialogTemplateTest, ATemplateMustFitTheBlock) {
  const std::wstring filling(4084, L'x');
  const DialogTemplateBlock full = BuildDialogTemplate(HeaderTitled(filling), kNoControls,
                                                       kIdentityUnits);
  ASSERT_TRUE(full);
  EXPECT_EQ(full.UsedBytes(), kDialogTemplateBlockSize);

  const std::wstring tooLong(4085, L'x');
  EXPECT_FALSE(BuildDialogTemplate(HeaderTitled(tooLong), kNoControls, kIdentityUnits));

  // A title of 4083 characters ends the header 2 bytes before the end; the
  // padding takes them, and no room is left for a control.
  const std::wstring nearlyFull(4083, L'x');
  EXPECT_TRUE(BuildDialogTemplate(HeaderTitled(nearlyFull), kNoControls, kIdentityUnits));
  const DialogControlRecord oneControl[] = {{0, 0, 10, 10, 7, WS_VISIBLE, L"STATIC", L""},
                                            {0, 0, 0, 0, 0, 0, nullptr, nullptr}};
  EXPECT_FALSE(BuildDialogTemplate(HeaderTitled(nearlyFull), oneControl, kIdentityUnits));
}

TEST_F(DialogTemplateTest, ValuesThatCannotBeRepresentedBuildNothing) {
  const DialogHeaderRecord header = HeaderTitled(L"t");
  const DialogControlRecord wide[] = {{0, 0, 60000, 10, 7, WS_VISIBLE, L"STATIC", L""},
                                      {0, 0, 0, 0, 0, 0, nullptr, nullptr}};
  EXPECT_FALSE(BuildDialogTemplate(header, wide, kWineUnits));
  EXPECT_FALSE(BuildDialogTemplate(header, kNoControls, {0, 16}));
  EXPECT_FALSE(BuildDialogTemplate(header, kNoControls, {8, 0}));
  EXPECT_FALSE(BuildDialogTemplate(header, kNoControls, {-8, 16}));
}

// No table sets DS_SETFONT, but a header that does carries its point size
// and typeface after the title.
TEST_F(DialogTemplateTest, ASetFontHeaderCarriesItsFont) {
  const DialogHeaderRecord header = {WS_POPUP | DS_SETFONT, 0, 0, 8, 16, L"", L"", L"T", 9, L"Tahoma"};
  const DialogTemplateBlock block = BuildDialogTemplate(header, kNoControls, kIdentityUnits);
  ASSERT_TRUE(block);
  const std::vector<BYTE> tail = Join({Utf16(L"T"), {0x09, 0x00}, Utf16(L"Tahoma")});
  EXPECT_EQ(Built(block), Join({{0x40, 0x00, 0x00, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                 0x08, 0x00, 0x10, 0x00, 0, 0, 0, 0},
                                tail}));
}

}  // namespace
