#include "tests/program/ShellMarkers.h"

#include <windows.h>
#include <tlhelp32.h>

#include "support/ScopedHandle.h"
#include "tests/common/BesideThisProgram.h"
#include "tests/program/Desktop.h"

namespace {

constexpr wchar_t kWebMarkerName[] = L"web-marker.exe";
constexpr wchar_t kPageMarkerName[] = L"page-marker.exe";
constexpr wchar_t kProgramMarkerName[] = L"program-marker.exe";
constexpr wchar_t kMissingProgramName[] = L"no-such-browser.exe";
// Where the handlers that were there wait while the markers stand in.
constexpr wchar_t kSavedHandlersKey[] = L"Software\\Keyfolio tests saved shell handlers";

class ScopedKey {
 public:
  ScopedKey() = default;
  ScopedKey(const ScopedKey&) = delete;
  ScopedKey& operator=(const ScopedKey&) = delete;
  ~ScopedKey() {
    if (m_key) RegCloseKey(m_key);
  }
  HKEY* Receive() { return &m_key; }
  HKEY Get() const { return m_key; }

 private:
  HKEY m_key = nullptr;
};

std::wstring CommandKey(const std::wstring& handler) {
  return handler + L"\\shell\\open\\command";
}

// The handler (program id) of the .htm pages.
std::wstring PageHandler() {
  wchar_t name[256] = {};
  DWORD size = sizeof name;
  if (RegGetValueW(HKEY_CLASSES_ROOT, L".htm", nullptr, RRF_RT_REG_SZ, nullptr, name, &size) !=
      ERROR_SUCCESS)
    throw StepFailed("no handler of .htm pages to stand in for");
  return name;
}

struct SavedValue {
  DWORD type = REG_NONE;
  std::vector<unsigned char> data;
};

SavedValue ReadDefault(HKEY key) {
  SavedValue value;
  DWORD size = 0;
  if (RegQueryValueExW(key, nullptr, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
    throw StepFailed("a shell handler without a command");
  value.data.resize(size);
  RegQueryValueExW(key, nullptr, nullptr, &value.type, value.data.data(), &size);
  return value;
}

// Puts back every handler saved and forgets them.
void RestoreSavedHandlers() {
  ScopedKey saved;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSavedHandlersKey, 0, KEY_READ, saved.Receive()) !=
      ERROR_SUCCESS)
    return;
  for (DWORD index = 0;; ++index) {
    wchar_t name[512] = {};
    DWORD nameLength = 512;
    DWORD type = 0;
    std::vector<unsigned char> data(4096);
    DWORD size = static_cast<DWORD>(data.size());
    if (RegEnumValueW(saved.Get(), index, name, &nameLength, nullptr, &type, data.data(), &size) !=
        ERROR_SUCCESS)
      break;
    ScopedKey command;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, name, 0, KEY_SET_VALUE, command.Receive()) ==
        ERROR_SUCCESS)
      RegSetValueExW(command.Get(), nullptr, 0, type, data.data(), size);
  }
  RegDeleteKeyW(HKEY_CURRENT_USER, kSavedHandlersKey);
}

void StandIn(const std::wstring& handler, const std::wstring& marker) {
  const std::wstring name = CommandKey(handler);
  ScopedKey command;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, name.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                    command.Receive()) != ERROR_SUCCESS)
    throw StepFailed("no shell handler to stand in for");
  const SavedValue previous = ReadDefault(command.Get());
  ScopedKey saved;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kSavedHandlersKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      saved.Receive(), nullptr) != ERROR_SUCCESS ||
      RegSetValueExW(saved.Get(), name.c_str(), 0, previous.type, previous.data.data(),
                     static_cast<DWORD>(previous.data.size())) != ERROR_SUCCESS)
    throw StepFailed("the shell handler could not be saved");
  const std::wstring line = L"\"" + marker + L"\" \"%1\"";
  RegSetValueExW(command.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(line.c_str()),
                 static_cast<DWORD>((line.size() + 1) * sizeof(wchar_t)));
}

std::vector<std::wstring> LinesOf(const std::wstring& path) {
  std::vector<std::wstring> lines;
  if (!FileExists(path)) return lines;
  const std::vector<unsigned char> bytes = ReadBytes(path);
  std::wstring line;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const wchar_t unit = static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
    if (unit != L'\n') {
      line += unit;
      continue;
    }
    lines.push_back(line);
    line.clear();
  }
  return lines;
}

bool Running(const wchar_t* program) {
  ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.IsValid()) throw StepFailed("the processes could not be listed");
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
       more = Process32NextW(snapshot.Get(), &entry))
    if (_wcsicmp(entry.szExeFile, program) == 0) return true;
  return false;
}

}  // namespace

ShellMarkers::ShellMarkers(Handlers handlers)
    : m_webMarker(m_folder.File(kWebMarkerName)),
      m_pageMarker(m_folder.File(kPageMarkerName)),
      m_programMarker(m_folder.File(kProgramMarkerName)) {
  const std::wstring marker = BesideThisProgram(L"program_shell_marker.exe");
  for (const std::wstring* copy : {&m_webMarker, &m_pageMarker, &m_programMarker})
    if (!CopyFileW(marker.c_str(), copy->c_str(), FALSE))
      throw StepFailed("the shell marker could not be copied");
  RestoreSavedHandlers();
  const std::wstring missing = m_folder.File(kMissingProgramName);
  const bool markers = handlers == Handlers::kMarkers;
  try {
    StandIn(L"http", markers ? m_webMarker : missing);
    StandIn(L"https", markers ? m_webMarker : missing);
    StandIn(PageHandler(), markers ? m_pageMarker : missing);
  } catch (...) {
    RestoreSavedHandlers();
    throw;
  }
}

// The folder goes after this: a marker still running would keep its file.
ShellMarkers::~ShellMarkers() {
  RestoreSavedHandlers();
  WaitFor([&] { return !AnyMarkerRunning(); });
}

std::vector<std::wstring> ShellMarkers::WebAddressesOpened() const {
  return LinesOf(m_webMarker + L".opened");
}

std::vector<std::wstring> ShellMarkers::PagesOpened() const {
  return LinesOf(m_pageMarker + L".opened");
}

std::vector<std::wstring> ShellMarkers::WebHandlerFolders() const {
  return LinesOf(m_webMarker + L".folders");
}

std::vector<std::wstring> ShellMarkers::PageHandlerFolders() const {
  return LinesOf(m_pageMarker + L".folders");
}

bool ShellMarkers::ProgramMarkerRan() const {
  return FileExists(m_programMarker + L".opened");
}

bool ShellMarkers::AnyMarkerRunning() const {
  return Running(kWebMarkerName) || Running(kPageMarkerName) || Running(kProgramMarkerName);
}
