// Writes a whole file that the person asked for (an export, a backup) so that
// a failure, a full disk or a drive pulled out on the way, never leaves half
// a file under the name, nor harms a file that was there: the bytes go to a
// temporary file beside the target, are forced onto the medium, and only then
// does one rename put the file in place. Beside, so that the rename never
// crosses a volume.
#pragma once

#include <windows.h>

#include <string>

class SafeFileWriter {
 public:
  // Writes `size` bytes as the file `target` (a full path), replacing a
  // file there. ERROR_SUCCESS, or the Windows error of the step that failed;
  // the target is then as it was, and the temporary file is gone as far as
  // it could be removed.
  static DWORD Write(const std::wstring& target, const void* data, size_t size);
};
