#include "ui/FontEntry.h"

int PointsToLogicalHeight(HDC hdc, int points) {
  POINT size = {-MulDiv(points, GetDeviceCaps(hdc, LOGPIXELSX), 72),
                -MulDiv(points, GetDeviceCaps(hdc, LOGPIXELSY), 72)};
  DPtoLP(hdc, &size, 1);
  return size.y;
}

FontEntry::FontEntry(HDC hdc, int points, const std::wstring& faceName, int weight)
    : m_hFont(CreateFontW(PointsToLogicalHeight(hdc, points), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                          ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, faceName.c_str())) {
  const int saved = SaveDC(hdc);
  SelectObject(hdc, m_hFont);
  ::GetTextMetricsW(hdc, &m_tmFont);
  RestoreDC(hdc, saved);
}

FontEntry::~FontEntry() {
  if (m_hFont) DeleteObject(m_hFont);
}
