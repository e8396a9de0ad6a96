#include "app/Clipboard.h"

#include <cstring>

#include "support/DebugLog.h"

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

bool Clipboard::Open(HWND owner) {
  for (int attempt = 1;; ++attempt) {
    if (OpenClipboard(owner)) return true;
    if (attempt == kOpenAttempts) break;
    m_OpenPause();
  }
  DebugLog(L"Clipboard::Open: still held by another program, error %i",
           static_cast<int>(GetLastError()));
  return false;
}

bool Clipboard::CopyText(HWND owner, const wchar_t* text, size_t length) {
  OpenClipboardScope clipboard(Open(owner));
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
  if (owner && !SetTimer(owner, kClearTimerId, m_ClearDelayMs, OnClearTimer))
    DebugLog(L"Clipboard::CopyText: no timer, error %i", static_cast<int>(GetLastError()));
  return true;
}

void Clipboard::ClearCopy(HWND owner) {
  if (!m_HoldsCopy) return;
  if (GetClipboardSequenceNumber() != m_CopySequence) {
    m_HoldsCopy = false;
    return;
  }
  OpenClipboardScope clipboard(Open(owner));
  if (!clipboard.IsOpen()) return;
  // Checked again with the clipboard open: nothing can be copied now until
  // it is closed.
  if (GetClipboardSequenceNumber() == m_CopySequence && !EmptyClipboard())
    DebugLog(L"Clipboard::ClearCopy: not emptied, error %i", static_cast<int>(GetLastError()));
  m_HoldsCopy = false;
}

void CALLBACK Clipboard::OnClearTimer(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);
  GetInstance().ClearCopy(window);
}
