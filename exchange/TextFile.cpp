#include "exchange/TextFile.h"

#include "exchange/WholeFile.h"
#include "support/DebugLog.h"
#include "support/SecureWipe.h"

namespace {

bool StartsWith(const char* bytes, size_t size, const char* mark, size_t markSize) {
  if (size < markSize) return false;
  for (size_t i = 0; i < markSize; ++i)
    if (bytes[i] != mark[i]) return false;
  return true;
}

// MultiByteToWideChar into a text made at its final size. False when
// `flags` ask for valid characters and the bytes are not.
bool Widen(UINT codePage, DWORD flags, const char* bytes, size_t size, std::wstring& text) {
  if (size == 0) return true;
  const int count = static_cast<int>(size);
  const int length = MultiByteToWideChar(codePage, flags, bytes, count, nullptr, 0);
  if (length <= 0) return false;
  text.resize(static_cast<size_t>(length));
  return MultiByteToWideChar(codePage, flags, bytes, count, &text[0], length) == length;
}

void CopyUtf16(const char* bytes, size_t size, bool bigEndian, std::wstring& text) {
  text.resize(size / 2);
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char first = static_cast<unsigned char>(bytes[2 * i]);
    const unsigned char second = static_cast<unsigned char>(bytes[2 * i + 1]);
    text[i] = static_cast<wchar_t>(bigEndian ? first << 8 | second : second << 8 | first);
  }
}

}  // namespace

TextFile::~TextFile() {
  SecureWipe(m_Text);
}

bool TextFile::Fail(Problem problem, DWORD error) {
  SecureWipe(m_Text);
  m_Problem = problem;
  m_Error = error;
  return false;
}

bool TextFile::Read(const std::wstring& path) {
  WholeFile file;
  const DWORD error = file.Read(path, kMostBytes);
  m_Size = file.Size();
  if (error == ERROR_FILE_TOO_LARGE) return Fail(TF_TooLarge);
  if (error != ERROR_SUCCESS) return Fail(TF_Unreadable, error);
  return Decode(file.Bytes().data(), file.Bytes().size());
}

bool TextFile::Decode(const char* bytes, size_t size) {
  SecureWipe(m_Text);
  m_Problem = TF_None;
  if (StartsWith(bytes, size, "\xEF\xBB\xBF", 3)) {
    // Marked as UTF-8: a broken sequence becomes U+FFFD, not another code page.
    Widen(CP_UTF8, 0, bytes + 3, size - 3, m_Text);
  } else if (StartsWith(bytes, size, "\xFF\xFE", 2)) {
    CopyUtf16(bytes + 2, size - 2, false, m_Text);
  } else if (StartsWith(bytes, size, "\xFE\xFF", 2)) {
    CopyUtf16(bytes + 2, size - 2, true, m_Text);
  } else if (!Widen(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, size, m_Text)) {
    DebugLog(L"TextFile::Decode: not UTF-8, read in the ANSI code page");
    SecureWipe(m_Text);
    Widen(CP_ACP, 0, bytes, size, m_Text);
  }
  if (m_Text.find(L'\0') != std::wstring::npos) return Fail(TF_NotText);
  return true;
}
