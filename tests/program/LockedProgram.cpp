#include "tests/program/LockedProgram.h"

#include <wtsapi32.h>

#include <gtest/gtest.h>

#include "tests/program/Desktop.h"
#include "tests/program/ProcessMemory.h"

namespace {

// The scrambled units as the vault holds them, from the tests' own vault
// writer: its string is the length and then the units.
std::wstring Scrambled(const std::wstring& text) {
  const Bytes bytes = VaultBytes().String(text).Get();
  std::wstring units(text.size(), L'\0');
  for (size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<wchar_t>(bytes[4 + 2 * i] | bytes[5 + 2 * i] << 8);
  return units;
}

void AddSecret(std::vector<Secret>& secrets, const std::wstring& name, const std::wstring& text) {
  secrets.push_back({name, text});
  secrets.push_back({name + L" scrambled", Scrambled(text)});
}

// Every text that a window of the program shows, its own and its children's.
std::vector<std::wstring> ShownTexts(Keyfolio& program) {
  std::vector<std::wstring> texts;
  for (HWND window : program.Process().Windows()) {
    texts.push_back(TextOf(window));
    for (HWND child : ChildrenOf(window)) {
      texts.push_back(TextOf(child));
      if (ClassOf(child) == L"ComboBox" || ClassOf(child) == L"ListBox")
        for (const std::wstring& item : ListItems(child)) texts.push_back(item);
    }
  }
  return texts;
}

void SendToMain(Keyfolio& program, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(program.MainWindow(), message, wParam, lParam, SMTO_NORMAL,
                           kStepTimeoutMs, &result))
    throw StepFailed("the main window did not answer");
}

}  // namespace

std::vector<SiteFields> LockTestSites() {
  return {StoredSite(L"Bank", 1, L"Gq5wXz8vKj3mRt7y", L"https://bank.example.com/"),
          StoredSite(L"Mail", 2, L"m4IlPa55-Hx2Lq", L"https://mail.example.com/"),
          StoredSite(L"Shop", 3, L"Sh0pW9dRfT", L"https://shop.example.com/")};
}

std::vector<Secret> SecretsOf(const std::vector<SiteFields>& sites,
                              const std::wstring& masterPassword) {
  std::vector<Secret> secrets;
  for (const SiteFields& site : sites) AddSecret(secrets, site.title + L" password", site.password);
  AddSecret(secrets, L"master password", masterPassword);
  return secrets;
}

std::vector<int> CountSecrets(Keyfolio& program, const std::vector<Secret>& secrets) {
  program.WaitUntilIdle();
  std::vector<std::wstring> texts;
  for (const Secret& secret : secrets) texts.push_back(secret.text);
  return CountEachInProcessMemory(program.Process().Id(), texts);
}

std::string Findings(const std::vector<Secret>& secrets, const std::vector<int>& counts) {
  std::string findings;
  for (size_t i = 0; i < secrets.size(); ++i)
    if (counts[i]) findings += Narrow(secrets[i].name) + ": " + std::to_string(counts[i]) + "; ";
  return findings.empty() ? "none" : findings;
}

void SendSessionLocked(Keyfolio& program) {
  DWORD session = 0;
  ProcessIdToSessionId(GetCurrentProcessId(), &session);
  SendToMain(program, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, session);
}

void SendGoingToSleep(Keyfolio& program) {
  SendToMain(program, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
}

HWND ExpectLocked(Keyfolio& program, const std::vector<SiteFields>& sites) {
  HWND question = program.WaitForDialog(L"Keyfolio");
  EXPECT_EQ(GetWindow(question, GW_OWNER), program.MainWindow());
  EXPECT_EQ(program.OpenDialogs(), std::vector<HWND>{question});
  EXPECT_FALSE(IsWindowEnabled(program.MainWindow()));
  EXPECT_TRUE(program.Titles().empty());
  EXPECT_EQ(program.VisibleFields(), (std::array<std::wstring, 4>{}));
  for (const std::wstring& shown : ShownTexts(program)) {
    for (const SiteFields& site : sites) {
      for (const std::wstring* text :
           {&site.title, &site.user, &site.password, &site.address, &site.notes})
        EXPECT_EQ(shown.find(*text), std::wstring::npos)
            << Narrow(shown) << " shows " << Narrow(*text);
    }
  }
  return question;
}
