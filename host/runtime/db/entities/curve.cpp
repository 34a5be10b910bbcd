#include "db/curve.h"

#include <cmath>

#include "common.h"

AcDbCurve::AcDbCurve() = default;
AcDbCurve::~AcDbCurve() = default;

Adesk::Boolean AcDbCurve::isClosed() const {
    assertReadEnabled();
    return false;
}

Adesk::Boolean AcDbCurve::isPeriodic() const {
    assertReadEnabled();
    return false;
}

Acad::ErrorStatus AcDbCurve::getStartParam(double&) const {
    assertReadEnabled();
    return Acad::eNotApplicable;
}

Acad::ErrorStatus AcDbCurve::getEndParam(double&) const {
    assertReadEnabled();
    return Acad::eNotApplicable;
}

Acad::ErrorStatus AcDbCurve::getStartPoint(AcGePoint3d& point) const {
    double param = 0.0;
    const Acad::ErrorStatus es = getStartParam(param);
    return es != Acad::eOk ? es : getPointAtParam(param, point);
}

Acad::ErrorStatus AcDbCurve::getEndPoint(AcGePoint3d& point) const {
    double param = 0.0;
    const Acad::ErrorStatus es = getEndParam(param);
    return es != Acad::eOk ? es : getPointAtParam(param, point);
}

Acad::ErrorStatus AcDbCurve::getPointAtParam(double, AcGePoint3d&) const {
    assertReadEnabled();
    return Acad::eNotApplicable;
}

Acad::ErrorStatus AcDbCurve::getDistAtParam(double, double&) const {
    assertReadEnabled();
    return Acad::eNotApplicable;
}

Acad::ErrorStatus AcDbCurve::getParamAtDist(double, double&) const {
    assertReadEnabled();
    return Acad::eNotApplicable;
}

Acad::ErrorStatus AcDbCurve::getArea(double&) const {
    assertReadEnabled();
    return Acad::eNotApplicable;
}

// Coarse samples find the basin of the nearest point; a golden-section search on the samples'
// neighbourhood refines it. Enough for the smooth curves that have no closed form here.
Acad::ErrorStatus AcDbCurve::getClosestPointTo(const AcGePoint3d& givenPoint,
                                               AcGePoint3d& pointOnCurve, Adesk::Boolean) const {
    if (!svent::isFinite(givenPoint))
        return Acad::eInvalidInput;
    double start = 0.0;
    double end = 0.0;
    Acad::ErrorStatus es = getStartParam(start);
    if (es == Acad::eOk)
        es = getEndParam(end);
    if (es != Acad::eOk)
        return es;
    auto distanceAt = [&](double param) {
        AcGePoint3d p;
        if (getPointAtParam(param, p) != Acad::eOk)
            return HUGE_VAL;
        return p.distanceTo(givenPoint);
    };
    constexpr int kSamples = 256;
    const double step = (end - start) / kSamples;
    int best = 0;
    double bestDistance = HUGE_VAL;
    for (int i = 0; i <= kSamples; ++i) {
        const double d = distanceAt(i == kSamples ? end : start + i * step);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    if (!std::isfinite(bestDistance))
        return Acad::eDegenerateGeometry;
    double lo = best == 0 ? start : start + (best - 1) * step;
    double hi = best == kSamples ? end : start + (best + 1) * step;
    constexpr double kRatio = 0.6180339887498949;
    double a = hi - kRatio * (hi - lo);
    double b = lo + kRatio * (hi - lo);
    double da = distanceAt(a);
    double db = distanceAt(b);
    for (int i = 0; i < 100 && hi - lo > 1e-15 * (1.0 + std::fabs(lo)); ++i) {
        if (da < db) {
            hi = b;
            b = a;
            db = da;
            a = hi - kRatio * (hi - lo);
            da = distanceAt(a);
        } else {
            lo = a;
            a = b;
            da = db;
            b = lo + kRatio * (hi - lo);
            db = distanceAt(b);
        }
    }
    const double param = 0.5 * (lo + hi);
    return getPointAtParam(param, pointOnCurve);
}
