#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/common/TempFolder.h"

// The page is for people; these checks only make sure that it is there, that
// it speaks of the real folder and file and the menu's own words, and that it
// needs nothing from a network.

namespace {

std::string Page(const wchar_t* path) {
  const std::vector<unsigned char> bytes = ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

TEST(HelpPage, NamesTheDataFolderAndTheVaultFile) {
  const std::string page = Page(KFO_HELP_PAGE_SOURCE);
  ASSERT_FALSE(page.empty());
  EXPECT_TRUE(Contains(page, "KFOdata"));
  EXPECT_TRUE(Contains(page, "KFO.dta"));
  EXPECT_TRUE(Contains(page, "KFO-kept-"));
}

TEST(HelpPage, UsesTheMenusOwnWords) {
  const std::string page = Page(KFO_HELP_PAGE_SOURCE);
  for (const char* words :
       {"File", "Add New Site...", "Delete Site...", "Exit", "Edit", "Edit Site...",
        "Find Site...", "View", "Hide Password", "Show Password", "Options",
        "Change Master Password...", "Help", "Keyfolio for Flash Drives Help", "Disclaimer",
        "About..."}) {
    EXPECT_TRUE(Contains(page, words)) << words;
  }
}

TEST(HelpPage, IsOneFileThatNeedsNoNetwork) {
  const std::string page = Page(KFO_HELP_PAGE_SOURCE);
  ASSERT_FALSE(page.empty());
  for (const char* outside : {"<script", "<link", "<img", "<iframe", "://", "@import"}) {
    EXPECT_FALSE(Contains(page, outside)) << outside;
  }
}

TEST(HelpPage, ShipsBesideTheProgram) {
  const std::string page = Page(KFO_HELP_PAGE_SOURCE);
  ASSERT_FALSE(page.empty());
  EXPECT_EQ(Page(KFO_HELP_PAGE_SHIPPED), page);
}
