#include <gtest/gtest.h>

#include <climits>
#include <cstdio>

#include "crt/crt.h"

namespace {

TEST(Crt, WtoiReadsTheDecimalPrefix) {
    EXPECT_EQ(_wtoi(L"3"), 3);
    EXPECT_EQ(_wtoi(L"  -17xyz"), -17);
    EXPECT_EQ(_wtoi(L"+8"), 8);
    EXPECT_EQ(_wtoi(L"12.7"), 12);
    EXPECT_EQ(_wtoi(L"A"), 0);
    EXPECT_EQ(_wtoi(L""), 0);
    EXPECT_EQ(_wtoi(nullptr), 0);
    EXPECT_EQ(_wtoi(L"99999999999999999999"), INT_MAX);
    EXPECT_EQ(_wtoi(L"-99999999999999999999"), INT_MIN);
}

TEST(Crt, WcsicmpIgnoresCase) {
    EXPECT_EQ(_wcsicmp(L"Tag", L"TAG"), 0);
    EXPECT_LT(_wcsicmp(L"abc", L"ABD"), 0);
    EXPECT_GT(_wcsicmp(L"abcd", L"ABC"), 0);
}

TEST(Crt, NumericLocaleKeepsTheDecimalPoint) {
    ASSERT_NE(_wsetlocale(LC_ALL, L".ACP"), nullptr);
    ASSERT_NE(_wsetlocale(LC_NUMERIC, L"ENU"), nullptr);
    char text[32];
    std::snprintf(text, sizeof text, "%g", 12.5);
    EXPECT_STREQ(text, "12.5");
    EXPECT_EQ(_wsetlocale(LC_ALL, L"No_Such_Locale"), nullptr);
}

} // namespace
