// The program's icon at the size a window asks for, which follows the DPI of
// the window's screen. The icon file holds an image drawn for each size that
// the usual scales ask for (app/res/make_art.py), so the system picks one
// rather than scaling another.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

// The icon IDI_KEYFOLIO of the program's module at `size` x `size` pixels;
// the caller destroys it (DestroyIcon). Null when it cannot be loaded.
HICON LoadProgramIcon(int size);

struct IconDestroyer {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
// An icon loaded for one window: destroyed with this object, which must
// outlive the window's use of it.
using ProgramIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDestroyer>;
