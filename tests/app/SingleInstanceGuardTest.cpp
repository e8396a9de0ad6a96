// Which window a later start takes for the first copy's, and what it does
// with it, in the test's own process: the test program runs from one file,
// so its own windows of the class stand for a copy of the program run from
// the same file. Forged slots and other processes are met from outside, in
// tests/program/SingleInstanceTest.cpp.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/RunningCopyWindow.h"
#include "app/SingleInstanceGuard.h"
#include "tests/common/MessageBoxAnswerer.h"

namespace {

constexpr wchar_t kSuffix[] = L"S-GuardTest";

// Test processes of this program run side by side from the same file: each
// has a class name of its own, and so a mutex name of its own.
const std::wstring& ClassName() {
  static const std::wstring name = L"KfoGuardTest" + std::to_wstring(GetCurrentProcessId());
  return name;
}

const wchar_t kOtherClass[] = L"KfoGuardTestOther";

void Register(const wchar_t* className) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = className;
  RegisterClassW(&windowClass);
}

class TestWindow {
 public:
  TestWindow(const wchar_t* className, DWORD style, HWND parent = nullptr) {
    Register(className);
    m_window = CreateWindowExW(0, className, L"Keyfolio for Flash Drives", style, 40, 40, 300, 200,
                               parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  ~TestWindow() {
    if (IsWindow(m_window)) DestroyWindow(m_window);
  }
  HWND Get() const { return m_window; }

 private:
  HWND m_window;
};

TEST(RunningCopyWindowTest, OnlyATopLevelWindowOfTheClassFromThisFileIsTheMainWindow) {
  const RunningCopyWindow copy(ClassName());
  EXPECT_EQ(copy.Find(), nullptr);

  TestWindow other(kOtherClass, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  // A window of the class that is not the main window: a child.
  TestWindow child(ClassName().c_str(), WS_CHILD | WS_VISIBLE, other.Get());
  // Still being made by a first copy that is starting: not shown yet.
  TestWindow main(ClassName().c_str(), WS_OVERLAPPEDWINDOW);
  TestWindow gone(ClassName().c_str(), WS_OVERLAPPEDWINDOW);
  HWND goneHandle = gone.Get();
  DestroyWindow(goneHandle);
  ASSERT_NE(child.Get(), nullptr);
  ASSERT_NE(main.Get(), nullptr);

  const struct {
    const char* what;
    HWND window;
    bool isMain;
  } cases[] = {
      {"top-level window of the class", main.Get(), true},
      {"window of another class", other.Get(), false},
      {"child window of the class", child.Get(), false},
      {"window that has gone", goneHandle, false},
      {"no window", nullptr, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(copy.IsMainWindow(c.window), c.isMain);
  }
  EXPECT_EQ(copy.Find(), main.Get());
}

class SingleInstanceGuardTest : public ::testing::Test {
 protected:
  // The mark of a first copy, as the first copy makes it.
  void SetUp() override { ASSERT_TRUE(m_first.Check(ClassName(), kSuffix)); }

  SingleInstanceGuard m_first;
  MessageBoxAnswerer m_answerer;
};

// Whatever the slot holds, the window that comes forward is the first
// copy's: minimised, it is restored; the window in the slot is left alone.
TEST_F(SingleInstanceGuardTest, ALaterStartRestoresTheFirstCopysWindowNotTheSlots) {
  TestWindow main(ClassName().c_str(), WS_OVERLAPPEDWINDOW);
  TestWindow other(kOtherClass, WS_OVERLAPPEDWINDOW);
  ShowWindow(main.Get(), SW_MINIMIZE);
  ShowWindow(other.Get(), SW_MINIMIZE);
  for (HWND slot : {other.Get(), static_cast<HWND>(nullptr), main.Get()}) {
    SCOPED_TRACE(slot == main.Get() ? "the main window" : slot ? "another window" : "nothing");
    ShowWindow(main.Get(), SW_MINIMIZE);
    PublishMainWindowHandle(slot);
    SingleInstanceGuard later;
    EXPECT_FALSE(later.Check(ClassName(), kSuffix));
    EXPECT_FALSE(IsIconic(main.Get()));
    EXPECT_TRUE(IsIconic(other.Get()));
  }
  EXPECT_TRUE(m_answerer.Boxes().empty());
}

TEST_F(SingleInstanceGuardTest, ALaterStartWithNoWindowToBringForwardSaysThatTheProgramRuns) {
  TestWindow other(kOtherClass, WS_OVERLAPPEDWINDOW);
  PublishMainWindowHandle(other.Get());
  SingleInstanceGuard later;
  const DWORD start = GetTickCount();
  EXPECT_FALSE(later.Check(ClassName(), kSuffix));
  const DWORD waited = GetTickCount() - start;
  ASSERT_EQ(m_answerer.Boxes().size(), 1u);
  const MessageBoxAnswerer::Box& box = m_answerer.Boxes()[0];
  EXPECT_EQ(box.caption, L"Keyfolio for Flash Drives");
  EXPECT_EQ(box.text, L"Keyfolio for Flash Drives is already running.");
  EXPECT_EQ(box.icon, LoadIconW(nullptr, IDI_INFORMATION));
  EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
  EXPECT_EQ(box.owner, nullptr);
  // It waited for a first copy still starting, and a few seconds at most.
  EXPECT_GE(waited, 1000u);
  EXPECT_LE(waited, 10000u);
}

}  // namespace
