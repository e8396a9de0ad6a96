// What a person's hands and eyes have at the desktop, for tests that drive
// the program from another process. Keys and clicks go through SendInput,
// the way the keyboard and mouse drivers feed the system: keystrokes reach
// the foreground window's focus, clicks the window under the pointer. Reading
// asks a window what it shows (its text, a list's items) with the messages
// that the system marshals between processes. Nothing here posts a command
// or a click into the program.
//
// Every wait is for a condition, bounded by a time-out; a step that cannot
// happen throws StepFailed, which GoogleTest reports with its text.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "tests/common/StepFailed.h"
#include "tests/common/TimeBounds.h"

// For messages: the text with every character beyond ASCII as "?".
std::string Narrow(const std::wstring& text);

// Checks `condition` until it holds (true) or `timeoutMs` have passed
// (false), dispatching this thread's messages meanwhile.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = kStepTimeoutMs);
// As WaitFor, and throws StepFailed("timed out waiting for " + what) when
// it does not hold.
void Expect(const std::function<bool()>& condition, const std::string& what,
            DWORD timeoutMs = kStepTimeoutMs);
// Does a step whose effect can be lost on the way until its effect comes:
// `attempt` does the step and waits up to the milliseconds it is given for
// the effect, true once it came. Each attempt waits twice as long as the
// one before, from kEffectWaitMs; after kStepAttempts, throws
// StepFailed("timed out waiting for " + what). An attempt sees to it that a
// step whose effect was late, not lost, is not done twice.
void Retry(const std::string& what, const std::function<bool(DWORD waitMs)>& attempt);

// Makes `window` the foreground window, the one keystrokes reach; throws
// when it does not become so.
void BringToFront(HWND window);

// Down and up.
void PressKey(WORD key);
// A chord: the keys go down in order and come up in reverse.
void PressKeys(std::initializer_list<WORD> keys);
// Each character as the key (with Shift) that types it on the keyboard
// layout; characters no key types come as Unicode input. A line break
// ("\r\n" or "\n") is Enter.
void TypeText(const std::wstring& text);

// The centre of a window on the screen.
POINT CentreOf(HWND window);
void ClickAt(POINT point);
void DoubleClickAt(POINT point);
// The two halves of a click, for a test that looks in between.
void PressMouseButton(POINT point);
void ReleaseMouseButton();
// Brings the window's top-level window to the front and, once `window` is
// the one under its centre, clicks there.
void Click(HWND window);
// Button down at `from`, moved in steps to `to`, button up.
void Drag(POINT from, POINT to);

// A point of `window` where the system finds the part `hit` (HTCLOSE,
// HTCAPTION, HTRIGHT, ...): where a person puts the mouse to use that part.
// Throws when the window has no such part.
POINT PointOfPart(HWND window, LRESULT hit);

// What a window tells about itself; these work across processes.
std::wstring ClassOf(HWND window);
// The text the window holds (WM_GETTEXT): an edit control's content, a
// button's label. Empty for a dead window.
std::wstring TextOf(HWND window);
// Without the "&" that marks a keyboard mnemonic: "&OK" reads "OK".
std::wstring LabelOf(HWND window);
// Sends `message` to a window of the program and returns its answer;
// throws when the window does not answer within the step time-out.
LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// The items of a list box, or of a combo box's list, in order.
std::vector<std::wstring> ListItems(HWND list);
// Item `index` of a list box or a combo box.
std::wstring ListItem(HWND list, int index);
// The selected item of a list box or a combo box; empty when none is.
std::wstring SelectedItem(HWND list);
// The child windows of `parent` in creation order, all levels.
std::vector<HWND> ChildrenOf(HWND parent);
// The first child of `parent` of `className` (case ignored) whose label is
// `label`; null when there is none.
HWND FindChild(HWND parent, const std::wstring& className, const std::wstring& label);
// The window that has the keyboard focus in `window`'s thread.
HWND FocusIn(HWND window);
// The window that has taken the mouse in `window`'s thread; null for none.
HWND CaptureIn(HWND window);
