#include "ge/ellipse_math.h"

#include <cmath>

#include "ge/curve_math.h"

#include "detail.h"

namespace ge {

namespace {

// Gauss-Kronrod 7/15 abscissae on [-1, 1] (non-negative half, descending) and weights; the odd
// indices are the 7-point Gauss nodes.
constexpr double kNodes[8] = {
    0.991455371120812639206854697526329, 0.949107912342758524526189684047851,
    0.864864423359769072789712788640926, 0.741531185599394439863864773280788,
    0.586087235467691130294144845693013, 0.405845151377397166906606412076961,
    0.207784955007898467600689403773245, 0.0};
constexpr double kKronrod[8] = {
    0.022935322010529224963732008058970, 0.063092092629978553290700663189204,
    0.104790010322250183839876322541518, 0.140653259715525918745189590510238,
    0.169004726639267902826583426598550, 0.190350578064785409913256402421014,
    0.204432940075298892414161999234649, 0.209482141084727828012999174891714};
constexpr double kGauss[4] = {
    0.129484966168869693270611432679082, 0.279705391489276667901467771423780,
    0.381830050505118944950369775488975, 0.417959183673469387755102040816327};

constexpr double kRelTol = 1e-13;
constexpr int kMaxDepth = 60;
constexpr int kMaxPieces = 4000;

struct Frame {
    AcGePoint3d center;
    AcGeVector3d u; // unit major direction
    AcGeVector3d v; // unit minor direction
    double a;       // major radius
    double b;       // minor radius
    double start;
    double sweep;

    // The speed |dP/dt| of the eccentric-angle parameterisation.
    double speed(double t) const { return std::hypot(a * std::sin(t), b * std::cos(t)); }

    // budget caps the pieces, so that rounding noise above the tolerance cannot recurse forever.
    double integrate(double lo, double hi, int depth, int& budget) const {
        const double half = (hi - lo) / 2.0;
        const double mid = lo + half;
        double kronrod = kKronrod[7] * speed(mid);
        double gauss = kGauss[3] * speed(mid);
        for (int i = 0; i < 7; ++i) {
            const double sum = speed(mid - half * kNodes[i]) + speed(mid + half * kNodes[i]);
            kronrod += kKronrod[i] * sum;
            if (i % 2 == 1)
                gauss += kGauss[i / 2] * sum;
        }
        kronrod *= half;
        gauss *= half;
        if (depth >= kMaxDepth || budget <= 0 ||
            std::fabs(kronrod - gauss) <= kRelTol * std::fabs(kronrod))
            return kronrod;
        budget -= 2;
        return integrate(lo, mid, depth + 1, budget) + integrate(mid, hi, depth + 1, budget);
    }

    // Arc length from lo to hi (lo <= hi). The speed has its sharp turns at multiples of pi/2
    // (very flat ellipses), so the pieces start and end there.
    double length(double lo, double hi) const {
        constexpr double kQuarter = kPi / 2.0;
        double sum = 0.0;
        double from = lo;
        int budget = kMaxPieces;
        while (from < hi) {
            double to = (std::floor(from / kQuarter) + 1.0) * kQuarter;
            if (to <= from) // rounding at a boundary
                to = from + kQuarter;
            if (to > hi)
                to = hi;
            sum += integrate(from, to, 0, budget);
            from = to;
        }
        return sum;
    }

