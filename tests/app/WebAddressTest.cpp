#include <gtest/gtest.h>

#include <string>

#include "app/WebAddress.h"

TEST(WebAddress, OpensWebAddressesAndNothingElse) {
  const struct {
    const wchar_t* typed;
    const wchar_t* opened;
  } cases[] = {
      {L"https://bank.example/login", L"https://bank.example/login"},
      {L"HTTP://Shop.Example", L"HTTP://Shop.Example"},
      {L"  https://padded.example  ", L"https://padded.example"},
      {L"www.example.com", L"http://www.example.com"},
      // A host name ending in .com is never taken for a program.
      {L"example.com", L"http://example.com"},
      {L"intranet.example:8080/wiki", L"http://intranet.example:8080/wiki"},
      {L"", L""},
      {L"   ", L""},
      {L"C:\\Windows\\System32\\cmd.exe", L""},
      {L"C:/Windows/notepad.exe", L""},
      {L"\\\\server\\share\\setup.exe", L""},
      {L"file:///C:/Windows/notepad.exe", L""},
      {L"javascript:alert(1)", L""},
      {L"mailto:someone@example.com", L""},
      {L"calc", L"http://calc"},
      {L"..\\KFOdata\\KFO.dta", L""},
      {L"notepad.exe file.txt", L""},
      {L"host:port", L""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WebAddressToOpen(c.typed), c.opened) << std::string(c.typed, c.typed + wcslen(c.typed));
}
