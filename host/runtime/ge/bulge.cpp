#include "ge/bulge.h"

#include <cmath>

#include "ge/curve_math.h"

#include "detail.h"

namespace ge {

namespace {

// Below this a bulge bends its segment by less than 1e-100 of the chord: drawn straight.
constexpr double kNegligibleBulge = 1e-100;

// (1 + b^2) / (2 b) for b != 0, i.e. 1 / sin(sweep / 2), without overflowing b^2.
double invHalfSweepSine(double b) {
    return 0.5 * (b + 1.0 / b);
}

Acad::ErrorStatus finiteOr(double value, double& out) {
    if (!std::isfinite(value))
        return Acad::eDegenerateGeometry;
    out = value;
    return Acad::eOk;
}

} // namespace

double sweepFromBulge(double bulge) {
    return 4.0 * std::atan(bulge);
}

double bulgeFromSweep(double sweep) {
    return std::tan(sweep / 4.0);
}

Acad::ErrorStatus arcFromBulge(const AcGePoint2d& start, const AcGePoint2d& end, double bulge,
                               BulgeArc& arc) {
    if (!detail::finite(start.x, start.y, end.x, end.y, bulge))
        return Acad::eInvalidInput;
    if (bulge == 0.0)
        return Acad::eNotApplicable;
    const AcGeVector2d chord = end - start;
    if (chord.x == 0.0 && chord.y == 0.0)
        return Acad::eDegenerateGeometry;
    // The centre sits off the chord's midpoint along its left normal by c (1/b - b) / 4; the
    // offsets to the ends are formed directly so that huge radii lose nothing by cancellation.
    const AcGeVector2d toCenter = chord.perpVector() * ((1.0 / bulge - bulge) / 4.0);
    const AcGeVector2d fromCenterToStart = chord * -0.5 - toCenter;
    const AcGeVector2d fromCenterToEnd = chord * 0.5 - toCenter;
    BulgeArc result;
    result.center = start + chord * 0.5 + toCenter;
    result.radius = chord.length() * (std::fabs(bulge) + 1.0 / std::fabs(bulge)) / 4.0;
    result.startAngle = fromCenterToStart.angle();
    result.endAngle = fromCenterToEnd.angle();
    result.sweep = sweepFromBulge(bulge);
    if (!detail::finite(result.center.x, result.center.y, result.radius))
        return Acad::eDegenerateGeometry;
    arc = result;
    return Acad::eOk;
}

Acad::ErrorStatus bulgeSegmentLength(const AcGePoint2d& start, const AcGePoint2d& end, double bulge,
                                     double& length) {
    if (!detail::finite(start.x, start.y, end.x, end.y, bulge))
        return Acad::eInvalidInput;
    const double c = start.distanceTo(end);
    const double b = std::fabs(bulge);
    // Arc over chord is atan(b) (b + 1/b); its series keeps tiny bulges from dividing by zero.
    const double ratio =
        b < 1e-4 ? 1.0 + b * b * (2.0 / 3.0 - b * b * (2.0 / 15.0)) : std::atan(b) * (b + 1.0 / b);
    return finiteOr(c == 0.0 ? 0.0 : c * ratio, length);
}

Acad::ErrorStatus bulgeSegmentArea(const AcGePoint2d& start, const AcGePoint2d& end, double bulge,
                                   double& area) {
    if (!detail::finite(start.x, start.y, end.x, end.y, bulge))
        return Acad::eInvalidInput;
    const double c = start.distanceTo(end);
    const double b = std::fabs(bulge);
    double value = 0.0;
    if (c == 0.0 || b == 0.0) {
        value = 0.0;
    } else if (b < 1e-3) {
        // c^2 (b/3 + b^3/15 - b^5/105): r^2 (theta - sin theta) / 2 cancels badly here.
        const double b2 = b * b;
        value = c * c * b * (1.0 / 3.0 + b2 * (1.0 / 15.0 - b2 / 105.0));
    } else {
        const double radius = c * (b + 1.0 / b) / 4.0;
        value = radius * radius / 2.0 * detail::thetaMinusSin(sweepFromBulge(b));
    }
    return finiteOr(std::copysign(value, bulge), area);
}

Acad::ErrorStatus bulgeSegmentPoint(const AcGePoint2d& start, const AcGePoint2d& end, double bulge,
                                    double fraction, AcGePoint2d& point) {
    if (!detail::finite(start.x, start.y, end.x, end.y, bulge))
        return Acad::eInvalidInput;
    if (Acad::ErrorStatus es = detail::clampToRange(fraction, 0.0, 1.0); es != Acad::eOk)
        return es;
    const AcGeVector2d chord = end - start;
    if (std::fabs(bulge) < kNegligibleBulge) {
        point = fraction == 1.0 ? end : start + chord * fraction;
        return Acad::eOk;
    }
    // The chord from an end to the point has length c sin(t theta / 2) / sin(theta / 2) and leaves
    // the chord's direction by (t - 1) theta / 2. Measured from the nearer end, the short chord
    // stays accurate even when the arc is nearly a full circle.
    const double theta = sweepFromBulge(bulge);
    const bool fromStart = fraction <= 0.5;
    const double near = fromStart ? fraction : 1.0 - fraction;
    const double length = std::sin(near * theta / 2.0) * invHalfSweepSine(bulge);
    const double turn = fromStart ? (fraction - 1.0) * theta / 2.0 : fraction * theta / 2.0;
    AcGeVector2d along = fromStart ? chord : -chord;
    along.rotateBy(turn) *= length;
    const AcGePoint2d result = (fromStart ? start : end) + along;
    if (!detail::finite(result.x, result.y))
        return Acad::eDegenerateGeometry;
    point = result;
    return Acad::eOk;
}

} // namespace ge
