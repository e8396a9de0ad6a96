// The main window's form on a window of the test's own: the children the
// editor builds, and what the list and the fields show for the vault on disk.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Editor.h"
#include "storage/DatabasePasswordSet.h"
#include "storage/EditorUpdater.h"
#include "storage/Initialization.h"
#include "support/ResourceIds.h"
#include "support/WindowText.h"
#include "tests/common/MessageBoxAnswerer.h"
#include "tests/common/TempFolder.h"
#include "tests/storage/VaultBytes.h"
#include "tests/ui/TestWindows.h"
#include "ui/FontManager.h"

namespace {

struct Child {
  std::wstring className;
  DWORD style;
  int id;
  std::wstring text;
  RECT place;
};

void PrintTo(const Child& child, std::ostream* out) {
  *out << std::string(child.className.begin(), child.className.end()) << " style 0x" << std::hex
       << child.style << std::dec << " id " << child.id << " \""
       << std::string(child.text.begin(), child.text.end()) << "\" at " << child.place.left << ","
       << child.place.top << " to " << child.place.right << "," << child.place.bottom;
}

bool operator==(const Child& a, const Child& b) {
  return a.className == b.className && a.style == b.style && a.id == b.id && a.text == b.text &&
         EqualRect(&a.place, &b.place);
}

// The main window's direct children in creation order.
std::vector<Child> ChildrenOf(HWND parent) {
  std::vector<Child> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back({ClassNameOf(child),
                        static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE)),
                        GetDlgCtrlID(child), WindowText(child), RectInParent(child)});
  }
  return children;
}

SiteFields Site(const std::wstring& title, const std::wstring& password,
                const std::wstring& notes = L"notes") {
  return {title, L"user of " + title, password, L"https://" + title + L".example", notes,
          L"Monday, January 05, 2026", L"Monday, January 05, 2026", 1};
}

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override { FontManager::GetInstance().CreateFonts(m_parent.Get()); }

  void WriteVault(uint32_t showFlag, const std::vector<SiteFields>& sites) {
    WriteBytes(m_folder.File(L"KFO.dta"),
               Vault(L"master", showFlag, static_cast<uint32_t>(sites.size()), sites));
  }

  Editor& Construct() {
    Editor& editor = Editor::GetInstance();
    editor.SetDatabaseFolder(m_folder.Path() + L"\\");
    editor.ConstructWindows(m_parent.Get());
    return editor;
  }

  std::vector<std::wstring> FieldTexts(Editor& editor) {
    std::vector<std::wstring> texts;
    for (int i = 0; i < 4; ++i) texts.push_back(WindowText(editor.GetEditField(i)));
    return texts;
  }

  std::vector<std::wstring> ListTitles(Editor& editor) {
    std::vector<std::wstring> titles;
    HWND list = editor.GetSiteList();
    const int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      std::wstring title(static_cast<size_t>(SendMessageW(list, CB_GETLBTEXTLEN, i, 0)), L'\0');
      SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&title[0]));
      titles.push_back(title);
    }
    return titles;
  }

  TempFolder m_folder;
  TestParent m_parent{true, 40, 40, 487, 320};
  MessageBoxAnswerer m_answerer;
};

RECT R(int x, int y, int width, int height) {
  return {x, y, x + width, y + height};
}

}  // namespace

namespace {

// What CreateWindowExW was asked for the site list, as a WH_CBT hook sees it:
// the combo box takes WS_BORDER and WS_VSCROLL off its own style for its
// list, and reports its closed height, so only the request shows the table.
class ListRequest {
 public:
  ListRequest() {
    t_request = this;
    m_hook = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  }
  ~ListRequest() {
    UnhookWindowsHookEx(m_hook);
    t_request = nullptr;
  }
  CREATESTRUCTW asked{};

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_request) {
      // With common controls 6 the class is asked for by a versioned name;
      // the window's own class name is the plain one.
      const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
      if (ClassNameOf(reinterpret_cast<HWND>(wParam)) == L"COMBOBOX") t_request->asked = *create;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static thread_local ListRequest* t_request;
  HHOOK m_hook;
};

thread_local ListRequest* ListRequest::t_request = nullptr;

}  // namespace

