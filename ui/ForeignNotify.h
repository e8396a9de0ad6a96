// WM_NOTIFY from other processes. The message carries the address of its
// NMHDR, which means something only in the sender's process. The controls
// that notify send it from this thread. Windows does not copy the NMHDR of
// a WM_NOTIFY that another process sends, so its address arrives as the
// sender wrote it (Wine 8 refuses such a send); a posted WM_NOTIFY Wine
// hands on from any process, with any address. So a notification is read
// only when it was sent from this thread: InSendMessageEx tells a message
// sent from another thread, and the filter below turns every posted
// WM_NOTIFY into WM_NULL before any loop of the thread dispatches it, the
// program's own loop and the modal ones of dialogs, message boxes and menus
// alike. The program has one thread, so another thread means another
// process.
//
// The two messages of a change of display scale carry addresses too (the
// rectangle of WM_DPICHANGED, the size of WM_GETDPISCALEDSIZE), and Wine 8
// hands them on from another process unchanged, sent or posted. Windows
// sends them, never posts them: the filter takes posted ones as it takes
// WM_NOTIFY, and a window reads their addresses only when they come from
// this thread.
#pragma once

#include <windows.h>

class PostedNotifyFilter {
 public:
  // Watches the messages that this thread takes from its queue, for as long
  // as the object lives.
  PostedNotifyFilter();
  PostedNotifyFilter(const PostedNotifyFilter&) = delete;
  PostedNotifyFilter& operator=(const PostedNotifyFilter&) = delete;
  virtual ~PostedNotifyFilter();

 private:
  static LRESULT CALLBACK GetMessageProc(int code, WPARAM wParam, LPARAM lParam);

  HHOOK m_hook;
};

// The NMHDR of a WM_NOTIFY, for a trace line: null unless the log is on and
// the message was sent from this thread. A notification that this thread
// sends while it handles a message from another thread counts as foreign
// too; only a trace line is lost.
const NMHDR* NotifyHeaderForLog(LPARAM lParam);

// The message being handled was sent from this thread or called directly;
// a posted one that the filter let pass counts too.
bool MessageFromThisThread();
