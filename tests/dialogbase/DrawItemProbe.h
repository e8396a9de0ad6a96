// Paints an owner-drawn item through a real dialog object's OnDrawItem into
// a memory bitmap filled with grey, and reads back what changed. The test
// programs differ only in whether they carry a bitmap IDB_EDITBUTTON: the
// test image is red above and blue below.
#pragma once

#include <windows.h>

struct DrawnItem {
  INT_PTR answer;
  // Inside the item's top left 20 x 20 pixels.
  COLORREF topLeft;
  COLORREF bottomRight;
  // Just outside that square, and before the item's corner.
  COLORREF right;
  COLORREF below;
  COLORREF before;
};

constexpr COLORREF kGrey = RGB(128, 128, 128);

// The item's rectangle starts at (5, 5) of the bitmap and is 30 x 30.
DrawnItem DrawItem(UINT itemState);
