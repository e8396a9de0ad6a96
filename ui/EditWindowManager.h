// Makes the program's edit fields. The main window asks for its fields by a
// class type so that it depends only on AbstractEditWindowControl; type 0,
// the EditWindowControl, is the only kind there is.
#pragma once

#include <windows.h>

#include <memory>

#include "ui/AbstractEditWindowControl.h"

class EditWindowManager {
 public:
  virtual ~EditWindowManager() = default;

  // Class type 0 makes an EditWindowControl with the remaining arguments
  // (and throws as its constructor does); a larger type is traced and, like
  // a negative one, gives null.
  std::unique_ptr<AbstractEditWindowControl> CreateWindowClass(int classType, HWND parent, int id,
                                                               const wchar_t* text, int editType,
                                                               int boldFont, bool noAutoScroll);
};
