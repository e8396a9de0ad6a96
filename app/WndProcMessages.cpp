#include "app/WndProcMessages.h"

#include <windowsx.h>
#include <wtsapi32.h>

#include "app/Clipboard.h"
#include "app/Editor.h"
#include "app/MainWindowLayout.h"
#include "app/SessionLockWatch.h"
#include "dialogbase/DialogTemplates.h"
#include "storage/FlashDriveFolders.h"
#include "support/DebugLog.h"
#include "support/ResourceIds.h"
#include "ui/FontManager.h"
#include "ui/ForeignNotify.h"
#include "ui/HandleForLog.h"
#include "ui/HotLinkText.h"
#include "ui/ProcedureGuard.h"

namespace {

// The fixed size leaves nothing to size, maximise or restore; the table ends
// with 0.
const UINT kRemovedSystemCommands[] = {SC_SIZE, SC_MAXIMIZE, SC_RESTORE, 0};

LRESULT ColourControl(WPARAM wParam) {
  HDC hdc = reinterpret_cast<HDC>(wParam);
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, RGB(0, 0, 0));
  SelectObject(hdc, GetStockObject(DC_BRUSH));
  SetDCBrushColor(hdc, GetSysColor(COLOR_BTNFACE));
  return 0;
}

}  // namespace

WndProcMessages& WndProcMessages::GetInstance() {
  static WndProcMessages instance;
  return instance;
}

LRESULT WndProcMessages::WM_Command(HWND hWnd, WPARAM wParam, LPARAM lParam) {
  return m_WMCommandMsg.Dispatch(hWnd, reinterpret_cast<HWND>(lParam), LOWORD(wParam),
                                 HIWORD(wParam));
}

LRESULT WndProcMessages::WM_Create(HWND hWnd, WPARAM, LPARAM lParam) {
  DebugLog(L"WndProcMessages::WM_Create  hWnd %x", HandleForLog(hWnd));
  const std::wstring dataFolder = FlashDriveFolders::ProgramDirWithDataFolder();
  DebugLog(L"xxxgetFlashDriveFolders.ProgramDirWithDataFolder: %s", dataFolder.c_str());
  Editor::GetInstance().SetDatabaseFolder(dataFolder);
  const CREATESTRUCTW* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
  RegisterHotLinkClass(create->hInstance, IDC_HAND_CURSOR_NAME, 0);
  HMENU systemMenu = GetSystemMenu(hWnd, FALSE);
  for (const UINT* command = kRemovedSystemCommands; *command; ++command)
    RemoveMenu(systemMenu, *command, MF_BYCOMMAND);
  const DpiScale scale = DpiScale::OfWindow(hWnd);
  Editor::GetInstance().Layout().SetDpi(scale.Dpi());
  FontManager::GetInstance().CreateFonts(hWnd, scale.Dpi());
  SetWindowIcons(hWnd, scale);
  InitDialogTemplates();
  return 0;
}

// The window lets each icon go when it is given the next one.
void WndProcMessages::SetWindowIcons(HWND hWnd, DpiScale scale) {
  ProgramIcon smallIcon(LoadProgramIcon(scale.Pixels(16)));
  ProgramIcon largeIcon(LoadProgramIcon(scale.Pixels(32)));
  SendMessageW(hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
  SendMessageW(hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon.get()));
  m_SmallIcon = std::move(smallIcon);
  m_LargeIcon = std::move(largeIcon);
}

// The item window is whatever the sender wrote into the record. One that
// another process sends may name any window: the main window itself, which
// would send the message to itself until the stack ran out, or a window of
// another program. So the request goes on only to a child of this window,
// and only when this thread sent it, as an owner-drawn control of its own
// does; another process is all that another thread can be here.
LRESULT WndProcMessages::WM_DrawItem(HWND hWnd, WPARAM wParam, LPARAM lParam) {
  const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  if (InSendMessageEx(nullptr) != ISMEX_NOSEND || GetAncestor(item->hwndItem, GA_PARENT) != hWnd) {
    DebugLog(L"WndProcMessages::WM_DrawItem: not a request of this window's own controls");
    return DefWindowProcW(hWnd, WM_DRAWITEM, wParam, lParam);
  }
  SendMessageW(item->hwndItem, WM_DRAWITEM, wParam, lParam);
  return 1;
}

LRESULT WndProcMessages::WM_LButtonDown(HWND hWnd, WPARAM, LPARAM lParam) {
  DebugLog(L"WndProcMessages::WM_LButtonDown: x %u y %u", LOWORD(lParam), HIWORD(lParam));
  DebugLog(L"WndProcMessages::WM_LButtonDown: x %i y %i", GET_X_LPARAM(lParam),
           GET_Y_LPARAM(lParam));
  SetCapture(hWnd);
  return 0;
}

LRESULT WndProcMessages::WM_LButtonUp(HWND, WPARAM, LPARAM) {
  ReleaseCapture();
  return 0;
}

LRESULT WndProcMessages::WM_CtlColorStatic(HWND, WPARAM wParam, LPARAM) {
  return ColourControl(wParam);
}

LRESULT WndProcMessages::WM_Size(HWND, WPARAM, LPARAM) {
  return 0;
}

LRESULT WndProcMessages::WM_EndSession(HWND hWnd, WPARAM wParam, LPARAM) {
  if (wParam) Clipboard::GetInstance().ClearCopy(hWnd);
  return 0;
}

LRESULT WndProcMessages::WM_CtlColorEdit(HWND, WPARAM wParam, LPARAM) {
  return ColourControl(wParam);
}

