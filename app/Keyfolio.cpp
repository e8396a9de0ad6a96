// The program's entry: one copy per session, then the main window and its
// message loop until the window is closed.
#include <windows.h>
#include <commctrl.h>

#include "app/Clipboard.h"
#include "app/SingleInstanceGuard.h"
#include "app/WindowInitialization.h"
#include "support/DebugLog.h"
#include "support/SystemLibrary.h"

namespace {

const wchar_t kInstanceSuffix[] = L"S-5B2C7E14-9A3D-4c8e-B1F0-6D27A94E03C8";

// Made before the entry function and destroyed after it; its mutex marks the
// first copy for as long as the process lives.
SingleInstanceGuard g_SingleInstanceGuard;

// The manifest asks for common controls 6; the system's copy of them is
// taken from the side-by-side store. Without them the standard controls
// still work, only without visual styles.
void InitCommonControlsFromSystem() {
  const auto init = SystemLibrary::Function<decltype(&InitCommonControlsEx)>(
      L"comctl32.dll", "InitCommonControlsEx");
  const INITCOMMONCONTROLSEX classes = {sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
  if (!init || !init(&classes)) DebugLog(L"wWinMain: common controls not initialised");
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showState) {
  // Before anything loads a DLL by name.
  SystemLibrary::RestrictSearchToSystemFolder();
  if (!g_SingleInstanceGuard.Check(WindowInitialization::ms_szWindowClass, kInstanceSuffix))
    return 0;
  InitCommonControlsFromSystem();
  WindowInitialization& application = WindowInitialization::GetInstance();
  MessageLoop* loop = application.Initialize(commandLine, instance, showState);
  PublishMainWindowHandle(application.GetHWnd());
  if (!loop) return 0;
  const int exitCode = loop->run();
  // A password copied a moment ago does not outlive the program.
  Clipboard::GetInstance().ClearCopy(nullptr);
  return exitCode;
}
