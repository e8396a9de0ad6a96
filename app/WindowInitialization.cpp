#include "app/WindowInitialization.h"

#include "app/Editor.h"
#include "app/WndProcMessages.h"
#include "storage/FlashDriveFolders.h"
#include "support/ArgumentList.h"
#include "support/DebugLog.h"
#include "support/ResourceIds.h"
#include "support/RunningProgram.h"
#include "support/UserMessages.h"
#include "ui/ForeignNotify.h"
#include "ui/HandleForLog.h"

const wchar_t WindowInitialization::ms_szWindowClass[] = L"KeyfolioFlashClass";
const wchar_t WindowInitialization::ms_szTitle[] = L"Keyfolio for Flash Drives";

namespace {

// WS_OVERLAPPEDWINDOW without the maximise box: the window has one size.
constexpr DWORD kMainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                                   WS_MINIMIZEBOX;

HICON LoadProgramIcon(HINSTANCE instance, int size) {
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_KEYFOLIO), IMAGE_ICON, size,
                                       size, LR_CREATEDIBSECTION));
}

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
  m_hWnd = CreateWindowExW(0, ms_szWindowClass, ms_szTitle, kMainWindowStyle, CW_USEDEFAULT, 0,
                           ms_Width, ms_Height, nullptr, nullptr, instance, nullptr);
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
  // The start-up check is the loop's first message. It is armed and posted
  // only now: a message box shown while the window is built (a write-back
  // that fails on a read-only drive, a title found twice in the vault) runs
  // a loop of its own, which would run a check, posted by anyone, before the
  // vault's password is in force. The check would then offer to create a
  // new password: a way past the old one to the sites.
  WndProcMessages::GetInstance().ArmStartupCheck();
  PostMessageW(m_hWnd, WM_COMMAND, ID_Intro_Dialog, 0);
  m_MessageLoop = std::make_unique<MessageLoop>(m_hWnd);
  return m_MessageLoop.get();
}

bool WindowInitialization::RegisterMainWindowClass() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = MainWndProc;
  windowClass.hInstance = m_hInstance;
  windowClass.hIcon = LoadProgramIcon(m_hInstance, 32);
  windowClass.hIconSm = LoadProgramIcon(m_hInstance, 16);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_MENU + 1));
  windowClass.lpszMenuName = MAKEINTRESOURCEW(IDC_KEYFOLIO);
  windowClass.lpszClassName = ms_szWindowClass;
  return RegisterClassExW(&windowClass) != 0;
}

void WindowInitialization::CenterOnDesktop() {
  RECT window{}, desktop{};
  GetWindowRect(m_hWnd, &window);
  GetWindowRect(GetDesktopWindow(), &desktop);
  const int x = (desktop.right - (window.right - window.left)) / 2;
  const int y = (desktop.bottom - (window.bottom - window.top)) / 2;
  MoveWindow(m_hWnd, x, y, ms_Width, ms_Height, TRUE);
}
