#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "ge/curve_math.h"
#include "ge/ellipse_math.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Length measured the way a length reader does: through the parameters.
template <typename Curve>
double lengthByParams(const Curve& c) {
    double start = 0, end = 0, d0 = -1, d1 = -1;
    EXPECT_EQ(c.getStartParam(start), Acad::eOk);
    EXPECT_EQ(c.getEndParam(end), Acad::eOk);
    EXPECT_EQ(c.getDistAtParam(start, d0), Acad::eOk);
    EXPECT_EQ(c.getDistAtParam(end, d1), Acad::eOk);
    return d1 - d0;
}

template <typename Curve>
double areaOf(const Curve& c) {
    double a = -1;
    EXPECT_EQ(c.getArea(a), Acad::eOk);
    return a;
}

// Perimeter of an ellipse by the Gauss-Kummer series, independent of the quadrature under test.
double seriesPerimeter(double a, double b) {
    const double h = (a - b) * (a - b) / ((a + b) * (a + b));
    double sum = 0, coef = 1, hn = 1;
    for (int n = 0; n < 200; ++n) {
        sum += coef * coef * hn;
        coef *= (0.5 - n) / (n + 1);
        hn *= h;
    }
    return kPi * (a + b) * sum;
}

TEST(GeLine, ParameterIsTheDistanceAndAreaIsZero) {
    const ge::LineCurve line{{0, 0, 0}, {10, 0, 0}};
    EXPECT_EQ(lengthByParams(line), 10.0);
    EXPECT_EQ(areaOf(line), 0.0);
    AcGePoint3d pt;
    ASSERT_EQ(line.getPointAtParam(2.5, pt), Acad::eOk);
    EXPECT_EQ(pt, AcGePoint3d(2.5, 0, 0));
    ASSERT_EQ(line.getPointAtParam(10.0, pt), Acad::eOk);
    EXPECT_EQ(pt, line.end);
    double value = 0;
    EXPECT_EQ(line.getDistAtParam(10.5, value), Acad::eOutOfRange);
    EXPECT_EQ(line.getParamAtDist(kNaN, value), Acad::eInvalidInput);

    const ge::LineCurve dot{{1, 2, 3}, {1, 2, 3}};
    EXPECT_EQ(lengthByParams(dot), 0.0);
    ASSERT_EQ(dot.getPointAtParam(0.0, pt), Acad::eOk);
    EXPECT_EQ(pt, dot.start);
    EXPECT_EQ((ge::LineCurve{{kNaN, 0, 0}, {}}).getLength(value), Acad::eInvalidInput);
}

// Parameters a caller computed arrive with rounding noise: within the slack they land exactly on
// the end, beyond it they are refused, and a negative zero gives a plain zero.
TEST(GeLine, ParametersNearTheEndsAreClampedOntoThem) {
    const ge::LineCurve line{{0, 0, 0}, {3, 4, 0}};
    double dist = -1;
    ASSERT_EQ(line.getDistAtParam(5.0 + 1e-12, dist), Acad::eOk);
    EXPECT_EQ(dist, 5.0);
    ASSERT_EQ(line.getDistAtParam(-1e-12, dist), Acad::eOk);
    EXPECT_EQ(dist, 0.0);
    EXPECT_FALSE(std::signbit(dist));
    ASSERT_EQ(line.getDistAtParam(-0.0, dist), Acad::eOk);
    EXPECT_FALSE(std::signbit(dist));
    ASSERT_EQ(line.getDistAtParam(2.5, dist), Acad::eOk);
    EXPECT_EQ(dist, 2.5);
    EXPECT_EQ(line.getDistAtParam(5.0 + 1e-8, dist), Acad::eOutOfRange);
    EXPECT_EQ(line.getDistAtParam(-1e-8, dist), Acad::eOutOfRange);
    // The slack grows with the range's ends, not below one unit's.
    const ge::LineCurve far{{0, 0, 0}, {1e6, 0, 0}};
    ASSERT_EQ(far.getDistAtParam(1e6 + 1e-5, dist), Acad::eOk);
    EXPECT_EQ(dist, 1e6);
    EXPECT_EQ(far.getDistAtParam(1e6 + 1e-3, dist), Acad::eOutOfRange);
    const ge::LineCurve dot{{1, 1, 1}, {1, 1, 1}};
    ASSERT_EQ(dot.getDistAtParam(5e-11, dist), Acad::eOk);
    EXPECT_EQ(dist, 0.0);
    EXPECT_EQ(dot.getDistAtParam(2e-10, dist), Acad::eOutOfRange);
    EXPECT_EQ(line.getDistAtParam(kNaN, dist), Acad::eInvalidInput);
    // Even the start has no distance on a line too long to measure.
    const ge::LineCurve unmeasurable{{-1e308, 0, 0}, {1e308, 0, 0}};
    EXPECT_EQ(unmeasurable.getDistAtParam(0.0, dist), Acad::eDegenerateGeometry);
    EXPECT_EQ((ge::LineCurve{{0, 0, 0}, {kNaN, 0, 0}}).getDistAtParam(0.0, dist),
              Acad::eInvalidInput);
    const ge::LineCurve huge{{0, 0, 0}, {0, 0, 1e200}};
    dist = -1;
    ASSERT_EQ(huge.getDistAtParam(-0.0, dist), Acad::eOk);
    EXPECT_EQ(dist, 0.0);
    EXPECT_FALSE(std::signbit(dist));
}

