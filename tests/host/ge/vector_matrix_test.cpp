#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "ge/matrix3d.h"
#include "ge/point2d.h"
#include "ge/point3d.h"
#include "ge/vector2d.h"
#include "ge/vector3d.h"

namespace {

constexpr double kPi = std::numbers::pi;

void expectNear(const AcGePoint3d& actual, const AcGePoint3d& expected, double tol = 1e-12) {
    EXPECT_NEAR(actual.x, expected.x, tol);
    EXPECT_NEAR(actual.y, expected.y, tol);
    EXPECT_NEAR(actual.z, expected.z, tol);
}

TEST(GeVector, LengthAndNormalSurviveExtremeMagnitudes) {
    EXPECT_DOUBLE_EQ(AcGeVector3d(3e200, 4e200, 0).length(), 5e200);
    EXPECT_DOUBLE_EQ(AcGeVector3d(3e-200, 0, 4e-200).length(), 5e-200);
    EXPECT_TRUE(AcGeVector3d(1e300, 1e300, 1e300).normal().isUnitLength());
    EXPECT_TRUE(AcGeVector2d(1e-300, -1e-300).normal().isUnitLength());
    EXPECT_EQ(AcGeVector3d::kIdentity.normal(), AcGeVector3d::kIdentity);
    EXPECT_FALSE(AcGeVector3d::kIdentity.isParallelTo(AcGeVector3d::kXAxis));
}

TEST(GeVector, AnglesAreAccurateNearZeroAndPiAndRespectTheReference) {
    const AcGeVector3d a(1, 0, 0);
    EXPECT_NEAR(a.angleTo(AcGeVector3d(1, 1e-9, 0)), 1e-9, 1e-20);
    EXPECT_NEAR(a.angleTo(AcGeVector3d(-1, 1e-9, 0)), kPi - 1e-9, 1e-15);
    EXPECT_DOUBLE_EQ(a.angleTo(AcGeVector3d(0, -1, 0), AcGeVector3d::kZAxis), 1.5 * kPi);
    EXPECT_DOUBLE_EQ(a.angleTo(AcGeVector3d(0, -1, 0), -AcGeVector3d::kZAxis), 0.5 * kPi);
    EXPECT_EQ(a.angleTo(AcGeVector3d::kIdentity), 0.0);

    EXPECT_EQ(AcGeVector2d(1, -0.0).angle(), 0.0);
    EXPECT_DOUBLE_EQ(AcGeVector2d(0, -2).angle(), 1.5 * kPi);
    EXPECT_LT(AcGeVector2d(1, -1e-300).angle(), 2 * kPi);
}

TEST(GeVector, RotationsFollowTheRightHandRule) {
    EXPECT_TRUE(AcGeVector3d(AcGeVector3d::kXAxis)
                    .rotateBy(kPi / 2, AcGeVector3d::kZAxis)
                    .isEqualTo(AcGeVector3d::kYAxis));
    EXPECT_TRUE(AcGeVector3d(AcGeVector3d::kZAxis)
                    .rotateBy(kPi / 2, AcGeVector3d::kXAxis * 7)
                    .isEqualTo(-AcGeVector3d::kYAxis));
    EXPECT_EQ(AcGeVector3d(1, 2, 3).rotateBy(1.0, AcGeVector3d::kIdentity), AcGeVector3d(1, 2, 3));

    AcGePoint2d p(2, 1);
    EXPECT_TRUE(p.rotateBy(kPi / 2, AcGePoint2d(1, 1)).isEqualTo(AcGePoint2d(1, 2)));
    EXPECT_TRUE(p.scaleBy(3, AcGePoint2d(1, 1)).isEqualTo(AcGePoint2d(1, 4)));
}

TEST(GeVector, EqualityHonoursTheGivenTolerance) {
    const AcGePoint3d p(1, 1, 1);
    EXPECT_TRUE(p.isEqualTo(AcGePoint3d(1, 1, 1 + 1e-11)));
    EXPECT_FALSE(p.isEqualTo(AcGePoint3d(1, 1, 1 + 1e-9)));
    EXPECT_TRUE(p.isEqualTo(AcGePoint3d(1, 1, 1 + 1e-9), AcGeTol(1e-6, 1e-6)));
}

TEST(GeMatrix, MovesRotatesAndScalesPointsAboutACentre) {
    const AcGePoint3d p(2, 1, 5);
    expectNear(AcGeMatrix3d::translation({1, -2, 3}) * p, {3, -1, 8});
    expectNear(AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis, {1, 1, 0}) * p, {1, 2, 5});
    expectNear(AcGeMatrix3d::scaling(2, {1, 1, 1}) * p, {3, 1, 9});
    expectNear(AcGeMatrix3d::mirroring({0, 3, 0}, AcGeVector3d::kYAxis) * p, {2, 5, 5});
    // Directions do not move with the origin.
    EXPECT_TRUE((AcGeMatrix3d::translation({9, 9, 9}) * AcGeVector3d::kXAxis)
                    .isEqualTo(AcGeVector3d::kXAxis));
}

