#pragma once

#include "ge/tol.h"
#include "ge/vector2d.h"

#pragma GCC visibility push(default)

class AcGeMatrix3d;

class AcGeVector3d {
public:
    constexpr AcGeVector3d() = default;
    constexpr AcGeVector3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}

    static const AcGeVector3d kIdentity;
    static const AcGeVector3d kXAxis;
    static const AcGeVector3d kYAxis;
    static const AcGeVector3d kZAxis;

    constexpr AcGeVector3d operator+(const AcGeVector3d& v) const {
        return {x + v.x, y + v.y, z + v.z};
    }
    constexpr AcGeVector3d operator-(const AcGeVector3d& v) const {
        return {x - v.x, y - v.y, z - v.z};
    }
    constexpr AcGeVector3d operator-() const { return {-x, -y, -z}; }
    constexpr AcGeVector3d operator*(double s) const { return {x * s, y * s, z * s}; }
    constexpr AcGeVector3d operator/(double s) const { return {x / s, y / s, z / s}; }
    AcGeVector3d& operator+=(const AcGeVector3d& v) { return *this = *this + v; }
    AcGeVector3d& operator-=(const AcGeVector3d& v) { return *this = *this - v; }
    AcGeVector3d& operator*=(double s) { return *this = *this * s; }
    AcGeVector3d& operator/=(double s) { return *this = *this / s; }
    constexpr bool operator==(const AcGeVector3d& v) const {
        return x == v.x && y == v.y && z == v.z;
    }

    double& operator[](unsigned i) { return i == 0 ? x : i == 1 ? y : z; }
    double operator[](unsigned i) const { return i == 0 ? x : i == 1 ? y : z; }

    constexpr double dotProduct(const AcGeVector3d& v) const { return x * v.x + y * v.y + z * v.z; }
    constexpr AcGeVector3d crossProduct(const AcGeVector3d& v) const {
        return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x};
    }
    constexpr double lengthSqrd() const { return x * x + y * y + z * z; }
    double length() const;
    constexpr AcGeVector2d convert2d() const { return {x, y}; }

    // The unit vector of the same direction; the zero vector (or one with a non-finite
    // component) comes back unchanged.
    AcGeVector3d normal() const;
    AcGeVector3d& normalize() { return *this = normal(); }

    // Unsigned angle between the two directions, in [0, pi]; 0 if either is the zero vector.
    double angleTo(const AcGeVector3d& v) const;
    // Angle from this to v counter-clockwise about reference (seen from its tip), in [0, 2pi).
    double angleTo(const AcGeVector3d& v, const AcGeVector3d& reference) const;
    // Right-handed rotation about axis; a zero axis leaves the vector as it is.
    AcGeVector3d& rotateBy(double angle, const AcGeVector3d& axis);
    // Ignores the translation of mat.
    AcGeVector3d& transformBy(const AcGeMatrix3d& mat);

    bool isZeroLength(const AcGeTol& tol = AcGeContext::gTol) const;
    bool isUnitLength(const AcGeTol& tol = AcGeContext::gTol) const;
    bool isParallelTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isPerpendicularTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isEqualTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const;

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

constexpr AcGeVector3d operator*(double s, const AcGeVector3d& v) {
    return v * s;
}

inline constexpr AcGeVector3d AcGeVector3d::kIdentity{0.0, 0.0, 0.0};
inline constexpr AcGeVector3d AcGeVector3d::kXAxis{1.0, 0.0, 0.0};
inline constexpr AcGeVector3d AcGeVector3d::kYAxis{0.0, 1.0, 0.0};
inline constexpr AcGeVector3d AcGeVector3d::kZAxis{0.0, 0.0, 1.0};

#pragma GCC visibility pop
