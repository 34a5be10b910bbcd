#include <cmath>
#include <memory>

#include "db/arc.h"
#include "db/circle.h"
#include "db/ellipse.h"
#include "db/leader.h"
#include "db/line.h"
#include "db/polyline.h"
#include "db/region.h"
#include "entity_test_support.h"
#include "ge/curve_math.h"

namespace {

constexpr double kPi = ge::kPi;

std::unique_ptr<AcDbPolyline> polyline(std::initializer_list<AcGePoint2d> points,
                                       std::initializer_list<double> bulges = {},
                                       bool closed = false) {
    auto pline = std::make_unique<AcDbPolyline>();
    unsigned i = 0;
    auto bulge = bulges.begin();
    for (const AcGePoint2d& p : points) {
        EXPECT_EQ(pline->addVertexAt(i++, p, bulge != bulges.end() ? *bulge++ : 0.0), Acad::eOk);
    }
    pline->setClosed(closed);
    return pline;
}

// What a length reader computes: distance at the end parameter minus distance at the start.
double lengthByParams(const AcDbCurve& curve) {
    double start = 0.0;
    double end = 0.0;
    double d0 = 0.0;
    double d1 = 0.0;
    EXPECT_EQ(curve.getStartParam(start), Acad::eOk);
    EXPECT_EQ(curve.getEndParam(end), Acad::eOk);
    EXPECT_EQ(curve.getDistAtParam(start, d0), Acad::eOk);
    EXPECT_EQ(curve.getDistAtParam(end, d1), Acad::eOk);
    return d1 - d0;
}

double areaOf(const AcDbCurve& curve) {
    double area = -1.0;
    EXPECT_EQ(curve.getArea(area), Acad::eOk);
    return area;
}

} // namespace

class Curves : public EntityTest {};

TEST_F(Curves, AreasOfClosedShapesAndZeroForALine) {
    auto rectangle = polyline({{0, 0}, {4, 0}, {4, 3}, {0, 3}}, {}, true);
    EXPECT_DOUBLE_EQ(areaOf(*rectangle), 12.0);
    // Clockwise gives the same magnitude; an open one is closed by its chord.
    auto clockwise = polyline({{0, 0}, {0, 3}, {4, 3}, {4, 0}});
    EXPECT_FALSE(clockwise->isClosed());
    EXPECT_DOUBLE_EQ(areaOf(*clockwise), 12.0);

    // A 2 x 2 square whose top edge is a half circle of radius 1 bulging outwards.
    auto halfDisc = polyline({{0, 0}, {2, 0}, {2, 2}, {0, 2}}, {0, 0, 1.0, 0}, true);
    const double expected = 4.0 + kPi / 2.0;
    EXPECT_NEAR(areaOf(*halfDisc), expected, 1e-9 * expected);
    // Bulging inwards takes the half disc away.
    halfDisc->setBulgeAt(2, -1.0);
    EXPECT_NEAR(areaOf(*halfDisc), 4.0 - kPi / 2.0, 1e-9 * 4.0);

    AcDbCircle circle(AcGePoint3d(5, 5, 0), AcGeVector3d::kZAxis, 2.5);
    EXPECT_NEAR(areaOf(circle), kPi * 6.25, 1e-12 * kPi * 6.25);
    EXPECT_TRUE(circle.isClosed());

    AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
    EXPECT_EQ(areaOf(line), 0.0);
    EXPECT_FALSE(line.isClosed());
}

TEST_F(Curves, LengthsThroughParameters) {
    AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
    double end = 0.0;
    line.getEndParam(end);
    EXPECT_DOUBLE_EQ(end, 10.0);
    EXPECT_DOUBLE_EQ(lengthByParams(line), 10.0);

    AcDbArc arc(AcGePoint3d(1, 1, 0), 2.0, 0.0, kPi / 2.0);
    EXPECT_NEAR(lengthByParams(arc), kPi, 1e-12);
    // An arc across the zero angle runs on through 2pi.
    AcDbArc across(AcGePoint3d(0, 0, 0), 1.0, 3.0 * kPi / 2.0, kPi / 2.0);
    EXPECT_NEAR(lengthByParams(across), kPi, 1e-12);

    // Half circle of radius 1, then 3 straight.
    auto pline = polyline({{0, 0}, {2, 0}, {2, 3}}, {1.0, 0, 0});
    EXPECT_NEAR(lengthByParams(*pline), kPi + 3.0, 1e-12);
    double param = 0.0;
    ASSERT_EQ(pline->getParamAtDist(kPi, param), Acad::eOk);
    EXPECT_NEAR(param, 1.0, 1e-12);
    AcGePoint3d point;
    ASSERT_EQ(pline->getPointAtParam(0.5, point), Acad::eOk);
    EXPECT_NEAR(point.x, 1.0, 1e-12);
    EXPECT_NEAR(point.y, -1.0, 1e-12); // counter-clockwise from (0,0) to (2,0) dips below

    AcDbLeader leader;
    leader.appendVertex(AcGePoint3d(0, 0, 0));
    leader.appendVertex(AcGePoint3d(3, 4, 0));
    leader.appendVertex(AcGePoint3d(3, 4, 0)); // a repeated vertex adds nothing
    leader.appendVertex(AcGePoint3d(6, 4, 0));
    EXPECT_DOUBLE_EQ(lengthByParams(leader), 8.0);
    ASSERT_EQ(leader.getParamAtDist(5.0, param), Acad::eOk);
    EXPECT_DOUBLE_EQ(param, 1.0);
    double area = -1.0;
    EXPECT_EQ(leader.getArea(area), Acad::eOk);
    EXPECT_EQ(area, 0.0);
}

