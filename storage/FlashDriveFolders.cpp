#include "storage/FlashDriveFolders.h"

#include <windows.h>

#include "support/DebugLog.h"

const wchar_t FlashDriveFolders::ms_DataFolderName[] = L"KFOdata";
const wchar_t FlashDriveFolders::ms_Separator[] = L"\\";
std::wstring FlashDriveFolders::ms_ProgramFolder;
std::wstring FlashDriveFolders::ms_DataFolder;

bool FlashDriveFolders::SetFolders(const std::wstring& programDir) {
  ms_ProgramFolder = programDir + ms_Separator;
  ms_DataFolder = ms_ProgramFolder + ms_DataFolderName + ms_Separator;
  DebugLog(L"FlashDriveFolders::SetFolders: %s", ms_DataFolder.c_str());
  if (DataFolderExists()) return true;
  return CreateDataFolder();
}

std::wstring FlashDriveFolders::ProgramFolder() {
  return ms_ProgramFolder;
}

std::wstring FlashDriveFolders::ProgramDirWithDataFolder() {
  return ms_DataFolder;
}

bool FlashDriveFolders::DataFolderExists() const {
  const DWORD attributes = GetFileAttributesW(ms_DataFolder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FlashDriveFolders::CreateDataFolder() const {
  if (CreateDirectoryW(ms_DataFolder.c_str(), nullptr)) return true;
  DebugLog(L"FlashDriveFolders::CreateDataFolder: CreateDirectoryW failed %i for %s",
           static_cast<int>(GetLastError()), ms_DataFolder.c_str());
  return false;
}
