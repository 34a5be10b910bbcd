#pragma once

#include "ge/tol.h"

#pragma GCC visibility push(default)

class AcGeVector2d {
public:
    constexpr AcGeVector2d() = default;
    constexpr AcGeVector2d(double xx, double yy) : x(xx), y(yy) {}

    static const AcGeVector2d kIdentity;
    static const AcGeVector2d kXAxis;
    static const AcGeVector2d kYAxis;

    constexpr AcGeVector2d operator+(const AcGeVector2d& v) const { return {x + v.x, y + v.y}; }
    constexpr AcGeVector2d operator-(const AcGeVector2d& v) const { return {x - v.x, y - v.y}; }
    constexpr AcGeVector2d operator-() const { return {-x, -y}; }
    constexpr AcGeVector2d operator*(double s) const { return {x * s, y * s}; }
    constexpr AcGeVector2d operator/(double s) const { return {x / s, y / s}; }
    AcGeVector2d& operator+=(const AcGeVector2d& v) { return *this = *this + v; }
    AcGeVector2d& operator-=(const AcGeVector2d& v) { return *this = *this - v; }
    AcGeVector2d& operator*=(double s) { return *this = *this * s; }
    AcGeVector2d& operator/=(double s) { return *this = *this / s; }
    constexpr bool operator==(const AcGeVector2d& v) const { return x == v.x && y == v.y; }

    double& operator[](unsigned i) { return i == 0 ? x : y; }
    double operator[](unsigned i) const { return i == 0 ? x : y; }

    constexpr double dotProduct(const AcGeVector2d& v) const { return x * v.x + y * v.y; }
    // The z component of the 3d cross product: positive when v lies counter-clockwise of this.
    constexpr double crossProduct(const AcGeVector2d& v) const { return x * v.y - y * v.x; }
    constexpr double lengthSqrd() const { return x * x + y * y; }
    double length() const;

    // The unit vector of the same direction; the zero vector (or one with a non-finite
    // component) comes back unchanged.
    AcGeVector2d normal() const;
    AcGeVector2d& normalize() { return *this = normal(); }

    // Direction measured counter-clockwise from the x axis, in [0, 2pi); 0 for the zero vector.
    double angle() const;
    // Unsigned angle between the two directions, in [0, pi]; 0 if either is the zero vector.
    double angleTo(const AcGeVector2d& v) const;
    AcGeVector2d& rotateBy(double angle);
    // This vector turned a quarter counter-clockwise.
    constexpr AcGeVector2d perpVector() const { return {-y, x}; }

    bool isZeroLength(const AcGeTol& tol = AcGeContext::gTol) const;
    bool isUnitLength(const AcGeTol& tol = AcGeContext::gTol) const;
    bool isParallelTo(const AcGeVector2d& v, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isEqualTo(const AcGeVector2d& v, const AcGeTol& tol = AcGeContext::gTol) const;

    double x = 0.0;
    double y = 0.0;
};

constexpr AcGeVector2d operator*(double s, const AcGeVector2d& v) {
    return v * s;
}

inline constexpr AcGeVector2d AcGeVector2d::kIdentity{0.0, 0.0};
inline constexpr AcGeVector2d AcGeVector2d::kXAxis{1.0, 0.0};
inline constexpr AcGeVector2d AcGeVector2d::kYAxis{0.0, 1.0};

#pragma GCC visibility pop
