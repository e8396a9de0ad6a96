// Drive T: is a 64 KiB disk that the test script mounts (as root); the tests
// that fill it hold a lock so that nothing else fills it meanwhile, and skip
// where it is missing.
#pragma once

#include <windows.h>

#include <string>

#include "tests/common/TempFolder.h"

inline bool HaveTinyDisk() {
  return GetDriveTypeW(L"T:\\") != DRIVE_NO_ROOT_DIR &&
         GetFileAttributesW(L"T:\\") != INVALID_FILE_ATTRIBUTES;
}

// A folder the test made on the disk, removed when the test ends.
struct RemovedAtEnd {
  std::wstring path;
  ~RemovedAtEnd() { RemoveTree(path); }
};
