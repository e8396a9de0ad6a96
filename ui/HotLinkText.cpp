#include "ui/HotLinkText.h"

#include <cwchar>
#include <string>

#include "support/WindowText.h"
#include "ui/ProcedureGuard.h"
#include "ui/ScopedGdi.h"
#include "ui/ShellOpen.h"

namespace {

// Fixed for the process when the class is registered.
bool g_buttonFace = false;

// The address that SetHotLinkAddress is sending, while it sends. Sent to a
// window of the same thread, the message goes straight to the procedure,
// and nothing else runs in between: an HL_SETURL that arrives at any other
// time, or with another address, came from elsewhere.
struct AddressBeingSent {
  bool sending = false;
  const wchar_t* address = nullptr;
};
AddressBeingSent g_addressBeingSent;

bool IsAddressBeingSent(WPARAM wParam) {
  return g_addressBeingSent.sending &&
         reinterpret_cast<const wchar_t*>(wParam) == g_addressBeingSent.address;
}

HotLinkBlock* BlockOf(HWND hWnd) {
  return reinterpret_cast<HotLinkBlock*>(GetWindowLongPtrW(hWnd, 0));
}

LRESULT OnCreate(HWND hWnd) {
  auto block = std::make_unique<HotLinkBlock>();
  SetWindowLongPtrW(hWnd, 0, reinterpret_cast<LONG_PTR>(block.release()));
  return 0;
}

// Takes the block out of the window before freeing it, so a second
// WM_DESTROY finds nothing to free.
void OnDestroy(HWND hWnd) {
  std::unique_ptr<HotLinkBlock> block(
      reinterpret_cast<HotLinkBlock*>(SetWindowLongPtrW(hWnd, 0, 0)));
}

// The new copy is complete before the old one goes: a copy that cannot be
// made leaves the link as it was.
void OnSetUrl(HWND hWnd, const wchar_t* address) {
  HotLinkBlock* block = BlockOf(hWnd);
  if (!block) return;
  std::unique_ptr<wchar_t[]> copy;
  if (address && *address) {
    const size_t length = wcslen(address);
    copy = std::make_unique<wchar_t[]>(length + 1);
    wmemcpy(copy.get(), address, length + 1);
  }
  block->address = std::move(copy);
}

void OnPaint(HWND hWnd) {
  PaintDC paint(hWnd);
  const std::wstring text = WindowText(hWnd);
  const HotLinkBlock* block = BlockOf(hWnd);
  const HGDIOBJ baseFont =
      block && block->font ? static_cast<HGDIOBJ>(block->font) : GetStockObject(SYSTEM_FONT);
  LOGFONTW logFont{};
  GetObjectW(baseFont, sizeof(logFont), &logFont);
  logFont.lfUnderline = TRUE;
  ScopedGdiObject underlined(CreateFontIndirectW(&logFont));
  // Declared after the font, so the old font is back in the context before
  // the underlined one is deleted.
  SelectedObject selected(paint.Get(), underlined.Get());
  SetBkColor(paint.Get(), g_buttonFace ? GetSysColor(COLOR_BTNFACE) : RGB(0xFF, 0xFF, 0xFF));
  SetBkMode(paint.Get(), OPAQUE);
  SetTextColor(paint.Get(), RGB(0x00, 0x00, 0xFF));
  // The whole window takes the text's background, not only the text's own
  // box: where the class brush (the menu colour) showed beside the text, the
  // link stood on a grey band in the white About box.
  RECT client{};
  GetClientRect(hWnd, &client);
  ExtTextOutW(paint.Get(), 0, 0, ETO_OPAQUE, &client, text.c_str(), static_cast<UINT>(text.size()),
              nullptr);
}

// A failure is told over the window that the link is part of (the About box),
// which the person clicked in.
void OnLButtonDown(HWND hWnd) {
  const HotLinkBlock* block = BlockOf(hWnd);
  if (!block) return;
  if (block->address) {
    OpenWithShell(GetAncestor(hWnd, GA_ROOT), block->address.get());
    return;
  }
  if (HWND parent = GetParent(hWnd))
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hWnd), HLN_CLICKED),
                 reinterpret_cast<LPARAM>(hWnd));
}

LRESULT Handle(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate(hWnd);
    case WM_DESTROY:
      OnDestroy(hWnd);
      return 0;
    case WM_PAINT:
      OnPaint(hWnd);
      return 0;
    case WM_SETFONT:
      if (HotLinkBlock* block = BlockOf(hWnd)) block->font = reinterpret_cast<HFONT>(wParam);
      if (lParam) InvalidateRect(hWnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: {
      const HotLinkBlock* block = BlockOf(hWnd);
      return reinterpret_cast<LRESULT>(block ? block->font : nullptr);
    }
    case WM_LBUTTONDOWN:
      OnLButtonDown(hWnd);
      return 0;
    case HL_SETURL:
      if (IsAddressBeingSent(wParam)) OnSetUrl(hWnd, reinterpret_cast<const wchar_t*>(wParam));
      return 0;
    default:
      return DefWindowProcW(hWnd, message, wParam, lParam);
  }
}

}  // namespace

ATOM RegisterHotLinkClass(HINSTANCE instance, const wchar_t* cursorName, int buttonFace) {
  const bool onButtonFace = buttonFace != 0;
  WNDCLASSW windowClass{};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = HotLinkWndProc;
  windowClass.cbWndExtra = sizeof(LONG_PTR);
  windowClass.hInstance = instance;
  // Shared: the cursor belongs to the module, not to this call, so a
  // registration that fails (the class exists already) leaves nothing to
  // free.
  windowClass.hCursor = static_cast<HCURSOR>(
      LoadImageW(instance, cursorName, IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  // Without the button face the class brush is the value 5, the menu colour
  // (COLOR_MENU + 1), as the program has always registered it.
  windowClass.hbrBackground =
      onButtonFace ? nullptr : reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_MENU + 1));
  windowClass.lpszClassName = kHotLinkClassName;
  const ATOM atom = RegisterClassW(&windowClass);
  // A refused registration leaves the links of the class registered before
  // painting as they did.
  if (atom) g_buttonFace = onButtonFace;
  return atom;
}

void SetHotLinkAddress(HWND link, const wchar_t* address) {
  g_addressBeingSent = {true, address};
  SendMessageW(link, HL_SETURL, reinterpret_cast<WPARAM>(address), 0);
  g_addressBeingSent = {};
}

LRESULT CALLBACK HotLinkWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return GuardProcedure(
      L"HotLinkWndProc", message, [&] { return Handle(hWnd, message, wParam, lParam); },
      [&]() -> LRESULT {
        if (message == WM_CREATE) return -1;
        return DefWindowProcW(hWnd, message, wParam, lParam);
      });
}
