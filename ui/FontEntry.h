// One font of the framework's table, with its metrics as measured in the
// device context that made it, so line heights need no context later.
#pragma once

#include <windows.h>

#include <string>

#include "ui/DpiScale.h"

class FontEntry {
 public:
  // CreateFontW of `points` at the scale's DPI, for `hdc`, with the weight
  // and face (empty: the system's default face); the metrics are read with
  // the font selected.
  FontEntry(HDC hdc, DpiScale scale, int points, const std::wstring& faceName, int weight);
  FontEntry(const FontEntry&) = delete;
  FontEntry& operator=(const FontEntry&) = delete;
  virtual ~FontEntry();

  HFONT GetFont() const { return m_hFont; }
  const TEXTMETRICW& Metrics() const { return m_tmFont; }

 private:
  HFONT m_hFont;
  TEXTMETRICW m_tmFont{};
};

// The logical height that asks CreateFontW for a character height of
// `points` at the scale's DPI in `hdc`: negative, converted from device
// units. The DPI is the window's, not the context's: a context answers the
// system's DPI for LOGPIXELSY, whatever monitor its window is on.
int PointsToLogicalHeight(HDC hdc, DpiScale scale, int points);
