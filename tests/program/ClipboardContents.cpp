#include "tests/program/ClipboardContents.h"

#include <cstring>

#include "tests/program/Desktop.h"

HeldClipboard::HeldClipboard() {
  Expect([] { return OpenClipboard(nullptr) != FALSE; }, "the clipboard to open");
}

HeldClipboard::~HeldClipboard() {
  CloseClipboard();
}

namespace {

std::optional<std::vector<unsigned char>> DataOf(UINT format) {
  HeldClipboard clipboard;
  HANDLE data = GetClipboardData(format);
  if (!data) return std::nullopt;
  const void* bytes = GlobalLock(data);
  if (!bytes) return std::nullopt;
  std::vector<unsigned char> copy(GlobalSize(data));
  std::memcpy(copy.data(), bytes, copy.size());
  GlobalUnlock(data);
  return copy;
}

}  // namespace

void PutClipboardText(const std::wstring& text) {
  HeldClipboard clipboard;
  EmptyClipboard();
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!block) throw StepFailed("no memory for the clipboard");
  std::memcpy(GlobalLock(block), text.c_str(), bytes);
  GlobalUnlock(block);
  if (!SetClipboardData(CF_UNICODETEXT, block)) {
    GlobalFree(block);
    throw StepFailed("the clipboard refused the text");
  }
}

std::optional<std::wstring> ClipboardText() {
  const std::optional<std::vector<unsigned char>> bytes = DataOf(CF_UNICODETEXT);
  if (!bytes) return std::nullopt;
  std::wstring text(bytes->size() / sizeof(wchar_t), L'\0');
  std::memcpy(&text[0], bytes->data(), text.size() * sizeof(wchar_t));
  return text.substr(0, text.find(L'\0'));
}

std::optional<std::vector<unsigned char>> ClipboardData(const std::wstring& formatName) {
  const UINT format = RegisterClipboardFormatW(formatName.c_str());
  if (!format) throw StepFailed("the clipboard format could not be registered");
  return DataOf(format);
}
