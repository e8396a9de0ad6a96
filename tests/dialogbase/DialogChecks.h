// What the tests of the program's dialogs do to a dialog and read from it,
// the way a user would meet it: a click is the WM_COMMAND the button sends,
// typing is WM_CHAR to the control, and a key the dialog manager handles is
// posted for the modal loop. None of them needs the desktop's focus.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The WM_COMMAND a button sends when it is clicked (BM_CLICK itself needs
// the focus and the mouse capture).
void Click(HWND dialog, int id);
// The notification a list box sends when one of its items is double-clicked.
void DoubleClick(HWND dialog, int listId);
// Posts a key press to the control for the dialog manager; it takes effect
// once the modal loop, after the action that posted it, or PumpDialog
// handles it.
void PostKey(HWND dialog, int id, WPARAM key);
// Handles what is queued for this thread now, as the modal loop does: keys
// go through the dialog manager first.
void PumpDialog(HWND dialog);
// Types each character into the control, as the keyboard would.
void Type(HWND dialog, int id, const std::wstring& text);

std::wstring Text(HWND dialog, int id);
// The items of the dialog's list box `listId`, in order.
std::vector<std::wstring> ListItems(HWND dialog, int listId);
void SetText(HWND dialog, int id, const std::wstring& text);
bool IsChecked(HWND dialog, int id);
void SetChecked(HWND dialog, int id, bool checked);

// The font the control draws with (WM_GETFONT).
HFONT FontOf(HWND dialog, int id);
// A control's text as it shows: "&" marks the next character as the access
// key and does not show itself; "&&" shows one.
std::wstring ShownText(const std::wstring& text);
// The width of the control's text as it shows, in its own font, and the
// width of the part of the control that shows it: from its left edge to its
// right edge, the dialog's edge, or the left edge of another control that
// covers its right part, whichever comes first. The text is cut off when
// the first is larger.
int TextWidth(HWND dialog, int id);
int VisibleWidth(HWND dialog, int id);

// True while the modal dialog has not ended. EndDialog enables the owner
// again at once, while the dialog's window lives on until the modal loop
// notices; its visibility says less, since under Wine a dialog can lose
// WS_VISIBLE for a moment when another program takes the focus.
bool IsOpen(HWND dialog);

// True when `window` is centred over `owner`, to the pixel that integer
// halving allows.
bool IsCentredOver(HWND window, HWND owner);
