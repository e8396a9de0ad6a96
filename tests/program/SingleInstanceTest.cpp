// One copy per session: a second start brings the running copy forward and
// ends, whatever another process wrote into the slot the copies share; two
// starts at once leave one copy; a start that finds no copy to bring forward
// says that the program runs.
#include <gtest/gtest.h>

#include <cstring>

#include "support/ScopedHandle.h"
#include "tests/common/LoadedModule.h"
#include "tests/program/Desktop.h"
#include "tests/program/ProgramTest.h"

namespace {

using SingleInstanceTest = ProgramTest;

// A window of another program, in front of the running copy when the
// second start comes.
class OtherProgramWindow {
 public:
  OtherProgramWindow()
      : m_window(CreateWindowExW(0, L"STATIC", L"Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 20, 20, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr),
                                 nullptr)) {
    BringToFront(m_window);
  }
  OtherProgramWindow(const OtherProgramWindow&) = delete;
  OtherProgramWindow& operator=(const OtherProgramWindow&) = delete;
  ~OtherProgramWindow() { DestroyWindow(m_window); }

 private:
  HWND m_window;
};

// Main windows of the program on the whole desktop, whichever copy made them.
int MainWindowsOnTheDesktop() {
  int count = 0;
  for (HWND window = nullptr;
       (window = FindWindowExW(nullptr, window, Keyfolio::kMainClass, nullptr)) != nullptr;)
    ++count;
  return count;
}

void StartASecondCopy(const FlashDrive& drive) {
  ProgramProcess second(drive.ProgramPath());
  ASSERT_TRUE(second.WaitForExit(kStepTimeoutMs));
  EXPECT_EQ(second.ExitCode(), 0u);
}

// The program file mapped into the test's process, as any program may map
// it: the slot in its shared section is then the one the copies share.
class MappedProgramFile {
 public:
  explicit MappedProgramFile(const std::wstring& path)
      : m_module(path, DONT_RESOLVE_DLL_REFERENCES) {}

  // Null when the file did not map or has no ".shr" section.
  LONG* SharedSlot() const {
    if (!m_module.Get()) return nullptr;
    BYTE* base = reinterpret_cast<BYTE*>(m_module.Get());
    auto* headers = reinterpret_cast<IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(headers);
    for (WORD index = 0; index < headers->FileHeader.NumberOfSections; ++index, ++section)
      if (std::memcmp(section->Name, ".shr\0\0\0\0", IMAGE_SIZEOF_SHORT_NAME) == 0)
        return reinterpret_cast<LONG*>(base + section->VirtualAddress);
    return nullptr;
  }

 private:
  LoadedModule m_module;
};

// A window of the test's own under the program's class name and title: a
// program that passes itself off as Keyfolio, to ask for the master password
// say.
class ForgedMainWindow {
 public:
  ForgedMainWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = Keyfolio::kMainClass;
    RegisterClassW(&windowClass);
    m_window = CreateWindowExW(0, Keyfolio::kMainClass, L"Keyfolio for Flash Drives",
                               WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  }
  ForgedMainWindow(const ForgedMainWindow&) = delete;
  ForgedMainWindow& operator=(const ForgedMainWindow&) = delete;
  ~ForgedMainWindow() { DestroyWindow(m_window); }

  HWND Get() const { return m_window; }

 private:
  HWND m_window;
};

constexpr wchar_t kInstanceMark[] = L"KeyfolioFlashClassS-5B2C7E14-9A3D-4c8e-B1F0-6D27A94E03C8";

TEST_F(SingleInstanceTest, SecondStartBringsTheRunningCopyToTheFront) {
  Keyfolio& program = StartWithSites({StoredSite(L"Bank", 1)});
  HWND main = program.MainWindow();
  {
    OtherProgramWindow other;
    StartASecondCopy(m_drive);
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == main; }));
  }
  EXPECT_EQ(MainWindowsOnTheDesktop(), 1);
  EXPECT_EQ(program.Titles(), std::vector<std::wstring>{L"Bank"});
}

TEST_F(SingleInstanceTest, SecondStartRestoresAMinimisedCopy) {
  Keyfolio& program = StartWithSites({StoredSite(L"Bank", 1)});
  HWND main = program.MainWindow();
  program.Minimize();
  StartASecondCopy(m_drive);
  EXPECT_TRUE(WaitFor([&] { return !IsIconic(main) && GetForegroundWindow() == main; }));
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_EQ(MainWindowsOnTheDesktop(), 1);
}

// Enabling the main window under the master password dialog would let the
// sites be reached past the password.
TEST_F(SingleInstanceTest, SecondStartDuringThePasswordCheckBringsTheCheckForward) {
  m_drive.PutVault(Vault(kPassword, 0, 1, {StoredSite(L"Bank", 1)}));
  Keyfolio& program = Start();
  HWND check = program.WaitForDialog(L"Keyfolio");
  {
    OtherProgramWindow other;
    StartASecondCopy(m_drive);
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == check; }));
  }
  EXPECT_FALSE(IsWindowEnabled(program.MainWindow()));
  EXPECT_TRUE(program.Titles().empty());
  program.LogIn(kPassword);
  EXPECT_EQ(program.Titles(), std::vector<std::wstring>{L"Bank"});
}

