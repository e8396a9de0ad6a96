#include "support/ArgumentList.h"

#include <windows.h>

#include <gtest/gtest.h>

TEST(ArgumentList, AccessorRefusesIndicesOutsideTheList) {
  wchar_t* arguments[] = {const_cast<wchar_t*>(L"E:\\prog.exe"), const_cast<wchar_t*>(L"x")};
  ArgumentList list(L"E:\\prog.exe x", 2, arguments);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_STREQ(list.Argument(0), L"E:\\prog.exe");
  EXPECT_STREQ(list.Argument(1), L"x");
  EXPECT_EQ(list.Argument(-1), nullptr);
  EXPECT_EQ(list.Argument(2), nullptr);
}

TEST(ArgumentList, EmptyVectorHasNoArguments) {
  ArgumentList list(L"", 0, nullptr);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Argument(0), nullptr);
}