    double signedLength(double from, double to) const {
        return from <= to ? length(from, to) : -length(to, from);
    }
};

Acad::ErrorStatus frameOf(const EllipseCurve& e, Frame& f) {
    if (!detail::finite(e.center.x, e.center.y, e.center.z, e.normal.x, e.normal.y, e.normal.z) ||
        !detail::finite(e.majorAxis.x, e.majorAxis.y, e.majorAxis.z, e.radiusRatio, e.startParam,
                        e.endParam))
        return Acad::eInvalidInput;
    const double a = e.majorAxis.length();
    const AcGeVector3d u = e.majorAxis.normal();
    const AcGeVector3d minor = e.normal.normal().crossProduct(u);
    if (!(a > 0.0) || !(e.radiusRatio > 0.0) || minor.length() < 1e-12)
        return Acad::eDegenerateGeometry;
    f = {e.center, u, minor.normal(), a, a * e.radiusRatio, normalizeAngle(e.startParam),
         e.sweep()};
    if (!std::isfinite(f.b) || !std::isfinite(f.a * f.b * kTwoPi) || !(f.b > 0.0))
        return Acad::eDegenerateGeometry;
    return Acad::eOk;
}

} // namespace

double EllipseCurve::sweep() const {
    const double s = normalizeAngle(normalizeAngle(endParam) - normalizeAngle(startParam));
    return s == 0.0 ? kTwoPi : s;
}

Acad::ErrorStatus EllipseCurve::getStartParam(double& param) const {
    Frame f;
    if (Acad::ErrorStatus es = frameOf(*this, f); es != Acad::eOk)
        return es;
    param = f.start;
    return Acad::eOk;
}

Acad::ErrorStatus EllipseCurve::getEndParam(double& param) const {
    Frame f;
    if (Acad::ErrorStatus es = frameOf(*this, f); es != Acad::eOk)
        return es;
    param = f.start + f.sweep;
    return Acad::eOk;
}

Acad::ErrorStatus EllipseCurve::getDistAtParam(double param, double& dist) const {
    Frame f;
    if (Acad::ErrorStatus es = frameOf(*this, f); es != Acad::eOk)
        return es;
    if (Acad::ErrorStatus es = detail::clampToRange(param, f.start, f.start + f.sweep);
        es != Acad::eOk)
        return es;
    dist = f.length(f.start, param);
    return Acad::eOk;
}

Acad::ErrorStatus EllipseCurve::getParamAtDist(double dist, double& param) const {
    Frame f;
    if (Acad::ErrorStatus es = frameOf(*this, f); es != Acad::eOk)
        return es;
    const double end = f.start + f.sweep;
    const double total = f.length(f.start, end);
    if (Acad::ErrorStatus es = detail::clampToRange(dist, 0.0, total); es != Acad::eOk)
        return es;
    if (dist == 0.0 || dist == total) {
        param = dist == 0.0 ? f.start : end;
        return Acad::eOk;
    }
    // Newton's method on the length, kept inside a shrinking bracket so that the slow stretches
    // of a flat ellipse cannot throw it out; bisection where a step would leave the bracket.
    double lo = f.start;
    double hi = end;
    double t = f.start + f.sweep * (dist / total);
    double at = f.length(f.start, t);
    for (int i = 0; i < 100; ++i) {
        const double miss = at - dist;
        if (std::fabs(miss) <= kRelTol * total)
            break;
        if (miss > 0.0)
            hi = t;
        else
            lo = t;
        double next = t - miss / f.speed(t);
        if (!(next > lo && next < hi))
            next = lo + (hi - lo) / 2.0;
        if (next == t)
            break;
        at += f.signedLength(t, next);
        t = next;
    }
    param = t;
    return Acad::eOk;
}

Acad::ErrorStatus EllipseCurve::getPointAtParam(double param, AcGePoint3d& point) const {
    Frame f;
    if (Acad::ErrorStatus es = frameOf(*this, f); es != Acad::eOk)
        return es;
    if (Acad::ErrorStatus es = detail::clampToRange(param, f.start, f.start + f.sweep);
        es != Acad::eOk)
        return es;
    point = f.center + f.u * (f.a * std::cos(param)) + f.v * (f.b * std::sin(param));
    return Acad::eOk;
}

Acad::ErrorStatus EllipseCurve::getLength(double& length) const {
    Frame f;
    if (Acad::ErrorStatus es = frameOf(*this, f); es != Acad::eOk)
        return es;
    length = f.length(f.start, f.start + f.sweep);
    return Acad::eOk;
}

Acad::ErrorStatus EllipseCurve::getArea(double& area) const {
    Frame f;
    if (Acad::ErrorStatus es = frameOf(*this, f); es != Acad::eOk)
        return es;
    // The affine image of a circular segment: a b / 2 (sweep - sin sweep).
    area = f.sweep == kTwoPi ? kPi * f.a * f.b : f.a * f.b / 2.0 * detail::thetaMinusSin(f.sweep);
    return Acad::eOk;
}

} // namespace ge