TEST_F(EditorTest, BuildsTheFormAtItsPlaces) {
  ListRequest list;
  Construct();
  // An edit control made without WS_EX_CLIENTEDGE drops WS_BORDER from its
  // real style; the rest is as asked. The empty Notes field shows no scroll
  // bar.
  const DWORD label = WS_CHILD | WS_VISIBLE | SS_RIGHT;
  const DWORD field = WS_CHILD | WS_VISIBLE | ES_READONLY | ES_NOHIDESEL;
  const DWORD line = field | ES_AUTOHSCROLL;
  const DWORD button = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
  const std::vector<Child> expected = {
      {L"STATIC", label, 1, L"Site Title:", R(0, 20, 120, 22)},
      {L"STATIC", label, 1, L"User Name:", R(0, 52, 120, 22)},
      {L"STATIC", label, 1, L"Password:", R(0, 79, 120, 22)},
      {L"STATIC", label, 1, L"Website Address:", R(0, 106, 120, 22)},
      {L"STATIC", label, 1, L"Notes:", R(0, 133, 120, 22)},
      {L"COMBOBOX", WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, IDCB_DBPASSWORD, L"",
       {}},
      {L"EDIT", line, 1, L"", R(125, 52, 260, 22)},
      {L"EDIT", line | ES_PASSWORD, 1, L"", R(125, 79, 260, 22)},
      {L"EDIT", line, 1, L"", R(125, 106, 260, 22)},
      {L"EDIT", field | ES_MULTILINE | ES_AUTOVSCROLL, 1, L"", R(125, 133, 260, 78)},
      {L"BUTTON", button, IDB_USERNAME, L"Copy", R(390, 52, 62, 22)},
      {L"BUTTON", button, IDB_PASSWORD, L"Copy", R(390, 79, 62, 22)},
      {L"BUTTON", button, IDB_WEBSITEURL, L"Go", R(390, 106, 62, 22)},
      {L"BUTTON", button, IDB_ADDNEWSITE, L"Add New Site", R(175, 221, 160, 22)},
  };
  std::vector<Child> children = ChildrenOf(m_parent.Get());
  ASSERT_EQ(children.size(), expected.size());
  children[5].place = {};
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(children[i], expected[i]) << i;
  EXPECT_EQ(list.asked.style, 0x50A10003);
  EXPECT_EQ((std::vector<int>{list.asked.x, list.asked.y, list.asked.cx, list.asked.cy}),
            (std::vector<int>{125, 20, 280, 242}));

  const HFONT normal = FontManager::GetInstance().GetFontHandle(0);
  for (HWND child = GetWindow(m_parent.Get(), GW_CHILD); child;
       child = GetWindow(child, GW_HWNDNEXT))
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)), normal);
}