TEST(GeCircle, AreaLengthAndPointsInItsPlane) {
    const ge::CircleCurve circle{{1, 2, 3}, AcGeVector3d::kZAxis, 2.0};
    EXPECT_DOUBLE_EQ(areaOf(circle), 4 * kPi);
    EXPECT_DOUBLE_EQ(lengthByParams(circle), 4 * kPi);
    double param = 0;
    ASSERT_EQ(circle.getParamAtDist(kPi, param), Acad::eOk);
    EXPECT_DOUBLE_EQ(param, kPi / 2);
    AcGePoint3d pt;
    ASSERT_EQ(circle.getPointAtParam(kPi / 2, pt), Acad::eOk);
    EXPECT_TRUE(pt.isEqualTo({1, 4, 3}));

    // Seen from below, angle 0 points to world -x.
    const ge::CircleCurve flipped{{0, 0, 0}, {0, 0, -1}, 1.0};
    ASSERT_EQ(flipped.getPointAtParam(0.0, pt), Acad::eOk);
    EXPECT_TRUE(pt.isEqualTo({-1, 0, 0}));

    double value = 0;
    EXPECT_EQ((ge::CircleCurve{{}, AcGeVector3d::kZAxis, 0.0}).getArea(value),
              Acad::eDegenerateGeometry);
    EXPECT_EQ((ge::CircleCurve{{}, AcGeVector3d::kZAxis, -1.0}).getArea(value),
              Acad::eDegenerateGeometry);
    EXPECT_EQ((ge::CircleCurve{{}, AcGeVector3d::kIdentity, 1.0}).getArea(value),
              Acad::eDegenerateGeometry);
    EXPECT_EQ(circle.getDistAtParam(7.0, value), Acad::eOutOfRange);
}

TEST(GeArc, EndBeforeStartWrapsAndLengthFollowsTheSweep) {
    const ge::ArcCurve arc{{0, 0, 0}, AcGeVector3d::kZAxis, 2.0, kPi / 2, 0.0};
    double start = 0, end = 0;
    ASSERT_EQ(arc.getStartParam(start), Acad::eOk);
    ASSERT_EQ(arc.getEndParam(end), Acad::eOk);
    EXPECT_DOUBLE_EQ(start, kPi / 2);
    EXPECT_DOUBLE_EQ(end, 2 * kPi);
    EXPECT_DOUBLE_EQ(lengthByParams(arc), 3 * kPi);
    EXPECT_DOUBLE_EQ(areaOf(arc), 2 * (1.5 * kPi + 1));
    AcGePoint3d pt;
    ASSERT_EQ(arc.getPointAtParam(kPi, pt), Acad::eOk);
    EXPECT_TRUE(pt.isEqualTo({-2, 0, 0}));
    double value = 0;
    EXPECT_EQ(arc.getDistAtParam(0.1, value), Acad::eOutOfRange);

    const ge::ArcCurve negative{{}, AcGeVector3d::kZAxis, 1.0, -kPi / 2, kPi / 2};
    ASSERT_EQ(negative.getStartParam(start), Acad::eOk);
    EXPECT_DOUBLE_EQ(start, 1.5 * kPi);
    EXPECT_DOUBLE_EQ(lengthByParams(negative), kPi);
    EXPECT_NEAR(areaOf(negative), kPi / 2, 1e-15);

    const ge::ArcCurve whole{{}, AcGeVector3d::kZAxis, 3.0, 1.0, 1.0};
    EXPECT_NEAR(areaOf(whole), 9 * kPi, 1e-12);
}

