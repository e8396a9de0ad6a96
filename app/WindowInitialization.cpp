#include "app/WindowInitialization.h"

#include "app/Editor.h"
#include "app/MainWindowLayout.h"
#include "app/WndProcMessages.h"
#include "storage/FlashDriveFolders.h"
#include "support/ArgumentList.h"
#include "support/DebugLog.h"
#include "support/ResourceIds.h"
#include "support/RunningProgram.h"
#include "support/UserMessages.h"
#include "ui/DpiScale.h"
#include "ui/ForeignNotify.h"
#include "ui/HandleForLog.h"
#include "ui/ProgramIcon.h"

const wchar_t WindowInitialization::ms_szWindowClass[] = L"KeyfolioFlashClass";
const wchar_t WindowInitialization::ms_szTitle[] = L"Keyfolio for Flash Drives";

namespace {

// WS_OVERLAPPEDWINDOW without the maximise box: the window has one size.
constexpr DWORD kMainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                                   WS_MINIMIZEBOX;

}  // namespace

WindowInitialization& WindowInitialization::GetInstance() {
  static WindowInitialization instance;
  return instance;
}

// Taking the editor here makes it older than this object, so it outlives it.
WindowInitialization::WindowInitialization() : m_Editor(&Editor::GetInstance()) {}

WindowInitialization::~WindowInitialization() = default;

MessageLoop* WindowInitialization::Initialize(const wchar_t* commandLine, HINSTANCE instance,
                                              int showState) {
  {
    const ArgumentList arguments(commandLine);
    DebugLog(L"ArgumentList # %i ", arguments.Count());
    DebugLog(L"ArgumentList %s ", arguments.Argument(0) ? arguments.Argument(0) : L"");
  }
  FlashDriveFolders().SetFolders(RunningProgramFolder());
  m_hInstance = instance;
  m_PostedNotifyFilter = std::make_unique<PostedNotifyFilter>();
  if (!RegisterMainWindowClass()) return nullptr;
  // Made at its size at 96 DPI; it takes the size for its screen's DPI
  // once it exists and that DPI is known.
  m_hWnd = CreateWindowExW(0, ms_szWindowClass, ms_szTitle, kMainWindowStyle, CW_USEDEFAULT, 0,
                           MainWindowLayout::kWidth, MainWindowLayout::kHeight, nullptr, nullptr,
                           instance, nullptr);
  if (!m_hWnd) return nullptr;
  DebugLog(L"WindowInitialization::Initialize m_hWnd %i", HandleForLog(m_hWnd));
  ErrorMessageBox::SetOwner(m_hWnd);
  CenterOnDesktop();
  try {
    m_Editor->ConstructWindows(m_hWnd);
  } catch (...) {
    // The failing part has told the user. The half-built window goes, so
    // that nothing is left for the exit to tear down in the wrong order.
    DebugLog(L"WindowInitialization::Initialize: the main window could not be built");
    ErrorMessageBox::SetOwner(nullptr);
    DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
    return nullptr;
  }
  ShowWindow(m_hWnd, showState);
  UpdateWindow(m_hWnd);
  m_MessageLoop = std::make_unique<MessageLoop>(m_hWnd);
  WndProcMessages& window = WndProcMessages::GetInstance();
  window.RunIn(*m_MessageLoop);
  // The start-up check is the loop's first message. It is armed and posted
  // only now: a message box shown while the window is built (a write-back
  // that fails on a read-only drive, a title found twice in the vault) runs
  // a loop of its own, which would run a check, posted by anyone, before the
  // vault's password is in force. The check would then offer to create a
  // new password: a way past the old one to the sites.
  window.ArmStartupCheck();
  PostMessageW(m_hWnd, WM_COMMAND, ID_Intro_Dialog, 0);
  window.WatchForLocks(m_hWnd);
  return m_MessageLoop.get();
}

bool WindowInitialization::RegisterMainWindowClass() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = MainWndProc;
  windowClass.hInstance = m_hInstance;
  // The class's icons are made for the system's DPI; the window sets its
  // own for the DPI of its screen.
  const DpiScale system = DpiScale::OfWindow(nullptr);
  windowClass.hIcon = LoadProgramIcon(system.Pixels(32));
  windowClass.hIconSm = LoadProgramIcon(system.Pixels(16));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_MENU + 1));
  windowClass.lpszMenuName = MAKEINTRESOURCEW(IDC_KEYFOLIO);
  windowClass.lpszClassName = ms_szWindowClass;
  return RegisterClassExW(&windowClass) != 0;
}

// Centred with the size for its DPI, which may not be the size it has.
void WindowInitialization::CenterOnDesktop() {
  RECT desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  const SIZE size = m_Editor->Layout().WindowSize(m_hWnd);
  const int x = (desktop.right - size.cx) / 2;
  const int y = (desktop.bottom - size.cy) / 2;
  MoveWindow(m_hWnd, x, y, size.cx, size.cy, TRUE);
}
