#include "tests/common/LogCapture.h"

#include <windows.h>

#include <stdexcept>

#include "support/DebugLog.h"

namespace {

std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (wchar_t unit : text) narrow += static_cast<char>(unit);
  return narrow;
}

}  // namespace

LogCapture::LogCapture() : m_path(m_folder.File(L"Log.txt")) {
  if (!StartDebugLog(L"tests", Narrow(m_path).c_str())) throw std::runtime_error("no debug log");
}

LogCapture::~LogCapture() {
  StopDebugLog();
}

std::vector<std::string> LogCapture::RawLines() const {
  const std::vector<unsigned char> bytes = ReadBytes(m_path);
  std::vector<std::string> lines;
  std::string line;
  for (unsigned char byte : bytes) {
    if (byte == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
      line.clear();
    } else {
      line += static_cast<char>(byte);
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

std::vector<std::string> LogCapture::Lines() const {
  std::vector<std::string> lines;
  const std::vector<std::string> raw = RawLines();
  // The header ends with the line "Time\tMessage"; the date before it
  // carries ctime's own line end.
  size_t i = 0;
  while (i < raw.size() && raw[i] != "Time\tMessage") ++i;
  for (++i; i < raw.size(); ++i) {
    const size_t prefixEnd = raw[i].find(":\t\t");
    lines.push_back(prefixEnd == std::string::npos ? raw[i] : raw[i].substr(prefixEnd + 3));
  }
  return lines;
}

bool LogCapture::Contains(const std::string& text) const {
  for (const std::string& line : Lines())
    if (line.find(text) != std::string::npos) return true;
  return false;
}
