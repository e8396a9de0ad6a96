#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/common/LogCapture.h"
#include "tests/ui/TestWindows.h"
#include "ui/FontManager.h"
#include "ui/ScopedGdi.h"

// Each test runs in a process of its own, so the table starts empty in each.

TEST(FontManager, NoFontsBeforeCreateFonts) {
  FontManager& fonts = FontManager::GetInstance();
  EXPECT_EQ(&fonts, &FontManager::GetInstance());
  for (int i = 0; i < FontManager::kFontCount; ++i) {
    EXPECT_EQ(fonts.GetFontHandle(i), nullptr);
    EXPECT_EQ(fonts.GetLineHeight(i), 0);
  }
}

TEST(FontManager, EightFontsByFaceSizeAndWeight) {
  TestParent window;
  FontManager& fonts = FontManager::GetInstance();
  fonts.CreateFonts(window.Get());
  WindowDC dc(window.Get());
  const int pointsAtIndex[FontManager::kFontCount] = {10, 10, 12, 12, 10, 10, 12, 12};
  for (int i = 0; i < FontManager::kFontCount; ++i) {
    SCOPED_TRACE(i);
    const HFONT font = fonts.GetFontHandle(i);
    ASSERT_NE(font, nullptr);
    LOGFONTW logFont{};
    ASSERT_EQ(GetObjectW(font, sizeof(logFont), &logFont), static_cast<int>(sizeof(logFont)));
    EXPECT_EQ(logFont.lfWeight, i % 2 ? FW_BOLD : FW_NORMAL);
    // A character height in points at the context's own resolution.
    EXPECT_EQ(logFont.lfHeight, -MulDiv(pointsAtIndex[i], GetDeviceCaps(dc.Get(), LOGPIXELSY), 72));
    EXPECT_EQ(std::wstring(logFont.lfFaceName), L"");
    EXPECT_FALSE(logFont.lfItalic || logFont.lfUnderline || logFont.lfStrikeOut);
    for (int j = 0; j < i; ++j) EXPECT_NE(fonts.GetFontHandle(j), font);
  }
  EXPECT_EQ(fonts.GetFontHandle(-1), nullptr);
  EXPECT_EQ(fonts.GetFontHandle(8), nullptr);
}

TEST(FontManager, SpecifiedFontByFaceSizeAndBold) {
  TestParent window;
  FontManager& fonts = FontManager::GetInstance();
  fonts.CreateFonts(window.Get());
  LogCapture log;
  EXPECT_EQ(fonts.ReturnSpecifiedFontHandle(1, 12, 1), fonts.GetFontHandle(7));
  EXPECT_EQ(fonts.ReturnSpecifiedFontHandle(0, 11, 0), fonts.GetFontHandle(1));
  EXPECT_EQ(fonts.ReturnSpecifiedFontHandle(0, 10, 0), fonts.GetFontHandle(0));
  EXPECT_EQ(fonts.ReturnSpecifiedFontHandle(2, 10, 0), nullptr);
  EXPECT_EQ(fonts.ReturnSpecifiedFontHandle(0, 9, 0), nullptr);
  // A refused index leaves this fixed trace line, for the developers who
  // read the log.
  const std::vector<std::string> expected = {
      "FontManager::ReturnSpecifiedFontHandle: Font index out of range = 8",
      "FontManager::ReturnSpecifiedFontHandle: Font index out of range = -1",
  };
  EXPECT_EQ(log.Lines(), expected);
}

TEST(FontManager, LineHeightIsHeightPlusExternalLeading) {
  TestParent window;
  FontManager& fonts = FontManager::GetInstance();
  fonts.CreateFonts(window.Get());
  WindowDC dc(window.Get());
  LogCapture log;
  for (int i = 0; i < FontManager::kFontCount; ++i) {
    SCOPED_TRACE(i);
    TEXTMETRICW metrics{};
    {
      SelectedObject selected(dc.Get(), fonts.GetFontHandle(i));
      GetTextMetricsW(dc.Get(), &metrics);
    }
    const int height = metrics.tmHeight + metrics.tmExternalLeading;
    EXPECT_EQ(fonts.GetLineHeight(i), height);
    // The sum is traced with its parts, in a fixed text.
    EXPECT_EQ(log.Lines().back(), "m_tmFont.tmHeight " + std::to_string(metrics.tmHeight) +
                                      " + m_tmFont.tmExternalLeading " +
                                      std::to_string(metrics.tmExternalLeading) + " = " +
                                      std::to_string(height));
  }
  // The larger size is taller.
  EXPECT_GT(fonts.GetLineHeight(2), fonts.GetLineHeight(0));
}

