#include <gtest/gtest.h>

#include "crt/format.h"

namespace {

TEST(Format, StringsFollowTheWidthOfTheFormat) {
    EXPECT_EQ(svFormat(L"[%s]", L"wide"), L"[wide]");
    EXPECT_EQ(svFormat(L"[%ls]", L"wide"), L"[wide]");
    EXPECT_EQ(svFormat(L"[%hs]", "narrow"), L"[narrow]");
    EXPECT_EQ(svFormat(L"[%S]", "narrow"), L"[narrow]");
    EXPECT_EQ(svFormat(L"[%c%hc]", L'w', 'n'), L"[wn]");
    EXPECT_EQ(svFormat(L"[%s|%hs]", static_cast<const wchar_t*>(nullptr),
                       static_cast<const char*>(nullptr)),
              L"[(null)|(null)]");
}

TEST(Format, WidthPrecisionAndAlignment) {
    EXPECT_EQ(svFormat(L"[%6s][%-6s]", L"ab", L"cd"), L"[    ab][cd    ]");
    EXPECT_EQ(svFormat(L"[%.2s][%.3hs]", L"abcdef", "abcdef"), L"[ab][abc]");
    EXPECT_EQ(svFormat(L"[%*s][%-*d]", 4, L"x", 3, 7), L"[   x][7  ]");
    EXPECT_EQ(svFormat(L"[%.*f]", 2, 3.14159), L"[3.14]");
}

TEST(Format, NumbersAsTheCLibraryWritesThem) {
    EXPECT_EQ(svFormat(L"%d %i %u", -12, 34, 56u), L"-12 34 56");
    EXPECT_EQ(svFormat(L"%05d|%+d|%x|%X|%o", 42, 5, 255, 255, 8), L"00042|+5|ff|FF|10");
    EXPECT_EQ(svFormat(L"%ld %lld %zu %I64d", 1L, -2LL, std::size_t{3}, 4LL), L"1 -2 3 4");
    EXPECT_EQ(svFormat(L"%hd %hhu", 70000, 300), L"4464 44");
    EXPECT_EQ(svFormat(L"%g %g %g", 12.5, 3.14159265, 1234567.0), L"12.5 3.14159 1.23457e+06");
    EXPECT_EQ(svFormat(L"%.3e %f", 1500.0, 0.5), L"1.500e+03 0.500000");
    EXPECT_EQ(svFormat(L"100%%"), L"100%");
}

TEST(Format, HugeFieldsAreWrittenWhole) {
    EXPECT_EQ(svFormat(L"%300d", 1).size(), 300u);
    EXPECT_EQ(svFormat(L"%.200f", 1.0).size(), 202u);
}

TEST(Format, UnknownConversionsAndCountWritesStayText) {
    int count = 0;
    EXPECT_EQ(svFormat(L"a%qb", 1), L"a%qb");
    EXPECT_EQ(svFormat(L"a%nb", &count), L"a%nb");
    EXPECT_EQ(count, 0);
    EXPECT_EQ(svFormat(L"trailing %"), L"trailing %");
    EXPECT_EQ(svFormat(nullptr), L"");
}

TEST(Utf8, RoundTripAndMalformedInput) {
    const std::wstring text = L"m\u00B2 \u2300 \U0001F600";
    EXPECT_EQ(svFromUtf8(svToUtf8(text)), text);
    EXPECT_EQ(svToUtf8(L"m\u00B2"), "m\xC2\xB2");
    EXPECT_EQ(svFromUtf8("a\xFF"
                         "b"),
              L"a\uFFFDb");
    EXPECT_EQ(svFromUtf8("\xE2\x82"), L"\uFFFD");
    EXPECT_EQ(svFromUtf8("\xC0\xAF"), L"\uFFFD");     // overlong form
    EXPECT_EQ(svFromUtf8("\xED\xA0\x80"), L"\uFFFD"); // surrogate
}

} // namespace
