// The host of a website address, as imports use it: to title a site that
// the file gives no title, and to tell whether two addresses are the same
// login's. Browsers keep one login under several addresses of one host (the
// page where it was typed, with or without "www." or a trailing slash), so
// the host is what counts, compared as the web compares hosts: without case,
// and an international name alike in its Unicode and its ASCII
// ("xn--mnchen-3ya.de") form. People read the Unicode form.
#pragma once

#include <string>

class SiteHost {
 public:
  // "accounts.example.com" of "https://ann@www.accounts.example.com:8443/x":
  // no scheme, user, port, path or leading "www.", and nothing from a space
  // on. The text itself when it has no host.
  static std::wstring Of(const std::wstring& address);
  // The host as a title shows it: an ASCII-encoded international name in
  // its Unicode form ("m\u00FCnchen.de"), any other as it is written.
  static std::wstring Shown(const std::wstring& host);
  // The host as two are compared: equal for hosts the web takes as one.
  static std::wstring Compared(const std::wstring& host);
};
