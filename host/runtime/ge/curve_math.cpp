#include "ge/curve_math.h"

#include <cmath>

#include "ge/matrix3d.h"

#include "detail.h"

namespace ge {

double normalizeAngle(double angle) {
    if (!std::isfinite(angle))
        return angle;
    double r = std::fmod(angle, kTwoPi);
    if (r < 0.0)
        r += kTwoPi;
    // A tiny negative remainder rounds up to 2pi once shifted.
    return r >= kTwoPi ? 0.0 : r + 0.0;
}

namespace {

bool finitePoint(const AcGePoint3d& p) {
    return detail::finite(p.x, p.y, p.z);
}

// Far enough from overflow that the squared distance between the points stays finite.
bool surelyMeasurable(const AcGePoint3d& a, const AcGePoint3d& b) {
    constexpr double kSafeSide = 1e150;
    return std::fabs(b.x - a.x) < kSafeSide && std::fabs(b.y - a.y) < kSafeSide &&
           std::fabs(b.z - a.z) < kSafeSide;
}

bool finiteVector(const AcGeVector3d& v) {
    return detail::finite(v.x, v.y, v.z);
}

// The sweep of an arc from start to end angle, in (0, 2pi].
double sweepBetween(double startAngle, double endAngle) {
    const double s = normalizeAngle(normalizeAngle(endAngle) - normalizeAngle(startAngle));
    return s == 0.0 ? kTwoPi : s;
}

// Shared by circle and arc: both are a circle traversed from startParam.
struct Round {
    AcGePoint3d center;
    AcGeVector3d normal;
    double radius;
    double startParam;
    double sweep;

    Acad::ErrorStatus check() const {
        if (!finitePoint(center) || !finiteVector(normal) ||
            !detail::finite(radius, startParam, sweep))
            return Acad::eInvalidInput;
        if (!(radius > 0.0) || normal.normal().lengthSqrd() == 0.0)
            return Acad::eDegenerateGeometry;
        if (!std::isfinite(radius * sweep) || !std::isfinite(radius * radius * kPi))
            return Acad::eDegenerateGeometry;
        return Acad::eOk;
    }

    Acad::ErrorStatus distAtParam(double param, double& dist) const {
        if (Acad::ErrorStatus es = check(); es != Acad::eOk)
            return es;
        if (Acad::ErrorStatus es = detail::clampToRange(param, startParam, startParam + sweep);
            es != Acad::eOk)
            return es;
        dist = radius * (param - startParam);
        return Acad::eOk;
    }

    Acad::ErrorStatus paramAtDist(double dist, double& param) const {
        if (Acad::ErrorStatus es = check(); es != Acad::eOk)
            return es;
        if (Acad::ErrorStatus es = detail::clampToRange(dist, 0.0, radius * sweep); es != Acad::eOk)
            return es;
        param = startParam + dist / radius;
        return Acad::eOk;
    }

