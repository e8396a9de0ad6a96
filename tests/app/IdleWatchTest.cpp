// The idle watch counts the session's input as Windows does, whichever
// window it went to: with the limit shortened, it runs once the session has
// been without keyboard or mouse input for that long, and input keeps
// putting it off. The input is the test's own, fed to the system as the
// mouse driver feeds it.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "app/IdleWatch.h"
#include "tests/common/MessagePump.h"
#include "tests/common/ProcedureWindow.h"

namespace {

// Long enough that a loaded machine, which may hold this thread back for a
// moment, does not let the limit pass between two inputs.
constexpr DWORD kLimitMs = 2000;
constexpr UINT kInputEveryMs = 100;
constexpr UINT_PTR kInputTimer = 1;

DWORD IdleNow() {
  LASTINPUTINFO input = {sizeof input, 0};
  GetLastInputInfo(&input);
  return GetTickCount() - input.dwTime;
}

// A pointer move of one pixel, there and back in turn.
void CALLBACK MovePointer(HWND, UINT, UINT_PTR, DWORD) {
  static LONG step = 1;
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = step;
  input.mi.dwFlags = MOUSEEVENTF_MOVE;
  SendInput(1, &input, sizeof input);
  step = -step;
}

}  // namespace

TEST(IdleWatch, RunsOnlyOnceTheSessionWasWithoutInputForTheLimit) {
  const ProcedureWindow window(L"KfoIdleWatch", DefWindowProcW);
  IdleWatch watch;
  watch.SetIdleLimit(kLimitMs);
  std::vector<DWORD> idleWhenRun;
  watch.Start(window.Get(), [&] { idleWhenRun.push_back(IdleNow()); });

  // Input keeps coming for three limits: the watch waits.
  ASSERT_NE(SetTimer(window.Get(), kInputTimer, kInputEveryMs, MovePointer), 0u);
  const ULONGLONG start = GetTickCount64();
  PumpUntil([&] { return GetTickCount64() - start >= 3 * kLimitMs; }, 4 * kLimitMs);
  KillTimer(window.Get(), kInputTimer);
  EXPECT_TRUE(idleWhenRun.empty()) << "ran while input came, " << idleWhenRun[0] << " ms idle";

  // Then none: it runs, once the limit has passed since the last input.
  ASSERT_TRUE(PumpUntil([&] { return !idleWhenRun.empty(); }));
  EXPECT_GE(idleWhenRun[0], kLimitMs);
  // And again only after a further limit without input.
  const ULONGLONG first = GetTickCount64();
  ASSERT_TRUE(PumpUntil([&] { return idleWhenRun.size() == 2; }));
  EXPECT_GE(GetTickCount64() - first + 50, kLimitMs);
}