LRESULT WndProcMessages::WM_InitMenuPopup(HWND, WPARAM wParam, LPARAM lParam) {
  return m_WMCommandMsg.WM_InitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam),
                                         HIWORD(lParam) != 0);
}

LRESULT WndProcMessages::WM_WtsSessionChange(HWND hWnd, WPARAM wParam, LPARAM) {
  if (wParam == WTS_SESSION_LOCK) m_Lock.Request(hWnd);
  return 0;
}

LRESULT WndProcMessages::WM_PowerBroadcast(HWND hWnd, WPARAM wParam, LPARAM) {
  if (wParam == PBT_APMSUSPEND) m_Lock.Request(hWnd);
  return TRUE;
}

LRESULT WndProcMessages::WM_Destroy(HWND hWnd, WPARAM wParam, LPARAM lParam) {
  StopWatchingSessionLock(hWnd);
  return WndProcMessagesBase::WM_Destroy(hWnd, wParam, lParam);
}

void WndProcMessages::RunIn(MessageLoop& loop) {
  m_Lock.CompleteIn(loop);
}

// Once the person is in: each lock before that finds the program locked and
// does nothing.
void WndProcMessages::WatchForLocks(HWND hWnd) {
  WatchSessionLock(hWnd);
  m_IdleWatch.Start(hWnd, [this, hWnd] { m_Lock.Request(hWnd); });
}

// The address is read only when it is this thread's (ui/ForeignNotify.h);
// otherwise the system scales the present size.
LRESULT WndProcMessages::WM_GetDpiScaledSize(HWND hWnd, WPARAM wParam, LPARAM lParam) {
  if (!MessageFromThisThread()) return FALSE;
  *reinterpret_cast<SIZE*>(lParam) = MainWindowLayout::WindowSize(hWnd, static_cast<UINT>(wParam));
  return TRUE;
}

// The DPI comes twice, across and down, and Windows gives the same for both.
// The layout takes the new DPI before the window its new size, which the
// size the window may have (WM_GETMINMAXINFO) follows. The rectangle is
// read only when it is this thread's (ui/ForeignNotify.h); otherwise the
// window keeps its place and takes its own size.
LRESULT WndProcMessages::WM_DpiChanged(HWND hWnd, WPARAM wParam, LPARAM lParam) {
  const DpiScale scale(LOWORD(wParam));
  Editor& editor = Editor::GetInstance();
  editor.Layout().SetDpi(scale.Dpi());
  FontManager::GetInstance().CreateFonts(hWnd, scale.Dpi());
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (MessageFromThisThread()) {
    const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(hWnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, flags);
  } else {
    const SIZE size = editor.Layout().WindowSize(hWnd);
    SetWindowPos(hWnd, nullptr, 0, 0, size.cx, size.cy, flags | SWP_NOMOVE);
  }
  editor.LayOut();
  SetWindowIcons(hWnd, scale);
  return 0;
}

namespace {

LRESULT Route(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WndProcMessages& messages = WndProcMessages::GetInstance();
  switch (message) {
    case WM_CREATE: return messages.WM_Create(hWnd, wParam, lParam);
    case WM_DESTROY: return messages.WM_Destroy(hWnd, wParam, lParam);
    case WM_SIZE: return messages.WM_Size(hWnd, wParam, lParam);
    case WM_SETFOCUS: return messages.WM_SetFocus(hWnd, wParam, lParam);
    case WM_PAINT: return messages.WM_Paint(hWnd, wParam, lParam);
    case WM_CLOSE: return messages.WM_Close(hWnd, wParam, lParam);
    case WM_QUERYENDSESSION: return messages.WM_QueryEndSession(hWnd, wParam, lParam);
    case WM_ENDSESSION: return messages.WM_EndSession(hWnd, wParam, lParam);
    case WM_GETMINMAXINFO: return messages.WM_GetMinMaxInfo(hWnd, wParam, lParam);
    case WM_DRAWITEM: return messages.WM_DrawItem(hWnd, wParam, lParam);
    case WM_NOTIFY: return messages.WM_Notify(hWnd, wParam, lParam);
    case WM_NCHITTEST: return messages.WM_NCHitTest(hWnd, wParam, lParam);
    case WM_COMMAND: return messages.WM_Command(hWnd, wParam, lParam);
    case WM_INITMENUPOPUP: return messages.WM_InitMenuPopup(hWnd, wParam, lParam);
    case WM_WTSSESSION_CHANGE: return messages.WM_WtsSessionChange(hWnd, wParam, lParam);
    case WM_POWERBROADCAST: return messages.WM_PowerBroadcast(hWnd, wParam, lParam);
    case WM_CTLCOLOREDIT: return messages.WM_CtlColorEdit(hWnd, wParam, lParam);
    case WM_CTLCOLORSTATIC: return messages.WM_CtlColorStatic(hWnd, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: return messages.WM_LButtonDown(hWnd, wParam, lParam);
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: return messages.WM_LButtonUp(hWnd, wParam, lParam);
    case WM_SIZING: return messages.WM_Sizing(hWnd, wParam, lParam);
    case kWmGetDpiScaledSize: return messages.WM_GetDpiScaledSize(hWnd, wParam, lParam);
    case WM_DPICHANGED: return messages.WM_DpiChanged(hWnd, wParam, lParam);
    default: return DefWindowProcW(hWnd, message, wParam, lParam);
  }
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return GuardProcedure(
      L"MainWndProc", message, [&] { return Route(hWnd, message, wParam, lParam); },
      [&]() -> LRESULT {
        if (message == WM_CREATE) return -1;
        return DefWindowProcW(hWnd, message, wParam, lParam);
      });
}
