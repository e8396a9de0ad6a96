#include <windows.h>

#include <gtest/gtest.h>

#include "storage/Serializer.h"
#include "support/ExceptionBase.h"
#include "tests/common/TempFolder.h"

namespace {

// Drive T: is a 64 KiB disk that the test script mounts; its tests hold a
// lock so that nothing else fills it meanwhile.
bool HaveTinyDisk() {
  return GetDriveTypeW(L"T:\\") != DRIVE_NO_ROOT_DIR && FileExists(L"T:\\");
}

int WriteFailure(const std::wstring& path, const std::wstring& text) {
  try {
    Serializer serializer(path);
    serializer.PutString(text);
  } catch (const ExceptionsSerializer& e) {
    return e.GetErrorCode();
  }
  return -1;
}

}  // namespace

TEST(FullDisk, ShortWriteThenFailedWrite) {
  if (!HaveTinyDisk()) GTEST_SKIP() << "drive T: (a 64 KiB disk, mounted as root) is missing";
  const std::wstring first = L"T:\\first.dat";
  const std::wstring second = L"T:\\second.dat";
  // 128 KiB of text on a 64 KiB disk: the system writes what fits and
  // reports success with a short count.
  EXPECT_EQ(WriteFailure(first, std::wstring(64 * 1024, L'x')), Serializer::SR_BytesWrittenIncorrect);
  // Now the disk is full: the next write fails outright.
  EXPECT_EQ(WriteFailure(second, L"y"), Serializer::SR_WriteFileFailed);
  RemoveTree(first);
  RemoveTree(second);
  EXPECT_EQ(WriteFailure(first, L"fits again"), -1);
  RemoveTree(first);
}
