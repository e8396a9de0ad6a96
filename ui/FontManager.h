// The program's eight fonts, made once from the main window's device context
// so that every control and dialog draws in fonts sized for the screen the
// program runs on. Index = face * 4 + (size - 10) + bold: faces 0 and 1,
// sizes 10 and 12 points, weights 400 and 700. Index 0 is the normal and
// index 1 the bold font of every control; the table owns the fonts.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "ui/FontEntry.h"

class FontManager {
 public:
  static constexpr int kFontCount = 8;

  static FontManager& GetInstance();
  FontManager(const FontManager&) = delete;
  FontManager& operator=(const FontManager&) = delete;
  virtual ~FontManager() = default;

  // Makes the eight fonts for the window's device context. An entry that
  // cannot be made stays empty. A later call makes only the empty entries:
  // controls made since draw with the fonts already here, and a font
  // deleted under a live control leaves it a dead handle.
  void CreateFonts(HWND hWnd);
  // Null for an index outside the table or an entry not made (before
  // CreateFonts): WM_SETFONT with null gives a control the system font.
  HFONT GetFontHandle(int index) const;
  // The font for (face, size, bold); null and a trace line when the index
  // they give falls outside the table.
  HFONT ReturnSpecifiedFontHandle(int face, int size, int bold) const;
  // tmHeight + tmExternalLeading of the font; 0 where GetFontHandle is null.
  int GetLineHeight(int index) const;

 private:
  FontManager() = default;
  const FontEntry* Entry(int index) const;

  std::wstring m_faceNames[2];
  int32_t m_pointSize = 10;
  std::unique_ptr<FontEntry> m_fonts[kFontCount];
};
