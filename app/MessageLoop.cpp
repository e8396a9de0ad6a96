#include "app/MessageLoop.h"

#include "support/ResourceIds.h"
#include "support/DebugLog.h"
#include "support/WinException.h"

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
      while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!TranslateAcceleratorW(m_hWnd, m_hAccelTable, &message)) {
          TranslateMessage(&message);
          DispatchMessageW(&message);
        }
      }
      return static_cast<int>(message.wParam);
    } catch (const NullPointerException&) {
      DebugLog(L"NullPointerException in Editor::run; this is OK.\n");
    } catch (const Exception& e) {
      DebugLog(L"Exception in Editor::run: \"%s\"\n", e.GetErrorText().c_str());
    }
  }
}
