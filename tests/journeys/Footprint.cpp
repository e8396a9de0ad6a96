#include "tests/journeys/Footprint.h"

#include <windows.h>

#include <cstdint>
#include <sstream>
#include <stdexcept>

#include "support/ScopedHandle.h"
#include "tests/common/TempFolder.h"

namespace {

struct Branch {
  const wchar_t* name;  // as the places are named
  HKEY root;
  const wchar_t* subkey;
  const wchar_t* file;  // the prefix's file that keeps it
};

const Branch kBranches[] = {
    {L"HKLM", HKEY_LOCAL_MACHINE, nullptr, L"system.reg"},
    {L"HKCU", HKEY_CURRENT_USER, nullptr, L"user.reg"},
    {L"HKU\\.Default", HKEY_USERS, L".Default", L"userdef.reg"},
};

// The server writes a branch out only for a caller that holds and has
// switched on the backup privilege; Wine gives it to every process.
void EnableBackupPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
    throw std::runtime_error("no token to switch on the backup privilege");
  ScopedHandle owned(token);
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (!LookupPrivilegeValueW(nullptr, SE_BACKUP_NAME, &privileges.Privileges[0].Luid) ||
      !AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) ||
      GetLastError() != ERROR_SUCCESS)
    throw std::runtime_error("the backup privilege could not be switched on");
}

// The branch as the server holds it now, in the text of its .reg file.
std::string SavedBranch(const Branch& branch) {
  HKEY key = branch.root;
  if (branch.subkey &&
      RegOpenKeyExW(branch.root, branch.subkey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    throw std::runtime_error("a registry branch could not be opened");
  const std::wstring file =
      std::wstring(KFO_JOURNEYS_OUTPUT_FOLDER) + L"\\footprint-" + branch.file;
  DeleteFileW(file.c_str());
  const LONG saved = RegSaveKeyW(key, file.c_str(), nullptr);
  if (key != branch.root) RegCloseKey(key);
  if (saved != ERROR_SUCCESS)
    throw std::runtime_error("the server did not write a registry branch");
  const std::vector<unsigned char> bytes = ReadBytes(file);
  DeleteFileW(file.c_str());
  return std::string(bytes.begin(), bytes.end());
}

std::wstring Widened(const std::string& text) {
  return std::wstring(text.begin(), text.end());
}

// The file writes a backslash in a key's name twice.
std::wstring KeyName(const std::string& written) {
  std::wstring name;
  for (size_t i = 0; i < written.size(); ++i) {
    name += static_cast<wchar_t>(static_cast<unsigned char>(written[i]));
    if (written[i] == '\\' && i + 1 < written.size() && written[i + 1] == '\\') ++i;
  }
  return name;
}

// A key's line is "[name] time"; its values follow, a long one continued on
// lines that begin with blanks; "#time=" lines are the key's time again.
void AddBranch(const Branch& branch, Footprint& footprint) {
  std::istringstream lines(SavedBranch(branch));
  std::string line;
  std::wstring* content = nullptr;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '[') {
      const size_t end = line.rfind("] ");
      const std::wstring place =
          std::wstring(branch.name) + L"\\" +
          KeyName(line.substr(1, end == std::string::npos ? line.size() - 1 : end - 1));
      content = &footprint[place];
    } else if (content && !line.empty() && line.rfind("#time=", 0) != 0) {
      *content += Widened(line) + L"\n";
    }
  }
}

uint64_t Fnv1a(const std::vector<unsigned char>& bytes) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char byte : bytes) hash = (hash ^ byte) * 1099511628211ull;
  return hash;
}

std::wstring FileContent(const std::wstring& path) {
  try {
    const std::vector<unsigned char> bytes = ReadBytes(path);
    wchar_t text[64] = {};
    swprintf(text, 64, L"%zu bytes, %016llx", bytes.size(),
             static_cast<unsigned long long>(Fnv1a(bytes)));
    return text;
  } catch (const std::runtime_error&) {
    return L"unreadable";
  }
}

// Folders that are links (Wine links Desktop, Documents and the like to the
// Unix home, outside the prefix, shared by everything on the machine) are
// noted, not followed, as Windows's own tools treat junctions. At the top of
// drive C: only users is walked; the other folders are named: a program that
// made a folder of its own there shows, and the system's own (windows,
// Program Files) are too large to read whole for every test.
void AddFolder(const std::wstring& folder, const std::wstring& programFolder,
               Footprint& footprint) {
  const bool topOfDrive = folder == L"C:";
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = folder + L"\\" + name;
    if (_wcsicmp(path.c_str(), programFolder.c_str()) == 0) continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
      footprint[path] = L"link";
    } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      footprint[path] = L"folder";
      if (!topOfDrive || _wcsicmp(name.c_str(), L"users") == 0)
        AddFolder(path, programFolder, footprint);
    } else {
      footprint[path] = FileContent(path);
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

std::vector<std::wstring> Lines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  std::wistringstream stream(text);
  for (std::wstring line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

bool Contains(const std::vector<std::wstring>& lines, const std::wstring& line) {
  for (const std::wstring& other : lines)
    if (other == line) return true;
  return false;
}

}  // namespace

Footprint TakeFootprint(const std::wstring& programFolder) {
  EnableBackupPrivilege();
  Footprint footprint;
  for (const Branch& branch : kBranches) AddBranch(branch, footprint);
  AddFolder(L"C:", programFolder, footprint);
  return footprint;
}

std::vector<std::wstring> Differences(const Footprint& before, const Footprint& after) {
  std::vector<std::wstring> differences;
  for (const auto& [place, content] : before)
    if (!after.count(place)) differences.push_back(L"removed " + place);
  for (const auto& [place, content] : after) {
    const auto old = before.find(place);
    if (old == before.end()) {
      differences.push_back(L"added " + place + L": " + content);
    } else if (old->second != content) {
      std::wstring change = L"changed " + place + L":";
      const std::vector<std::wstring> was = Lines(old->second), is = Lines(content);
      for (const std::wstring& line : was)
        if (!Contains(is, line)) change += L"\n  - " + line;
      for (const std::wstring& line : is)
        if (!Contains(was, line)) change += L"\n  + " + line;
      differences.push_back(change);
    }
  }
  return differences;
}
