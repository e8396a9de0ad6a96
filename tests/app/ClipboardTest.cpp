// A copy waits a moment for another program that has the clipboard open, and
// leaves the clipboard again when its time is up, unless something else was
// copied since.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>

#include "app/Clipboard.h"
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

INSTANTIATE_TEST_SUITE_P(Cases, ClipboardClearing,
                         ::testing::Values(Clearing{"TheCopyGoes", nullptr},
                                           Clearing{"ALaterCopyStays", L"copied later"}),
                         [](const ::testing::TestParamInfo<Clearing>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
