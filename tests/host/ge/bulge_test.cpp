#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "ge/bulge.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Area of a minor circular segment by Simpson's rule over the chord, with the height written as
// (c^2/4 - x^2) / (sqrt(r^2 - x^2) + d) so that nothing cancels however shallow the arc.
double referenceSegmentArea(double chord, double bulge) {
    const double r = chord * (1 + bulge * bulge) / (4 * bulge);
    const double h2 = chord * chord / 4;
    const double d = std::sqrt(r * r - h2);
    auto height = [&](double x) { return (h2 - x * x) / (std::sqrt(r * r - x * x) + d); };
    const int n = 2000;
    const double step = chord / n;
    double sum = height(-chord / 2) + height(chord / 2);
    for (int i = 1; i < n; ++i)
        sum += (i % 2 == 1 ? 4 : 2) * height(-chord / 2 + i * step);
    return sum * step / 3;
}

TEST(GeBulge, HalfCircleGivesItsCentreAnglesLengthAndArea) {
    const AcGePoint2d s(0, 0), e(2, 0);
    ge::BulgeArc arc;
    ASSERT_EQ(ge::arcFromBulge(s, e, 1.0, arc), Acad::eOk);
    EXPECT_NEAR(arc.center.x, 1.0, 1e-15);
    EXPECT_NEAR(arc.center.y, 0.0, 1e-15);
    EXPECT_DOUBLE_EQ(arc.radius, 1.0);
    EXPECT_DOUBLE_EQ(arc.startAngle, kPi);
    EXPECT_NEAR(arc.endAngle, 0.0, 1e-15);
    EXPECT_DOUBLE_EQ(arc.sweep, kPi);

    double length = 0, area = 0;
    ASSERT_EQ(ge::bulgeSegmentLength(s, e, 1.0, length), Acad::eOk);
    EXPECT_DOUBLE_EQ(length, kPi);
    ASSERT_EQ(ge::bulgeSegmentArea(s, e, 1.0, area), Acad::eOk);
    EXPECT_DOUBLE_EQ(area, kPi / 2);
    ASSERT_EQ(ge::bulgeSegmentArea(s, e, -1.0, area), Acad::eOk);
    EXPECT_DOUBLE_EQ(area, -kPi / 2);

    // Counter-clockwise from (0,0) to (2,0) passes below the chord.
    AcGePoint2d mid;
    ASSERT_EQ(ge::bulgeSegmentPoint(s, e, 1.0, 0.5, mid), Acad::eOk);
    EXPECT_NEAR(mid.x, 1.0, 1e-15);
    EXPECT_NEAR(mid.y, -1.0, 1e-15);
}

TEST(GeBulge, PointsLieOnTheArcAtTheirSweptAngle) {
    const AcGePoint2d s(1e6 + 0.3, -2e6), e(1e6 - 4.1, -2e6 + 2.7);
    for (double bulge : {-30.0, -1.0, -0.2, 0.4, 2.0, 1e4}) {
        ge::BulgeArc arc;
        ASSERT_EQ(ge::arcFromBulge(s, e, bulge, arc), Acad::eOk);
        for (double t : {0.0, 0.1, 0.5, 0.77, 1.0}) {
            AcGePoint2d p;
            ASSERT_EQ(ge::bulgeSegmentPoint(s, e, bulge, t, p), Acad::eOk);
            EXPECT_NEAR(p.distanceTo(arc.center), arc.radius, 1e-9 * (1 + arc.radius))
                << bulge << " " << t;
            const double turned =
                std::remainder((p - arc.center).angle() - arc.startAngle, 2 * kPi);
            EXPECT_NEAR(std::remainder(turned - t * arc.sweep, 2 * kPi), 0.0, 1e-9);
        }
    }
    AcGePoint2d p;
    ASSERT_EQ(ge::bulgeSegmentPoint(s, e, 0.7, 1.0, p), Acad::eOk);
    EXPECT_EQ(p, e);
}

