// The program's eight fonts, made for the DPI of the screen that shows them.
// Index = face * 4 + (size - 10) + bold: faces 0 and 1, sizes 10 and 12
// points, weights 400 and 700. Index 0 is the normal and index 1 the bold
// font of every control; the table owns the fonts.
//
// One table per DPI: the main window's is made when the window is created
// and again for each DPI it moves to, and a dialog takes the table of its
// own DPI. A table lives as long as the program, since a control may still
// draw with it and a font deleted under a live control leaves it a dead
// handle; a person's screens have few scales between them.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <map>
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

  // Makes the eight fonts for the window's DPI, or for `dpi`, the one the
  // window is about to have, and makes them the main window's: those that
  // GetFontHandle(index) gives. An entry that cannot be made stays empty. A
  // later call makes only the empty entries: controls made since draw with
  // the fonts already here.
  void CreateFonts(HWND hWnd);
  void CreateFonts(HWND hWnd, UINT dpi);
  // The main window's font. Null for an index outside the table or an entry
  // not made (before CreateFonts): WM_SETFONT with null gives a control the
  // system font.
  HFONT GetFontHandle(int index) const;
  // The font at `dpi`; its table is made at the first call for that DPI.
  HFONT GetFontHandle(int index, UINT dpi);
  // The main window's font for (face, size, bold); null and a trace line
  // when the index they give falls outside the table.
  HFONT ReturnSpecifiedFontHandle(int face, int size, int bold) const;
  // tmHeight + tmExternalLeading of the main window's font; 0 where
  // GetFontHandle is null.
  int GetLineHeight(int index) const;
  // Gives each child of `parent` the font at `dpi` of the index that its
  // own font has at any DPI, or the normal font when it draws with none of
  // the table's.
  void SetChildFonts(HWND parent, UINT dpi);

 private:
  using FontTable = std::array<std::unique_ptr<FontEntry>, kFontCount>;

  FontManager() = default;
  FontTable& MakeTable(HDC hdc, UINT dpi);
  const FontEntry* Entry(int index) const;
  // The index of a font of any table; -1 for any other font.
  int IndexOf(HFONT font) const;

  std::wstring m_faceNames[2];
  int32_t m_pointSize = 10;
  std::map<UINT, FontTable> m_tables;
  // The main window's DPI: the table of the last CreateFonts.
  UINT m_dpi = DpiScale::kBaseDpi;
};