// Any program may make a window owned by the running copy's main window, a
// question that passes itself off as Keyfolio's, and make it the last one
// active over it: the second start brings forward only the copy's own.
TEST_F(SingleInstanceTest, SecondStartBringsForwardNoPopupOfAnotherProgram) {
  Keyfolio& program = StartWithSites({StoredSite(L"Bank", 1)});
  HWND main = program.MainWindow();
  HWND popup = CreateWindowExW(0, L"STATIC", L"Keyfolio", WS_POPUP | WS_CAPTION | WS_VISIBLE, 60,
                               60, 300, 120, main, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(popup, nullptr);
  BringToFront(popup);
  ASSERT_EQ(GetLastActivePopup(main), popup);
  {
    OtherProgramWindow other;
    StartASecondCopy(m_drive);
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == main; }))
        << (GetForegroundWindow() == popup ? "the other program's popup came forward"
                                           : "the running copy did not come forward");
  }
  DestroyWindow(popup);
}

// The later start waits for the first copy's window: had it told that the
// program runs, its box would keep it from ending.
TEST_F(SingleInstanceTest, TwoStartsAtOnceLeaveOneCopy) {
  m_drive.PutVault(Vault(kPassword, 0, 1, {StoredSite(L"Bank", 1)}));
  ProgramProcess first(m_drive.ProgramPath()), second(m_drive.ProgramPath());
  ASSERT_TRUE(WaitFor([&] { return !first.Running() || !second.Running(); }));
  ProgramProcess& ended = first.Running() ? second : first;
  ProgramProcess& running = first.Running() ? first : second;
  EXPECT_EQ(ended.ExitCode(), 0u);
  // The copy that runs goes on to its password check.
  EXPECT_TRUE(WaitFor([&] { return running.Windows(L"#32770").size() == 1; }));
  EXPECT_TRUE(running.Running());
  EXPECT_EQ(MainWindowsOnTheDesktop(), 1);
}

// What the slot may hold other than the running copy's main window: any
// process that maps the program file can write into it.
struct SlotCase {
  const char* name;
  LONG (*value)(HWND main, HWND forged);
};

void PrintTo(const SlotCase& slot, std::ostream* out) {
  *out << slot.name;
}

class SlotNotTheMainWindow : public SingleInstanceTest,
                             public ::testing::WithParamInterface<SlotCase> {};

TEST_P(SlotNotTheMainWindow, SecondStartBringsTheRunningCopyForward) {
  Keyfolio& program = StartWithSites({StoredSite(L"Bank", 1)});
  HWND main = program.MainWindow();
  ForgedMainWindow forged;
  ASSERT_NE(forged.Get(), nullptr);
  MappedProgramFile file(m_drive.ProgramPath());
  LONG* slot = file.SharedSlot();
  ASSERT_NE(slot, nullptr) << "the program file did not map, or has no shared section";
  // The mapping reaches the running copy's own slot.
  ASSERT_EQ(InterlockedCompareExchange(slot, 0, 0), HandleToLong(main));
  InterlockedExchange(slot, GetParam().value(main, forged.Get()));
  {
    OtherProgramWindow other;
    StartASecondCopy(m_drive);
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == main; }))
        << (GetForegroundWindow() == forged.Get() ? "the forged window came forward"
                                                  : "the running copy did not come forward");
  }
  EXPECT_EQ(program.Titles(), std::vector<std::wstring>{L"Bank"});
}

INSTANTIATE_TEST_SUITE_P(
    Slots, SlotNotTheMainWindow,
    ::testing::Values(
        // Another program's window under the program's class name.
        SlotCase{"ForgedWindow", [](HWND, HWND forged) { return HandleToLong(forged); }},
        // The copy's own window, but not its main window.
        SlotCase{"ChildOfTheCopy",
                 [](HWND main, HWND) { return HandleToLong(GetWindow(main, GW_CHILD)); }},
        // As the slot reads before the first copy published its window.
        SlotCase{"Zero", [](HWND, HWND) { return 0L; }}),
    [](const ::testing::TestParamInfo<SlotCase>& info) { return info.param.name; });

// The mark of a running copy, made by the test alone: no copy runs, so
// there is no window to bring forward, and a start that ended without a
// word would leave the person wondering why nothing opened.
TEST_F(SingleInstanceTest, AStartWithNoCopyToBringForwardSaysThatTheProgramRuns) {
  ScopedHandle mark(CreateMutexW(nullptr, FALSE, kInstanceMark));
  ASSERT_TRUE(mark.IsValid());
  ProgramProcess start(m_drive.ProgramPath());
  const MessageBoxView box = Keyfolio::WaitForMessageBox(start);
  EXPECT_EQ(Says(box), (BoxSays{L"Keyfolio for Flash Drives",
                                L"Keyfolio for Flash Drives is already running.", {L"OK"}}));
  EXPECT_TRUE(start.Windows(Keyfolio::kMainClass, false).empty());
  Keyfolio::Answer(box, L"OK");
  ASSERT_TRUE(start.WaitForExit(kStepTimeoutMs));
  EXPECT_EQ(start.ExitCode(), 0u);
  // It went no further: no data folder was made.
  EXPECT_EQ(GetFileAttributesW(m_drive.DataFolder().c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
