#include "support/WinException.h"

#include <cwchar>

#include "support/LocalBuffer.h"

namespace {
const MemoryException g_memoryException;
}

std::wstring SystemErrorText(DWORD code, DWORD languageId) {
  LocalBuffer buffer;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, languageId, reinterpret_cast<wchar_t*>(buffer.Receive()), 0, nullptr);
  if (length == 0 || !buffer.Text()) return std::wstring();
  return std::wstring(buffer.Text(), length);
}

std::wstring FormatWindowsError(const std::wstring& prefix, DWORD code) {
  std::wstring text = prefix;
  if (!text.empty()) text += L"\n";
  std::wstring systemText = SystemErrorText(code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT));
  if (systemText.empty()) {
    wchar_t unknown[50] = {};
    _snwprintf(unknown, 49, L"Unknown API error (%lu)", code);
    systemText = unknown;
  }
  return text + systemText;
}

std::wstring WinException::GetErrorText() const {
  return FormatWindowsError(m_Message, m_ErrorCode);
}

void ThrowWinException(const std::wstring& message, DWORD code) {
  switch (code) {
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      throw g_memoryException;
    case ERROR_FILE_NOT_FOUND:
      throw FileNotFoundException(message);
    case ERROR_PATH_NOT_FOUND:
      throw PathNotFoundException(message);
    case ERROR_ACCESS_DENIED:
      throw AccessDeniedException(message);
    default:
      throw WinException(message, code);
  }
}
