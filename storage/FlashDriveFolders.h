// Where the program keeps its data: the folder "KFOdata" beside the program
// file, wherever the flash drive is mounted. The paths are class-wide so that
// the object that set them up at start-up need not outlive it.
#pragma once

#include <string>

class FlashDriveFolders {
 public:
  FlashDriveFolders() = default;
  virtual ~FlashDriveFolders() = default;

  // `programDir` holds the program, with no trailing backslash ("E:" for a
  // drive's root). Sets both paths and creates the data folder when it is
  // missing; true when the folder exists afterwards.
  bool SetFolders(const std::wstring& programDir);

  // The program folder and the data folder, each with its trailing
  // backslash; empty until SetFolders.
  static std::wstring ProgramFolder();
  static std::wstring ProgramDirWithDataFolder();

  // A directory of the data folder's name; a file of that name is not one.
  bool DataFolderExists() const;
  // Creates the data folder's last level only.
  bool CreateDataFolder() const;

 private:
  static const wchar_t ms_DataFolderName[];
  static const wchar_t ms_Separator[];
  static std::wstring ms_ProgramFolder;
  static std::wstring ms_DataFolder;
};
