#include "exchange/SiteHost.h"

#include <windows.h>

#include "support/StringFunctions.h"

namespace {

bool StartsWithWww(const std::wstring& host) {
  static const std::wstring kWww = L"WWW.";
  if (host.size() <= kWww.size()) return false;
  for (size_t i = 0; i < kWww.size(); ++i)
    if (UpperUnit(host[i]) != kWww[i]) return false;
  return true;
}

// A label in the ASCII form of an international name begins with "xn--".
bool HasAsciiEncodedLabel(const std::wstring& host) {
  static const std::wstring kPrefix = L"XN--";
  for (size_t label = 0; label < host.size();) {
    if (host.size() - label >= kPrefix.size()) {
      bool prefixed = true;
      for (size_t i = 0; i < kPrefix.size() && prefixed; ++i)
        prefixed = UpperUnit(host[label + i]) == kPrefix[i];
      if (prefixed) return true;
    }
    const size_t dot = host.find(L'.', label);
    if (dot == std::wstring::npos) break;
    label = dot + 1;
  }
  return false;
}

bool IsAscii(const std::wstring& text) {
  for (const wchar_t unit : text)
    if (unit > 0x7F) return false;
  return true;
}

// IdnToUnicode or IdnToAscii over the whole host; false when Windows finds
// it no valid name, which is then kept as it is written.
bool ConvertName(int (WINAPI* convert)(DWORD, LPCWSTR, int, LPWSTR, int), DWORD flags,
                 const std::wstring& host, std::wstring& converted) {
  const int count = static_cast<int>(host.size());
  const int length = convert(flags, host.c_str(), count, nullptr, 0);
  if (length <= 0) return false;
  converted.assign(static_cast<size_t>(length), L'\0');
  return convert(flags, host.c_str(), count, &converted[0], length) == length;
}

void LowerAscii(std::wstring& text) {
  for (wchar_t& unit : text)
    if (unit >= L'A' && unit <= L'Z') unit = static_cast<wchar_t>(unit - L'A' + L'a');
}

}  // namespace

std::wstring SiteHost::Of(const std::wstring& address) {
  const size_t scheme = address.find(L"://");
  size_t start = scheme == std::wstring::npos ? 0 : scheme + 3;
  // A host holds no space: an address made one line ends there too.
  size_t end = address.find_first_of(L"/?# ", start);
  if (end == std::wstring::npos) end = address.size();
  for (size_t at = start; at < end; ++at)
    if (address[at] == L'@') start = at + 1;
  std::wstring host = address.substr(start, end - start);
  // A port follows the host; an IPv6 host is in brackets and holds colons.
  const size_t port = host.find(host.empty() || host[0] != L'[' ? L':' : L']');
  if (port != std::wstring::npos) host.resize(host[0] == L'[' ? port + 1 : port);
  if (StartsWithWww(host)) host.erase(0, 4);
  return host.empty() ? address : host;
}

std::wstring SiteHost::Shown(const std::wstring& host) {
  std::wstring shown;
  if (HasAsciiEncodedLabel(host) && ConvertName(IdnToUnicode, 0, host, shown)) return shown;
  return host;
}

std::wstring SiteHost::Compared(const std::wstring& host) {
  std::wstring compared;
  // IdnToAscii folds the case of the Unicode letters as the web does.
  if (IsAscii(host) || !ConvertName(IdnToAscii, IDN_ALLOW_UNASSIGNED, host, compared))
    compared = host;
  LowerAscii(compared);
  return compared;
}
