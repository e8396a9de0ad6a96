// A frame or filled rectangle drawn by a static control: no text, no font,
// no colours of its own.
#pragma once

#include <windows.h>

#include "ui/AbstractStaticControl.h"

class StaticControlFrame : public AbstractStaticControl {
 public:
  // Kind 1 white frame, 2 grey frame, 3 white rectangle, anything else black
  // frame.
  StaticControlFrame(HWND parent, int id, int kind);

  HBRUSH OnCTLColorStatic(HDC, HWND) override { return nullptr; }
  void SetTextColor() override {}
};
