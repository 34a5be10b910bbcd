#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "ge/polyline_math.h"

namespace {

constexpr double kPi = std::numbers::pi;

struct Poly {
    std::vector<AcGePoint2d> points;
    std::vector<double> bulges;
    bool closed = false;

    ge::PolylineCurve curve() const { return {points, bulges, closed}; }
    double area() const {
        double a = -1;
        EXPECT_EQ(curve().getArea(a), Acad::eOk);
        return a;
    }
    double length() const {
        double start = 0, end = 0, d0 = -1, d1 = -1;
        EXPECT_EQ(curve().getStartParam(start), Acad::eOk);
        EXPECT_EQ(curve().getEndParam(end), Acad::eOk);
        EXPECT_EQ(curve().getDistAtParam(start, d0), Acad::eOk);
        EXPECT_EQ(curve().getDistAtParam(end, d1), Acad::eOk);
        return d1 - d0;
    }
};

const Poly kRectangle{{{0, 0}, {4, 0}, {4, 3}, {0, 3}}, {}, true};

TEST(GePolyline, RectangleAreaAndLengthInEitherDirection) {
    EXPECT_DOUBLE_EQ(kRectangle.area(), 12.0);
    EXPECT_DOUBLE_EQ(kRectangle.length(), 14.0);
    Poly clockwise{{{0, 0}, {0, 3}, {4, 3}, {4, 0}}, {}, true};
    EXPECT_DOUBLE_EQ(clockwise.area(), 12.0);
    double signedArea = 0;
    ASSERT_EQ(clockwise.curve().getSignedArea(signedArea), Acad::eOk);
    EXPECT_DOUBLE_EQ(signedArea, -12.0);
}

TEST(GePolyline, FarFromTheOriginTheAreaKeepsItsDigits) {
    Poly far = kRectangle;
    for (AcGePoint2d& p : far.points)
        p += AcGeVector2d(3e8, -7e8);
    EXPECT_NEAR(far.area(), 12.0, 1e-6);
}

TEST(GePolyline, BulgedEdgesAddOrRemoveTheirHalfDisc) {
    // The right edge (4,0)-(4,2) of a counter-clockwise 4 x 2 rectangle bulges outwards with +1.
    Poly outward{{{0, 0}, {4, 0}, {4, 2}, {0, 2}}, {0, 1, 0, 0}, true};
    EXPECT_NEAR(outward.area() / (8 + kPi / 2), 1.0, 1e-9);
    EXPECT_NEAR(outward.length() / (10 + kPi), 1.0, 1e-12);
    Poly inward = outward;
    inward.bulges[1] = -1;
    EXPECT_NEAR(inward.area() / (8 - kPi / 2), 1.0, 1e-9);

    // Two half circles make a full one.
    Poly disc{{{0, 0}, {2, 0}}, {1, 1}, true};
    EXPECT_NEAR(disc.area() / kPi, 1.0, 1e-12);
    EXPECT_NEAR(disc.length() / (2 * kPi), 1.0, 1e-12);
}

TEST(GePolyline, OpenPolylineIsClosedByAChordForItsArea) {
    EXPECT_DOUBLE_EQ((Poly{{{0, 0}, {4, 0}, {4, 3}}, {}, false}).area(), 6.0);
    EXPECT_NEAR((Poly{{{0, 0}, {2, 0}}, {1, 0}, false}).area(), kPi / 2, 1e-12);
    // The last vertex's bulge has no segment to bend when the polyline is open.
    const Poly open{{{0, 0}, {2, 0}}, {0, 1}, false};
    EXPECT_EQ(open.area(), 0.0);
    EXPECT_DOUBLE_EQ(open.length(), 2.0);
    EXPECT_EQ((Poly{{{1, 1}, {5, 1}}, {}, false}).area(), 0.0);
}

TEST(GePolyline, ParametersRunVertexByVertexAndByAngleOnArcs) {
    const Poly p{{{0, 0}, {10, 0}, {10, 2}}, {0, 1, 0}, false};
    const ge::PolylineCurve c = p.curve();
    double end = 0;
    ASSERT_EQ(c.getEndParam(end), Acad::eOk);
    EXPECT_EQ(end, 2.0);
    EXPECT_NEAR(p.length(), 10 + kPi, 1e-12);

    double dist = 0;
    ASSERT_EQ(c.getDistAtParam(1.0, dist), Acad::eOk);
    EXPECT_DOUBLE_EQ(dist, 10.0);
    ASSERT_EQ(c.getDistAtParam(1.5, dist), Acad::eOk);
    EXPECT_DOUBLE_EQ(dist, 10 + kPi / 2);
    AcGePoint2d pt;
    ASSERT_EQ(c.getPointAtParam(1.5, pt), Acad::eOk);
    EXPECT_NEAR(pt.x, 11.0, 1e-12);
    EXPECT_NEAR(pt.y, 1.0, 1e-12);
    ASSERT_EQ(c.getPointAtParam(0.25, pt), Acad::eOk);
    EXPECT_EQ(pt, AcGePoint2d(2.5, 0));

    // A closed polyline returns to its first vertex at parameter n.
    ASSERT_EQ(kRectangle.curve().getEndParam(end), Acad::eOk);
    EXPECT_EQ(end, 4.0);
    ASSERT_EQ(kRectangle.curve().getPointAtParam(4.0, pt), Acad::eOk);
    EXPECT_EQ(pt, AcGePoint2d(0, 0));
    ASSERT_EQ(kRectangle.curve().getPointAtParam(3.5, pt), Acad::eOk);
    EXPECT_EQ(pt, AcGePoint2d(0, 1.5));
}

TEST(GePolyline, ParamAndDistRoundTrip) {
    // A repeated vertex makes a zero-length segment between parameters 2 and 3.
    const Poly p{
        {{0, 0}, {3, 0}, {3, 4}, {3, 4}, {-1, 5}, {-2, 0}}, {0.3, -2, 0.5, 0, 1e-7, 0.8}, true};
    const ge::PolylineCurve c = p.curve();
    for (double param = 0; param <= 6.0; param += 0.125) {
        double dist = 0, back = 0;
        ASSERT_EQ(c.getDistAtParam(param, dist), Acad::eOk);
        ASSERT_EQ(c.getParamAtDist(dist, back), Acad::eOk);
        if (param > 2 && param <= 3)
            EXPECT_EQ(back, 2.0) << param;
        else
            EXPECT_NEAR(back, param, 1e-12) << param;
    }
    double total = 0;
    ASSERT_EQ(c.getLength(total), Acad::eOk);
    for (double f = 0; f <= 1.0; f += 0.05) {
        double param = 0, dist = 0;
        ASSERT_EQ(c.getParamAtDist(f * total, param), Acad::eOk);
        ASSERT_EQ(c.getDistAtParam(param, dist), Acad::eOk);
        EXPECT_NEAR(dist, f * total, 1e-12 * total);
    }
}

TEST(GePolyline, WorldPointsUseElevationAndNormal) {
    ge::PolylineCurve c = kRectangle.curve();
    c.elevation = 5;
    c.normal = AcGeVector3d(0, 0, -2);
    AcGePoint3d pt;
    ASSERT_EQ(c.getPointAtParam(0.25, pt), Acad::eOk);
    EXPECT_TRUE(pt.isEqualTo(AcGePoint3d(-1, 0, -5)));
    c.normal = AcGeVector3d::kIdentity;
    EXPECT_EQ(c.getPointAtParam(0.25, pt), Acad::eDegenerateGeometry);
}

TEST(GePolyline, DegenerateAndInvalidPolylines) {
    double value = -1;
    AcGePoint2d pt;
    EXPECT_EQ(Poly{}.curve().getArea(value), Acad::eDegenerateGeometry);

    const Poly single{{{7, 8}}, {}, true};
    ASSERT_EQ(single.curve().getEndParam(value), Acad::eOk);
    EXPECT_EQ(value, 0.0);
    EXPECT_EQ(single.length(), 0.0);
    EXPECT_EQ(single.area(), 0.0);
    ASSERT_EQ(single.curve().getPointAtParam(0.0, pt), Acad::eOk);
    EXPECT_EQ(pt, AcGePoint2d(7, 8));

    const ge::PolylineCurve c = kRectangle.curve();
    EXPECT_EQ(c.getDistAtParam(-0.5, value), Acad::eOutOfRange);
    EXPECT_EQ(c.getDistAtParam(4.5, value), Acad::eOutOfRange);
    EXPECT_EQ(c.getParamAtDist(14.5, value), Acad::eOutOfRange);
    EXPECT_EQ(c.getDistAtParam(std::numeric_limits<double>::quiet_NaN(), value),
              Acad::eInvalidInput);
    ASSERT_EQ(c.getDistAtParam(4.0 + 1e-12, value), Acad::eOk);
    EXPECT_EQ(value, 14.0);

    EXPECT_EQ((Poly{{{0, 0}, {1, 0}, {1, 1}}, {0, 1}, true}).curve().getArea(value),
              Acad::eInvalidInput);
    EXPECT_EQ((Poly{{{0, 0}, {1, std::numeric_limits<double>::infinity()}}, {}, false})
                  .curve()
                  .getLength(value),
              Acad::eInvalidInput);
    AcGePoint2d s, e;
    double bulge = 0;
    EXPECT_EQ(c.getSegment(4, s, e, bulge), Acad::eInvalidIndex);
}

} // namespace