TEST(GeMatrix, ProductAppliesTheRightOperandFirst) {
    const AcGeMatrix3d move = AcGeMatrix3d::translation({10, 0, 0});
    const AcGeMatrix3d turn = AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis);
    expectNear((move * turn) * AcGePoint3d(1, 0, 0), {10, 1, 0});
    expectNear((turn * move) * AcGePoint3d(1, 0, 0), {0, 11, 0});
    AcGeMatrix3d m = turn;
    m.preMultBy(move);
    EXPECT_TRUE(m.isEqualTo(move * turn));
}

TEST(GeMatrix, InverseUndoesAndSingularMatricesAreRefused) {
    const AcGeMatrix3d m = AcGeMatrix3d::translation({1e4, -3, 2}) *
                           AcGeMatrix3d::rotation(0.3, {1, 2, 3}, {4, 5, 6}) *
                           AcGeMatrix3d::scaling(1e-3);
    AcGeMatrix3d inv;
    ASSERT_EQ(m.inverse(inv), Acad::eOk);
    expectNear(inv * (m * AcGePoint3d(7, -8, 9)), {7, -8, 9}, 1e-6);
    EXPECT_FALSE(m.isSingular());

    AcGeMatrix3d flat = AcGeMatrix3d::scaling(0.0);
    inv = AcGeMatrix3d::kIdentity;
    EXPECT_TRUE(flat.isSingular());
    EXPECT_EQ(flat.inverse(inv), Acad::eDegenerateGeometry);
    EXPECT_EQ(inv, AcGeMatrix3d::kIdentity);
}

// A plain move is answered without elimination; the answers are those of the elimination to the
// bit. A negative zero below the diagonal sends the same move through the elimination without
// changing what it computes.
TEST(GeMatrix, AMoveInvertsAsTheEliminationDoesToTheBit) {
    const double offsets[][3] = {{1e4, -3, 2}, {0.0, -0.0, 5}, {-1e300, 4.9e-324, 0.1}};
    for (const auto& t : offsets) {
        const AcGeMatrix3d move = AcGeMatrix3d::translation({t[0], t[1], t[2]});
        AcGeMatrix3d eliminated = move;
        eliminated.entry[3][0] = -0.0;
        AcGeMatrix3d fast, general;
        ASSERT_EQ(move.inverse(fast), Acad::eOk);
        ASSERT_EQ(eliminated.inverse(general), Acad::eOk);
        EXPECT_EQ(std::memcmp(fast.entry, general.entry, sizeof fast.entry), 0) << t[0];
        EXPECT_EQ(move.isSingular(), eliminated.isSingular());
        const AcGeTol loose(1e-10, 1.0);
        EXPECT_EQ(move.isSingular(loose), eliminated.isSingular(loose));
    }
    AcGeMatrix3d nowhere = AcGeMatrix3d::translation({std::nan(""), 0, 0});
    AcGeMatrix3d inv;
    EXPECT_TRUE(nowhere.isSingular());
    EXPECT_EQ(nowhere.inverse(inv), Acad::eDegenerateGeometry);
}

TEST(GeMatrix, ReportsScaleOrthogonalityAndHandedness) {
    const AcGeMatrix3d similar =
        AcGeMatrix3d::rotation(1.0, {1, 1, 0}) * AcGeMatrix3d::scaling(2.5, {3, 3, 3});
    EXPECT_DOUBLE_EQ(similar.scale(), 2.5);
    EXPECT_TRUE(similar.isUniScaledOrtho());
    EXPECT_FALSE(similar.isMirroring());

    AcGeMatrix3d stretch;
    stretch(0, 0) = 2.0;
    EXPECT_FALSE(stretch.isUniScaledOrtho());
    EXPECT_TRUE(AcGeMatrix3d::mirroring(AcGePoint3d::kOrigin, {1, 1, 0}).isMirroring());
}

TEST(GeMatrix, PlaneAxesFollowTheArbitraryAxisRule) {
    EXPECT_TRUE(
        AcGeMatrix3d::planeToWorld(AcGeVector3d::kZAxis).isEqualTo(AcGeMatrix3d::kIdentity));
    // The mirrored view: x runs to world -x.
    expectNear(AcGeMatrix3d::planeToWorld({0, 0, -1}) * AcGePoint3d(1, 0, 5), {-1, 0, -5});
    const AcGeVector3d n = AcGeVector3d(1, 2, 3).normal();
    const AcGeMatrix3d m = AcGeMatrix3d::planeToWorld(n * 4);
    const AcGeVector3d x = m * AcGeVector3d::kXAxis;
    const AcGeVector3d y = m * AcGeVector3d::kYAxis;
    EXPECT_TRUE(x.isUnitLength());
    EXPECT_TRUE(x.isPerpendicularTo(n));
    EXPECT_TRUE(x.crossProduct(y).isEqualTo(n));
    EXPECT_TRUE((AcGeMatrix3d::worldToPlane(n) * m).isEqualTo(AcGeMatrix3d::kIdentity));
}

} // namespace
