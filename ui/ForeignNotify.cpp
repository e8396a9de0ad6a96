#include "ui/ForeignNotify.h"

#include "support/DebugLog.h"
#include "ui/DpiScale.h"

namespace {

// The messages whose address means something only to their sender, and that
// the system never posts.
bool CarriesAnAddress(UINT message) {
  return message == WM_NOTIFY || message == WM_DPICHANGED || message == kWmGetDpiScaledSize;
}

}  // namespace

PostedNotifyFilter::PostedNotifyFilter()
    : m_hook(SetWindowsHookExW(WH_GETMESSAGE, GetMessageProc, nullptr, GetCurrentThreadId())) {
  if (!m_hook)
    DebugLog(L"PostedNotifyFilter: SetWindowsHookExW failed with %i",
             static_cast<int>(GetLastError()));
}

PostedNotifyFilter::~PostedNotifyFilter() {
  if (m_hook) UnhookWindowsHookEx(m_hook);
}

// The message record is the one that GetMessageW or PeekMessageW hands its
// caller, so what is changed here is what the loop dispatches.
LRESULT CALLBACK PostedNotifyFilter::GetMessageProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    MSG* message = reinterpret_cast<MSG*>(lParam);
    if (CarriesAnAddress(message->message)) {
      message->message = WM_NULL;
      message->wParam = 0;
      message->lParam = 0;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

const NMHDR* NotifyHeaderForLog(LPARAM lParam) {
  if (!DebugLogIsOn() || !MessageFromThisThread()) return nullptr;
  return reinterpret_cast<const NMHDR*>(lParam);
}

bool MessageFromThisThread() {
  return InSendMessageEx(nullptr) == ISMEX_NOSEND;
}
