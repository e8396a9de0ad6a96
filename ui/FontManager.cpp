#include "ui/FontManager.h"

#include <new>

#include "support/DebugLog.h"
#include "ui/ScopedGdi.h"

FontManager& FontManager::GetInstance() {
  static FontManager instance;
  return instance;
}

void FontManager::CreateFonts(HWND hWnd) {
  m_pointSize = 10;
  int weight = FW_NORMAL;
  int face = 0;
  WindowDC dc(hWnd);
  for (int i = 0; i < kFontCount; ++i) {
    if (!GetFontHandle(i))
      m_fonts[i].reset(
          new (std::nothrow) FontEntry(dc.Get(), m_pointSize, m_faceNames[face], weight));
    weight = weight == FW_NORMAL ? FW_BOLD : FW_NORMAL;
    if (i == 1) {
      m_pointSize = 12;
    } else if (i == 3) {
      m_pointSize = 10;
      face = 1;
    } else if (i == 5) {
      m_pointSize = 12;
    }
  }
}

const FontEntry* FontManager::Entry(int index) const {
  if (index < 0 || index >= kFontCount) return nullptr;
  return m_fonts[index].get();
}

HFONT FontManager::GetFontHandle(int index) const {
  const FontEntry* entry = Entry(index);
  return entry ? entry->GetFont() : nullptr;
}

HFONT FontManager::ReturnSpecifiedFontHandle(int face, int size, int bold) const {
  const int index = face * 4 + size - 10 + bold;
  if (index < 0 || index >= kFontCount) {
    DebugLog(L"FontManager::ReturnSpecifiedFontHandle: Font index out of range = %i", index);
    return nullptr;
  }
  return GetFontHandle(index);
}

int FontManager::GetLineHeight(int index) const {
  const FontEntry* entry = Entry(index);
  if (!entry) return 0;
  const TEXTMETRICW& metrics = entry->Metrics();
  const int height = metrics.tmHeight + metrics.tmExternalLeading;
  DebugLog(L"m_tmFont.tmHeight %i + m_tmFont.tmExternalLeading %i = %i",
           static_cast<int>(metrics.tmHeight), static_cast<int>(metrics.tmExternalLeading), height);
  return height;
}
