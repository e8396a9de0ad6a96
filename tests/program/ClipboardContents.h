// The clipboard as any other program on the desktop reads it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// Has the clipboard open for as long as it lives, as a clipboard manager
// or a remote-desktop sync may have it for a while: nobody else can open it
// meanwhile. The program under test may hold it open for a moment, which
// is waited for.
class HeldClipboard {
 public:
  HeldClipboard();
  HeldClipboard(const HeldClipboard&) = delete;
  HeldClipboard& operator=(const HeldClipboard&) = delete;
  ~HeldClipboard();
};

// Replaces the clipboard's content with `text`, so that a test sees the
// program's copy replace it.
void PutClipboardText(const std::wstring& text);
// The Unicode text on the clipboard, up to its terminator; nothing when the
// clipboard holds no text.
std::optional<std::wstring> ClipboardText();
// The bytes of the format registered under `formatName`; nothing when the
// clipboard does not hold it.
std::optional<std::vector<unsigned char>> ClipboardData(const std::wstring& formatName);
