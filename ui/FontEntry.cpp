#include "ui/FontEntry.h"

int PointsToLogicalHeight(HDC hdc, DpiScale scale, int points) {
  const int pixels = scale.PointsToPixels(points);
  POINT size = {-pixels, -pixels};
  DPtoLP(hdc, &size, 1);
  return size.y;
}

FontEntry::FontEntry(HDC hdc, DpiScale scale, int points, const std::wstring& faceName,
                     int weight)
    : m_hFont(CreateFontW(PointsToLogicalHeight(hdc, scale, points), 0, 0, 0, weight, FALSE, FALSE,
                          FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, faceName.c_str())) {
  const int saved = SaveDC(hdc);
  SelectObject(hdc, m_hFont);
  ::GetTextMetricsW(hdc, &m_tmFont);
  RestoreDC(hdc, saved);
}

FontEntry::~FontEntry() {
  if (m_hFont) DeleteObject(m_hFont);
}
