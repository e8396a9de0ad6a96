// The program's start-up and exit, run as a process of its own from a folder
// that the test made: the program takes its folder from its own path, and
// its exit runs the static objects' destructors, which only a process that
// ends can show. Argument 1 names the case; the exit code is 0 when the
// case went as it should, and the lines on standard output say what did not.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/Editor.h"
#include "app/WindowInitialization.h"
#include "app/WndProcMessages.h"
#include "dialogbase/DialogTemplates.h"
#include "support/ResourceIds.h"
#include "tests/common/AllocationWatch.h"
#include "tests/common/DialogDriver.h"
#include "tests/common/MessageBoxAnswerer.h"
#include "tests/common/TempFolder.h"
#include "tests/storage/VaultBytes.h"

namespace {

int g_failures = 0;

void Expect(bool condition, const char* what) {
  if (condition) return;
  std::printf("failed: %s\n", what);
  ++g_failures;
}

// Only this process's: other tests run their own copies of the program on
// the same desktop meanwhile.
HWND MainWindow() {
  for (HWND window = nullptr;
       (window = FindWindowExW(nullptr, window, WindowInitialization::ms_szWindowClass, nullptr));) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) return window;
  }
  return nullptr;
}

// Refuses every edit control, as a system out of resources would.
LRESULT CALLBACK RefuseEdits(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    wchar_t name[64] = {};
    GetClassNameW(reinterpret_cast<HWND>(wParam), name, 64);
    if (std::wstring(name).find(L"Edit") != std::wstring::npos) return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

MessageLoop* Start() {
  return WindowInitialization::GetInstance().Initialize(GetCommandLineW(),
                                                        GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE);
}

void EditWindowsFail() {
  HHOOK hook = SetWindowsHookExW(WH_CBT, RefuseEdits, nullptr, GetCurrentThreadId());
  MessageBoxAnswerer answerer;
  Expect(Start() == nullptr, "Initialize gives no loop");
  UnhookWindowsHookEx(hook);
  for (const MessageBoxAnswerer::Box& box : answerer.Boxes())
    std::printf("box: %ls: %ls\n", box.caption.c_str(), box.text.c_str());
  Expect(answerer.Boxes().size() == 1, "one message");
  if (!answerer.Boxes().empty()) {
    Expect(answerer.Boxes()[0].text ==
               L"The program was unable to create the edit windows.\nThe program will exit.",
           "the edit windows message");
    Expect(answerer.Boxes()[0].caption == L"Keyfolio", "its caption");
  }
  Expect(MainWindow() == nullptr, "no main window is left");
}

// The program ends while its main window and the bound fields still live:
// the static objects take them down, in an order that reaches nothing gone.
void ExitWithWindows() {
  Expect(Start() != nullptr, "Initialize gives a loop");
  Expect(IsWindow(MainWindow()) != FALSE, "the main window is there");
}

// The start-up question cancelled, as a person who closes it: the loop ends
// with 0 once the main window is gone.
void ExitAfterCancel() {
  MessageLoop* loop = Start();
  Expect(loop != nullptr, "Initialize gives a loop");
  if (!loop) return;
  MessageBoxAnswerer answerer(IDCANCEL, MessageBoxAnswerer::BoxesAndDialogs);
  Expect(loop->run() == 0, "the loop ends with 0");
  Expect(MainWindow() == nullptr, "the main window is gone");
}

void PutVault(const Bytes& bytes) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  folder = folder.substr(0, folder.rfind(L'\\') + 1) + L"KFOdata";
  CreateDirectoryW(folder.c_str(), nullptr);
  WriteBytes(folder + L"\\KFO.dta", bytes);
}

// A damaged vault beside the program: the start-up check then has a message
// to make, which needs memory.
void PutDamagedVault() {
  PutVault({1, 2, 3});
}

// Let in, and then no input for the (shortened) idle time: the question
// comes again over an emptied window, and Cancel there ends the program.
void LockWhenIdle() {
  PutVault(Vault(L"idle pw", 0, 1, {{L"Bank", L"me", L"bank pw", L"", L"", L"", L"", 1}}));
  WndProcMessages::GetInstance().SetIdleLimit(300);
  MessageLoop* loop = Start();
  Expect(loop != nullptr, "Initialize gives a loop");
  if (!loop) return;
  const auto answer = [](HWND question, const wchar_t* password, int button) {
    SetDlgItemTextW(question, IDC_PASSWORD_ENTRY, password);
    PostMessageW(question, WM_COMMAND, button, 0);
  };
  DialogDriver enter([&](HWND question) { answer(question, L"idle pw", IDOK); });
  bool emptied = false;
  DialogDriver again([&](HWND question) {
    Editor& editor = Editor::GetInstance();
    emptied = SendMessageW(editor.GetSiteList(), CB_GETCOUNT, 0, 0) == 0 &&
              GetWindowTextLengthW(editor.GetEditField(Editor::FIELD_UserName)) == 0;
    answer(question, L"", IDCANCEL);
  });
  Expect(loop->run() == 0, "the loop ends with 0");
  Expect(again.ActionRan(), "the question came again once the session was idle");
  Expect(emptied, "the window was emptied");
}

// A handler that fails (here: out of memory) is stopped at the procedure.
void GuardedProcedure() {
  PutDamagedVault();
  Expect(Start() != nullptr, "Initialize gives a loop");
  try {
    AllocationWatch::FailNextAllocation();
    Expect(MainWndProc(MainWindow(), WM_COMMAND, ID_Intro_Dialog, 0) == 0,
           "the command answers 0");
    AllocationWatch::FailNextAllocation();
    Expect(MainWndProc(MainWindow(), WM_CREATE, 0, 0) == -1, "a failed creation answers -1");
  } catch (...) {
    Expect(false, "no exception leaves MainWndProc");
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring which = argc > 1 ? argv[1] : L"";
  if (which == L"edit-windows-fail") {
    EditWindowsFail();
  } else if (which == L"exit-with-windows") {
    ExitWithWindows();
  } else if (which == L"exit-after-cancel") {
    ExitAfterCancel();
  } else if (which == L"guarded-procedure") {
    GuardedProcedure();
  } else if (which == L"lock-when-idle") {
    LockWhenIdle();
  } else {
    Expect(false, "a known case");
  }
  std::fflush(stdout);
  return g_failures;
}
