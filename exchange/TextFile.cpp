#include "exchange/TextFile.h"

#include <cstring>

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

// Where the bytes stand as UTF-8 (RFC 3629: no overlong form, no encoded
// surrogate, nothing beyond U+10FFFF).
struct Utf8Scan {
  // The first byte that begins no valid sequence; npos when there is none.
  size_t firstInvalid = std::string::npos;
  // Whether any valid sequence of two to four bytes was met.
  bool multiByte = false;
};

// The length of the valid sequence at `at`, or 0.
size_t SequenceAt(const unsigned char* bytes, size_t size, size_t at) {
  const unsigned char lead = bytes[at];
  if (lead < 0x80) return 1;
  size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (size - at < length) return 0;
  if (bytes[at + 1] < low || bytes[at + 1] > high) return 0;
  for (size_t i = 2; i < length; ++i)
    if (bytes[at + i] < 0x80 || bytes[at + i] > 0xBF) return 0;
  return length;
}

Utf8Scan ScanUtf8(const char* text, size_t size) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  Utf8Scan scan;
  for (size_t at = 0; at < size;) {
    const size_t length = SequenceAt(bytes, size, at);
    if (length == 0) {
      if (scan.firstInvalid == std::string::npos) scan.firstInvalid = at;
      ++at;
      continue;
    }
    scan.multiByte = scan.multiByte || length > 1;
    at += length;
  }
  return scan;
}

// The 1-based line that the byte at `offset` stands on.
size_t LineOf(const char* bytes, size_t offset) {
  size_t line = 1;
  for (size_t at = 0; at < offset; ++at) {
    if (bytes[at] == '\n' || (bytes[at] == '\r' && !(at + 1 < offset && bytes[at + 1] == '\n')))
      ++line;
  }
  return line;
}

// MultiByteToWideChar into a text made at its final size.
void Widen(UINT codePage, const char* bytes, size_t size, std::wstring& text) {
  if (size == 0) return;
  const int count = static_cast<int>(size);
  const int length = MultiByteToWideChar(codePage, 0, bytes, count, nullptr, 0);
  if (length <= 0) return;
  text.resize(static_cast<size_t>(length));
  MultiByteToWideChar(codePage, 0, bytes, count, &text[0], length);
}

void CopyUtf16(const char* bytes, size_t size, bool bigEndian, std::wstring& text) {
  text.resize(size / 2);
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char first = static_cast<unsigned char>(bytes[2 * i]);
    const unsigned char second = static_cast<unsigned char>(bytes[2 * i + 1]);
    text[i] = static_cast<wchar_t>(bigEndian ? first << 8 | second : second << 8 | first);
  }
}

bool IsHighSurrogate(wchar_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
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
  m_Line = 0;
  const bool marked = StartsWith(bytes, size, "\xEF\xBB\xBF", 3);
  if (!marked && StartsWith(bytes, size, "\xFF\xFE", 2)) {
    CopyUtf16(bytes + 2, size - 2, false, m_Text);
  } else if (!marked && StartsWith(bytes, size, "\xFE\xFF", 2)) {
    CopyUtf16(bytes + 2, size - 2, true, m_Text);
  } else {
    // Tested first: a program or a picture is no text, whichever bytes it has.
    if (size != 0 && std::memchr(bytes, 0, size) != nullptr) return Fail(TF_NotText);
    const size_t start = marked ? 3 : 0;
    const Utf8Scan scan = ScanUtf8(bytes + start, size - start);
    if (scan.firstInvalid == std::string::npos) {
      Widen(CP_UTF8, bytes + start, size - start, m_Text);
    } else if (marked || scan.multiByte) {
      m_Line = LineOf(bytes, start + scan.firstInvalid);
      DebugLog(L"TextFile::Decode: not UTF-8 on line %u", static_cast<unsigned>(m_Line));
      return Fail(TF_NotUtf8);
    } else {
      DebugLog(L"TextFile::Decode: no UTF-8, read in the ANSI code page");
      Widen(CP_ACP, bytes, size, m_Text);
    }
  }
  if (m_Text.find(L'\0') != std::wstring::npos) return Fail(TF_NotText);
  return true;
}

bool TextFile::ReplaceLoneSurrogates(std::wstring& text) {
  bool replaced = false;
  for (size_t at = 0; at < text.size(); ++at) {
    if (IsHighSurrogate(text[at]) && at + 1 < text.size() && IsLowSurrogate(text[at + 1])) {
      ++at;
    } else if (IsHighSurrogate(text[at]) || IsLowSurrogate(text[at])) {
      text[at] = L'\uFFFD';
      replaced = true;
    }
  }
  return replaced;
}
