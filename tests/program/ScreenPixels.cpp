#include "tests/program/ScreenPixels.h"

#include <cstdlib>

#include "tests/program/Desktop.h"
#include "ui/ScopedGdi.h"

namespace {

class MemoryDC {
 public:
  explicit MemoryDC(HDC like) : m_hdc(CreateCompatibleDC(like)) {}
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  ~MemoryDC() {
    if (m_hdc) DeleteDC(m_hdc);
  }
  HDC Get() const { return m_hdc; }

 private:
  HDC m_hdc;
};

bool Unlike(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
             std::abs(GetBValue(a) - GetBValue(b)) >
         96;
}

// Inside the menu's frame, right of any text or arrow.
int SampleColumn(const ScreenPixels& menu) {
  return menu.Width() - 6;
}

}  // namespace

ScreenPixels::ScreenPixels(HWND window) {
  RECT rect{};
  if (!GetWindowRect(window, &rect) || rect.right <= rect.left || rect.bottom <= rect.top) return;
  m_width = rect.right - rect.left;
  m_height = rect.bottom - rect.top;
  WindowDC screen(nullptr);
  MemoryDC memory(screen.Get());
  ScopedGdiObject bitmap(CreateCompatibleBitmap(screen.Get(), m_width, m_height));
  {
    SelectedObject selected(memory.Get(), bitmap.Get());
    if (!BitBlt(memory.Get(), 0, 0, m_width, m_height, screen.Get(), rect.left, rect.top, SRCCOPY))
      throw StepFailed("the screen could not be read");
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = m_width;
  info.bmiHeader.biHeight = -m_height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<RGBQUAD> quads(static_cast<size_t>(m_width) * m_height);
  if (GetDIBits(memory.Get(), static_cast<HBITMAP>(bitmap.Get()), 0, m_height, quads.data(), &info,
                DIB_RGB_COLORS) != m_height)
    throw StepFailed("the picture of the screen could not be read");
  // Once the pixels are read, a window that went meanwhile is a picture of
  // whatever lay beneath it.
  if (!IsWindowVisible(window)) return;
  m_pixels.reserve(quads.size());
  for (const RGBQUAD& quad : quads)
    m_pixels.push_back(RGB(quad.rgbRed, quad.rgbGreen, quad.rgbBlue));
}

COLORREF ScreenPixels::At(int x, int y) const {
  return m_pixels[static_cast<size_t>(y) * m_width + x];
}

int ScreenPixels::CountUnlike(COLORREF background, int left, int top, int right, int bottom) const {
  int count = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x)
      if (Unlike(At(x, y), background)) ++count;
  return count;
}

MenuRow SelectedRow(const ScreenPixels& menu) {
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  MenuRow row;
  if (!menu.Taken()) return row;
  for (int y = 0; y < menu.Height(); ++y) {
    const bool selected = menu.At(SampleColumn(menu), y) == highlight;
    if (selected && !row.Found()) row.top = y;
    if (selected) row.bottom = y + 1;
    if (!selected && row.Found()) break;
  }
  return row;
}

// The mark is drawn in a square of the check-mark size at the item's left,
// in the text colour of the item (on the highlight when it is selected);
// the menu's frame and the highlight's edge take the first three columns.
bool RowIsChecked(const ScreenPixels& menu, const MenuRow& row) {
  const COLORREF background = menu.At(SampleColumn(menu), (row.top + row.bottom) / 2);
  constexpr int kLeft = 4;
  return menu.CountUnlike(background, kLeft, row.top, kLeft + GetSystemMetrics(SM_CXMENUCHECK),
                          row.bottom) >= 4;
}
