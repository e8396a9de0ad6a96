// The second exception family: Windows error codes with the system's text.
// The message loop catches it and logs the text; nothing shows it to the user.
#pragma once

#include <windows.h>

#include <string>

class Exception {
 public:
  virtual ~Exception() = default;
  virtual std::wstring GetErrorText() const = 0;
};

class WinException : public Exception {
 public:
  WinException(const std::wstring& message, DWORD code) : m_ErrorCode(code), m_Message(message) {}
  std::wstring GetErrorText() const override;
  DWORD GetErrorCode() const { return m_ErrorCode; }

 private:
  DWORD m_ErrorCode;
  std::wstring m_Message;
};

class FileNotFoundException : public WinException {
 public:
  explicit FileNotFoundException(const std::wstring& message)
      : WinException(message, ERROR_FILE_NOT_FOUND) {}
};

class PathNotFoundException : public WinException {
 public:
  explicit PathNotFoundException(const std::wstring& message)
      : WinException(message, ERROR_PATH_NOT_FOUND) {}
};

class AccessDeniedException : public WinException {
 public:
  explicit AccessDeniedException(const std::wstring& message)
      : WinException(message, ERROR_ACCESS_DENIED) {}
};

class MemoryException : public Exception {
 public:
  std::wstring GetErrorText() const override { return L"Out of memory"; }
};

// A marker that the message loop catches and lets pass.
class NullPointerException {};

// The system's message text for a Windows error code, empty when it has none.
// languageId 0x0400 asks for the neutral/default language, 0 for the
// system's own search order.
std::wstring SystemErrorText(DWORD code, DWORD languageId);

// The prefix, a line break when the prefix is not empty, then the system's
// text for the code, or "Unknown API error (code)" when it has none.
std::wstring FormatWindowsError(const std::wstring& prefix, DWORD code);

// Throws the class of the family that fits the code; out-of-memory codes
// throw a copy of the one MemoryException, which needs no allocation.
[[noreturn]] void ThrowWinException(const std::wstring& message, DWORD code);
