// Writes a whole file that the person asked for (an export, a backup) so that
// a failure, a full disk or a drive pulled out on the way, never leaves half
// a file under the name, nor harms a file that was there: the bytes go to a
// temporary file beside the target, are forced onto the medium, and only then
// does one rename put the file in place. Beside, so that the rename never
// crosses a volume.
//
// The temporary file is named after its target ("Keyfolio sites.csv" is
// written as "Keyfolio sites.csv.unfinished"), so that a person who finds one
// knows what it holds, and it is marked for deletion until it is complete:
// should the program end on the way, however it ends, Windows removes it
// with the program's last handle. Only a drive that is pulled out, or a
// Windows that stops, can leave one behind; the result then names it, and
// whoever tells the person must not say that nothing was written.
#pragma once

#include <windows.h>

#include <string>

class SafeFileWriter {
 public:
  struct Result {
    // ERROR_SUCCESS, or the Windows error of the step that failed; the
    // target is then as it was.
    DWORD error = ERROR_SUCCESS;
    // After a failure: the temporary file when it may still be there, its
    // removal not seen; empty when nothing was left.
    std::wstring leftOver;
  };

  // Writes `size` bytes as the file `target` (a full path), replacing a
  // file there.
  static Result Write(const std::wstring& target, const void* data, size_t size);
  // The temporary file's name for `target`: the first, then with a number
  // for a name that is taken ("... (2).unfinished").
  static std::wstring TemporaryName(const std::wstring& target, int attempt);
};
