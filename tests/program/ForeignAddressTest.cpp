// Messages that carry an address (WM_NOTIFY its NMHDR, the hot link's
// HL_SETURL its web address, WM_DPICHANGED its rectangle and
// WM_GETDPISCALEDSIZE its size) mean something only in the process that
// sent them. Any other process can send or post them to the program's windows,
// with addresses of its own that point anywhere, or nowhere, in the program:
// the program reads none of them, and goes on as before. A draw request's
// record the system copies over, but the window it names may be anyone's.
#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <vector>

#include "support/ScopedHandle.h"
#include "tests/common/ProcedureWindow.h"
#include "tests/program/Desktop.h"
#include "tests/program/ProgramTest.h"
#include "tests/program/ShellMarkers.h"
#include "ui/DpiScale.h"
#include "ui/HotLinkText.h"

namespace {

// Where another process sends the message.
struct Target {
  const char* name;
  UINT message;
  HWND (*window)(Keyfolio& program, HWND about);
};

void PrintTo(const Target& target, std::ostream* out) {
  *out << target.name;
}

class ForeignAddress : public ProgramTest, public ::testing::WithParamInterface<Target> {
 protected:
  ShellMarkers m_markers;
};

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return _wcsicmp(a.c_str(), b.c_str()) == 0;
}

// A rectangle in the program's own memory, put there by the test: an
// address that the program could read without failing, and whose
// rectangle, or a size written over it, would show.
class RectangleInProgram {
 public:
  RectangleInProgram(DWORD processId, const RECT& rect)
      : m_process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                              processId)),
        m_address(VirtualAllocEx(m_process.Get(), nullptr, sizeof(RECT), MEM_COMMIT | MEM_RESERVE,
                                 PAGE_READWRITE)) {
    WriteProcessMemory(m_process.Get(), m_address, &rect, sizeof rect, nullptr);
  }
  ~RectangleInProgram() { VirtualFreeEx(m_process.Get(), m_address, 0, MEM_RELEASE); }

  UINT_PTR Address() const { return reinterpret_cast<UINT_PTR>(m_address); }
  std::vector<LONG> Now() const {
    RECT rect{};
    ReadProcessMemory(m_process.Get(), m_address, &rect, sizeof rect, nullptr);
    return {rect.left, rect.top, rect.right, rect.bottom};
  }

 private:
  ScopedHandle m_process;
  void* m_address;
};

std::vector<LONG> PlaceOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

