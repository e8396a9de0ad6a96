#include <windows.h>

#include <gtest/gtest.h>

#include "tests/common/DisplayScale.h"
#include "ui/DpiScale.h"

// Lengths drawn at 96 DPI and character heights in points, at 100%, 125%,
// 150% and 200%: rounded to the nearest pixel, halves up, so that 22
// pixels at 125% (27.5) and 10 points at 125% (16.67) round alike.
TEST(DpiScale, ScalesByTheDpiOver96ToTheNearestPixel) {
  struct Case {
    UINT dpi;
    int at96;
    int pixels;
    int tenPoints;
  };
  const Case cases[] = {
      {96, 22, 22, 13}, {96, 487, 487, 13}, {120, 22, 28, 17},  {120, 487, 609, 17},
      {144, 22, 33, 20}, {144, 487, 731, 20}, {192, 22, 44, 27}, {192, 487, 974, 27},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.at96 << " at " << c.dpi << " DPI");
    const DpiScale scale(c.dpi);
    EXPECT_EQ(scale.Dpi(), c.dpi);
    EXPECT_EQ(scale.Pixels(c.at96), c.pixels);
    EXPECT_EQ(scale.PointsToPixels(10), c.tenPoints);
  }
  EXPECT_EQ(DpiScale(0).Dpi(), 96u) << "no DPI is 96";
}

// A window has the DPI of its screen, which under Wine is the prefix's; a
// handle that is not a window, the system's.
TEST(DpiScale, TellsTheDpiOfAWindowsScreen) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  EXPECT_EQ(DpiScale::OfWindow(window).Dpi(), TestDpi());
  DestroyWindow(window);
  EXPECT_EQ(DpiScale::OfWindow(nullptr).Dpi(), TestDpi());
  EXPECT_EQ(DpiScale::OfWindow(window).Dpi(), TestDpi());
}

// The frame of a captioned window with a menu bar grows with the DPI.
TEST(DpiScale, MeasuresTheFrameTheSystemDrawsAtADpi) {
  const DWORD style = WS_OVERLAPPEDWINDOW;
  RECT system{};
  AdjustWindowRectEx(&system, style, TRUE, 0);
  const SIZE here = DpiScale(TestDpi()).Frame(style, true, 0);
  EXPECT_EQ(here.cx, system.right - system.left);
  EXPECT_EQ(here.cy, system.bottom - system.top);
  const SIZE at192 = DpiScale(192).Frame(style, true, 0);
  const SIZE at96 = DpiScale(96).Frame(style, true, 0);
  EXPECT_GT(at192.cy, at96.cy);
  EXPECT_GE(at192.cx, at96.cx);
  EXPECT_GT(at96.cy, DpiScale(96).Frame(style, false, 0).cy) << "the menu bar";
}
