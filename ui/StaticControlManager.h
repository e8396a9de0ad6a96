// Makes the program's static controls: type 0 a label, type 1 a frame.
#pragma once

#include <windows.h>

#include <memory>

#include "ui/AbstractStaticControl.h"

class StaticControlManager {
 public:
  virtual ~StaticControlManager() = default;

  // Type 0: a StaticControlText from the text, `alignmentOrKind` as its
  // alignment and the bold flag. Type 1: a StaticControlFrame of the kind
  // `alignmentOrKind` (text and bold flag unused). Any other type: null.
  std::unique_ptr<AbstractStaticControl> CreateStaticControl(int type, HWND parent, int id,
                                                             const wchar_t* text,
                                                             int alignmentOrKind, int bold);
};
