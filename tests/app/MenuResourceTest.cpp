#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ResourceIds.h"
#include "tests/app/ModuleResource.h"

namespace {

// Flags of the menu resource format.
constexpr unsigned kPopup = 0x10;
constexpr unsigned kChecked = 0x08;
constexpr unsigned kEnd = 0x80;
constexpr unsigned kHelp = 0x4000;

// One item of the menu bar or of a pop-up, in the order of the resource. A
// pop-up has no id of its own (0 here); a separator is id 0 with no text.
struct MenuEntry {
  int depth;
  unsigned flags;
  unsigned id;
  std::wstring text;
};

const std::vector<MenuEntry> kMainMenu = {
    {0, kPopup, 0, L"&File"},
    {1, 0, 32771, L"Add New Site...\tCtrl+N"},
    {1, 0, 32772, L"Delete Site...\tCtrl+D"},
    {1, 0, 0, L""},
    {1, 0, 32810, L"Import Sites..."},
    {1, 0, 32811, L"Export Sites..."},
    {1, 0, 32812, L"Back Up Vault..."},
    {1, 0, 32820, L"Lock\tCtrl+L"},
    {1, 0, 0, L""},
    {1, kEnd, 105, L"E&xit\tAlt+F4"},
    {0, kPopup, 0, L"&Edit"},
    {1, 0, 32775, L"Edit Site...\tCtrl+E"},
    {1, kEnd, 32830, L"Find Site...\tCtrl+F"},
    {0, kPopup, 0, L"&View"},
    {1, kChecked, 32776, L"Hide Password"},
    {1, kChecked | kEnd, 32777, L"Show Password"},
    {0, kPopup, 0, L"&Options"},
    {1, kEnd, 32781, L"Change Master Password..."},
    {0, kPopup | kEnd, 0, L"&Help"},
    {1, kHelp, 32792, L"Keyfolio for Flash Drives Help\tF1"},
    {1, 0, 32793, L"Disclaimer"},
    {1, kEnd, 104, L"&About..."},
};

void ExpectEntries(const std::vector<MenuEntry>& actual, const std::vector<MenuEntry>& expected,
                   unsigned flagsSeen) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "item " << i);
    EXPECT_EQ(actual[i].depth, expected[i].depth);
    EXPECT_EQ(actual[i].flags, expected[i].flags & flagsSeen);
    EXPECT_EQ(actual[i].id, expected[i].id);
    EXPECT_EQ(actual[i].text, expected[i].text);
  }
}

// Reads one level of a MENU resource: items up to and including the one
// flagged as the level's end, each pop-up followed by its own level.
void ReadMenuLevel(const std::vector<unsigned char>& bytes, size_t& offset, int depth,
                   std::vector<MenuEntry>& entries) {
  for (;;) {
    MenuEntry entry{depth, ReadLittle<WORD>(bytes, offset), 0, L""};
    offset += 2;
    if (!(entry.flags & kPopup)) {
      entry.id = ReadLittle<WORD>(bytes, offset);
      offset += 2;
    }
    entry.text = ReadWideText(bytes, offset);
    entries.push_back(entry);
    if (entry.flags & kPopup) ReadMenuLevel(bytes, offset, depth + 1, entries);
    if (entry.flags & kEnd) return;
  }
}

// What the system makes of one loaded menu, in the same form. The end flag
// does not survive loading.
void WalkLoadedMenu(HMENU menu, int depth, std::vector<MenuEntry>& entries) {
  const int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    ASSERT_TRUE(GetMenuItemInfoW(menu, position, TRUE, &info));
    std::wstring text(info.cch, L'\0');
    if (info.cch) {
      info.dwTypeData = text.data();
      info.cch = static_cast<UINT>(text.size() + 1);
      ASSERT_TRUE(GetMenuItemInfoW(menu, position, TRUE, &info));
    }
    unsigned flags = 0;
    if (info.hSubMenu) flags |= kPopup;
    if (info.fState & MFS_CHECKED) flags |= kChecked;
    if (info.fType & MFT_RIGHTJUSTIFY) flags |= kHelp;
    const bool separator = (info.fType & MFT_SEPARATOR) != 0;
    EXPECT_EQ(separator, text.empty()) << "position " << position;
    entries.push_back({depth, flags, info.hSubMenu ? 0 : info.wID, text});
    if (info.hSubMenu) WalkLoadedMenu(info.hSubMenu, depth + 1, entries);
  }
}

}  // namespace

TEST(MenuResource, HoldsEveryItemOfTheMainMenuWithItsFlags) {
  const std::vector<unsigned char> bytes =
      ModuleResource(MAKEINTRESOURCEW(IDC_KEYFOLIO), MAKEINTRESOURCEW(4));  // RT_MENU
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(ReadLittle<WORD>(bytes, 0), 0) << "a MENU, not a MENUEX";
  EXPECT_EQ(ReadLittle<WORD>(bytes, 2), 0) << "no extra header bytes";
  size_t offset = 4;
  std::vector<MenuEntry> entries;
  ReadMenuLevel(bytes, offset, 0, entries);
  ExpectEntries(entries, kMainMenu, ~0u);
  EXPECT_EQ(offset, bytes.size()) << "nothing after the last item";
}

TEST(MenuResource, LoadsAsTheMenuBarWithPopupsChecksAndTheHelpItem) {
  const HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_KEYFOLIO));
  ASSERT_NE(menu, nullptr);
  std::vector<MenuEntry> entries;
  WalkLoadedMenu(menu, 0, entries);
  DestroyMenu(menu);
  ExpectEntries(entries, kMainMenu, ~kEnd);
}

TEST(AcceleratorResource, HoldsCtrlNDEFLAndF1WithoutInversion) {
  struct Expected {
    BYTE modifiers;
    WORD key;
    WORD command;
  };
  const BYTE ctrlKey = FVIRTKEY | FCONTROL | FNOINVERT;
  const Expected expected[] = {
      {ctrlKey, 'N', 32771},
      {ctrlKey, 'D', 32772},
      {ctrlKey, 'E', 32775},
      {ctrlKey, 'F', 32830},
      {ctrlKey, 'L', 32820},
      {FVIRTKEY | FNOINVERT, VK_F1, 32792},
  };
  const HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_KEYFOLIO));
  ASSERT_NE(table, nullptr);
  ACCEL entries[8]{};
  const int count = CopyAcceleratorTableW(table, entries, 8);
  DestroyAcceleratorTable(table);
  ASSERT_EQ(count, 6);
  for (int i = 0; i < count; ++i) {
    SCOPED_TRACE(testing::Message() << "entry " << i);
    EXPECT_EQ(entries[i].fVirt, expected[i].modifiers);
    EXPECT_EQ(entries[i].key, expected[i].key);
    EXPECT_EQ(entries[i].cmd, expected[i].command);
  }
}