TEST_F(Curves, ParametersOutsideTheCurveAndEmptyCurvesAreRefused) {
    AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
    double dist = 0.0;
    EXPECT_EQ(line.getDistAtParam(10.5, dist), Acad::eOutOfRange);
    EXPECT_EQ(line.getDistAtParam(std::nan(""), dist), Acad::eInvalidInput);

    AcDbPolyline empty;
    double param = 0.0;
    EXPECT_NE(empty.getStartParam(param), Acad::eOk);
    EXPECT_NE(empty.getArea(dist), Acad::eOk);
    AcGePoint3d point;
    EXPECT_NE(empty.getClosestPointTo(AcGePoint3d(1, 1, 0), point), Acad::eOk);

    AcDbLeader bare;
    EXPECT_NE(bare.getEndParam(param), Acad::eOk);
    EXPECT_EQ(bare.vertexAt(5), AcGePoint3d::kOrigin);

    // The base level knows no shape.
    AcDbCurve curve;
    EXPECT_EQ(curve.getArea(dist), Acad::eNotApplicable);
    EXPECT_EQ(curve.getClosestPointTo(AcGePoint3d(1, 1, 0), point), Acad::eNotApplicable);
}

TEST_F(Curves, PolylineVerticesByIndex) {
    AcDbPolyline pline;
    EXPECT_EQ(pline.addVertexAt(0, AcGePoint2d(1, 1)), Acad::eOk);
    EXPECT_EQ(pline.addVertexAt(99, AcGePoint2d(3, 3)), Acad::eOk); // past the end appends
    EXPECT_EQ(pline.addVertexAt(1, AcGePoint2d(2, 2), 0.5), Acad::eOk);
    ASSERT_EQ(pline.numVerts(), 3u);
    AcGePoint2d p;
    pline.getPointAt(1, p);
    EXPECT_EQ(p, AcGePoint2d(2, 2));
    double bulge = 0.0;
    pline.getBulgeAt(1, bulge);
    EXPECT_EQ(bulge, 0.5);
    EXPECT_EQ(pline.getPointAt(3, p), Acad::eInvalidIndex);
    EXPECT_EQ(pline.setPointAt(3, p), Acad::eInvalidIndex);
    EXPECT_EQ(pline.setBulgeAt(0, INFINITY), Acad::eInvalidInput);
    EXPECT_EQ(pline.addVertexAt(0, AcGePoint2d(NAN, 0)), Acad::eInvalidInput);
    EXPECT_EQ(pline.setWidthsAt(0, -1.0, 1.0), Acad::eInvalidInput);
    EXPECT_EQ(pline.numVerts(), 3u);

    pline.setElevation(5.0);
    AcGePoint3d world;
    pline.getPointAt(2, world);
    EXPECT_EQ(world, AcGePoint3d(3, 3, 5));
    EXPECT_EQ(pline.removeVertexAt(0), Acad::eOk);
    pline.getPointAt(0, p);
    EXPECT_EQ(p, AcGePoint2d(2, 2));

    // A polyline in another plane reports world points through its normal.
    AcDbPolyline upright;
    upright.setNormal(AcGeVector3d(0, 0, -1));
    upright.addVertexAt(0, AcGePoint2d(1, 0));
    upright.getPointAt(0, world);
    EXPECT_NEAR(world.x, -1.0, 1e-15);
}

