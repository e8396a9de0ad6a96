#include <windows.h>

#include <gtest/gtest.h>

#include "tests/dialogbase/DrawItemProbe.h"

namespace {

// The program's image of an edit button: the upper half normally, the
// lower half while the button is pressed, 20 x 20 at the item's corner at
// 96 DPI, and as many pixels more as the dialog's scale asks for.
TEST(OnDrawItem, PaintsTheUpperImageOrWhenSelectedTheLower) {
  struct Case {
    const char* what;
    UINT state;
    COLORREF colour;
  };
  const Case cases[] = {
      {"normal", 0, RGB(255, 0, 0)},
      {"focused", ODS_FOCUS, RGB(255, 0, 0)},
      {"selected", ODS_SELECTED, RGB(0, 0, 255)},
      {"selected and focused", ODS_SELECTED | ODS_FOCUS, RGB(0, 0, 255)},
  };
  for (const UINT dpi : {96u, 144u, 192u}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << c.what << " at " << dpi << " DPI");
      const DrawnItem drawn = DrawItem(c.state, dpi);
      EXPECT_EQ(drawn.answer, TRUE);
      EXPECT_EQ(drawn.topLeft, c.colour);
      EXPECT_EQ(drawn.bottomRight, c.colour);
      EXPECT_EQ(drawn.right, kGrey);
      EXPECT_EQ(drawn.below, kGrey);
      EXPECT_EQ(drawn.before, kGrey);
    }
  }
}

}  // namespace
