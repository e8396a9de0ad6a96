// A static control (label, frame or rectangle) as a framework object. Labels
// are made but not bound to the framework: their colours come from the
// parent's own WM_CTLCOLORSTATIC handling. Dispatch still answers the colour
// messages through the colour hook for an object that is bound.
#pragma once

#include <windows.h>

#include "ui/Window.h"

class AbstractStaticControl : public Window {
 public:
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam) override;

  virtual void SetText(const wchar_t* text);
  // Places the control in its parent's client area, repainting it.
  virtual void Move(int x, int y, int width, int height);
  // The brush for a colour message; may set colours in the context.
  virtual HBRUSH OnCTLColorStatic(HDC hdc, HWND control) = 0;
  virtual void SetTextColor() = 0;
};
