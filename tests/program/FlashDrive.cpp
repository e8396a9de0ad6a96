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

}  // namespace

std::wstring PackagedProgramFolder() {
  return KFO_PACKAGED_PROGRAM_FOLDER;
}

FlashDrive::FlashDrive() {
  const std::wstring packaged = PackagedProgramFolder() + L"\\";
  Copy(packaged + kProgram, ProgramPath());
  CreateDirectoryW(m_folder.File(kHelpFolder).c_str(), nullptr);
  Copy(packaged + kHelpPage, HelpPagePath());
}

std::wstring FlashDrive::ProgramPath() const {
  return m_folder.File(kProgram);
}

std::wstring FlashDrive::HelpPagePath() const {
  return m_folder.File(kHelpPage);
}

std::wstring FlashDrive::DataFolder() const {
  return m_folder.File(L"KFOdata");
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
