#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "crt/format.h"
#include "units/units.h"

namespace {

struct LinearCase {
    double value;
    int unit;
    int precision;
    const wchar_t* expected;
};

void PrintTo(const LinearCase& c, std::ostream* os) {
    *os << "value " << c.value << " unit " << c.unit << " precision " << c.precision;
}

class Linear : public testing::TestWithParam<LinearCase> {};

TEST_P(Linear, FormatsAsTheUnitsModeShows) {
    const LinearCase& c = GetParam();
    EXPECT_EQ(svFormatLinear(c.value, c.unit, c.precision), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Scientific, Linear,
    testing::Values(LinearCase{12.5, 1, 4, L"1.2500E+01"}, LinearCase{12.5, 1, 0, L"1E+01"},
                    LinearCase{0.00125, 1, 2, L"1.25E-03"}, LinearCase{-12.5, 1, 2, L"-1.25E+01"},
                    LinearCase{0.0, 1, 3, L"0.000E+00"}, LinearCase{9.9999, 1, 2, L"1.00E+01"},
                    LinearCase{1e100, 1, 1, L"1.0E+100"}));

INSTANTIATE_TEST_SUITE_P(
    Decimal, Linear,
    testing::Values(LinearCase{12.5, 2, 4, L"12.5000"}, LinearCase{12.5, 2, 0, L"13"},
                    LinearCase{0.99999, 2, 2, L"1.00"}, LinearCase{0.125, 2, 2, L"0.13"},
                    LinearCase{-0.125, 2, 2, L"-0.13"}, LinearCase{-0.001, 2, 2, L"0.00"},
                    LinearCase{-0.0, 2, 1, L"0.0"}, LinearCase{0.0, 2, 0, L"0"},
                    LinearCase{1234567.891, 2, 8, L"1234567.89100000"},
                    LinearCase{-3.14159, 2, 3, L"-3.142"},
                    LinearCase{1e20, 2, 2, L"100000000000000000000.00"}));

INSTANTIATE_TEST_SUITE_P(
    Engineering, Linear,
    testing::Values(LinearCase{12.5, 3, 4, L"1'-0.5000\""}, LinearCase{15.5, 3, 2, L"1'-3.50\""},
                    LinearCase{6.0, 3, 0, L"0'-6\""}, LinearCase{11.9999, 3, 2, L"1'-0.00\""},
                    LinearCase{-12.5, 3, 1, L"-1'-0.5\""}, LinearCase{0.0, 3, 2, L"0'-0.00\""},
                    LinearCase{-0.001, 3, 2, L"0'-0.00\""},
                    LinearCase{144.25, 3, 3, L"12'-0.250\""}));

INSTANTIATE_TEST_SUITE_P(
    Architectural, Linear,
    testing::Values(LinearCase{12.5, 4, 4, L"1'-0 1/2\""}, LinearCase{15.5, 4, 2, L"1'-3 1/2\""},
                    LinearCase{17.5, 4, 0, L"1'-6\""}, LinearCase{3.0625, 4, 4, L"0'-3 1/16\""},
                    LinearCase{3.0625, 4, 3, L"0'-3 1/8\""}, LinearCase{0.375, 4, 3, L"0'-0 3/8\""},
                    LinearCase{11.999, 4, 0, L"1'-0\""}, LinearCase{11.999, 4, 1, L"1'-0\""},
                    LinearCase{11.999, 4, 2, L"1'-0\""}, LinearCase{11.999, 4, 3, L"1'-0\""},
                    LinearCase{11.999, 4, 4, L"1'-0\""}, LinearCase{11.999, 4, 8, L"1'-0\""},
                    LinearCase{11.99, 4, 8, L"0'-11 253/256\""},
                    LinearCase{-12.5, 4, 4, L"-1'-0 1/2\""}, LinearCase{0.0, 4, 4, L"0'-0\""},
                    LinearCase{-0.01, 4, 2, L"0'-0\""}, LinearCase{120.0, 4, 4, L"10'-0\""}));

INSTANTIATE_TEST_SUITE_P(
    Fractional, Linear,
    testing::Values(LinearCase{12.5, 5, 4, L"12 1/2"}, LinearCase{12.0, 5, 4, L"12"},
                    LinearCase{0.5, 5, 4, L"1/2"}, LinearCase{0.75, 5, 1, L"1"},
                    LinearCase{2.99, 5, 3, L"3"}, LinearCase{-2.25, 5, 2, L"-2 1/4"},
                    LinearCase{0.0, 5, 2, L"0"}, LinearCase{1.0 / 256, 5, 8, L"1/256"}));

// Out-of-range precision is clamped, an unknown mode falls back to decimal.
INSTANTIATE_TEST_SUITE_P(OutOfRange, Linear,
                         testing::Values(LinearCase{12.5, 2, -3, L"13"},
                                         LinearCase{1.0 / 3, 2, 20, L"0.33333333"},
                                         LinearCase{12.5, 4, 99, L"1'-0 1/2\""},
                                         LinearCase{12.5, 0, 2, L"12.50"},
                                         LinearCase{12.5, 9, 2, L"12.50"}));

TEST(LinearNonFinite, NamedWithoutCrashingInEveryMode) {
    for (int unit = 0; unit <= 6; ++unit) {
        EXPECT_EQ(svFormatLinear(std::numeric_limits<double>::quiet_NaN(), unit, 4), L"NaN");
        EXPECT_EQ(svFormatLinear(std::numeric_limits<double>::infinity(), unit, 4), L"Inf");
        EXPECT_EQ(svFormatLinear(-std::numeric_limits<double>::infinity(), unit, 4), L"-Inf");
    }
}

TEST(LinearExtremes, HugeAndTinyValuesStayBoundedText) {
    // Written whole, to the last character: the largest real has 309 digits before the point.
    const double largest = std::numeric_limits<double>::max();
    const std::wstring decimal = svFormatLinear(-largest, 2, 8);
    EXPECT_EQ(decimal.size(), 1u + 309 + 1 + 8);
    EXPECT_EQ(decimal.substr(decimal.size() - 9), L".00000000");
    EXPECT_EQ(svFormatLinear(-largest, 5, 8), decimal.substr(0, 1 + 309));
    EXPECT_EQ(svFormatLinear(-largest, 3, 8).back(), L'"');
    EXPECT_EQ(svFormatLinear(-largest, 4, 8).back(), L'"');
    const double huge = std::numeric_limits<double>::max();
    for (int unit = 1; unit <= 5; ++unit) {
        for (int precision : {0, 8}) {
            const std::wstring text = svFormatLinear(huge, unit, precision);
            EXPECT_FALSE(text.empty());
            EXPECT_LT(text.size(), 400u);
            EXPECT_EQ(svFormatLinear(-huge, unit, precision), L"-" + text);
            EXPECT_EQ(text.find(L'-', 1),
                      unit == 3 || unit == 4 ? text.find(L"'-") + 1 : std::wstring::npos);
        }
        // Rounds to zero everywhere but in scientific notation, and zero has no sign.
        const std::wstring tiny =
            svFormatLinear(-std::numeric_limits<double>::denorm_min(), unit, 8);
        EXPECT_EQ(tiny[0] == L'-', unit == 1) << svToUtf8(tiny);
    }
}

TEST(LinearBuffer, CutToCapacityAndTerminated) {
    wchar_t buffer[8];
    EXPECT_EQ(svFormatLinearTo(12.5, 2, 4, buffer, 8), 7u);
    EXPECT_STREQ(buffer, L"12.5000");
    EXPECT_EQ(svFormatLinearTo(12.5, 2, 4, buffer, 4), 3u);
    EXPECT_STREQ(buffer, L"12.");
    EXPECT_EQ(svFormatLinearTo(12.5, 2, 4, buffer, 0), 0u);
    EXPECT_EQ(svFormatLinearTo(12.5, 2, 4, nullptr, 8), 0u);
}

} // namespace
