#include <gtest/gtest.h>

#include "win/stringapiset.h"

namespace {

TEST(MultiByteToWideChar, AsksForTheSizeThenConvertsUtf8WithTheTerminator) {
    const char* text = "m\xC2\xB2 \xE2\x82\xAC"; // "m² €"
    const int needed = MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, nullptr, 0);
    ASSERT_EQ(needed, 5);
    wchar_t wide[8] = {L'x', L'x', L'x', L'x', L'x', L'x', L'x', L'x'};
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 8), 5);
    EXPECT_STREQ(wide, L"m\u00B2 \u20AC");
    EXPECT_EQ(wide[5], L'x') << "nothing beyond the terminator is written";
}

TEST(MultiByteToWideChar, AnExplicitLengthConvertsThatManyBytesWithoutATerminator) {
    wchar_t wide[4] = {L'x', L'x', L'x', L'x'};
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abcdef", 3, wide, 4), 3);
    EXPECT_EQ(std::wstring(wide, 4), L"abcx");
}

TEST(MultiByteToWideChar, ASmallBufferOrUnusableArgumentsGiveZeroAndWriteNothing) {
    wchar_t wide[2] = {L'x', L'x'};
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, wide, 2), 0);
    EXPECT_EQ(std::wstring(wide, 2), L"xx");
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, nullptr, -1, wide, 2), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 0, wide, 2), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -2, wide, 2), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, nullptr, 4), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, wide, -1), 0);
}

TEST(MultiByteToWideChar, MalformedBytesBecomeReplacementCharacters) {
    wchar_t wide[4] = {};
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a\xFF", -1, wide, 4), 3);
    EXPECT_STREQ(wide, L"a\uFFFD");
}

} // namespace
