// Paints an owner-drawn item through a real dialog object's OnDrawItem into
// a memory bitmap filled with grey, and reads back what changed. The test
// programs differ only in whether they carry a bitmap IDB_EDITBUTTON: the
// test image is red above and blue below.
#pragma once

#include <windows.h>

struct DrawnItem {
  INT_PTR answer;
  // Inside the item's top left 20 x 20 pixels, scaled by the dialog's DPI.
  COLORREF topLeft;
  COLORREF bottomRight;
  // Just outside that square, and before the item's corner.
  COLORREF right;
  COLORREF below;
  COLORREF before;
};

constexpr COLORREF kGrey = RGB(128, 128, 128);

// The item's rectangle starts at (5, 5) of the bitmap and is 50 x 50. The
// dialog is laid out for `dpi` (DialogScaling, told of it as Windows tells
// a window that moved to a screen of that scale).
DrawnItem DrawItem(UINT itemState, UINT dpi = 96);
