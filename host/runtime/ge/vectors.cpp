#include <algorithm>
#include <cmath>

#include "ge/curve_math.h"
#include "ge/matrix3d.h"
#include "ge/point2d.h"
#include "ge/point3d.h"
#include "ge/tol.h"
#include "ge/vector2d.h"
#include "ge/vector3d.h"

AcGeTol AcGeContext::gTol;

namespace {

using ge::kTwoPi;

// Squares of components beyond about 1e154 overflow and below 1e-154 vanish; scaling by the
// largest component first keeps the length of any finite vector.
double robustLength(double x, double y, double z) {
    const double sq = x * x + y * y + z * z;
    if (sq > 1e-290 && sq < 1e290)
        return std::sqrt(sq);
    const double m = std::max({std::fabs(x), std::fabs(y), std::fabs(z)});
    if (m == 0.0 || !std::isfinite(m))
        return m;
    x /= m;
    y /= m;
    z /= m;
    return m * std::sqrt(x * x + y * y + z * z);
}

} // namespace

// ---- 2d ----

double AcGeVector2d::length() const {
    return robustLength(x, y, 0.0);
}

AcGeVector2d AcGeVector2d::normal() const {
    const double len = length();
    if (len == 0.0 || !std::isfinite(len))
        return *this;
    return {x / len, y / len};
}

double AcGeVector2d::angle() const {
    if (x == 0.0 && y == 0.0)
        return 0.0;
    const double a = std::atan2(y, x);
    // atan2 can answer -0 or a tiny negative that rounds to 2pi once shifted.
    if (a >= 0.0)
        return a + 0.0;
    const double shifted = a + kTwoPi;
    return shifted < kTwoPi ? shifted : 0.0;
}

double AcGeVector2d::angleTo(const AcGeVector2d& v) const {
    const AcGeVector2d a = normal();
    const AcGeVector2d b = v.normal();
    if (a.lengthSqrd() == 0.0 || b.lengthSqrd() == 0.0)
        return 0.0;
    // atan2 of sine and cosine stays accurate near 0 and pi, where acos of a dot product does not.
    return std::atan2(std::fabs(a.crossProduct(b)), a.dotProduct(b));
}

AcGeVector2d& AcGeVector2d::rotateBy(double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    return *this = {x * c - y * s, x * s + y * c};
}

bool AcGeVector2d::isZeroLength(const AcGeTol& tol) const {
    return length() <= tol.equalVector();
}

bool AcGeVector2d::isUnitLength(const AcGeTol& tol) const {
    return std::fabs(length() - 1.0) <= tol.equalVector();
}

bool AcGeVector2d::isParallelTo(const AcGeVector2d& v, const AcGeTol& tol) const {
    if (isZeroLength(tol) || v.isZeroLength(tol))
        return false;
    return std::fabs(normal().crossProduct(v.normal())) <= tol.equalVector();
}

bool AcGeVector2d::isEqualTo(const AcGeVector2d& v, const AcGeTol& tol) const {
    return (*this - v).length() <= tol.equalVector();
}

bool AcGePoint2d::isEqualTo(const AcGePoint2d& p, const AcGeTol& tol) const {
    return distanceTo(p) <= tol.equalPoint();
}

AcGePoint2d& AcGePoint2d::rotateBy(double angle, const AcGePoint2d& wrtPoint) {
    return *this = wrtPoint + (*this - wrtPoint).rotateBy(angle);
}

AcGePoint2d& AcGePoint2d::scaleBy(double factor, const AcGePoint2d& wrtPoint) {
    return *this = wrtPoint + (*this - wrtPoint) * factor;
}

// ---- 3d ----

double AcGeVector3d::length() const {
    return robustLength(x, y, z);
}

AcGeVector3d AcGeVector3d::normal() const {
    const double len = length();
    if (len == 0.0 || !std::isfinite(len))
        return *this;
    return {x / len, y / len, z / len};
}

double AcGeVector3d::angleTo(const AcGeVector3d& v) const {
    const AcGeVector3d a = normal();
    const AcGeVector3d b = v.normal();
    if (a.lengthSqrd() == 0.0 || b.lengthSqrd() == 0.0)
        return 0.0;
    return std::atan2(a.crossProduct(b).length(), a.dotProduct(b));
}

double AcGeVector3d::angleTo(const AcGeVector3d& v, const AcGeVector3d& reference) const {
    const double a = angleTo(v);
    if (crossProduct(v).dotProduct(reference) >= 0.0)
        return a;
    const double turned = kTwoPi - a;
    return turned < kTwoPi ? turned : 0.0;
}

AcGeVector3d& AcGeVector3d::rotateBy(double angle, const AcGeVector3d& axis) {
    const AcGeVector3d k = axis.normal();
    if (k.lengthSqrd() == 0.0)
        return *this;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    return *this = *this * c + k.crossProduct(*this) * s + k * (k.dotProduct(*this) * (1.0 - c));
}

AcGeVector3d& AcGeVector3d::transformBy(const AcGeMatrix3d& m) {
    const auto& e = m.entry;
    return *this = {e[0][0] * x + e[0][1] * y + e[0][2] * z,
                    e[1][0] * x + e[1][1] * y + e[1][2] * z,
                    e[2][0] * x + e[2][1] * y + e[2][2] * z};
}

bool AcGeVector3d::isZeroLength(const AcGeTol& tol) const {
    return length() <= tol.equalVector();
}

bool AcGeVector3d::isUnitLength(const AcGeTol& tol) const {
    return std::fabs(length() - 1.0) <= tol.equalVector();
}

bool AcGeVector3d::isParallelTo(const AcGeVector3d& v, const AcGeTol& tol) const {
    if (isZeroLength(tol) || v.isZeroLength(tol))
        return false;
    return normal().crossProduct(v.normal()).length() <= tol.equalVector();
}

bool AcGeVector3d::isPerpendicularTo(const AcGeVector3d& v, const AcGeTol& tol) const {
    if (isZeroLength(tol) || v.isZeroLength(tol))
        return false;
    return std::fabs(normal().dotProduct(v.normal())) <= tol.equalVector();
}

bool AcGeVector3d::isEqualTo(const AcGeVector3d& v, const AcGeTol& tol) const {
    return (*this - v).length() <= tol.equalVector();
}

bool AcGePoint3d::isEqualTo(const AcGePoint3d& p, const AcGeTol& tol) const {
    return distanceTo(p) <= tol.equalPoint();
}

AcGePoint3d& AcGePoint3d::transformBy(const AcGeMatrix3d& m) {
    const auto& e = m.entry;
    AcGePoint3d r{e[0][0] * x + e[0][1] * y + e[0][2] * z + e[0][3],
                  e[1][0] * x + e[1][1] * y + e[1][2] * z + e[1][3],
                  e[2][0] * x + e[2][1] * y + e[2][2] * z + e[2][3]};
    const double w = e[3][0] * x + e[3][1] * y + e[3][2] * z + e[3][3];
    if (w != 1.0 && w != 0.0)
        r = {r.x / w, r.y / w, r.z / w};
    return *this = r;
}

AcGePoint3d& AcGePoint3d::rotateBy(double angle, const AcGeVector3d& axis,
                                   const AcGePoint3d& wrtPoint) {
    return *this = wrtPoint + (*this - wrtPoint).rotateBy(angle, axis);
}

AcGePoint3d& AcGePoint3d::scaleBy(double factor, const AcGePoint3d& wrtPoint) {
    return *this = wrtPoint + (*this - wrtPoint) * factor;
}
