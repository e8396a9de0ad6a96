// The main window's notification handler. Its trace line is all it does, so
// it reads a notification's NMHDR only while the log is on, and only one
// sent from this thread: from anywhere else the address means nothing here.
// Another thread of the test stands for another process, which is all
// another thread can be in the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/WndProcMessagesBase.h"
#include "tests/common/LogCapture.h"
#include "tests/common/MessagePump.h"
#include "ui/HandleForLog.h"

namespace {

WndProcMessagesBase g_handlers;

LRESULT CALLBACK Procedure(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY) return g_handlers.WM_Notify(hWnd, wParam, lParam);
  return DefWindowProcW(hWnd, message, wParam, lParam);
}

HWND MakeWindow() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"KfoNotifyHandlerTest";
  RegisterClassW(&windowClass);
  return CreateWindowExW(0, L"KfoNotifyHandlerTest", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                         nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

TEST(WndProcMessagesBaseTest, NotifyTracesOnlyAHeaderOfThisThreadWithTheLogOn) {
  HWND window = MakeWindow();
  ASSERT_NE(window, nullptr);
  NMHDR header{window, 44, 0x1F};
  const LPARAM own = reinterpret_cast<LPARAM>(&header);
  // With the log off nothing is read: an address that nothing maps passes.
  EXPECT_EQ(SendMessageW(window, WM_NOTIFY, 0, 0x10), 0);
  LogCapture log;
  EXPECT_EQ(SendMessageW(window, WM_NOTIFY, 0, own), 0);
  std::atomic<bool> done{false};
  std::thread sender([&] {
    SendMessageW(window, WM_NOTIFY, 0, own);
    done = true;
  });
  EXPECT_TRUE(PumpUntil([&] { return done.load(); }));
  sender.join();
  EXPECT_EQ(log.Lines(),
            std::vector<std::string>{"WndProcMessagesBase::WM_Notify: hwndFrom " +
                                     std::to_string(HandleForLog(window)) + " idFrom 44 code 1f"});
  DestroyWindow(window);
}
