// A DLL that someone left beside the program on the drive, under the name of
// a DLL that Windows does not always take from its system folder, never runs:
// not at the start, not when a password is generated, a website or the help
// page opened, nor when the Open dialog of an import shows. Two things tell: the planted DLL leaves a file when a process
// maps it, and the program's list of modules names where each was found.
//
// Wine prefers its own DLLs to any other of the same name; told otherwise
// (WINEDLLOVERRIDES "name=n,b"), it looks for each as Windows looks for a
// DLL that it does not know, beside the program first. A process started by
// CreateProcessW takes that variable from the environment of the process
// that started it as Wine started that one, never from the environment block
// handed to CreateProcessW (measured: WINEDEBUG given in the block is
// honoured, WINEDLLOVERRIDES is not). So CTest starts this test program with
// it, and the program under test inherits it.
//
// Not planted: version.dll. Wine's own user32 maps it by name from the
// folder that the program runs from, whatever the program does; Windows
// takes user32's imports from its system folder.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/ScopedHandle.h"
#include "tests/common/BesideThisProgram.h"
#include "tests/common/TempFolder.h"
#include "tests/program/Desktop.h"
#include "tests/program/ProgramTest.h"
#include "tests/program/ShellMarkers.h"

namespace {

// DLLs whose functions a program like this one imports (winmm, bcrypt,
// comctl32, comdlg32, shell32, wtsapi32), DLLs that they and the shell
// load by name (uxtheme, dwmapi, propsys, profapi), and cryptbase, to which
// advapi32 forwards the system's random generator; separated by commas.
const wchar_t kPlantedNames[] = KFO_PLANTED_DLLS;

std::vector<std::wstring> PlantedNames() {
  std::vector<std::wstring> names;
  const std::wstring all = kPlantedNames;
  for (size_t start = 0; start <= all.size();) {
    const size_t comma = std::min(all.find(L',', start), all.size());
    names.push_back(all.substr(start, comma - start));
    start = comma + 1;
  }
  return names;
}

bool UnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

std::wstring EnvironmentVariable(const wchar_t* name) {
  wchar_t value[1024] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, 1024);
  return length < 1024 ? std::wstring(value, length) : std::wstring();
}

bool StartsWithNoCase(const std::wstring& text, const std::wstring& start) {
  return text.size() >= start.size() && _wcsnicmp(text.c_str(), start.c_str(), start.size()) == 0;
}

bool EndsWithNoCase(const std::wstring& text, const std::wstring& end) {
  return text.size() >= end.size() &&
         _wcsicmp(text.c_str() + text.size() - end.size(), end.c_str()) == 0;
}

std::wstring Lower(std::wstring text) {
  for (wchar_t& unit : text) unit = towlower(unit);
  return text;
}

// The paths of the modules mapped into the process now.
std::vector<std::wstring> ModulesOf(DWORD process) {
  ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process));
  if (!snapshot.IsValid()) throw StepFailed("the program's modules could not be listed");
  std::vector<std::wstring> modules;
  MODULEENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Module32FirstW(snapshot.Get(), &entry); more;
       more = Module32NextW(snapshot.Get(), &entry))
    modules.push_back(entry.szExePath);
  return modules;
}

class PlantedDllTest : public ProgramTest {
 protected:
  void SetUp() override {
    const std::wstring overrides = std::wstring(kPlantedNames) + L"=n,b";
    if (UnderWine()) {
      ASSERT_EQ(EnvironmentVariable(L"WINEDLLOVERRIDES"), overrides)
          << "start this test program with WINEDLLOVERRIDES=" << Narrow(overrides)
          << ", or Wine maps its own DLLs in place of the planted ones";
    }
    const std::wstring planted = BesideThisProgram(L"program_planted_dll.dll");
    for (const std::wstring& name : PlantedNames()) {
      const std::wstring copy = m_drive.ProgramFolder() + L"\\" + name + L".dll";
      ASSERT_TRUE(CopyFileW(planted.c_str(), copy.c_str(), TRUE)) << Narrow(copy);
    }
  }

