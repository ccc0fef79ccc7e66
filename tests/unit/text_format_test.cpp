#include <gtest/gtest.h>

#include "common/text_format.h"
#include "common/text_case.h"

TEST(FormatText, FillsPlaceholdersInOrder) {
  EXPECT_EQ(FormatText(L"RegOpenKeyEx(%s) failed. rc = %ld", {L"Software\\Key", 5u}),
            L"RegOpenKeyEx(Software\\Key) failed. rc = 5");
  EXPECT_EQ(FormatText(L"%d.%d.%d.%d", {10, -1, 0, 300}), L"10.-1.0.300");
  EXPECT_EQ(FormatText(L"100%% of %s", {L"it"}), L"100% of it");
}

TEST(FormatText, NeverReadsPastItsArguments) {
  // A pattern with more placeholders than arguments keeps the rest as written.
  EXPECT_EQ(FormatText(L"%s and %s", {L"one"}), L"one and %s");
  EXPECT_EQ(FormatText(L"no placeholder", {L"ignored"}), L"no placeholder");
  EXPECT_EQ(FormatText(L"trailing %", {}), L"trailing %");
  // A value that itself holds a placeholder is not expanded again.
  EXPECT_EQ(FormatText(L"[%s] %s", {L"%s", L"x"}), L"[%s] x");
}

TEST(TextCase, LowersAsciiOnlyAndComparesByPrefix) {
  EXPECT_EQ(ToLowerAscii(L"NODE-A\u00C9"), L"node-a\u00C9");
  EXPECT_TRUE(StartsWithIgnoringAsciiCase(L"3 boards", L"3"));
  EXPECT_TRUE(EqualsIgnoringAsciiCase(L"HKLM", L"hklm"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase(L"HKLM", L"hklm "));
  EXPECT_FALSE(StartsWithIgnoringAsciiCase(L"1", L"13"));
}
