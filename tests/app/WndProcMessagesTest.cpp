// The main window hands a draw request on to the owner-drawn child that the
// record names, when this thread sent it. One sent from another thread (in
// the program, another process: the system copies the record over) or one
// that names a window that is not a child of the main window is not passed
// on.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <thread>

#include "app/WndProcMessages.h"
#include "tests/common/MessagePump.h"
#include "tests/common/ProcedureWindow.h"

namespace {

std::map<HWND, int> g_requests;

LRESULT CALLBACK Recorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DRAWITEM) ++g_requests[window];
  return DefWindowProcW(window, message, wParam, lParam);
}

// Stands in for the main window: its procedure gives WM_DRAWITEM to the
// main window's handler.
LRESULT CALLBACK Parent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DRAWITEM)
    return WndProcMessages::GetInstance().WM_DrawItem(window, wParam, lParam);
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Request(HWND parent, HWND item) {
  DRAWITEMSTRUCT record{};
  record.CtlType = ODT_BUTTON;
  record.hwndItem = item;
  return SendMessageW(parent, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&record));
}

}  // namespace

TEST(WndProcMessagesTest, DrawRequestsReachOnlyOwnChildrenAndOnlyFromThisThread) {
  const ProcedureWindow main(L"KfoDrawParent", Parent);
  const ProcedureWindow ownChild(L"KfoDrawRecorder", Recorder, WS_CHILD, main.Get());
  const ProcedureWindow other(L"KfoDrawRecorder", Recorder);
  HWND parent = main.Get(), child = ownChild.Get(), stranger = other.Get();

  EXPECT_EQ(Request(parent, child), 1);
  EXPECT_EQ(g_requests[child], 1);
  Request(parent, stranger);
  Request(parent, parent);
  EXPECT_EQ(g_requests[stranger], 0);

  std::atomic<bool> done{false};
  std::thread sender([&] {
    Request(parent, child);
    done = true;
  });
  EXPECT_TRUE(PumpUntil([&] { return done.load(); }));
  sender.join();
  EXPECT_EQ(g_requests[child], 1);
}
