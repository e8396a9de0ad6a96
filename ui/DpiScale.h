// Pixel sizes for the screen a window is on. The program's layout is drawn
// in pixels at 96 DPI, the scale Windows calls 100%. The program tells
// Windows that it follows each monitor's DPI itself (its manifest), so
// Windows stretches none of its windows, and every pixel size the program
// gives a window passes through here: scaled by the window's DPI over 96 and
// rounded to the nearest pixel (MulDiv, halves away from zero), the same way
// everywhere. At 96 DPI every size is the one drawn.
//
// The functions that tell a window's DPI came with Windows 10 (1607); they
// are looked up, not imported, so the program still starts on Windows 7.
// Where they are missing every window has the system's DPI, the screen's
// LOGPIXELSY, and the sizes follow that.
#pragma once

#include <windows.h>

// Sent to a per-monitor (v2) window before its DPI changes, to ask for its
// size at the new DPI (wParam) in the SIZE at lParam; TRUE: the size is
// given. The SDK declares it only for Windows 10 1703 on.
constexpr UINT kWmGetDpiScaledSize = 0x02E4;

class DpiScale {
 public:
  static constexpr UINT kBaseDpi = 96;

  explicit constexpr DpiScale(UINT dpi = kBaseDpi) : m_dpi(dpi ? dpi : kBaseDpi) {}

  // The DPI of the monitor the window is on; the system's for null or where
  // the system has one DPI for all.
  static DpiScale OfWindow(HWND window);

  UINT Dpi() const { return m_dpi; }
  // A length drawn at 96 DPI, in pixels at this DPI.
  int Pixels(int at96) const { return MulDiv(at96, static_cast<int>(m_dpi), kBaseDpi); }
  // The pixel height of a character of `points` points (1/72 inch).
  int PointsToPixels(int points) const { return MulDiv(points, static_cast<int>(m_dpi), 72); }
  // What a window's frame, caption and (one-line) menu bar add to its client
  // area at this DPI, across and down.
  SIZE Frame(DWORD style, bool menu, DWORD exStyle) const;

 private:
  UINT m_dpi;
};
