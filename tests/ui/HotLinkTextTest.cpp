#include <windows.h>

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "support/ResourceIds.h"
#include "tests/common/BesideThisProgram.h"
#include "tests/common/LogCapture.h"
#include "tests/common/MessageBoxAnswerer.h"
#include "tests/common/MessagePump.h"
#include "tests/common/TempFolder.h"
#include "tests/ui/TestWindows.h"
#include "ui/HotLinkText.h"
#include "ui/ScopedGdi.h"

// Every block this program takes from operator new and has not given back,
// and a way to make the next allocation fail.
namespace {
long g_liveBlocks = 0;
bool g_failNextAllocation = false;
}  // namespace

void* operator new(size_t size) {
  if (g_failNextAllocation) {
    g_failNextAllocation = false;
    throw std::bad_alloc();
  }
  // HeapAlloc rather than malloc: the compiler pairs malloc with free only.
  void* block = HeapAlloc(GetProcessHeap(), 0, size ? size : 1);
  if (!block) throw std::bad_alloc();
  ++g_liveBlocks;
  return block;
}
void operator delete(void* block) noexcept {
  if (!block) return;
  --g_liveBlocks;
  HeapFree(GetProcessHeap(), 0, block);
}
void operator delete(void* block, size_t) noexcept { operator delete(block); }

namespace {

ATOM RegisterOnce() {
  static const ATOM atom =
      RegisterHotLinkClass(GetModuleHandleW(nullptr), IDC_HAND_CURSOR_NAME, 0);
  return atom;
}

class HotLinkTextTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(RegisterOnce(), 0); }

  HWND MakeLink(const wchar_t* text, int width = 300, int height = 40) {
    return CreateWindowExW(0, kHotLinkClassName, text, WS_CHILD | WS_VISIBLE, 10, 10, width,
                           height, m_parent.Get(), reinterpret_cast<HMENU>(2220),
                           GetModuleHandleW(nullptr), nullptr);
  }

  static const HotLinkBlock* BlockOf(HWND link) {
    return reinterpret_cast<const HotLinkBlock*>(GetWindowLongPtrW(link, 0));
  }
  static std::wstring AddressOf(HWND link) {
    const HotLinkBlock* block = BlockOf(link);
    return block && block->address ? block->address.get() : L"(none)";
  }
  static void SetUrl(HWND link, const wchar_t* address) { SetHotLinkAddress(link, address); }

  TestParent m_parent{true};
};

}  // namespace

TEST_F(HotLinkTextTest, ClassIsRegisteredOnceWithTheProgramsCursor) {
  WNDCLASSEXW info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), kHotLinkClassName, &info));
  EXPECT_EQ(info.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
  EXPECT_EQ(info.lpfnWndProc, HotLinkWndProc);
  EXPECT_EQ(info.cbClsExtra, 0);
  EXPECT_EQ(info.cbWndExtra, static_cast<int>(sizeof(LONG_PTR)));
  EXPECT_EQ(info.hbrBackground, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(5)));
  EXPECT_EQ(info.hIcon, nullptr);
  EXPECT_EQ(info.lpszMenuName, nullptr);
  // The hand cursor of the resources this test program carries, shared: a
  // registration that fails has no cursor of its own to leak.
  ASSERT_NE(info.hCursor, nullptr);
  EXPECT_EQ(info.hCursor, LoadImageW(GetModuleHandleW(nullptr), IDC_HAND_CURSOR_NAME, IMAGE_CURSOR,
                                     0, 0, LR_DEFAULTSIZE | LR_SHARED));
  ICONINFO cursor{};
  ASSERT_TRUE(GetIconInfo(info.hCursor, &cursor));
  EXPECT_FALSE(cursor.fIcon);
  if (cursor.hbmMask) DeleteObject(cursor.hbmMask);
  if (cursor.hbmColor) DeleteObject(cursor.hbmColor);
}

