// Puts a copied user name or password on the clipboard as Unicode text,
// marks it as nothing for clipboard history, cloud sync or clipboard
// monitors to keep (the formats that Windows 10 and later honour), and takes
// it off again: a password should live on the clipboard only until it is
// pasted. The copy is cleared when its time is up, when Windows ends the
// session and when the program ends, but only while the clipboard still
// holds it: whatever the person copied since, in any program, is theirs and
// stays. The program's block of the copy is wiped before it is emptied.
//
// Other programs open the clipboard too (clipboard managers, remote-desktop
// sync, a program reading it), each for a moment; while one has it open,
// OpenClipboard fails. So an open is tried again for a short bounded time
// before the copy gives up; a clearing that still finds the clipboard held
// keeps trying on a timer, a few times a second, for as long as the window
// that carries the timer lives.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>

class Clipboard {
 public:
  // How long a copy stays on the clipboard.
  static constexpr UINT kClearDelayMs = 30000;
  // An open is tried this often, kOpenPauseMs apart: half a second in all.
  static constexpr int kOpenAttempts = 26;
  static constexpr DWORD kOpenPauseMs = 20;
  // A clearing that found the clipboard held is tried again this often,
  // once each time.
  static constexpr UINT kRetryMs = 250;

  static Clipboard& GetInstance();
  Clipboard(const Clipboard&) = delete;
  Clipboard& operator=(const Clipboard&) = delete;
  virtual ~Clipboard() = default;

  // True when the text is on the clipboard; from then on `owner` carries
  // the timer that clears it. A failure leaves the clipboard closed and
  // frees what it allocated; the caller tells the user.
  bool CopyText(HWND owner, const wchar_t* text, size_t length);
  // Empties the clipboard when it still holds the last copy, its text wiped
  // first; anything copied since is left alone. When another program keeps
  // the clipboard open past the half second, `owner`'s timer tries again
  // until the copy is gone or something else was copied. `owner` may be
  // null (the program ending): then the half second is all.
  void ClearCopy(HWND owner);

  // True from a copy until it was cleared or something else was copied.
  bool HoldsCopy() const { return m_HoldsCopy; }

  // For tests: a shorter time on the clipboard, and what happens between
  // two attempts to open it.
  void SetClearDelay(UINT milliseconds) { m_ClearDelayMs = milliseconds; }
  void SetOpenPause(std::function<void()> pause) { m_OpenPause = std::move(pause); }

 private:
  Clipboard();
  bool Open(HWND owner, int attempts);
  // True when no copy of the program's is left on the clipboard: it was
  // emptied now, or had gone before.
  bool TryClear(HWND owner, int attempts);
  // Its time up, the copy is cleared; then, while the clipboard is held,
  // tried again at each tick.
  static void CALLBACK OnClearTimer(HWND window, UINT message, UINT_PTR id, DWORD time);

  UINT m_ClearDelayMs = kClearDelayMs;
  std::function<void()> m_OpenPause;
  // The clipboard's sequence number right after the last copy, while the
  // copy may still be there.
  bool m_HoldsCopy = false;
  DWORD m_CopySequence = 0;
  // The timer ticks every kRetryMs: a clearing found the clipboard held.
  bool m_Retrying = false;
};
