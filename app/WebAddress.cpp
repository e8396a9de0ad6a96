#include "app/WebAddress.h"

#include <cwctype>

namespace {

bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix) {
  size_t i = 0;
  for (; prefix[i]; ++i)
    if (i >= text.size() || std::towlower(text[i]) != prefix[i]) return false;
  return true;
}

std::wstring Trimmed(const std::wstring& text) {
  const size_t first = text.find_first_not_of(L" \t\r\n");
  if (first == std::wstring::npos) return std::wstring();
  const size_t last = text.find_last_not_of(L" \t\r\n");
  return text.substr(first, last - first + 1);
}

// "example.com:8080/path": a colon that only starts a port.
bool ColonsArePorts(const std::wstring& address) {
  const size_t colon = address.find(L':');
  if (colon == std::wstring::npos) return true;
  const size_t end = address.find(L'/', colon);
  const std::wstring port =
      address.substr(colon + 1, end == std::wstring::npos ? std::wstring::npos : end - colon - 1);
  if (colon == 0 || port.empty() || port.size() > 5) return false;
  for (wchar_t c : port)
    if (c < L'0' || c > L'9') return false;
  return address.find(L':', colon + 1) == std::wstring::npos;
}

}  // namespace

std::wstring WebAddressToOpen(const std::wstring& text) {
  const std::wstring address = Trimmed(text);
  if (address.empty()) return std::wstring();
  if (StartsWithNoCase(address, L"http://") || StartsWithNoCase(address, L"https://"))
    return address;
  // Anything else with a scheme, a drive, a path or a blank is not a host
  // name: file:, javascript:, C:\..., \\server\share.
  if (address.find_first_of(L"\\ \t\"<>|") != std::wstring::npos) return std::wstring();
  if (!ColonsArePorts(address)) return std::wstring();
  if (address.front() == L'/' || address.front() == L'.') return std::wstring();
  return L"http://" + address;
}
