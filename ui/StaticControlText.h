// A one-line label in the framework's normal or bold font.
#pragma once

#include <windows.h>

#include "ui/AbstractStaticControl.h"

class StaticControlText : public AbstractStaticControl {
 public:
  // Alignment 0 is left, 2 right, anything else centred. The label is a
  // child of `parent` at position and size 0; the caller places it.
  StaticControlText(HWND parent, int id, const wchar_t* text, int alignment, int bold);

  // Magenta text on the hollow stock brush.
  HBRUSH OnCTLColorStatic(HDC hdc, HWND control) override;
  // Sets red text in a context of the label's own and traces the answer.
  void SetTextColor() override;
};
