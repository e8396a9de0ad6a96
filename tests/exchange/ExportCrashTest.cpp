// A program that ends in the middle of writing an export, however it ends,
// leaves no part of the file: the file being written is marked for deletion
// until it is whole, and Windows removes it with the program's last handle.
// A helper writes a large file again and again, and is killed while the file
// being written is there; the test counts the cuts that came before that
// write was whole, and wants some. Between the making of the file and its
// mark (two calls, as Wine cannot mark a file for deletion at its making and
// take the mark off later) a cut can leave it, empty: no byte of the export
// is written before the mark.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "exchange/SafeFileWriter.h"
#include "tests/common/ChildProcess.h"
#include "tests/common/TempFolder.h"
#include "tests/common/TimeBounds.h"
#include "tests/storage/VaultBytes.h"

namespace {

constexpr unsigned kMegabytes = 48;
constexpr unsigned long long kBytes = static_cast<unsigned long long>(kMegabytes) << 20;
constexpr int kCuts = 8;

// Whether the folder lists the file and its size is below `size`. The
// folder's list, because Windows refuses a file marked for deletion to every
// open, by name too; it lists it until it is gone (the size it lists may lag
// behind the writing, which only makes a cut come earlier).
bool ListedBelow(const std::wstring& path, unsigned long long size) {
  WIN32_FIND_DATAW data{};
  HANDLE search = FindFirstFileW(path.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow) < size;
}

unsigned long long SizeOf(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return static_cast<unsigned long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

// The number of the write that made the file, from its first four bytes.
uint32_t WriteNumber(const std::wstring& path) {
  const Bytes bytes = ReadBytes(path);
  if (bytes.size() < 4) return 0;
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

}  // namespace

TEST(ExportCrash, AProgramEndedWhileItWritesLeavesNoPartOfTheFile) {
  TempFolder folder;
  const std::wstring target = folder.File(L"Keyfolio sites.csv");
  const std::wstring temporary = SafeFileWriter::TemporaryName(target, 0);
  int midWrite = 0, leftEmpty = 0;
  for (int cut = 0; cut < kCuts; ++cut) {
    SCOPED_TRACE(cut);
    ChildProcess writer(L"exchange_writer_child.exe",
                        L"\"" + target + L"\" " + std::to_wstring(kMegabytes));
    const ULONGLONG deadline = GetTickCount64() + kStepTimeoutMs;
    bool writing = false;
    while (!writing && writer.Running() && GetTickCount64() < deadline)
      writing = ListedBelow(temporary, kBytes);
    ASSERT_TRUE(writing) << "the file being written was never seen";
    writer.Kill();
    const std::vector<unsigned char> said = writer.Output();
    const uint32_t begun = static_cast<uint32_t>(said.size());
    if (FileExists(temporary)) {
      EXPECT_EQ(SizeOf(temporary), 0u) << "a part of the file being written was left";
      ++leftEmpty;
      DeleteFileW(temporary.c_str());
    }
    const std::vector<std::wstring> files = FolderContents(folder.Path());
    EXPECT_TRUE(files.empty() || files == std::vector<std::wstring>{L"Keyfolio sites.csv"});
    if (!FileExists(target)) {
      ++midWrite;
      continue;
    }
    EXPECT_EQ(SizeOf(target), kBytes);
    if (WriteNumber(target) < begun) ++midWrite;
  }
  EXPECT_GT(midWrite, 0) << "no cut came before the write it cut was whole";
  std::printf("%d of %d cuts came in the middle of a write; %d left it empty, unmarked\n",
              midWrite, kCuts, leftEmpty);
}