// With the About box open, so that its link can be reached.
TEST_P(ForeignAddress, IsNeverRead) {
  Keyfolio& program = StartWithSites({StoredSite(L"Bank", 1)});
  HWND main = program.MainWindow();
  HWND field = program.Field(0);
  program.ChooseMenu(L"Help", L"About...");
  HWND about = program.WaitForDialog(L"About");
  HWND link = FindWindowExW(about, nullptr, kHotLinkClassName, nullptr);
  ASSERT_NE(link, nullptr);
  HWND target = GetParam().window(program, about);
  const UINT message = GetParam().message;
  const std::vector<LONG> mainPlace = PlaceOf(main);
  const std::vector<LONG> aboutPlace = PlaceOf(about);
  const RectangleInProgram inProgram(program.Process().Id(), {5, 5, 60, 60});
  ASSERT_NE(inProgram.Address(), 0u);

  // A web address in the test's own heap, a low address that nothing
  // maps, and a rectangle in the program's memory.
  const wchar_t forgedPage[] = L"https://forged.example/";
  auto block = std::make_unique<wchar_t[]>(std::size(forgedPage));
  wmemcpy(block.get(), forgedPage, std::size(forgedPage));
  for (const UINT_PTR address :
       {UINT_PTR{0x10}, reinterpret_cast<UINT_PTR>(block.get()), inProgram.Address()}) {
    // HL_SETURL's address comes in wParam, the others' in lParam.
    const WPARAM wParam = message == HL_SETURL ? address : 0;
    const LPARAM lParam = message == HL_SETURL ? 0 : static_cast<LPARAM>(address);
    // Windows hands a sent WM_NOTIFY to another process as it is; Wine
    // refuses it (the send fails at once). Both hand HL_SETURL on, sent or
    // posted, and Wine a posted WM_NOTIFY too, and the two messages of a
    // display scale, sent or posted.
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(target, message, wParam, lParam, SMTO_NORMAL, kStepTimeoutMs, &answer);
    PostMessageW(target, message, wParam, lParam);
  }
  // The thread takes posted messages in order: once one posted after them
  // has been handled, so have they.
  ASSERT_TRUE(PostMessageW(field, EM_SETSEL, 0, 2));
  const auto handled = [&] {
    DWORD_PTR selection = 0;
    return SendMessageTimeoutW(field, EM_GETSEL, 0, 0, SMTO_NORMAL, kStepTimeoutMs, &selection) &&
           selection == static_cast<DWORD_PTR>(MAKELONG(0, 2));
  };
  // A program that read an address it was not given crashes: it ends, or
  // Wine's debugger holds it, and it answers nothing.
  ASSERT_TRUE(WaitFor([&] { return !program.Process().Running() || handled(); }) &&
              program.Process().Running())
      << "the program crashed";
  EXPECT_EQ(Ask(main, WM_NULL), 0);
  // Under Wine the program survives reading an address that nothing maps,
  // in a message another process sent: what it made of a rectangle that it
  // read, or the size it wrote, shows instead. (A change of scale to 0 DPI
  // is one to 96, the test's.)
  EXPECT_EQ(PlaceOf(main), mainPlace);
  EXPECT_EQ(PlaceOf(about), aboutPlace);
  EXPECT_EQ(inProgram.Now(), (std::vector<LONG>{5, 5, 60, 60}));

  // The link still opens the help page beside the program.
  Click(link);
  ASSERT_TRUE(WaitFor([&] { return !m_markers.PagesOpened().empty(); }));
  const std::vector<std::wstring> pages = m_markers.PagesOpened();
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_PRED2(SamePath, pages[0], m_drive.HelpPagePath());
  EXPECT_TRUE(m_markers.WebAddressesOpened().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Targets, ForeignAddress,
    ::testing::Values(
        Target{"NotifyToTheMainWindow", WM_NOTIFY,
               [](Keyfolio& program, HWND) { return program.MainWindow(); }},
        // Bound to the program's window framework.
        Target{"NotifyToAField", WM_NOTIFY, [](Keyfolio& program, HWND) { return program.Field(0); }},
        Target{"AddressToTheLink", HL_SETURL,
               [](Keyfolio&, HWND about) {
                 return FindWindowExW(about, nullptr, kHotLinkClassName, nullptr);
               }},
        Target{"ScaleChangeToTheMainWindow", WM_DPICHANGED,
               [](Keyfolio& program, HWND) { return program.MainWindow(); }},
        Target{"ScaledSizeQueryToTheMainWindow", kWmGetDpiScaledSize,
               [](Keyfolio& program, HWND) { return program.MainWindow(); }},
        Target{"ScaleChangeToADialog", WM_DPICHANGED, [](Keyfolio&, HWND about) { return about; }},
        Target{"ScaledSizeQueryToADialog", kWmGetDpiScaledSize,
               [](Keyfolio&, HWND about) { return about; }}),
    [](const ::testing::TestParamInfo<Target>& info) { return info.param.name; });

// What reaches a window of the test's own.
int g_drawRequests = 0;

LRESULT CALLBACK DrawItemTarget(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DRAWITEM) ++g_drawRequests;
  return DefWindowProcW(window, message, wParam, lParam);
}

using ForeignDrawItem = ProgramTest;

// A draw request names the window that is to draw, and the system copies
// the record over to the program; another process may name any window in
// it. The program hands it on to none: not to a window of the sender's, and
// not to the main window itself, which would send it to itself without end
// (Wine bounds that, so that case alone cannot fail here). The sender's
// thread takes what the program would send it while it waits for its answer.
TEST_F(ForeignDrawItem, IsHandedToNoWindowTheRecordNames) {
  Keyfolio& program = StartWithSites({StoredSite(L"Bank", 1)});
  HWND main = program.MainWindow();
  const ProcedureWindow target(L"KfoDrawItemTarget", DrawItemTarget);
  for (HWND item : {target.Get(), main}) {
    DRAWITEMSTRUCT record{};
    record.CtlType = ODT_BUTTON;
    record.itemAction = ODA_DRAWENTIRE;
    record.hwndItem = item;
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutW(main, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&record),
                                    SMTO_NORMAL, kStepTimeoutMs, &answer));
    // The record's address means nothing in the program: the system posts
    // no message that carries one.
    EXPECT_FALSE(PostMessageW(main, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&record)));
  }
  EXPECT_EQ(g_drawRequests, 0);
  ASSERT_TRUE(program.Process().Running()) << "the program crashed";
  EXPECT_EQ(Ask(main, WM_NULL), 0);
  EXPECT_EQ(program.Titles(), std::vector<std::wstring>{L"Bank"});
}

}  // namespace
