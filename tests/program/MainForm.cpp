#include "tests/program/MainForm.h"

#include <gtest/gtest.h>

#include "tests/common/DisplayScale.h"

const FormChild kMainForm[14] = {
    {0, 20, 120, 22},   {0, 52, 120, 22},   {0, 79, 120, 22},   {0, 106, 120, 22},
    {0, 133, 120, 22},  {125, 20, 280, 0},  {125, 52, 260, 22}, {125, 79, 260, 22},
    {125, 106, 260, 22}, {125, 133, 260, 78}, {390, 52, 62, 22}, {390, 79, 62, 22},
    {390, 106, 62, 22}, {175, 221, 160, 22},
};

namespace {

RECT InClient(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

int Scaled(int at96, UINT dpi) {
  return MulDiv(at96, static_cast<int>(dpi), 96);
}

SIZE ClientAt(HWND main, UINT dpi) {
  const SIZE frame = FrameAt(main, 96);
  return {Scaled(487 - frame.cx, dpi), Scaled(320 - frame.cy, dpi)};
}

}  // namespace

void ExpectMainFormAt(HWND main, UINT dpi) {
  SCOPED_TRACE(testing::Message() << "the main window at " << dpi << " DPI");
  const int slack = dpi == 96 ? 0 : 1;
  RECT window{};
  GetWindowRect(main, &window);
  const SIZE client = ClientAt(main, dpi);
  const SIZE frame = FrameAt(main, dpi);
  EXPECT_NEAR(window.right - window.left, client.cx + frame.cx, slack);
  EXPECT_NEAR(window.bottom - window.top, client.cy + frame.cy, slack);
  if (dpi == 96) {
    EXPECT_EQ(window.right - window.left, 487);
    EXPECT_EQ(window.bottom - window.top, 320);
  }

  int index = 0;
  for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    ASSERT_LT(index, 14) << "more children than the form has";
    SCOPED_TRACE(testing::Message() << "child " << index);
    const FormChild& drawn = kMainForm[index++];
    const RECT place = InClient(child);
    EXPECT_NEAR(place.left, Scaled(drawn.x, dpi), slack);
    EXPECT_NEAR(place.top, Scaled(drawn.y, dpi), slack);
    EXPECT_NEAR(place.right - place.left, Scaled(drawn.width, dpi), slack);
    if (drawn.height) {
      EXPECT_NEAR(place.bottom - place.top, Scaled(drawn.height, dpi), slack);
    }
    EXPECT_LE(place.right, client.cx);
    EXPECT_LE(place.bottom, client.cy);
  }
  EXPECT_EQ(index, 14) << "fewer children than the form has";
}

void ExpectMainClientAt(HWND main, UINT dpi) {
  RECT client{};
  GetClientRect(main, &client);
  const SIZE expected = ClientAt(main, dpi);
  const int slack = dpi == 96 ? 0 : 1;
  EXPECT_NEAR(client.right, expected.cx, slack) << "the client area at " << dpi << " DPI";
  EXPECT_NEAR(client.bottom, expected.cy, slack) << "the client area at " << dpi << " DPI";
}
