// The website address of a site is whatever the user typed, and it is handed
// to the shell's default action. The shell runs programs and opens files as
// readily as web pages, and a vault on a flash drive can be changed by anyone
// who holds the drive: so "Go" opens only web addresses. A text with a scheme
// must be http or https; a text without one ("www.example.com",
// "example.com") gets "http://" in front, so that a host name that happens to
// end in ".com" is never taken for a program.
#pragma once

#include <string>

// The address to open, or the empty string when the text is none.
std::wstring WebAddressToOpen(const std::wstring& text);
