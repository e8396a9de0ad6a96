#include <windows.h>

#include <gtest/gtest.h>

#include "tests/dialogbase/DrawItemProbe.h"

namespace {

// This program carries no IDB_EDITBUTTON: nothing is painted, not even the
// empty bitmap of a memory context.
TEST(OnDrawItem, PaintsNothingWithoutTheBitmap) {
  for (UINT state : {0u, static_cast<UINT>(ODS_SELECTED)}) {
    const DrawnItem drawn = DrawItem(state);
    EXPECT_EQ(drawn.answer, TRUE);
    EXPECT_EQ(drawn.topLeft, kGrey);
    EXPECT_EQ(drawn.bottomRight, kGrey);
  }
}

}  // namespace