TEST(FontManager, ASecondCreateFontsKeepsTheFontsThatControlsUse) {
  TestParent window;
  FontManager& fonts = FontManager::GetInstance();
  fonts.CreateFonts(window.Get());
  HFONT made[FontManager::kFontCount];
  for (int i = 0; i < FontManager::kFontCount; ++i) made[i] = fonts.GetFontHandle(i);
  HWND label = CreateWindowExW(0, L"STATIC", L"Keyfolio", WS_CHILD, 0, 0, 100, 20, window.Get(),
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(made[1]), FALSE);

  fonts.CreateFonts(window.Get());
  for (int i = 0; i < FontManager::kFontCount; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(fonts.GetFontHandle(i), made[i]);
    EXPECT_EQ(GetObjectType(made[i]), static_cast<DWORD>(OBJ_FONT));
  }
  // The label's font is still the bold font.
  const HFONT used = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
  ASSERT_EQ(used, made[1]);
  LOGFONTW logFont{};
  ASSERT_EQ(GetObjectW(used, sizeof(logFont), &logFont), static_cast<int>(sizeof(logFont)));
  EXPECT_EQ(logFont.lfWeight, FW_BOLD);
}

// A dialog on a screen of another scale takes the table of its DPI, made at
// its first use and kept; the main window's fonts stay those of its own DPI.
// A window that moves to another DPI gives each child the font of the same
// index at the new DPI, and the normal one to a child that draws with none
// of the table's.
TEST(FontManager, EachDpiHasATableOfItsOwn) {
  TestParent window;
  FontManager& fonts = FontManager::GetInstance();
  fonts.CreateFonts(window.Get(), 96);
  const HFONT normalAt96 = fonts.GetFontHandle(0);
  const HFONT boldAt192 = fonts.GetFontHandle(1, 192);
  ASSERT_NE(boldAt192, nullptr);
  EXPECT_EQ(fonts.GetFontHandle(1, 192), boldAt192) << "made once";
  EXPECT_EQ(fonts.GetFontHandle(0, 96), normalAt96);
  EXPECT_EQ(fonts.GetFontHandle(0), normalAt96) << "the main window's";
  EXPECT_EQ(fonts.GetFontHandle(8, 192), nullptr);
  LOGFONTW logFont{};
  ASSERT_EQ(GetObjectW(boldAt192, sizeof(logFont), &logFont), static_cast<int>(sizeof(logFont)));
  EXPECT_EQ(logFont.lfHeight, -27) << "10 points at 192 DPI";
  EXPECT_EQ(logFont.lfWeight, FW_BOLD);

  const auto label = [&](HFONT font) {
    HWND child = CreateWindowExW(0, L"STATIC", L"Title:", WS_CHILD, 0, 0, 100, 20, window.Get(),
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
  };
  const auto fontOf = [](HWND child) {
    return reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
  };
  HWND bold = label(fonts.GetFontHandle(1));
  HWND normal = label(normalAt96);
  HWND other = label(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  fonts.SetChildFonts(window.Get(), 192);
  EXPECT_EQ(fontOf(bold), boldAt192);
  EXPECT_EQ(fontOf(normal), fonts.GetFontHandle(0, 192));
  EXPECT_EQ(fontOf(other), fonts.GetFontHandle(0, 192));
  fonts.SetChildFonts(window.Get(), 96);
  EXPECT_EQ(fontOf(bold), fonts.GetFontHandle(1));
  EXPECT_EQ(fontOf(normal), normalAt96);
}
