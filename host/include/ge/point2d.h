#pragma once

#include "ge/tol.h"
#include "ge/vector2d.h"

#pragma GCC visibility push(default)

class AcGePoint2d {
public:
    constexpr AcGePoint2d() = default;
    constexpr AcGePoint2d(double xx, double yy) : x(xx), y(yy) {}

    static const AcGePoint2d kOrigin;

    constexpr AcGePoint2d operator+(const AcGeVector2d& v) const { return {x + v.x, y + v.y}; }
    constexpr AcGePoint2d operator-(const AcGeVector2d& v) const { return {x - v.x, y - v.y}; }
    constexpr AcGeVector2d operator-(const AcGePoint2d& p) const { return {x - p.x, y - p.y}; }
    constexpr AcGePoint2d operator*(double s) const { return {x * s, y * s}; }
    AcGePoint2d& operator+=(const AcGeVector2d& v) { return *this = *this + v; }
    AcGePoint2d& operator-=(const AcGeVector2d& v) { return *this = *this - v; }
    constexpr bool operator==(const AcGePoint2d& p) const { return x == p.x && y == p.y; }

    double& operator[](unsigned i) { return i == 0 ? x : y; }
    double operator[](unsigned i) const { return i == 0 ? x : y; }

    constexpr AcGeVector2d asVector() const { return {x, y}; }
    double distanceTo(const AcGePoint2d& p) const { return (*this - p).length(); }
    bool isEqualTo(const AcGePoint2d& p, const AcGeTol& tol = AcGeContext::gTol) const;

    AcGePoint2d& rotateBy(double angle, const AcGePoint2d& wrtPoint = kOrigin);
    AcGePoint2d& scaleBy(double factor, const AcGePoint2d& wrtPoint = kOrigin);

    double x = 0.0;
    double y = 0.0;
};

constexpr AcGePoint2d operator*(double s, const AcGePoint2d& p) {
    return p * s;
}

inline constexpr AcGePoint2d AcGePoint2d::kOrigin{0.0, 0.0};

#pragma GCC visibility pop
