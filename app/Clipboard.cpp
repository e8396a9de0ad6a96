#include "app/Clipboard.h"

#include <cstring>

#include "support/DebugLog.h"

namespace {

// A movable block that is freed unless the clipboard took it over.
class ClipboardBlock {
 public:
  explicit ClipboardBlock(size_t bytes) : m_block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes)) {}
  ClipboardBlock(const ClipboardBlock&) = delete;
  ClipboardBlock& operator=(const ClipboardBlock&) = delete;
  ~ClipboardBlock() {
    if (m_block) GlobalFree(m_block);
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

class OpenClipboardScope {
 public:
  explicit OpenClipboardScope(HWND owner) : m_open(OpenClipboard(owner) != FALSE) {}
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
    DebugLog(L"CopyTextToClipboard: %s not set, error %i", formatName,
             static_cast<int>(GetLastError()));
}

}  // namespace

bool CopyTextToClipboard(HWND owner, const wchar_t* text, size_t length) {
  OpenClipboardScope clipboard(owner);
  if (!clipboard.IsOpen() || !EmptyClipboard()) return false;
  const size_t bytes = length * sizeof(wchar_t);
  ClipboardBlock block(bytes + sizeof(wchar_t));
  if (!block.Fill(text, bytes) || !block.HandOver(CF_UNICODETEXT)) return false;
  const DWORD no = 0;
  MarkPrivate(L"ExcludeClipboardContentFromMonitorProcessing", &no, sizeof no);
  MarkPrivate(L"CanIncludeInClipboardHistory", &no, sizeof no);
  MarkPrivate(L"CanUploadToCloudClipboard", &no, sizeof no);
  return clipboard.Close();
}
