#include "app/MessageLoop.h"

#include "app/AfterMessageHandler.h"
#include "support/DebugLog.h"
#include "support/ResourceIds.h"
#include "support/WinException.h"

namespace {

// The flag is down again whatever leaves GetMessageW.
class Waiting {
 public:
  explicit Waiting(bool& flag) : m_Flag(flag) { m_Flag = true; }
  Waiting(const Waiting&) = delete;
  Waiting& operator=(const Waiting&) = delete;
  ~Waiting() { m_Flag = false; }

 private:
  bool& m_Flag;
};

BOOL NextMessage(MSG& message, bool& waiting) {
  const Waiting scope(waiting);
  return GetMessageW(&message, nullptr, 0, 0);
}

}  // namespace

void MessageLoop::AddAfterMessageHandler(AfterMessageHandler* handler) {
  m_AfterMessageHandlers.push_back(handler);
}

int MessageLoop::run() {
  // Accelerator tables loaded from resources belong to the module and are
  // freed with it.
  m_hAccelTable = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_KEYFOLIO));
  MSG message{};
  message.wParam = static_cast<WPARAM>(-1);
  for (;;) {
    try {
      // GetMessageW answers -1 for an invalid call, which this loop never
      // makes; only WM_QUIT ends it.
      while (NextMessage(message, m_Waiting) > 0) {
        if (!TranslateAcceleratorW(m_hWnd, m_hAccelTable, &message)) {
          TranslateMessage(&message);
          DispatchMessageW(&message);
        }
        for (AfterMessageHandler* handler : m_AfterMessageHandlers) handler->AfterMessage();
      }
      return static_cast<int>(message.wParam);
    } catch (const NullPointerException&) {
      DebugLog(L"NullPointerException in Editor::run; this is OK.\n");
    } catch (const Exception& e) {
      DebugLog(L"Exception in Editor::run: \"%s\"\n", e.GetErrorText().c_str());
    }
  }
}
