#pragma once

#include "ge/point2d.h"
#include "ge/tol.h"
#include "ge/vector3d.h"

#pragma GCC visibility push(default)

class AcGeMatrix3d;

class AcGePoint3d {
public:
    constexpr AcGePoint3d() = default;
    constexpr AcGePoint3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}

    static const AcGePoint3d kOrigin;

    constexpr AcGePoint3d operator+(const AcGeVector3d& v) const {
        return {x + v.x, y + v.y, z + v.z};
    }
    constexpr AcGePoint3d operator-(const AcGeVector3d& v) const {
        return {x - v.x, y - v.y, z - v.z};
    }
    constexpr AcGeVector3d operator-(const AcGePoint3d& p) const {
        return {x - p.x, y - p.y, z - p.z};
    }
    constexpr AcGePoint3d operator*(double s) const { return {x * s, y * s, z * s}; }
    AcGePoint3d& operator+=(const AcGeVector3d& v) { return *this = *this + v; }
    AcGePoint3d& operator-=(const AcGeVector3d& v) { return *this = *this - v; }
    constexpr bool operator==(const AcGePoint3d& p) const {
        return x == p.x && y == p.y && z == p.z;
    }

    double& operator[](unsigned i) { return i == 0 ? x : i == 1 ? y : z; }
    double operator[](unsigned i) const { return i == 0 ? x : i == 1 ? y : z; }

    constexpr AcGeVector3d asVector() const { return {x, y, z}; }
    constexpr AcGePoint2d convert2d() const { return {x, y}; }
    double distanceTo(const AcGePoint3d& p) const { return (*this - p).length(); }
    bool isEqualTo(const AcGePoint3d& p, const AcGeTol& tol = AcGeContext::gTol) const;

    AcGePoint3d& transformBy(const AcGeMatrix3d& mat);
    AcGePoint3d& rotateBy(double angle, const AcGeVector3d& axis,
                          const AcGePoint3d& wrtPoint = kOrigin);
    AcGePoint3d& scaleBy(double factor, const AcGePoint3d& wrtPoint = kOrigin);

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

constexpr AcGePoint3d operator*(double s, const AcGePoint3d& p) {
    return p * s;
}

inline constexpr AcGePoint3d AcGePoint3d::kOrigin{0.0, 0.0, 0.0};

#pragma GCC visibility pop
