#pragma once

#include "acad/status.h"
#include "ge/point3d.h"
#include "ge/tol.h"
#include "ge/vector3d.h"

#pragma GCC visibility push(default)

// An affine transformation of space in homogeneous coordinates: points are columns, so m1 * m2
// applies m2 first. The last row stays (0 0 0 1) under everything built here.
class AcGeMatrix3d {
public:
    constexpr AcGeMatrix3d()
        : entry{{1.0, 0.0, 0.0, 0.0},
                {0.0, 1.0, 0.0, 0.0},
                {0.0, 0.0, 1.0, 0.0},
                {0.0, 0.0, 0.0, 1.0}} {}

    static const AcGeMatrix3d kIdentity;

    static AcGeMatrix3d translation(const AcGeVector3d& offset);
    // Right-handed rotation by angle about the line through center along axis. A zero axis gives
    // the identity.
    static AcGeMatrix3d rotation(double angle, const AcGeVector3d& axis,
                                 const AcGePoint3d& center = AcGePoint3d::kOrigin);
    static AcGeMatrix3d scaling(double factor, const AcGePoint3d& center = AcGePoint3d::kOrigin);
    // Reflection in the plane through pointOnPlane with the given normal. A zero normal gives the
    // identity.
    static AcGeMatrix3d mirroring(const AcGePoint3d& pointOnPlane, const AcGeVector3d& normal);
    // Maps origin + (1,0,0), (0,1,0), (0,0,1) onto origin + xAxis, yAxis, zAxis.
    static AcGeMatrix3d alignCoordSys(const AcGePoint3d& origin, const AcGeVector3d& xAxis,
                                      const AcGeVector3d& yAxis, const AcGeVector3d& zAxis);
    // From the plane coordinates of an entity with this extrusion normal to world coordinates,
    // by the arbitrary-axis rule that drawing files use; worldToPlane is its inverse.
    static AcGeMatrix3d planeToWorld(const AcGeVector3d& normal);
    static AcGeMatrix3d worldToPlane(const AcGeVector3d& normal);

    AcGeMatrix3d& setToIdentity();
    AcGeMatrix3d& setToTranslation(const AcGeVector3d& offset);
    AcGeMatrix3d& setToRotation(double angle, const AcGeVector3d& axis,
                                const AcGePoint3d& center = AcGePoint3d::kOrigin);
    AcGeMatrix3d& setToScaling(double factor, const AcGePoint3d& center = AcGePoint3d::kOrigin);
    AcGeMatrix3d& setToMirroring(const AcGePoint3d& pointOnPlane, const AcGeVector3d& normal);

    AcGeMatrix3d operator*(const AcGeMatrix3d& m) const;
    AcGeMatrix3d& operator*=(const AcGeMatrix3d& m) { return *this = *this * m; }
    // this = m * this: m applies after this.
    AcGeMatrix3d& preMultBy(const AcGeMatrix3d& m) { return *this = m * *this; }
    AcGeMatrix3d& postMultBy(const AcGeMatrix3d& m) { return *this = *this * m; }

    double operator()(unsigned row, unsigned column) const { return entry[row][column]; }
    double& operator()(unsigned row, unsigned column) { return entry[row][column]; }
    bool operator==(const AcGeMatrix3d& m) const;
    bool isEqualTo(const AcGeMatrix3d& m, const AcGeTol& tol = AcGeContext::gTol) const;

    AcGePoint3d translationPart() const { return {entry[0][3], entry[1][3], entry[2][3]}; }
    double det() const;
    // Negative determinant: the transformation turns clockwise arcs into counter-clockwise ones.
    bool isMirroring() const { return det() < 0.0; }
    bool isSingular(const AcGeTol& tol = AcGeContext::gTol) const;
    // The factor by which the longest axis is stretched: what a radius is multiplied by.
    double scale() const;
    // Rotation, reflection and one uniform scale at most, so circles stay circles.
    bool isUniScaledOrtho(const AcGeTol& tol = AcGeContext::gTol) const;
    // eDegenerateGeometry when singular, leaving result untouched.
    Acad::ErrorStatus inverse(AcGeMatrix3d& result, const AcGeTol& tol = AcGeContext::gTol) const;
    AcGeMatrix3d transpose() const;

    double entry[4][4];
};

inline constexpr AcGeMatrix3d AcGeMatrix3d::kIdentity{};

inline AcGePoint3d operator*(const AcGeMatrix3d& m, const AcGePoint3d& p) {
    return AcGePoint3d(p).transformBy(m);
}

inline AcGeVector3d operator*(const AcGeMatrix3d& m, const AcGeVector3d& v) {
    return AcGeVector3d(v).transformBy(m);
}

#pragma GCC visibility pop