TEST_F(HotLinkTextTest, TheBlockOwnsOneAddressAndGoesWithTheWindow) {
  HWND link = MakeLink(L"Keyfolio");
  ASSERT_NE(link, nullptr);
  const HotLinkBlock* block = BlockOf(link);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->font, nullptr);
  EXPECT_EQ(AddressOf(link), L"(none)");

  // Heap blocks are counted around the messages alone, and what is kept in
  // between lives on the stack.
  struct Step {
    long liveBlocks;
    wchar_t address[64];
  };
  const auto read = [link] {
    Step step{g_liveBlocks, L"(none)"};
    if (const wchar_t* kept = BlockOf(link)->address.get()) wcsncpy(step.address, kept, 63);
    return step;
  };
  const auto set = [link, read](const wchar_t* address) {
    SetHotLinkAddress(link, address);
    return read();
  };
  const long live = g_liveBlocks;
  const Step first = set(L"https://first.example/");
  // The window keeps a copy of its own.
  wchar_t mine[] = L"https://second.example/";
  set(mine);
  mine[8] = L'X';
  const Step second = read();
  const Step none = set(nullptr);
  const Step empty = set(L"");
  const Step third = set(L"https://third.example/");

  EXPECT_STREQ(first.address, L"https://first.example/");
  EXPECT_EQ(first.liveBlocks, live + 1);
  EXPECT_STREQ(second.address, L"https://second.example/");
  EXPECT_EQ(second.liveBlocks, live + 1);
  EXPECT_STREQ(none.address, L"(none)");
  EXPECT_EQ(none.liveBlocks, live);
  EXPECT_STREQ(empty.address, L"(none)");
  EXPECT_EQ(empty.liveBlocks, live);
  EXPECT_STREQ(third.address, L"https://third.example/");
  EXPECT_EQ(third.liveBlocks, live + 1);

  const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  EXPECT_EQ(SendMessageW(link, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE), 0);
  EXPECT_EQ(block->font, font);
  EXPECT_EQ(SendMessageW(link, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));

  // Address and block are both freed.
  const long beforeDestroy = g_liveBlocks;
  DestroyWindow(link);
  const long afterDestroy = g_liveBlocks;
  EXPECT_EQ(afterDestroy, beforeDestroy - 2);
}

namespace {

// Called by the system in the link's place, it calls the link's procedure
// directly, so that an exception that left the procedure would come here
// rather than cross the system's frames.
struct ProbeRecord {
  LRESULT result = -2;
  bool exceptionLeft = false;
};
ProbeRecord g_probe;

LRESULT CALLBACK ProbeProcedure(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    g_probe.result = HotLinkWndProc(hWnd, message, wParam, lParam);
  } catch (...) {
    g_probe.exceptionLeft = true;
  }
  return g_probe.result;
}

}  // namespace

// The procedure is called directly, as the system calls it: under Wine an
// exception would also cross SendMessageW back to the test, which would hide
// a missing guard. An address comes only through SetHotLinkAddress, which
// sends it: the probe takes the message in the link's place.
TEST_F(HotLinkTextTest, AFailedAllocationLeavesTheLinkAsItWas) {
  HWND link = MakeLink(L"Keyfolio");
  SetUrl(link, L"https://kept.example/");
  const HotLinkBlock* block = BlockOf(link);
  LogCapture log;
  SetWindowLongPtrW(link, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ProbeProcedure));
  g_failNextAllocation = true;
  SetHotLinkAddress(link, L"https://lost.example/");
  EXPECT_FALSE(g_probe.exceptionLeft);
  EXPECT_EQ(g_probe.result, 0);
  EXPECT_EQ(AddressOf(link), L"https://kept.example/");
  SetWindowLongPtrW(link, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HotLinkWndProc));

  // A WM_CREATE that cannot make the block answers -1 and changes nothing.
  g_failNextAllocation = true;
  LRESULT result = -2;
  EXPECT_NO_THROW(result = HotLinkWndProc(link, WM_CREATE, 0, 0));
  EXPECT_EQ(result, -1);
  EXPECT_EQ(BlockOf(link), block);
  const std::vector<std::string> expected = {
      "HotLinkWndProc: message 0x0401: exception caught: std::bad_alloc",
      "HotLinkWndProc: message 0x0001: exception caught: std::bad_alloc",
  };
  EXPECT_EQ(log.Lines(), expected);

  // That answer makes the system refuse the window.
  g_failNextAllocation = true;
  EXPECT_EQ(MakeLink(L"Keyfolio"), nullptr);
}

