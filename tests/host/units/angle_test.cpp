#include <gtest/gtest.h>

#include <limits>
#include <numbers>

#include "units/units.h"

namespace {

constexpr double kPi = std::numbers::pi;

double degrees(double value) {
    return value * kPi / 180.0;
}

struct AngleCase {
    double radians;
    int unit;
    int precision;
    const wchar_t* expected;
};

void PrintTo(const AngleCase& c, std::ostream* os) {
    *os << "radians " << c.radians << " unit " << c.unit << " precision " << c.precision;
}

class Angle : public testing::TestWithParam<AngleCase> {};

TEST_P(Angle, FormatsAsAngtosShows) {
    const AngleCase& c = GetParam();
    EXPECT_EQ(svFormatAngle(c.radians, c.unit, c.precision), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Degrees, Angle,
                         testing::Values(AngleCase{0.785398, 0, 4, L"45.0000"},
                                         AngleCase{degrees(90), 0, 0, L"90"},
                                         AngleCase{-degrees(45), 0, 2, L"315.00"},
                                         AngleCase{degrees(405), 0, 1, L"45.0"},
                                         AngleCase{degrees(359.9999), 0, 2, L"0.00"},
                                         AngleCase{0.0, 0, 3, L"0.000"}));

INSTANTIATE_TEST_SUITE_P(
    DegMinSec, Angle,
    testing::Values(AngleCase{0.785398, 1, 4, L"45d0'0\""}, AngleCase{degrees(45.5), 1, 0, L"46d"},
                    AngleCase{degrees(45.5), 1, 2, L"45d30'"},
                    AngleCase{degrees(12.3456), 1, 4, L"12d20'44\""},
                    AngleCase{degrees(12.3456), 1, 6, L"12d20'44.16\""},
                    AngleCase{degrees(12.3456), 1, 8, L"12d20'44.1600\""},
                    AngleCase{degrees(10.0 + 59.0 / 60 + 59.9999 / 3600), 1, 3, L"11d0'0\""},
                    AngleCase{degrees(359.9999999), 1, 4, L"0d0'0\""}));

INSTANTIATE_TEST_SUITE_P(GradsAndRadians, Angle,
                         testing::Values(AngleCase{0.785398, 2, 4, L"50.0000g"},
                                         AngleCase{kPi, 2, 0, L"200g"},
                                         AngleCase{-kPi / 2, 2, 1, L"300.0g"},
                                         AngleCase{0.785398, 3, 4, L"0.7854r"},
                                         AngleCase{-kPi / 2, 3, 3, L"4.712r"}));

INSTANTIATE_TEST_SUITE_P(Surveyor, Angle,
                         testing::Values(AngleCase{0.785398, 4, 4, L"N 45d0'0\" E"},
                                         AngleCase{degrees(120), 4, 2, L"N 30d0' W"},
                                         AngleCase{degrees(200), 4, 0, L"S 70d W"},
                                         AngleCase{degrees(300), 4, 4, L"S 30d0'0\" E"},
                                         AngleCase{0.0, 4, 4, L"E"}, AngleCase{kPi / 2, 4, 4, L"N"},
                                         AngleCase{kPi, 4, 4, L"W"},
                                         AngleCase{3 * kPi / 2, 4, 4, L"S"},
                                         AngleCase{degrees(89.99999), 4, 4, L"N"}));

TEST(AngleOddInput, NonFiniteAndOutOfRangeArguments) {
    EXPECT_EQ(svFormatAngle(std::numeric_limits<double>::quiet_NaN(), 1, 4), L"NaN");
    EXPECT_EQ(svFormatAngle(std::numeric_limits<double>::infinity(), 4, 4), L"Inf");
    EXPECT_EQ(svFormatAngle(kPi, 17, 2), L"180.00");
    EXPECT_EQ(svFormatAngle(kPi, 0, -5), L"180");
    EXPECT_EQ(svFormatAngle(1e300, 1, 8).empty(), false);
}

} // namespace
