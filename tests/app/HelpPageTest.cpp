#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/common/TempFolder.h"

// The page is for people; these checks only make sure that it is there, that
// it speaks of the real folder and file and the menu's own words, that what
// it quotes the program saying the program says, and that it needs nothing
// from a network.

namespace {

std::string Page(const wchar_t* path) {
  const std::vector<unsigned char> bytes = ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

// The texts between `open` and `close`, as the page shows them: a run of
// white space is one space (a line break where the page writes <br>), and
// the page's entities are undone.
std::vector<std::string> Between(const std::string& page, const std::string& open,
                                 const std::string& close) {
  std::string shown;
  for (char c : page) {
    if (c != ' ' && c != '\n' && c != '\r' && c != '\t')
      shown += c;
    else if (shown.empty() || shown.back() != ' ')
      shown += ' ';
  }
  ReplaceAll(shown, "<br> ", "\n");
  ReplaceAll(shown, "<br>", "\n");
  std::vector<std::string> texts;
  for (size_t start = shown.find(open); start != std::string::npos;
       start = shown.find(open, start + 1)) {
    const size_t end = shown.find(close, start);
    std::string text = shown.substr(start + open.size(), end - start - open.size());
    ReplaceAll(text, "&quot;", "\"");
    ReplaceAll(text, "&amp;", "&");
    texts.push_back(text);
  }
  return texts;
}

// The program's texts are UTF-16 in its file; the page's quotes are ASCII.
std::string Utf16(const std::string& ascii) {
  std::string bytes;
  for (char c : ascii) bytes += {c, '\0'};
  return bytes;
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
       {"File", "Add New Site...", "Delete Site...", "Lock", "Exit", "Edit", "Edit Site...",
        "Find Site...", "View", "Hide Password", "Show Password", "Options",
        "Change Master Password...", "Help", "Keyfolio for Flash Drives Help", "Disclaimer",
        "About..."}) {
    EXPECT_TRUE(Contains(page, words)) << words;
  }
}

// The words in quotation marks and in the boxes of messages, except the box
// that shows a site's title.
TEST(HelpPage, QuotesOnlyWhatTheProgramSays) {
  const std::string page = Page(KFO_HELP_PAGE_SOURCE);
  const std::string program = Page(KFO_PROGRAM_SHIPPED);
  ASSERT_FALSE(program.empty());
  std::vector<std::string> quotes = Between(page, "&ldquo;", "&rdquo;");
  for (const std::string& message : Between(page, "<div class=\"message\">", "</div>"))
    if (!Contains(message, "<em>")) quotes.push_back(message);
  EXPECT_GE(quotes.size(), 20u);
  for (const std::string& quote : quotes) EXPECT_TRUE(Contains(program, Utf16(quote))) << quote;
}

TEST(HelpPage, SaysWhatToDoBeforePullingTheDrive) {
  const std::string page = Page(KFO_HELP_PAGE_SOURCE);
  EXPECT_TRUE(Contains(page, "Before you pull the flash drive out"));
  EXPECT_TRUE(Contains(page, "<li>End Keyfolio.</li>"));
  EXPECT_TRUE(Contains(page, "Remove the drive safely"));
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

TEST(HelpPage, TellsOfImportExportAndBackUp) {
  const std::string page = Page(KFO_HELP_PAGE_SOURCE);
  for (const char* words :
       {"Import Sites...", "Export Sites...", "Back Up Vault...", "plain text",
        "Keyfolio sites.csv", "Chrome", "Edge", "Firefox", "Safari", "Bitwarden", "KeePassXC",
        "KeePass 2", "LastPass", "1Password", "Proton Pass", "Dashlane",
        "name it <span class=\"file\">KFO.dta</span>"}) {
    EXPECT_TRUE(Contains(page, words)) << words;
  }
}