TEST(GeBulge, NearlyStraightSegmentsStayAccurateAndContinuous) {
    const AcGePoint2d s(0, 0), e(3, 4);
    for (double bulge : {1e-2, 1e-3 * (1 + 1e-12), 1e-3 * (1 - 1e-12), 1e-5, 1e-9}) {
        double area = 0;
        ASSERT_EQ(ge::bulgeSegmentArea(s, e, bulge, area), Acad::eOk);
        EXPECT_NEAR(area / referenceSegmentArea(5.0, bulge), 1.0, 1e-12) << bulge;
    }
    double below = 0, above = 0;
    ASSERT_EQ(ge::bulgeSegmentLength(s, e, 1e-4 * (1 - 1e-12), below), Acad::eOk);
    ASSERT_EQ(ge::bulgeSegmentLength(s, e, 1e-4 * (1 + 1e-12), above), Acad::eOk);
    EXPECT_NEAR(below, above, 1e-14);
    double length = 0;
    ASSERT_EQ(ge::bulgeSegmentLength(s, e, 1e-300, length), Acad::eOk);
    EXPECT_EQ(length, 5.0);
    AcGePoint2d mid;
    ASSERT_EQ(ge::bulgeSegmentPoint(s, e, 1e-12, 0.5, mid), Acad::eOk);
    // The sagitta b c / 2 off the chord's midpoint, to the right.
    EXPECT_NEAR(mid.x, 1.5 + 2e-12, 1e-15);
    EXPECT_NEAR(mid.y, 2.0 - 1.5e-12, 1e-15);
}

TEST(GeBulge, HugeBulgesApproachTheFullCircleOrFailCleanly) {
    const AcGePoint2d s(0, 0), e(1e-3, 0);
    double length = 0, area = 0;
    ASSERT_EQ(ge::bulgeSegmentLength(s, e, 1e6, length), Acad::eOk);
    const double radius = 1e-3 * (1e6 + 1e-6) / 4;
    EXPECT_NEAR(length / (2 * kPi * radius), 1.0, 1e-6);
    ASSERT_EQ(ge::bulgeSegmentArea(s, e, 1e6, area), Acad::eOk);
    EXPECT_NEAR(area / (kPi * radius * radius), 1.0, 1e-6);
    // The far side of a nearly full circle is a diameter away.
    AcGePoint2d far;
    ASSERT_EQ(ge::bulgeSegmentPoint(s, e, 1e6, 0.5, far), Acad::eOk);
    EXPECT_NEAR(far.distanceTo(AcGePoint2d(5e-4, 0)), 2 * radius, 1e-9 * radius);

    EXPECT_EQ(ge::bulgeSegmentArea(AcGePoint2d(0, 0), AcGePoint2d(1e10, 0), 1e300, area),
              Acad::eDegenerateGeometry);
    EXPECT_EQ(ge::bulgeSegmentLength(s, AcGePoint2d(1e300, 0), 1e300, length),
              Acad::eDegenerateGeometry);
}

TEST(GeBulge, DegenerateAndInvalidSegments) {
    const AcGePoint2d p(2, 3);
    ge::BulgeArc arc;
    EXPECT_EQ(ge::arcFromBulge(p, p, 0.5, arc), Acad::eDegenerateGeometry);
    EXPECT_EQ(ge::arcFromBulge(p, AcGePoint2d(3, 3), 0.0, arc), Acad::eNotApplicable);
    EXPECT_EQ(ge::arcFromBulge(p, AcGePoint2d(3, 3), kNaN, arc), Acad::eInvalidInput);

    double length = -1, area = -1;
    AcGePoint2d q;
    EXPECT_EQ(ge::bulgeSegmentLength(p, p, 3.0, length), Acad::eOk);
    EXPECT_EQ(length, 0.0);
    EXPECT_EQ(ge::bulgeSegmentArea(p, p, 3.0, area), Acad::eOk);
    EXPECT_EQ(area, 0.0);
    EXPECT_EQ(ge::bulgeSegmentPoint(p, p, 3.0, 0.4, q), Acad::eOk);
    EXPECT_EQ(q, p);

    EXPECT_EQ(ge::bulgeSegmentPoint(p, AcGePoint2d(3, 3), 1.0, 1.01, q), Acad::eOutOfRange);
    EXPECT_EQ(ge::bulgeSegmentPoint(p, AcGePoint2d(3, 3), 1.0, kNaN, q), Acad::eInvalidInput);
    EXPECT_EQ(ge::bulgeSegmentLength(AcGePoint2d(kNaN, 0), p, 0.0, length), Acad::eInvalidInput);
}

TEST(GeBulge, SweepAndBulgeConvertBothWays) {
    EXPECT_DOUBLE_EQ(ge::bulgeFromSweep(kPi), 1.0);
    EXPECT_DOUBLE_EQ(ge::sweepFromBulge(ge::bulgeFromSweep(-kPi / 3)), -kPi / 3);
    EXPECT_DOUBLE_EQ(ge::sweepFromBulge(ge::bulgeFromSweep(1.9 * kPi)), 1.9 * kPi);
}

} // namespace
