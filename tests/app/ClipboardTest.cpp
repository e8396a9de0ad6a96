// A copy waits a moment for another program that has the clipboard open, and
// leaves the clipboard again when its time is up, unless something else was
// copied since; its text is wiped before the clipboard lets it go, and a
// clearing that fails goes no further than its timer.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "app/Clipboard.h"
#include "tests/common/ProcedureWindow.h"
#include "tests/program/ClipboardContents.h"
#include "tests/program/Desktop.h"
#include "tests/ui/TestWindows.h"

namespace {

// Another thread has the clipboard open, as another program would, until
// the test lets it go. The clipboard is open to one thread at a time.
class ClipboardHolder {
 public:
  ClipboardHolder() {
    m_thread = std::thread([this] {
      m_opened = OpenClipboard(nullptr) != FALSE;
      SetEvent(m_held.Get());
      WaitForSingleObject(m_letGo.Get(), INFINITE);
      if (m_opened) CloseClipboard();
    });
    WaitForSingleObject(m_held.Get(), INFINITE);
  }
  ClipboardHolder(const ClipboardHolder&) = delete;
  ClipboardHolder& operator=(const ClipboardHolder&) = delete;
  ~ClipboardHolder() { LetGo(); }

  bool Opened() const { return m_opened; }
  // Returns once the clipboard is closed again.
  void LetGo() {
    if (!m_thread.joinable()) return;
    SetEvent(m_letGo.Get());
    m_thread.join();
  }

 private:
  class Event {
   public:
    Event() : m_event(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;
    ~Event() { CloseHandle(m_event); }
    HANDLE Get() const { return m_event; }

   private:
    HANDLE m_event;
  };

  Event m_held, m_letGo;
  bool m_opened = false;
  std::thread m_thread;
};

const std::wstring kSecret = L"s3cret pw";

bool Copy(HWND owner) {
  return Clipboard::GetInstance().CopyText(owner, kSecret.c_str(), kSecret.size());
}

TEST(ClipboardTest, ACopyWaitsForAnotherProgramToLetTheClipboardGo) {
  TestParent owner;
  PutClipboardText(L"before");
  int pauses = 0;
  {
    ClipboardHolder holder;
    ASSERT_TRUE(holder.Opened());
    Clipboard::GetInstance().SetOpenPause([&] {
      if (++pauses == 3) holder.LetGo();
    });
    EXPECT_TRUE(Copy(owner.Get()));
  }
  EXPECT_EQ(pauses, 3) << "the first attempts met the held clipboard";
  EXPECT_EQ(ClipboardText(), std::optional<std::wstring>(kSecret));
}

TEST(ClipboardTest, ACopyGivesUpWhenTheClipboardStaysHeld) {
  TestParent owner;
  PutClipboardText(L"before");
  int pauses = 0;
  {
    ClipboardHolder holder;
    ASSERT_TRUE(holder.Opened());
    Clipboard::GetInstance().SetOpenPause([&] { ++pauses; });
    EXPECT_FALSE(Copy(owner.Get()));
  }
  EXPECT_EQ(pauses, Clipboard::kOpenAttempts - 1);
  EXPECT_EQ(ClipboardText(), std::optional<std::wstring>(L"before"));
}

struct Clearing {
  const char* name;
  // What another program copies after the password, if anything.
  const wchar_t* copiedSince;
};

void PrintTo(const Clearing& clearing, std::ostream* out) {
  *out << clearing.name;
}

class ClipboardClearing : public ::testing::TestWithParam<Clearing> {};

// The timer is the owner window's; the test's thread pumps its messages.
TEST_P(ClipboardClearing, WhenTheTimeIsUp) {
  TestParent owner;
  Clipboard& clipboard = Clipboard::GetInstance();
  clipboard.SetClearDelay(50);
  ASSERT_TRUE(Copy(owner.Get()));
  ASSERT_TRUE(clipboard.HoldsCopy());
  if (GetParam().copiedSince) PutClipboardText(GetParam().copiedSince);
  ASSERT_TRUE(WaitFor([&] { return !clipboard.HoldsCopy(); }));
  const std::optional<std::wstring> left = ClipboardText();
  if (GetParam().copiedSince)
    EXPECT_EQ(left, std::optional<std::wstring>(GetParam().copiedSince));
  else
    EXPECT_EQ(left, std::nullopt);
}

// EmptyClipboard tells the clipboard's owner before the system lets the
// copy go (WM_DESTROYCLIPBOARD): this owner reads the copy's block then.
std::vector<wchar_t> g_blockAtEmpty;

LRESULT CALLBACK ClipboardOwner(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROYCLIPBOARD) {
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (const auto* text = static_cast<const wchar_t*>(data ? GlobalLock(data) : nullptr)) {
      g_blockAtEmpty.assign(text, text + GlobalSize(data) / sizeof(wchar_t));
      GlobalUnlock(data);
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST(ClipboardTest, TheCopysTextIsWipedBeforeTheClipboardLetsItGo) {
  const ProcedureWindow owner(L"KfoClipboardOwner", ClipboardOwner);
  ASSERT_TRUE(Copy(owner.Get()));
  Clipboard::GetInstance().ClearCopy(owner.Get());
  EXPECT_EQ(ClipboardText(), std::nullopt);
  const std::vector<wchar_t>& block = g_blockAtEmpty;
  ASSERT_GE(block.size(), kSecret.size());
  EXPECT_TRUE(std::all_of(block.begin(), block.end(), [](wchar_t unit) { return unit == 0; }))
      << testing::PrintToString(std::wstring(block.begin(), block.end()));
}

// DispatchMessageW calls a timer's callback itself, past every window
// procedure; here the test calls it as DispatchMessageW would, and so sees
// what leaves it.
TEST(ClipboardTest, AClearingThatFailsStopsAtItsTimerAndIsTriedAgain) {
  TestParent owner;
  Clipboard& clipboard = Clipboard::GetInstance();
  clipboard.SetClearDelay(50);
  ASSERT_TRUE(Copy(owner.Get()));
  {
    ClipboardHolder holder;
    ASSERT_TRUE(holder.Opened());
    clipboard.SetOpenPause([] { throw std::runtime_error("no pause"); });
    // Not pumped: a pump would dispatch the tick itself.
    MSG tick{};
    const ULONGLONG deadline = GetTickCount64() + kStepTimeoutMs;
    while (!PeekMessageW(&tick, owner.Get(), WM_TIMER, WM_TIMER, PM_REMOVE)) {
      ASSERT_LT(GetTickCount64(), deadline) << "the time was up, but no tick came";
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_TIMER);
    }
    // The callback, as DispatchMessageW calls it (Wine hands out a handle
    // of its own in lParam, which only CallWindowProcW knows).
    ASSERT_NE(tick.lParam, 0);
    EXPECT_NO_THROW(CallWindowProcW(reinterpret_cast<WNDPROC>(tick.lParam), tick.hwnd,
                                    tick.message, tick.wParam, tick.time));
    clipboard.SetOpenPause([] {});
  }
  EXPECT_TRUE(WaitFor([&] { return !clipboard.HoldsCopy(); }));
  EXPECT_EQ(ClipboardText(), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Cases, ClipboardClearing,
                         ::testing::Values(Clearing{"TheCopyGoes", nullptr},
                                           Clearing{"ALaterCopyStays", L"copied later"}),
                         [](const ::testing::TestParamInfo<Clearing>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
