#include "ui/FontManager.h"

#include <new>

#include "support/DebugLog.h"
#include "ui/ScopedGdi.h"

FontManager& FontManager::GetInstance() {
  static FontManager instance;
  return instance;
}

void FontManager::CreateFonts(HWND hWnd) {
  CreateFonts(hWnd, DpiScale::OfWindow(hWnd).Dpi());
}

void FontManager::CreateFonts(HWND hWnd, UINT dpi) {
  WindowDC dc(hWnd);
  MakeTable(dc.Get(), dpi);
  m_dpi = dpi;
}

FontManager::FontTable& FontManager::MakeTable(HDC hdc, UINT dpi) {
  FontTable& table = m_tables[dpi];
  m_pointSize = 10;
  int weight = FW_NORMAL;
  int face = 0;
  for (int i = 0; i < kFontCount; ++i) {
    if (!table[i])
      table[i].reset(new (std::nothrow) FontEntry(hdc, DpiScale(dpi), m_pointSize,
                                                  m_faceNames[face], weight));
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
  return table;
}

const FontEntry* FontManager::Entry(int index) const {
  if (index < 0 || index >= kFontCount) return nullptr;
  const auto table = m_tables.find(m_dpi);
  return table == m_tables.end() ? nullptr : table->second[index].get();
}

HFONT FontManager::GetFontHandle(int index) const {
  const FontEntry* entry = Entry(index);
  return entry ? entry->GetFont() : nullptr;
}

HFONT FontManager::GetFontHandle(int index, UINT dpi) {
  if (index < 0 || index >= kFontCount) return nullptr;
  FontTable& table = m_tables[dpi];
  if (!table[index]) {
    const WindowDC screen(nullptr);
    MakeTable(screen.Get(), dpi);
  }
  return table[index] ? table[index]->GetFont() : nullptr;
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

int FontManager::IndexOf(HFONT font) const {
  if (!font) return -1;
  for (const auto& table : m_tables) {
    for (int i = 0; i < kFontCount; ++i) {
      if (table.second[i] && table.second[i]->GetFont() == font) return i;
    }
  }
  return -1;
}

void FontManager::SetChildFonts(HWND parent, UINT dpi) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const int index = IndexOf(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
    const HFONT font = GetFontHandle(index < 0 ? 0 : index, dpi);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
}