    Acad::ErrorStatus pointAtParam(double param, AcGePoint3d& point) const {
        if (Acad::ErrorStatus es = check(); es != Acad::eOk)
            return es;
        if (Acad::ErrorStatus es = detail::clampToRange(param, startParam, startParam + sweep);
            es != Acad::eOk)
            return es;
        const AcGeVector3d local{radius * std::cos(param), radius * std::sin(param), 0.0};
        point = center + AcGeMatrix3d::planeToWorld(normal) * local;
        return Acad::eOk;
    }
};

} // namespace

// ---- line ----

Acad::ErrorStatus LineCurve::getStartParam(double& param) const {
    if (!finitePoint(start) || !finitePoint(end))
        return Acad::eInvalidInput;
    param = 0.0;
    return Acad::eOk;
}

Acad::ErrorStatus LineCurve::getEndParam(double& param) const {
    return getLength(param);
}

Acad::ErrorStatus LineCurve::getDistAtParam(double param, double& dist) const {
    // The start is at distance 0 whenever the length is finite, which sides this short make
    // sure of: the length need not be measured, as readers ask for both ends.
    if (param == 0.0 && finitePoint(start) && finitePoint(end) && surelyMeasurable(start, end)) {
        dist = 0.0;
        return Acad::eOk;
    }
    double length = 0.0;
    if (Acad::ErrorStatus es = getLength(length); es != Acad::eOk)
        return es;
    if (Acad::ErrorStatus es = detail::clampToRange(param, 0.0, length); es != Acad::eOk)
        return es;
    dist = param;
    return Acad::eOk;
}

Acad::ErrorStatus LineCurve::getParamAtDist(double dist, double& param) const {
    return getDistAtParam(dist, param);
}

Acad::ErrorStatus LineCurve::getPointAtParam(double param, AcGePoint3d& point) const {
    double length = 0.0;
    if (Acad::ErrorStatus es = getLength(length); es != Acad::eOk)
        return es;
    if (Acad::ErrorStatus es = detail::clampToRange(param, 0.0, length); es != Acad::eOk)
        return es;
    if (param == length)
        point = end;
    else
        point = start + (end - start) * (param / length);
    return Acad::eOk;
}

Acad::ErrorStatus LineCurve::getLength(double& length) const {
    if (!finitePoint(start) || !finitePoint(end))
        return Acad::eInvalidInput;
    const double value = start.distanceTo(end);
    if (!std::isfinite(value))
        return Acad::eDegenerateGeometry;
    length = value;
    return Acad::eOk;
}

Acad::ErrorStatus LineCurve::getArea(double& area) const {
    if (!finitePoint(start) || !finitePoint(end))
        return Acad::eInvalidInput;
    area = 0.0;
    return Acad::eOk;
}

// ---- circle ----

namespace {
Round roundOf(const CircleCurve& c) {
    return {c.center, c.normal, c.radius, 0.0, kTwoPi};
}
} // namespace

Acad::ErrorStatus CircleCurve::getStartParam(double& param) const {
    if (Acad::ErrorStatus es = roundOf(*this).check(); es != Acad::eOk)
        return es;
    param = 0.0;
    return Acad::eOk;
}

Acad::ErrorStatus CircleCurve::getEndParam(double& param) const {
    if (Acad::ErrorStatus es = roundOf(*this).check(); es != Acad::eOk)
        return es;
    param = kTwoPi;
    return Acad::eOk;
}

Acad::ErrorStatus CircleCurve::getDistAtParam(double param, double& dist) const {
    return roundOf(*this).distAtParam(param, dist);
}

Acad::ErrorStatus CircleCurve::getParamAtDist(double dist, double& param) const {
    return roundOf(*this).paramAtDist(dist, param);
}

Acad::ErrorStatus CircleCurve::getPointAtParam(double param, AcGePoint3d& point) const {
    return roundOf(*this).pointAtParam(param, point);
}

Acad::ErrorStatus CircleCurve::getLength(double& length) const {
    if (Acad::ErrorStatus es = roundOf(*this).check(); es != Acad::eOk)
        return es;
    length = kTwoPi * radius;
    return Acad::eOk;
}

Acad::ErrorStatus CircleCurve::getArea(double& area) const {
    if (Acad::ErrorStatus es = roundOf(*this).check(); es != Acad::eOk)
        return es;
    area = kPi * radius * radius;
    return Acad::eOk;
}

// ---- arc ----

namespace {
Round roundOf(const ArcCurve& a) {
    return {a.center, a.normal, a.radius, normalizeAngle(a.startAngle),
            sweepBetween(a.startAngle, a.endAngle)};
}
} // namespace

double ArcCurve::sweep() const {
    return sweepBetween(startAngle, endAngle);
}

Acad::ErrorStatus ArcCurve::getStartParam(double& param) const {
    const Round r = roundOf(*this);
    if (Acad::ErrorStatus es = r.check(); es != Acad::eOk)
        return es;
    param = r.startParam;
    return Acad::eOk;
}

Acad::ErrorStatus ArcCurve::getEndParam(double& param) const {
    const Round r = roundOf(*this);
    if (Acad::ErrorStatus es = r.check(); es != Acad::eOk)
        return es;
    param = r.startParam + r.sweep;
    return Acad::eOk;
}

Acad::ErrorStatus ArcCurve::getDistAtParam(double param, double& dist) const {
    return roundOf(*this).distAtParam(param, dist);
}

Acad::ErrorStatus ArcCurve::getParamAtDist(double dist, double& param) const {
    return roundOf(*this).paramAtDist(dist, param);
}

Acad::ErrorStatus ArcCurve::getPointAtParam(double param, AcGePoint3d& point) const {
    return roundOf(*this).pointAtParam(param, point);
}

Acad::ErrorStatus ArcCurve::getLength(double& length) const {
    const Round r = roundOf(*this);
    if (Acad::ErrorStatus es = r.check(); es != Acad::eOk)
        return es;
    length = r.radius * r.sweep;
    return Acad::eOk;
}

Acad::ErrorStatus ArcCurve::getArea(double& area) const {
    const Round r = roundOf(*this);
    if (Acad::ErrorStatus es = r.check(); es != Acad::eOk)
        return es;
    area = r.radius * r.radius / 2.0 * detail::thetaMinusSin(r.sweep);
    return Acad::eOk;
}

} // namespace ge
