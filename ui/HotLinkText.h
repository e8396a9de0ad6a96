// The "HotLinkText" window class: one line of text, underlined in blue with a
// hand cursor, that opens its web address in the user's browser when
// clicked, and tells the person when Windows could not (OpenWithShell). A
// link without an address leaves the click to its parent, which may know
// why there is none. Each window keeps a block of its own in window extra
// word 0; the block owns the address, so a new address frees the old one and
// WM_DESTROY frees address and block together.
#pragma once

#include <windows.h>

#include <memory>

// Sent with wParam pointing to a zero-terminated web address (lParam 0); the
// window keeps its own copy. A null or empty address removes the link's
// address: clicks then go to the parent as HLN_CLICKED. The link takes the
// message only from SetHotLinkAddress: any process may send or post a
// WM_USER message, with an address of its own that points anywhere in this
// one.
constexpr UINT HL_SETURL = WM_USER + 1;

// The notification code of the WM_COMMAND that a link without an address
// sends its parent when clicked (low word of wParam the link's id, lParam
// the link), as a static control with SS_NOTIFY sends STN_CLICKED.
constexpr WORD HLN_CLICKED = 0;

constexpr wchar_t kHotLinkClassName[] = L"HotLinkText";

// What window extra word 0 of a HotLinkText window points to.
struct HotLinkBlock {
  // Set with WM_SETFONT; null draws in the system font.
  HFONT font = nullptr;
  // Null until an address is set.
  std::unique_ptr<wchar_t[]> address;
};

// Registers the class with the cursor resource `cursorName` of `instance`.
// With `buttonFace` the text is drawn on the button face colour and the class
// has no background brush; without, on white. The class atom, 0 on failure;
// a failed call (the class is registered already) changes nothing.
ATOM RegisterHotLinkClass(HINSTANCE instance, const wchar_t* cursorName, int buttonFace);

// Sends HL_SETURL with `address` to `link`, a HotLinkText window of this
// thread, and marks the address as the one it sends: the link reads only
// that address, in that call.
void SetHotLinkAddress(HWND link, const wchar_t* address);

// The class's procedure. No exception leaves it: a failure is traced, a
// failed WM_CREATE refuses the window, any other message gets the default
// handling.
LRESULT CALLBACK HotLinkWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