// HL_SETURL carries a bare address, which any process may send or post:
// the link reads only the one that SetHotLinkAddress sends, and ignores the
// message otherwise, whatever the address: one of this process, none, or
// one that nothing maps.
TEST_F(HotLinkTextTest, TakesAnAddressOnlyFromSetHotLinkAddress) {
  HWND link = MakeLink(L"Keyfolio");
  SetUrl(link, L"https://kept.example/");
  static const wchar_t kOther[] = L"https://other.example/";
  for (const WPARAM address : {reinterpret_cast<WPARAM>(kOther), WPARAM{0}, WPARAM{0x10}}) {
    SCOPED_TRACE(address);
    EXPECT_EQ(SendMessageW(link, HL_SETURL, address, 0), 0);
    ASSERT_TRUE(PostMessageW(link, HL_SETURL, address, 0));
    PumpPending();
    EXPECT_EQ(AddressOf(link), L"https://kept.example/");
  }
  SetUrl(link, kOther);
  EXPECT_EQ(AddressOf(link), kOther);
  DestroyWindow(link);
}

// A link without an address leaves the click to its parent.
TEST_F(HotLinkTextTest, AClickOpensTheAddressOnlyWhenOneIsSet) {
  const std::wstring marker = BesideThisProgram(L"ui_click_marker.exe");
  TempFolder folder;
  const std::wstring cleared = folder.File(L"cleared.exe");
  const std::wstring opened = folder.File(L"opened.exe");
  ASSERT_TRUE(CopyFileW(marker.c_str(), cleared.c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(marker.c_str(), opened.c_str(), FALSE));

  HWND never = MakeLink(L"never set");
  HWND link = MakeLink(L"Keyfolio");
  SetUrl(link, cleared.c_str());
  SetUrl(link, nullptr);
  EXPECT_EQ(SendMessageW(never, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3)), 0);
  EXPECT_EQ(SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3)), 0);
  const std::vector<std::pair<int, int>> told = {{2220, HLN_CLICKED}, {2220, HLN_CLICKED}};
  EXPECT_EQ(m_parent.Commands(), told);

  SetUrl(link, opened.c_str());
  EXPECT_EQ(SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3)), 0);
  EXPECT_EQ(m_parent.Commands(), told);
  EXPECT_TRUE(PumpUntil([&] { return FileExists(opened + L".ran"); }));
  // Started before the opened one, a cleared link's program would have left
  // its marker by now.
  EXPECT_FALSE(FileExists(cleared + L".ran"));
  // The folder goes once the program has ended and its file can be deleted.
  PumpUntil([&] { return DeleteFileW(opened.c_str()) != FALSE; });
}

// The box stands over the window that the link is part of, which the person
// clicked in.
TEST_F(HotLinkTextTest, AnAddressThatCannotBeOpenedIsToldOverTheLinksWindow) {
  TempFolder folder;
  const std::wstring missing = folder.File(L"no-such-page.htm");
  HWND link = MakeLink(L"Keyfolio");
  SetUrl(link, missing.c_str());
  MessageBoxAnswerer answerer;
  EXPECT_EQ(SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3)), 0);
  ASSERT_EQ(answerer.Boxes().size(), 1u);
  EXPECT_EQ(answerer.Boxes()[0].text, L"Windows could not open \"" + missing + L"\".");
  EXPECT_EQ(answerer.Boxes()[0].owner, m_parent.Get());
  EXPECT_TRUE(m_parent.Commands().empty());
}

