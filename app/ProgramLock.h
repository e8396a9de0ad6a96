// Whether the main window carries out commands, and the first half of the
// way from a program in use back to the master password question. A lock
// comes when the person has walked away (the idle time, Windows locking the
// session, sleep), in the middle of whatever they left open. So a request
// does at once what can be done at once: no command runs from then on, and
// every dialog and message box of the program ends as if the person had
// given up (Cancel, or No, or OK where it is the only button), also each one
// that shows meanwhile, since a flow whose dialog is cancelled may show the
// one before again. Their modal loops then return one after the other. The
// vault leaves memory only once the program is back where no dialog of its
// own is open below (TakeRequest): a dialog that still works with a site is
// never left holding memory that was freed under it.
#pragma once

#include <windows.h>

class ProgramLock {
 public:
  // How often the dialogs are looked for while a lock is under way.
  static constexpr UINT kSweepMs = 20;

  ProgramLock() = default;
  ProgramLock(const ProgramLock&) = delete;
  ProgramLock& operator=(const ProgramLock&) = delete;
  virtual ~ProgramLock() = default;

  // Commands run only while unlocked. The program starts locked: the
  // start-up question lets the person in.
  bool IsUnlocked() const { return m_State == State::Unlocked; }
  void SetUnlocked() { m_State = State::Unlocked; }
  // Unlocked: the lock begins. No command runs from now on, every dialog
  // and box of this thread ends as if given up, and the main loop is woken
  // (a request that Windows sends arrives while it waits). Otherwise
  // nothing happens.
  void Request(HWND mainWindow);
  // True, once per request, when the lock that began can be completed; the
  // caller has no dialog of the program open below it. Locked from then on.
  bool TakeRequest();

 private:
  enum class State { Locked, Unlocked, Locking };
  static void CALLBACK OnSweepTimer(HWND window, UINT message, UINT_PTR id, DWORD time);

  State m_State = State::Locked;
  HWND m_SweepWindow = nullptr;
};