  // Empty when no planted DLL ran and the running program has no module
  // from the drive's folder but itself; otherwise what was found.
  std::vector<std::string> FoundFromTheDrive(Keyfolio* running) const {
    std::vector<std::string> found;
    WIN32_FIND_DATAW file{};
    const HANDLE search =
        FindFirstFileW((m_drive.ProgramFolder() + L"\\*.mapped").c_str(), &file);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::vector<unsigned char> bytes =
            ReadBytes(m_drive.ProgramFolder() + L"\\" + file.cFileName);
        const std::wstring program(reinterpret_cast<const wchar_t*>(bytes.data()),
                                   bytes.size() / sizeof(wchar_t));
        found.push_back("marker " + Narrow(file.cFileName) + " left by " + Narrow(program));
      } while (FindNextFileW(search, &file));
      FindClose(search);
    }
    if (!running) return found;
    const std::wstring folder = m_drive.ProgramFolder() + L"\\";
    for (const std::wstring& module : ModulesOf(running->Process().Id()))
      if (StartsWithNoCase(module, folder) &&
          _wcsicmp(module.c_str(), m_drive.ProgramPath().c_str()) != 0)
        found.push_back("module " + Narrow(module));
    return found;
  }

  ShellMarkers m_shell;
};

TEST_F(PlantedDllTest, NoneRunsThroughStartGenerateGoHelpAboutAndImport) {
  m_drive.PutVault(
      Vault(kPassword, 0, 1, {StoredSite(L"Bank", 1, L"pw", L"https://bank.example/")}));
  Keyfolio& program = Start();
  // A DLL that the program imports is mapped before its main window is
  // made; one mapped in place of a system DLL may keep the program from
  // working at all, so this is told before anything else is tried.
  ASSERT_EQ(FoundFromTheDrive(&program), std::vector<std::string>{}) << "at the start";
  program.LogIn(kPassword);

  program.ClickMainButton(L"Add New Site");
  HWND site = program.WaitForDialog(L"Add Site");
  program.ClickButtonIn(site, L"Generate");
  program.CloseWith(program.WaitForDialog(L"Generate Password"), L"Generate Password");
  Expect([&] { return !TextOf(program.EditBeside(site, L"Password:")).empty(); },
         "the generated password");
  program.CloseWith(site, L"Cancel");

  program.ClickMainButton(L"Go");
  Expect([&] { return m_shell.WebAddressesOpened().size() == 1; }, "the website opened");
  program.ChooseShortcut({VK_F1}, [&] { return m_shell.PagesOpened().size() == 1; });
  program.ChooseMenu(L"Help", L"About...");
  HWND about = program.WaitForDialog(L"About");
  Click(FindWindowExW(about, nullptr, L"HotLinkText", nullptr));
  Expect([&] { return m_shell.PagesOpened().size() == 2; }, "the help page opened by the link");
  program.CloseWith(about, L"OK");
  program.ChooseMenu(L"File", L"Import Sites...");
  program.CloseWith(program.WaitForDialog(L"Import Sites"), L"Cancel");

  EXPECT_EQ(FoundFromTheDrive(&program), std::vector<std::string>{}) << "after using it";
  // Visual styles: the common controls 6 of the side-by-side store, as the
  // manifest asks, also when the program does not import them.
  std::wstring controls;
  for (const std::wstring& module : ModulesOf(program.Process().Id()))
    if (EndsWithNoCase(module, L"\\comctl32.dll")) controls = Lower(module);
  EXPECT_NE(controls.find(L"\\winsxs\\"), std::wstring::npos) << Narrow(controls);
  EXPECT_NE(controls.find(L"microsoft.windows.common-controls_6595b64144ccf1df_6."),
            std::wstring::npos)
      << Narrow(controls);

  program.ChooseMenu(L"File", L"Exit");
  ASSERT_TRUE(program.WaitForExit());
  EXPECT_EQ(FoundFromTheDrive(nullptr), std::vector<std::string>{}) << "after the end";
}

}  // namespace
