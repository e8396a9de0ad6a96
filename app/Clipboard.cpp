#include "app/Clipboard.h"

#include <cstring>

#include "support/DebugLog.h"
#include "ui/ProcedureGuard.h"

namespace {

constexpr UINT_PTR kClearTimerId = 0x4B46;

// A movable block that is freed unless the clipboard took it over. A block
// that held a copied text is wiped first: it may hold a password.
class ClipboardBlock {
 public:
  explicit ClipboardBlock(size_t bytes) : m_block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes)) {}
  ClipboardBlock(const ClipboardBlock&) = delete;
  ClipboardBlock& operator=(const ClipboardBlock&) = delete;
  ~ClipboardBlock() {
    if (!m_block) return;
    if (void* data = GlobalLock(m_block)) {
      SecureZeroMemory(data, GlobalSize(m_block));
      GlobalUnlock(m_block);
    }
    GlobalFree(m_block);
  }

  bool Fill(const void* data, size_t bytes) {
    if (!m_block) return false;
    void* target = GlobalLock(m_block);
    if (!target) return false;
    if (bytes) std::memcpy(target, data, bytes);
    GlobalUnlock(m_block);
    return true;
  }
  // SetClipboardData's contract: on success the block is the system's.
  bool HandOver(UINT format) {
    if (!m_block || !SetClipboardData(format, m_block)) return false;
    m_block = nullptr;
    return true;
  }

 private:
  HGLOBAL m_block;
};

// Closes the clipboard that Clipboard::Open opened.
class OpenClipboardScope {
 public:
  explicit OpenClipboardScope(bool open) : m_open(open) {}
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
  ~OpenClipboardScope() { Close(); }
  bool IsOpen() const { return m_open; }
  bool Close() {
    if (!m_open) return true;
    m_open = false;
    return CloseClipboard() != FALSE;
  }

 private:
  bool m_open;
};

// With the clipboard open and the copy still on it, the copy's text is the
// program's own block (the one it handed over, or the copy of it that the
// system gives its owner), which is wiped before the clipboard lets it go.
// What the system keeps of a copy outside the program, it frees itself.
void WipeCopiedText() {
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return;
  if (void* text = GlobalLock(data)) {
    SecureZeroMemory(text, GlobalSize(data));
    GlobalUnlock(data);
  }
}

// The marks are a courtesy to the system: a copy whose marks could not be
// set is still a copy.
void MarkPrivate(const wchar_t* formatName, const void* data, size_t bytes) {
  const UINT format = RegisterClipboardFormatW(formatName);
  ClipboardBlock block(bytes);
  if (!format || !block.Fill(data, bytes) || !block.HandOver(format))
    DebugLog(L"Clipboard::CopyText: %s not set, error %i", formatName,
             static_cast<int>(GetLastError()));
}

}  // namespace

Clipboard& Clipboard::GetInstance() {
  static Clipboard instance;
  return instance;
}

Clipboard::Clipboard() : m_OpenPause([] { Sleep(kOpenPauseMs); }) {}

bool Clipboard::Open(HWND owner, int attempts) {
  for (int attempt = 1;; ++attempt) {
    if (OpenClipboard(owner)) return true;
    if (attempt >= attempts) break;
    m_OpenPause();
  }
  DebugLog(L"Clipboard::Open: still held by another program, error %i",
           static_cast<int>(GetLastError()));
  return false;
}

bool Clipboard::CopyText(HWND owner, const wchar_t* text, size_t length) {
  OpenClipboardScope clipboard(Open(owner, kOpenAttempts));
  if (!clipboard.IsOpen() || !EmptyClipboard()) return false;
  const size_t bytes = length * sizeof(wchar_t);
  ClipboardBlock block(bytes + sizeof(wchar_t));
  if (!block.Fill(text, bytes) || !block.HandOver(CF_UNICODETEXT)) return false;
  const DWORD no = 0;
  MarkPrivate(L"ExcludeClipboardContentFromMonitorProcessing", &no, sizeof no);
  MarkPrivate(L"CanIncludeInClipboardHistory", &no, sizeof no);
  MarkPrivate(L"CanUploadToCloudClipboard", &no, sizeof no);
  if (!clipboard.Close()) return false;
  m_HoldsCopy = true;
  m_CopySequence = GetClipboardSequenceNumber();
  // A second copy before the time is up starts the time anew.
  m_Retrying = false;
  if (owner && !SetTimer(owner, kClearTimerId, m_ClearDelayMs, OnClearTimer))
    DebugLog(L"Clipboard::CopyText: no timer, error %i", static_cast<int>(GetLastError()));
  return true;
}

void Clipboard::ClearCopy(HWND owner) {
  const bool gone = TryClear(owner, kOpenAttempts);
  if (!owner) return;
  m_Retrying = !gone;
  if (gone)
    KillTimer(owner, kClearTimerId);
  else if (!SetTimer(owner, kClearTimerId, kRetryMs, OnClearTimer))
    DebugLog(L"Clipboard::ClearCopy: no timer, error %i", static_cast<int>(GetLastError()));
}

bool Clipboard::TryClear(HWND owner, int attempts) {
  if (!m_HoldsCopy) return true;
  if (GetClipboardSequenceNumber() != m_CopySequence) {
    m_HoldsCopy = false;
    return true;
  }
  OpenClipboardScope clipboard(Open(owner, attempts));
  if (!clipboard.IsOpen()) return false;
  // Checked again with the clipboard open: nothing can be copied now until
  // it is closed.
  if (GetClipboardSequenceNumber() == m_CopySequence) {
    WipeCopiedText();
    if (!EmptyClipboard())
      DebugLog(L"Clipboard::ClearCopy: not emptied, error %i", static_cast<int>(GetLastError()));
  }
  m_HoldsCopy = false;
  return true;
}

// DispatchMessageW calls a timer's callback itself, past every window
// procedure's guard. A retry does not wait the half second: the program
// would hang while another program holds the clipboard. A clearing that
// failed is tried again at the next tick.
void CALLBACK Clipboard::OnClearTimer(HWND window, UINT message, UINT_PTR id, DWORD) {
  Clipboard& clipboard = GetInstance();
  GuardProcedure(
      L"Clipboard::OnClearTimer", message,
      [&]() -> LRESULT {
        if (!clipboard.m_Retrying) {
          clipboard.ClearCopy(window);
        } else if (clipboard.TryClear(window, 1)) {
          clipboard.m_Retrying = false;
          KillTimer(window, id);
        }
        return 0;
      },
      [&]() -> LRESULT {
        clipboard.m_Retrying = true;
        SetTimer(window, id, kRetryMs, OnClearTimer);
        return 0;
      });
}