TEST_F(Curves, ClosestPoints) {
    AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
    AcGePoint3d on;
    line.getClosestPointTo(AcGePoint3d(12, 5, 0), on);
    EXPECT_EQ(on, AcGePoint3d(10, 0, 0));
    line.getClosestPointTo(AcGePoint3d(12, 5, 0), on, true);
    EXPECT_EQ(on, AcGePoint3d(12, 0, 0));

    AcDbArc arc(AcGePoint3d(0, 0, 0), 1.0, 0.0, kPi / 2.0);
    arc.getClosestPointTo(AcGePoint3d(-3, 0.1, 0), on);
    EXPECT_TRUE(on.isEqualTo(AcGePoint3d(0, 1, 0)));
    arc.getClosestPointTo(AcGePoint3d(-3, 0, 0), on, true);
    EXPECT_TRUE(on.isEqualTo(AcGePoint3d(-1, 0, 0)));

    AcDbCircle circle(AcGePoint3d(0, 0, 2), AcGeVector3d::kZAxis, 2.0);
    circle.getClosestPointTo(AcGePoint3d(0, 4, 7), on);
    EXPECT_TRUE(on.isEqualTo(AcGePoint3d(0, 2, 2)));
    // From the centre every point is nearest: one of them, not a NaN.
    ASSERT_EQ(circle.getClosestPointTo(AcGePoint3d(0, 0, 2), on), Acad::eOk);
    EXPECT_NEAR(on.distanceTo(AcGePoint3d(0, 0, 2)), 2.0, 1e-12);

    auto pline = polyline({{0, 0}, {2, 0}, {2, 3}}, {1.0, 0, 0});
    pline->getClosestPointTo(AcGePoint3d(1, -5, 0), on);
    EXPECT_TRUE(on.isEqualTo(AcGePoint3d(1, -1, 0)));
    pline->getClosestPointTo(AcGePoint3d(5, 2, 0), on);
    EXPECT_TRUE(on.isEqualTo(AcGePoint3d(2, 2, 0)));

    // The ellipse has no closed form and is searched for.
    AcDbEllipse ellipse(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, AcGeVector3d(4, 0, 0), 0.5);
    ellipse.getClosestPointTo(AcGePoint3d(0, 5, 0), on);
    EXPECT_NEAR(on.x, 0.0, 1e-7);
    EXPECT_NEAR(on.y, 2.0, 1e-9);
}

TEST_F(Curves, EllipseAnglesParametersAndArea) {
    AcDbEllipse ellipse(AcGePoint3d(1, 2, 0), AcGeVector3d::kZAxis, AcGeVector3d(0, 3, 0), 0.5);
    EXPECT_TRUE(ellipse.isClosed());
    EXPECT_NEAR(areaOf(ellipse), kPi * 3.0 * 1.5, 1e-9);
    EXPECT_TRUE(ellipse.minorAxis().isEqualTo(AcGeVector3d(-1.5, 0, 0)));
    // 45 degrees from the major axis lies at the eccentric angle atan(1 / 0.5).
    EXPECT_NEAR(ellipse.paramAtAngle(kPi / 4.0), std::atan(2.0), 1e-12);
    EXPECT_NEAR(ellipse.angleAtParam(std::atan(2.0)), kPi / 4.0, 1e-12);

    AcDbEllipse refused;
    EXPECT_EQ(refused.set(AcGePoint3d(), AcGeVector3d::kZAxis, AcGeVector3d(1, 0, 1), 0.5),
              Acad::eInvalidInput);
    EXPECT_EQ(refused.set(AcGePoint3d(), AcGeVector3d::kZAxis, AcGeVector3d(1, 0, 0), 1.5),
              Acad::eInvalidInput);
    EXPECT_EQ(refused.radiusRatio(), 1.0);

    AcDbEllipse quarter(AcGePoint3d(), AcGeVector3d::kZAxis, AcGeVector3d(2, 0, 0), 1.0, 0.0,
                        kPi / 2.0);
    EXPECT_FALSE(quarter.isClosed());
    EXPECT_NEAR(lengthByParams(quarter), kPi, 1e-9);
}

TEST_F(Curves, CirclesAndArcsRefuseRadiiThatAreNotPositive) {
    AcDbCircle circle;
    EXPECT_EQ(circle.setRadius(0.0), Acad::eInvalidInput);
    EXPECT_EQ(circle.setRadius(-1.0), Acad::eInvalidInput);
    EXPECT_EQ(circle.setRadius(NAN), Acad::eInvalidInput);
    EXPECT_EQ(circle.setNormal(AcGeVector3d()), Acad::eInvalidInput);
    EXPECT_EQ(circle.radius(), 1.0);
    AcDbArc arc(AcGePoint3d(), -2.0, 0.0, 1.0);
    EXPECT_EQ(arc.radius(), 1.0);
    EXPECT_EQ(arc.setStartAngle(7.0 * kPi / 2.0), Acad::eOk);
    EXPECT_NEAR(arc.startAngle(), 3.0 * kPi / 2.0, 1e-12);
}

class Regions : public EntityTest {};

