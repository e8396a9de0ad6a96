// Ends every dialog and message box of the program's thread as a person who
// gives up would (Cancel, or No, or OK where it is the only button), the
// system's Open and Save dialogs and the boxes they show too, and closes an
// open menu: the first half of a lock, which comes in the middle of whatever
// the person left open. A flow whose dialog is cancelled may show the one
// before again, or a box: so the sweep goes on, on a timer of the window
// it was started on, and ends each dialog that shows meanwhile, until it is
// stopped. The modal loops of the dialogs it ended return one after the
// other, each once the dialog above it has returned.
#pragma once

#include <windows.h>

class DialogSweep {
 public:
  // How often the dialogs are looked for while a sweep goes on.
  static constexpr UINT kSweepMs = 20;

  DialogSweep() = default;
  DialogSweep(const DialogSweep&) = delete;
  DialogSweep& operator=(const DialogSweep&) = delete;
  virtual ~DialogSweep();

  // Ends the menu and the dialogs open now, and from now on those that
  // show, on a timer of `window`.
  void Start(HWND window);
  // No more dialogs are ended; nothing while no sweep goes on.
  void Stop();

 private:
  static void CALLBACK OnTimer(HWND window, UINT message, UINT_PTR id, DWORD time);

  HWND m_Window = nullptr;
};