TEST_F(EditorTest, AnEmptyVaultGivesAnEmptyListAndBlankFields) {
  Editor& editor = Construct();
  EXPECT_TRUE(m_answerer.Boxes().empty());
  editor.RefreshSiteList();
  EXPECT_TRUE(ListTitles(editor).empty());
  EXPECT_EQ(SendMessageW(editor.GetSiteList(), CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(FieldTexts(editor), std::vector<std::wstring>(4));
  EXPECT_TRUE(Initialization::GetInstance().GetMasterPassword().empty());
}

TEST_F(EditorTest, ShowsNothingUntilRefreshedThenTheFirstTitle) {
  WriteVault(0, {Site(L"zeta", L"pz"), Site(L"Alpha", L"pa"), Site(L"beta", L"pb")});
  Editor& editor = Construct();
  // The stored master password is in force once the vault is read, and the
  // form stays empty while the master password is asked for.
  EXPECT_EQ(Initialization::GetInstance().GetMasterPassword(), L"master");
  EXPECT_TRUE(ListTitles(editor).empty());
  EXPECT_EQ(FieldTexts(editor), std::vector<std::wstring>(4));

  editor.RefreshSiteList();
  EXPECT_EQ(ListTitles(editor), (std::vector<std::wstring>{L"Alpha", L"beta", L"zeta"}));
  EXPECT_EQ(SendMessageW(editor.GetSiteList(), CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(FieldTexts(editor), (std::vector<std::wstring>{L"user of Alpha", L"pa",
                                                           L"https://Alpha.example", L"notes"}));

  DatabasePasswordSet::GetInstance().SetCurrentRecord(2);
  editor.UpdateDisplayValues();
  EXPECT_EQ(WindowText(editor.GetEditField(Editor::FIELD_Password)), L"pz");
}

class EditorMaskTest : public EditorTest, public ::testing::WithParamInterface<uint32_t> {};

TEST_P(EditorMaskTest, TheStoredFlagMasksOrShowsThePassword) {
  const uint32_t flag = GetParam();
  WriteVault(flag, {Site(L"site", L"secret")});
  Editor& editor = Construct();
  editor.RefreshSiteList();
  HWND password = editor.GetEditField(Editor::FIELD_Password);
  EXPECT_EQ(editor.IsPasswordDisplayed(), flag == 1);
  EXPECT_EQ(SendMessageW(password, EM_GETPASSWORDCHAR, 0, 0), flag == 1 ? 0 : L'*');
  // Masked or not, the field holds the real text.
  EXPECT_EQ(WindowText(password), L"secret");
}

INSTANTIATE_TEST_SUITE_P(HiddenAndShown, EditorMaskTest, ::testing::Values(0u, 1u));

TEST_F(EditorTest, LongNotesWrapInTheNotesField) {
  const std::wstring notes =
      L"These notes run on far longer than the width of the field, so that the field has to "
      L"wrap them onto the lines below the first one.";
  WriteVault(0, {Site(L"site", L"p", notes)});
  Editor& editor = Construct();
  editor.RefreshSiteList();
  HWND notesField = editor.GetEditField(Editor::FIELD_Notes);
  EXPECT_EQ(WindowText(notesField), notes);
  EXPECT_GE(SendMessageW(notesField, EM_GETLINECOUNT, 0, 0), 3);
}

// A note that does not fit shows a scroll bar that reaches its last line;
// one that fits shows none, and keeps the whole width.
TEST_F(EditorTest, OnlyANoteThatDoesNotFitShowsAScrollBar) {
  std::wstring codes;
  for (int line = 1; line <= 20; ++line) codes += L"code " + std::to_wstring(line) + L"\r\n";
  const std::wstring fits = L"one line\r\ntwo lines\r\nthree lines";
  WriteVault(0, {Site(L"a", L"p", fits), Site(L"b", L"p", codes), Site(L"c", L"p", L"")});
  Editor& editor = Construct();
  editor.RefreshSiteList();
  HWND notes = editor.GetEditField(Editor::FIELD_Notes);
  const auto scrollBar = [&] { return (GetWindowLongPtrW(notes, GWL_STYLE) & WS_VSCROLL) != 0; };
  for (const int site : {0, 1, 2, 1, 0}) {
    SCOPED_TRACE(site);
    DatabasePasswordSet::GetInstance().SetCurrentRecord(site);
    editor.UpdateDisplayValues();
    EXPECT_EQ(scrollBar(), site == 1);
  }
  DatabasePasswordSet::GetInstance().SetCurrentRecord(1);
  editor.UpdateDisplayValues();
  EXPECT_EQ(SendMessageW(notes, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  SendMessageW(notes, WM_VSCROLL, SB_BOTTOM, 0);
  SCROLLINFO bar{};
  bar.cbSize = sizeof bar;
  bar.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(notes, SB_VERT, &bar));
  const LRESULT lines = SendMessageW(notes, EM_GETLINECOUNT, 0, 0);
  EXPECT_EQ(bar.nMax, lines - 1);
  EXPECT_EQ(SendMessageW(notes, EM_GETFIRSTVISIBLELINE, 0, 0) + static_cast<LRESULT>(bar.nPage),
            lines);
}

TEST_F(EditorTest, TheLoadRewritesTheVaultAndSavesReportTheirResult) {
  WriteVault(1, {Site(L"site", L"p")});
  Editor& editor = Construct();
  const Bytes written = ReadBytes(m_folder.File(L"KFO.dta"));
  EXPECT_EQ(written, Vault(L"master", 1, 1, {Site(L"site", L"p")}));
  EXPECT_TRUE(editor.SaveFileValues());
  editor.SetMasterPassword(L"other");
  // A save that cannot write answers false after the vault file manager's
  // own message; the vault on disk stays as it was.
  RemoveTree(m_folder.Path());
  EXPECT_FALSE(editor.SaveFileValues());
  ASSERT_EQ(m_answerer.Texts().size(), 1u);
  EXPECT_EQ(m_answerer.Texts()[0], L"Unable to open the selected file for saving. Check the disk.");
}