TEST_F(Regions, FromAClosedPolylineOrACircleTheAreaIsTheCurves) {
    auto pline = polyline({{0, 0}, {2, 0}, {2, 2}, {0, 2}}, {0, 0, 1.0, 0}, true);
    AcDbCircle circle(AcGePoint3d(10, 0, 3), AcGeVector3d(0, 1, 1), 1.5);
    AcDbVoidPtrArray curves;
    curves.append(pline.get());
    curves.append(&circle);
    AcDbVoidPtrArray regions;
    ASSERT_EQ(AcDbRegion::createFromCurves(curves, regions), Acad::eOk);
    ASSERT_EQ(regions.length(), 2);
    std::unique_ptr<AcDbRegion> fromPline(static_cast<AcDbRegion*>(regions[0]));
    std::unique_ptr<AcDbRegion> fromCircle(static_cast<AcDbRegion*>(regions[1]));
    double area = 0.0;
    ASSERT_EQ(fromPline->getArea(area), Acad::eOk);
    EXPECT_NEAR(area, areaOf(*pline), 1e-12);
    ASSERT_EQ(fromCircle->getArea(area), Acad::eOk);
    EXPECT_NEAR(area, areaOf(circle), 1e-12);
    double perimeter = 0.0;
    fromCircle->getPerimeter(perimeter);
    EXPECT_NEAR(perimeter, 3.0 * kPi, 1e-12);
    EXPECT_TRUE(fromCircle->normal().isParallelTo(circle.normal()));
}

TEST_F(Regions, LinesAndArcsThatMeetEndToEndMakeOneRegion) {
    // A "D": the line's end meets the arc's start, whose end meets the line's start; a second
    // closed loop of two lines given back to front takes part as well.
    AcDbLine base(AcGePoint3d(2, 0, 0), AcGePoint3d(0, 0, 0));
    AcDbArc top(AcGePoint3d(1, 0, 0), 1.0, 0.0, kPi);
    AcDbLine a(AcGePoint3d(10, 0, 0), AcGePoint3d(14, 0, 0));
    AcDbLine b(AcGePoint3d(10, 3, 0), AcGePoint3d(14, 0, 0));
    AcDbLine c(AcGePoint3d(10, 0, 0), AcGePoint3d(10, 3, 0));
    AcDbVoidPtrArray curves;
    for (AcDbCurve* curve : std::initializer_list<AcDbCurve*>{&top, &a, &base, &b, &c})
        curves.append(curve);
    AcDbVoidPtrArray regions;
    ASSERT_EQ(AcDbRegion::createFromCurves(curves, regions), Acad::eOk);
    ASSERT_EQ(regions.length(), 2);
    double areas[2] = {};
    for (int i = 0; i < 2; ++i) {
        std::unique_ptr<AcDbRegion> region(static_cast<AcDbRegion*>(regions[i]));
        region->getArea(areas[i]);
    }
    EXPECT_NEAR(areas[0], kPi / 2.0, 1e-12);
    EXPECT_NEAR(areas[1], 6.0, 1e-12);
}

TEST_F(Regions, CurvesWithoutAClosedLoopMakeNoRegion) {
    AcDbLine a(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
    AcDbLine b(AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0));
    auto closedPline = polyline({{0, 0}, {4, 0}, {4, 3}}, {}, true);
    AcDbVoidPtrArray curves;
    curves.append(closedPline.get());
    curves.append(&a);
    curves.append(&b);
    AcDbVoidPtrArray regions;
    EXPECT_EQ(AcDbRegion::createFromCurves(curves, regions), Acad::eInvalidInput);
    EXPECT_EQ(regions.length(), 0); // the good loop is not left behind half-done

    // Out of the plane of the others.
    AcDbLine c(AcGePoint3d(1, 1, 0), AcGePoint3d(0, 0, 5));
    curves.setLogicalLength(0);
    curves.append(&a);
    curves.append(&b);
    curves.append(&c);
    EXPECT_EQ(AcDbRegion::createFromCurves(curves, regions), Acad::eInvalidInput);

    // A boundary that encloses nothing, an ellipse, a null entry.
    auto flat = polyline({{0, 0}, {1, 0}, {2, 0}}, {}, true);
    AcDbEllipse ellipse;
    for (void* entry : std::initializer_list<void*>{flat.get(), &ellipse, nullptr}) {
        AcDbVoidPtrArray one;
        one.append(entry);
        EXPECT_EQ(AcDbRegion::createFromCurves(one, regions), Acad::eInvalidInput);
    }
    EXPECT_EQ(regions.length(), 0);
    AcDbRegion nothing;
    EXPECT_TRUE(nothing.isNull());
    double area = -1.0;
    EXPECT_EQ(nothing.getArea(area), Acad::eOk);
    EXPECT_EQ(area, 0.0);
}