TEST(GeArc, ShallowArcAreaKeepsItsPrecision) {
    const double sweep = 1e-4;
    const ge::ArcCurve arc{{}, AcGeVector3d::kZAxis, 1e3, 0.0, sweep};
    // Over the chord, the height (c^2/4 - x^2) / (sqrt(r^2 - x^2) + d) cancels nothing.
    const double r = 1e3, halfChord = r * std::sin(sweep / 2), d = r * std::cos(sweep / 2);
    auto height = [&](double x) {
        return (halfChord * halfChord - x * x) / (std::sqrt(r * r - x * x) + d);
    };
    const int n = 2000;
    const double step = 2 * halfChord / n;
    double sum = height(-halfChord) + height(halfChord);
    for (int i = 1; i < n; ++i)
        sum += (i % 2 == 1 ? 4 : 2) * height(-halfChord + i * step);
    EXPECT_NEAR(areaOf(arc) / (sum * step / 3), 1.0, 1e-12);

    double value = 0;
    EXPECT_EQ((ge::ArcCurve{{}, AcGeVector3d::kZAxis, 1.0, kNaN, 1.0}).getLength(value),
              Acad::eInvalidInput);
}

TEST(GeEllipse, LengthMatchesAnIndependentSeries) {
    const ge::EllipseCurve circle{{}, AcGeVector3d::kZAxis, {3, 0, 0}, 1.0, 0.0, 0.0};
    EXPECT_NEAR(lengthByParams(circle) / (6 * kPi), 1.0, 1e-13);

    for (double ratio : {0.9, 0.5, 0.1}) {
        const ge::EllipseCurve e{{5, 5, 0}, AcGeVector3d::kZAxis, {0, 2, 0}, ratio, 0.0, 0.0};
        EXPECT_NEAR(lengthByParams(e) / seriesPerimeter(2, 2 * ratio), 1.0, 1e-12) << ratio;
        const ge::EllipseCurve quarter{{}, AcGeVector3d::kZAxis, {0, 2, 0}, ratio, 0.0, kPi / 2};
        EXPECT_NEAR(lengthByParams(quarter) / seriesPerimeter(2, 2 * ratio), 0.25, 1e-12);
    }
    // Nearly a doubled line: four times the major radius.
    const ge::EllipseCurve flat{{}, AcGeVector3d::kZAxis, {1, 0, 0}, 1e-7, 0.0, 0.0};
    EXPECT_NEAR(lengthByParams(flat), 4.0, 1e-9);
}

TEST(GeEllipse, ParamAndDistRoundTripOnAFlatArc) {
    const ge::EllipseCurve e{{}, {0, 0, 1}, {4, 0, 0}, 0.01, 5.5, 1.0};
    double start = 0, end = 0, total = 0;
    ASSERT_EQ(e.getStartParam(start), Acad::eOk);
    ASSERT_EQ(e.getEndParam(end), Acad::eOk);
    EXPECT_DOUBLE_EQ(end - start, 1.0 + 2 * kPi - 5.5);
    ASSERT_EQ(e.getLength(total), Acad::eOk);
    for (double f : {0.0, 0.01, 0.3, 0.5, 0.9999, 1.0}) {
        double param = 0, dist = 0;
        ASSERT_EQ(e.getParamAtDist(f * total, param), Acad::eOk);
        ASSERT_EQ(e.getDistAtParam(param, dist), Acad::eOk);
        EXPECT_NEAR(dist, f * total, 1e-11 * total) << f;
    }
}

TEST(GeEllipse, AreaPointsAndDegenerateShapes) {
    const ge::EllipseCurve e{{1, 1, 0}, AcGeVector3d::kZAxis, {2, 0, 0}, 0.5, 0.0, 0.0};
    EXPECT_DOUBLE_EQ(areaOf(e), 2 * kPi);
    const ge::EllipseCurve half{{1, 1, 0}, AcGeVector3d::kZAxis, {2, 0, 0}, 0.5, 0.0, kPi};
    EXPECT_NEAR(areaOf(half), kPi, 1e-12);
    AcGePoint3d pt;
    ASSERT_EQ(e.getPointAtParam(kPi / 2, pt), Acad::eOk);
    EXPECT_TRUE(pt.isEqualTo({1, 2, 0}));

    double value = 0;
    EXPECT_EQ((ge::EllipseCurve{{}, AcGeVector3d::kZAxis, {2, 0, 0}, 0.0, 0, 0}).getLength(value),
              Acad::eDegenerateGeometry);
    EXPECT_EQ((ge::EllipseCurve{{}, AcGeVector3d::kZAxis, {}, 0.5, 0, 0}).getLength(value),
              Acad::eDegenerateGeometry);
    EXPECT_EQ((ge::EllipseCurve{{}, AcGeVector3d::kXAxis, {2, 0, 0}, 0.5, 0, 0}).getLength(value),
              Acad::eDegenerateGeometry);
    EXPECT_EQ(e.getDistAtParam(kNaN, value), Acad::eInvalidInput);
}

} // namespace
