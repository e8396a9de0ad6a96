#include "tests/program/FlashDrive.h"

#include <windows.h>

#include "tests/program/Desktop.h"

namespace {

const wchar_t kProgram[] = L"Keyfolio.exe";
const wchar_t kHelpFolder[] = L"help";
const wchar_t kHelpPage[] = L"help\\Keyfolio-Flash-Instructions.htm";

void Copy(const std::wstring& from, const std::wstring& to) {
  if (!CopyFileW(from.c_str(), to.c_str(), TRUE))
    throw StepFailed("cannot copy the packaged program onto the drive");
}

// Where the build puts the packaged program.
const wchar_t kPackagedProgramFolder[] = KFO_PACKAGED_PROGRAM_FOLDER;

}  // namespace

FlashDrive::FlashDrive(const std::wstring& subfolder)
    : m_programFolder(subfolder.empty() ? m_folder.Path() : m_folder.File(subfolder)) {
  if (!subfolder.empty() && !CreateDirectoryW(m_programFolder.c_str(), nullptr))
    throw StepFailed("the program's folder could not be made");
  const std::wstring packaged = std::wstring(kPackagedProgramFolder) + L"\\";
  Copy(packaged + kProgram, ProgramPath());
  CreateDirectoryW(File(kHelpFolder).c_str(), nullptr);
  Copy(packaged + kHelpPage, HelpPagePath());
}

std::wstring FlashDrive::File(const std::wstring& name) const {
  return m_programFolder + L"\\" + name;
}

std::wstring FlashDrive::ProgramPath() const {
  return File(kProgram);
}

std::wstring FlashDrive::HelpPagePath() const {
  return File(kHelpPage);
}

std::wstring FlashDrive::DataFolder() const {
  return File(L"KFOdata");
}

std::wstring FlashDrive::VaultPath() const {
  return DataFolder() + L"\\KFO.dta";
}

void FlashDrive::PutVault(const Bytes& bytes) const {
  CreateDirectoryW(DataFolder().c_str(), nullptr);
  WriteBytes(VaultPath(), bytes);
}

Bytes FlashDrive::VaultBytes() const {
  return FileExists(VaultPath()) ? ReadBytes(VaultPath()) : Bytes();
}
