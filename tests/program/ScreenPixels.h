// What a window looks like on the screen, pixel by pixel: the one way to see
// the state of a menu of another process, whose items the system lets only
// the owning process read. A picture is taken once, when it is made.
#pragma once

#include <windows.h>

#include <vector>

class ScreenPixels {
 public:
  // The window's whole rectangle as the screen shows it now. A window that
  // is gone (a menu that just closed) gives a picture without pixels.
  explicit ScreenPixels(HWND window);

  bool Taken() const { return !m_pixels.empty(); }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  // x and y from the window's top-left corner.
  COLORREF At(int x, int y) const;
  // The pixels in [left, right) x [top, bottom) that differ clearly from
  // `background`.
  int CountUnlike(COLORREF background, int left, int top, int right, int bottom) const;

 private:
  int m_width = 0;
  int m_height = 0;
  std::vector<COLORREF> m_pixels;
};

// A popup menu on the screen, read by its looks: the selected item is drawn
// in the highlight colour, a check mark left of an item's text.
struct MenuRow {
  int top = -1;
  int bottom = -1;
  bool Found() const { return top >= 0; }
};

// The rows drawn in the highlight colour; not Found() when no item is
// selected or the picture has no pixels.
MenuRow SelectedRow(const ScreenPixels& menu);
// True when the check-mark column of `row` holds a mark.
bool RowIsChecked(const ScreenPixels& menu, const MenuRow& row);