namespace {

// A 32-bit top-down bitmap of the given size, selected into its own context.
class Canvas {
 public:
  Canvas(int width, int height) : m_width(width), m_height(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    m_dc = CreateCompatibleDC(nullptr);
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits),
                                nullptr, 0);
    m_previous = SelectObject(m_dc, m_bitmap);
  }
  ~Canvas() {
    SelectObject(m_dc, m_previous);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
  }
  HDC Get() const { return m_dc; }
  std::vector<DWORD> Pixels() const {
    GdiFlush();
    std::vector<DWORD> pixels(m_bits, m_bits + m_width * m_height);
    for (DWORD& pixel : pixels) pixel &= 0x00FFFFFF;
    return pixels;
  }

 private:
  int m_width;
  int m_height;
  HDC m_dc;
  HBITMAP m_bitmap;
  HGDIOBJ m_previous;
  DWORD* m_bits = nullptr;
};

// What a link of this size and text must show: the class background, then
// the text in blue on white, underlined, in the given font.
std::vector<DWORD> Expected(int width, int height, const wchar_t* text, HGDIOBJ font) {
  // White all over, the text's background, whatever the class brush is.
  Canvas canvas(width, height);
  RECT all = {0, 0, width, height};
  FillRect(canvas.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  LOGFONTW logFont{};
  GetObjectW(font, sizeof(logFont), &logFont);
  logFont.lfUnderline = TRUE;
  ScopedGdiObject underlined(CreateFontIndirectW(&logFont));
  SelectedObject selected(canvas.Get(), underlined.Get());
  SetBkColor(canvas.Get(), RGB(0xFF, 0xFF, 0xFF));
  SetBkMode(canvas.Get(), OPAQUE);
  SetTextColor(canvas.Get(), RGB(0, 0, 0xFF));
  TextOutW(canvas.Get(), 0, 0, text, static_cast<int>(wcslen(text)));
  return canvas.Pixels();
}

std::vector<DWORD> Shown(HWND link, int width, int height) {
  UpdateWindow(link);
  Canvas canvas(width, height);
  WindowDC dc(link);
  BitBlt(canvas.Get(), 0, 0, width, height, dc.Get(), 0, 0, SRCCOPY);
  return canvas.Pixels();
}

}  // namespace

TEST_F(HotLinkTextTest, PaintsUnderlinedBlueTextInItsFont) {
  const wchar_t text[] = L"Keyfolio on the web";
  const int width = 300;
  const int height = 40;
  HWND link = MakeLink(text, width, height);
  // Without WM_SETFONT: the system font.
  EXPECT_EQ(Shown(link, width, height), Expected(width, height, text, GetStockObject(SYSTEM_FONT)));

  LOGFONTW large{};
  large.lfHeight = -24;
  ScopedGdiObject font(CreateFontIndirectW(&large));
  SendMessageW(link, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
  EXPECT_EQ(Shown(link, width, height), Expected(width, height, text, font.Get()));
  DestroyWindow(link);
}

TEST_F(HotLinkTextTest, ASecondRegistrationChangesNothing) {
  const wchar_t text[] = L"Keyfolio";
  const int width = 200;
  const int height = 30;
  HWND link = MakeLink(text, width, height);
  // Asking for the button face now must not repaint the links made before.
  EXPECT_EQ(RegisterHotLinkClass(GetModuleHandleW(nullptr), IDC_HAND_CURSOR_NAME, 1), 0);
  InvalidateRect(link, nullptr, TRUE);
  EXPECT_EQ(Shown(link, width, height), Expected(width, height, text, GetStockObject(SYSTEM_FONT)));
  DestroyWindow(link);
}
