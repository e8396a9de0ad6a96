// The lock, whole: whether the main window carries out commands, and the
// way from a program in use back to the master password question and in
// again. The program starts locked, and the start-up question lets the
// person in through the same steps as the question after a lock (LetIn).
//
// A lock comes when the person has walked away (the idle time, Windows
// locking the session, sleep), in the middle of whatever they left open. So
// a request does at once what can be done at once: no command runs from
// then on, and every dialog and message box of the program ends as if the
// person had given up (DialogSweep). Their modal loops then return one after
// the other. The vault leaves memory (the seal) only once the program is
// back where no dialog of its own is open below: after the message whose
// dispatch ran them (AfterMessage), or at once when the request comes while
// the main loop waits. A dialog that still works with a site is never left
// holding memory that was freed under it. Then the question comes again over
// the main window, and the right password chooses the site that was chosen.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/AfterMessageHandler.h"
#include "app/DialogSweep.h"

class MessageLoop;
class PasswordProtection;

class ProgramLock : public AfterMessageHandler {
 public:
  ProgramLock() = default;
  ~ProgramLock() override = default;

  // Commands run only while unlocked.
  bool IsUnlocked() const { return m_State == LS_Unlocked; }

  // Lets the start-up question be asked: the program calls it once its
  // window is built and the vault's password in force. A question asked for
  // before, by anyone, does nothing and is not remembered.
  void ArmStartupQuestion();
  // The start-up question, once, and only once it was armed: a vault read
  // only in part is told about first; then the master password is asked
  // for, or a first one created, and the person let in, or the window
  // destroyed.
  void AskAtStartup(HWND mainWindow);

  // Unlocked: the lock begins (File > Lock, the idle time, Windows locking
  // the session, sleep). No command runs from now on, every dialog and box
  // of this thread ends as if given up, and the main loop is woken. A
  // request that comes while the main loop waits (Windows sends its news
  // then) is sealed before this returns: before the computer sleeps,
  // nothing of the vault is left in memory. Locked, nothing happens.
  void Request(HWND mainWindow);
  // The main loop completes the lock from now on: after each of its
  // messages, and at once for a request that comes while it waits.
  void CompleteIn(MessageLoop& loop);
  // Seals a lock that began (the clipboard's copy goes, the window is
  // emptied and the vault wiped from memory) and asks the question again,
  // over the main window.
  void AfterMessage() override;

 private:
  enum LockState { LS_Locked, LS_Unlocked, LS_Locking };
  enum StartupQuestion { SQ_Unarmed, SQ_Armed, SQ_Asked };

  void Seal();
  // The start-up question again, each password checked against the vault
  // read from the drive then; the site chosen before is chosen again.
  void AskAgain();
  // What the question's answer leads to, at start-up and after a lock.
  void LetIn(HWND mainWindow, PasswordProtection& protection, int result);

  LockState m_State = LS_Locked;
  StartupQuestion m_StartupQuestion = SQ_Unarmed;
  DialogSweep m_Sweep;
  const MessageLoop* m_Loop = nullptr;
  // The main window of the last request: the question comes over it.
  HWND m_MainWindow = nullptr;
  // The site chosen when the lock came, by its key: no text of it is kept.
  int32_t m_ChosenKey = 0;
  bool m_QuestionDue = false;
};
