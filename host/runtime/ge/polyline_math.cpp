#include "ge/polyline_math.h"

#include <cmath>

#include "ge/bulge.h"
#include "ge/matrix3d.h"

#include "detail.h"

namespace ge {

namespace {

Acad::ErrorStatus check(const PolylineCurve& pl) {
    if (pl.points.empty())
        return Acad::eDegenerateGeometry;
    if (!pl.bulges.empty() && pl.bulges.size() != pl.points.size())
        return Acad::eInvalidInput;
    for (const AcGePoint2d& p : pl.points)
        if (!detail::finite(p.x, p.y))
            return Acad::eInvalidInput;
    for (double b : pl.bulges)
        if (!std::isfinite(b))
            return Acad::eInvalidInput;
    return Acad::eOk;
}

// Unchecked: for a checked polyline and an index below numSegments.
void segmentOf(const PolylineCurve& pl, std::size_t i, AcGePoint2d& start, AcGePoint2d& end,
               double& bulge) {
    start = pl.points[i];
    end = pl.points[(i + 1) % pl.points.size()];
    bulge = pl.bulgeAt(i);
}

Acad::ErrorStatus segmentLength(const PolylineCurve& pl, std::size_t i, double& length) {
    AcGePoint2d s, e;
    double b = 0.0;
    segmentOf(pl, i, s, e, b);
    return bulgeSegmentLength(s, e, b, length);
}

// Segment index and fraction along it for a parameter already within range.
void locate(const PolylineCurve& pl, double param, std::size_t& segment, double& fraction) {
    const std::size_t count = pl.numSegments();
    const double whole = std::floor(param);
    if (count == 0) {
        segment = 0;
        fraction = 0.0;
    } else if (whole >= static_cast<double>(count)) {
        segment = count - 1;
        fraction = 1.0;
    } else {
        segment = static_cast<std::size_t>(whole);
        fraction = param - whole;
    }
}

} // namespace

std::size_t PolylineCurve::numSegments() const {
    const std::size_t n = points.size();
    if (n < 2)
        return 0;
    return closed ? n : n - 1;
}

double PolylineCurve::bulgeAt(std::size_t vertex) const {
    return vertex < bulges.size() ? bulges[vertex] : 0.0;
}

Acad::ErrorStatus PolylineCurve::getSegment(std::size_t index, AcGePoint2d& start, AcGePoint2d& end,
                                            double& bulge) const {
    if (Acad::ErrorStatus es = check(*this); es != Acad::eOk)
        return es;
    if (index >= numSegments())
        return Acad::eInvalidIndex;
    segmentOf(*this, index, start, end, bulge);
    return Acad::eOk;
}

Acad::ErrorStatus PolylineCurve::getStartParam(double& param) const {
    if (Acad::ErrorStatus es = check(*this); es != Acad::eOk)
        return es;
    param = 0.0;
    return Acad::eOk;
}

Acad::ErrorStatus PolylineCurve::getEndParam(double& param) const {
    if (Acad::ErrorStatus es = check(*this); es != Acad::eOk)
        return es;
    param = static_cast<double>(numSegments());
    return Acad::eOk;
}

Acad::ErrorStatus PolylineCurve::getDistAtParam(double param, double& dist) const {
    if (Acad::ErrorStatus es = check(*this); es != Acad::eOk)
        return es;
    if (Acad::ErrorStatus es = detail::clampToRange(param, 0.0, static_cast<double>(numSegments()));
        es != Acad::eOk)
        return es;
    std::size_t segment = 0;
    double fraction = 0.0;
    locate(*this, param, segment, fraction);
    double sum = 0.0;
    for (std::size_t i = 0; i < segment; ++i) {
        double length = 0.0;
        if (Acad::ErrorStatus es = segmentLength(*this, i, length); es != Acad::eOk)
            return es;
        sum += length;
    }
    if (fraction > 0.0) {
        double length = 0.0;
        if (Acad::ErrorStatus es = segmentLength(*this, segment, length); es != Acad::eOk)
            return es;
        sum += fraction * length;
    }
    if (!std::isfinite(sum))
        return Acad::eDegenerateGeometry;
    dist = sum;
    return Acad::eOk;
}

Acad::ErrorStatus PolylineCurve::getParamAtDist(double dist, double& param) const {
    double total = 0.0;
    if (Acad::ErrorStatus es = getLength(total); es != Acad::eOk)
        return es;
    if (Acad::ErrorStatus es = detail::clampToRange(dist, 0.0, total); es != Acad::eOk)
        return es;
    double before = 0.0;
    const std::size_t count = numSegments();
    for (std::size_t i = 0; i < count; ++i) {
        double length = 0.0;
        if (Acad::ErrorStatus es = segmentLength(*this, i, length); es != Acad::eOk)
            return es;
        const double after = before + length;
        if (dist <= after) {
            // A distance on a vertex answers that vertex's whole parameter, not one a rounding
            // error short of it.
            if (dist == before)
                param = static_cast<double>(i);
            else if (dist == after)
                param = static_cast<double>(i + 1);
            else
                param = static_cast<double>(i) + std::fmin((dist - before) / length, 1.0);
            return Acad::eOk;
        }
        before = after;
    }
    // Only rounding of the running sum against the clamped total leads here.
    param = static_cast<double>(count);
    return Acad::eOk;
}

Acad::ErrorStatus PolylineCurve::getPointAtParam(double param, AcGePoint2d& point) const {
    if (Acad::ErrorStatus es = check(*this); es != Acad::eOk)
        return es;
    if (Acad::ErrorStatus es = detail::clampToRange(param, 0.0, static_cast<double>(numSegments()));
        es != Acad::eOk)
        return es;
    std::size_t segment = 0;
    double fraction = 0.0;
    locate(*this, param, segment, fraction);
    if (numSegments() == 0) {
        point = points[0];
        return Acad::eOk;
    }
    AcGePoint2d s, e;
    double b = 0.0;
    segmentOf(*this, segment, s, e, b);
    return bulgeSegmentPoint(s, e, b, fraction, point);
}

Acad::ErrorStatus PolylineCurve::getPointAtParam(double param, AcGePoint3d& point) const {
    if (!detail::finite(elevation, normal.x, normal.y, normal.z))
        return Acad::eInvalidInput;
    if (normal.normal().lengthSqrd() == 0.0)
        return Acad::eDegenerateGeometry;
    AcGePoint2d local;
    if (Acad::ErrorStatus es = getPointAtParam(param, local); es != Acad::eOk)
        return es;
    point = AcGeMatrix3d::planeToWorld(normal) * AcGePoint3d(local.x, local.y, elevation);
    return Acad::eOk;
}

Acad::ErrorStatus PolylineCurve::getLength(double& length) const {
    if (Acad::ErrorStatus es = check(*this); es != Acad::eOk)
        return es;
    return getDistAtParam(static_cast<double>(numSegments()), length);
}

Acad::ErrorStatus PolylineCurve::getSignedArea(double& area) const {
    if (Acad::ErrorStatus es = check(*this); es != Acad::eOk)
        return es;
    // Measured from the first vertex: far-off drawings keep their precision, and the closing
    // chord back to that vertex adds nothing to the polygon part.
    const AcGePoint2d origin = points[0];
    double twicePolygon = 0.0;
    for (std::size_t i = 1; i + 1 < points.size(); ++i)
        twicePolygon += (points[i] - origin).crossProduct(points[i + 1] - origin);
    double arcs = 0.0;
    // Straight segments, most of them, add nothing here.
    const std::size_t segments = bulges.empty() ? 0 : numSegments();
    for (std::size_t i = 0; i < segments; ++i) {
        if (bulges[i] == 0.0)
            continue;
        AcGePoint2d s, e;
        double b = 0.0;
        double segment = 0.0;
        segmentOf(*this, i, s, e, b);
        if (Acad::ErrorStatus es = bulgeSegmentArea(s, e, b, segment); es != Acad::eOk)
            return es;
        arcs += segment;
    }
    const double value = twicePolygon / 2.0 + arcs;
    if (!std::isfinite(value))
        return Acad::eDegenerateGeometry;
    area = value;
    return Acad::eOk;
}

Acad::ErrorStatus PolylineCurve::getArea(double& area) const {
    double signedArea = 0.0;
    if (Acad::ErrorStatus es = getSignedArea(signedArea); es != Acad::eOk)
        return es;
    area = std::fabs(signedArea);
    return Acad::eOk;
}

} // namespace ge
