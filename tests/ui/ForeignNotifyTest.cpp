// WM_NOTIFY from elsewhere: while the filter lives, a posted one reaches no
// window of the thread, in its own loop or a modal one; and a notification's
// NMHDR goes to a trace line only when the log is on and the message was
// sent from this thread, also in the framework's default handler. Another thread of the test stands for another
// process, which is all another thread can be in the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "tests/common/LogCapture.h"
#include "tests/common/MessageBoxAnswerer.h"
#include "tests/common/MessagePump.h"
#include "ui/ForeignNotify.h"
#include "ui/HandleForLog.h"
#include "ui/Window.h"

namespace {

// Each WM_NOTIFY and WM_NULL the window got, with the header that
// NotifyHeaderForLog gave for a WM_NOTIFY.
struct Seen {
  UINT message;
  LPARAM lParam;
  const NMHDR* header;
  bool operator==(const Seen& other) const {
    return message == other.message && lParam == other.lParam && header == other.header;
  }
};

void PrintTo(const Seen& seen, std::ostream* out) {
  *out << "{0x" << std::hex << seen.message << ", " << seen.lParam << ", " << seen.header << "}";
}

std::vector<Seen> g_seen;

LRESULT CALLBACK Procedure(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY) g_seen.push_back({message, lParam, NotifyHeaderForLog(lParam)});
  if (message == WM_NULL) g_seen.push_back({message, lParam, nullptr});
  return DefWindowProcW(hWnd, message, wParam, lParam);
}

class ForeignNotifyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_seen.clear();
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"KfoForeignNotifyTest";
    RegisterClassW(&windowClass);
    m_window = CreateWindowExW(0, L"KfoForeignNotifyTest", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                               100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(m_window, nullptr);
  }
  void TearDown() override { DestroyWindow(m_window); }

  // As a send from another process arrives: the test's thread takes it
  // while it pumps.
  void SendFromAnotherThread(LPARAM lParam) {
    std::atomic<bool> done{false};
    std::thread sender([&] {
      SendMessageW(m_window, WM_NOTIFY, 0, lParam);
      done = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }));
    sender.join();
  }

  HWND m_window = nullptr;
};

}  // namespace

TEST_F(ForeignNotifyTest, TheHeaderGoesToTheLogOnlyWhenItIsOnAndTheSenderIsThisThread) {
  NMHDR header{m_window, 7, 0x12};
  const LPARAM own = reinterpret_cast<LPARAM>(&header);
  SendMessageW(m_window, WM_NOTIFY, 0, own);
  {
    LogCapture log;
    SendMessageW(m_window, WM_NOTIFY, 0, own);
    SendFromAnotherThread(own);
  }
  const std::vector<Seen> expected = {
      {WM_NOTIFY, own, nullptr},  // the log is off
      {WM_NOTIFY, own, &header},
      {WM_NOTIFY, own, nullptr},  // from another thread
  };
  EXPECT_EQ(g_seen, expected);
}

TEST_F(ForeignNotifyTest, APostedNotificationReachesNoWindowWhileTheFilterLives) {
  const LPARAM nowhere = 0x10;
  NMHDR header{m_window, 7, 0x12};
  const LPARAM own = reinterpret_cast<LPARAM>(&header);
  // The system hands a posted WM_NOTIFY on.
  ASSERT_TRUE(PostMessageW(m_window, WM_NOTIFY, 0, nowhere));
  PumpPending();
  {
    const PostedNotifyFilter filter;
    ASSERT_TRUE(PostMessageW(m_window, WM_NOTIFY, 0, nowhere));
    PumpPending();
    // Taken by the message box's own loop before the box's answer.
    ASSERT_TRUE(PostMessageW(m_window, WM_NOTIFY, 0, nowhere));
    MessageBoxAnswerer answerer;
    MessageBoxW(nullptr, L"text", L"caption", MB_OK);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    // A sent one is no business of the filter's.
    SendMessageW(m_window, WM_NOTIFY, 0, own);
  }
  ASSERT_TRUE(PostMessageW(m_window, WM_NOTIFY, 0, nowhere));
  PumpPending();
  const std::vector<Seen> expected = {
      {WM_NOTIFY, nowhere, nullptr}, {WM_NULL, 0, nullptr},         {WM_NULL, 0, nullptr},
      {WM_NOTIFY, own, nullptr},     {WM_NOTIFY, nowhere, nullptr},
  };
  EXPECT_EQ(g_seen, expected);
}

// The framework's default handler forwards the address as it came.
TEST_F(ForeignNotifyTest, ABoundWindowTracesOnlyAHeaderOfThisThread) {
  Window window;
  window.AttachHWND(m_window);
  NMHDR header{m_window, 44, 0x1F};
  const LPARAM own = reinterpret_cast<LPARAM>(&header);
  // With the log off nothing is read: an address that nothing maps passes.
  const LPARAM nowhere = 0x10;
  SendMessageW(m_window, WM_NOTIFY, 0, nowhere);
  LogCapture log;
  SendMessageW(m_window, WM_NOTIFY, 0, own);
  SendFromAnotherThread(own);

  std::vector<LPARAM> forwarded;
  for (const Seen& seen : g_seen) forwarded.push_back(seen.lParam);
  EXPECT_EQ(forwarded, (std::vector<LPARAM>{nowhere, own, own}));
  const std::string handle = std::to_string(HandleForLog(m_window));
  const std::vector<std::string> expected = {
      "WindowBaseClass::OnNotify: m_hWnd " + handle,
      "WindowBaseClass::OnNotify: hwndFrom " + handle + " idFrom 44 code 1f",
      "WindowBaseClass::OnNotify: m_hWnd " + handle,
  };
  EXPECT_EQ(log.Lines(), expected);
}
