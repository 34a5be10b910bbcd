#pragma once

#include <cstddef>
#include <span>

#include "acad/status.h"
#include "ge/point2d.h"
#include "ge/point3d.h"
#include "ge/vector3d.h"

#pragma GCC visibility push(default)

// A lightweight polyline: vertices in the plane of normal at elevation, each with the bulge of
// the segment that leaves it (ge/bulge.h). The view borrows the entity's arrays.
//
// Parameters run vertex by vertex: parameter i is vertex i, and i + t lies the fraction t along
// segment i, by length (on a bulged segment equally by swept angle). An open polyline of n
// vertices ends at parameter n - 1 and ignores the last bulge; a closed one has a segment from
// the last vertex back to the first and ends at n (a single vertex has no segment either way).
// Coincident vertices make zero-length segments, which cost no distance; a distance that several
// parameters share maps to the smallest of them.
//
// Failures: eDegenerateGeometry without vertices or when a length or area is not a finite
// number, eInvalidInput for non-finite data, a bulge array that is neither empty nor one per
// vertex, or a NaN argument, eOutOfRange outside the curve (a relative 1e-10 past an end counts
// as that end).
namespace ge {

struct PolylineCurve {
    std::span<const AcGePoint2d> points;
    std::span<const double> bulges; // empty: every segment straight
    bool closed = false;
    double elevation = 0.0;
    AcGeVector3d normal = AcGeVector3d::kZAxis;

    std::size_t numSegments() const;
    double bulgeAt(std::size_t vertex) const;
    // eInvalidIndex past the last segment.
    Acad::ErrorStatus getSegment(std::size_t index, AcGePoint2d& start, AcGePoint2d& end,
                                 double& bulge) const;

    Acad::ErrorStatus getStartParam(double& param) const;
    Acad::ErrorStatus getEndParam(double& param) const;
    Acad::ErrorStatus getDistAtParam(double param, double& dist) const;
    Acad::ErrorStatus getParamAtDist(double dist, double& param) const;
    // In the polyline's own plane coordinates, and in world coordinates.
    Acad::ErrorStatus getPointAtParam(double param, AcGePoint2d& point) const;
    Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const;
    Acad::ErrorStatus getLength(double& length) const;
    // Positive when the boundary runs counter-clockwise. An open polyline is closed by a straight
    // chord from its last vertex to its first.
    Acad::ErrorStatus getSignedArea(double& area) const;
    // The magnitude of the signed area.
    Acad::ErrorStatus getArea(double& area) const;
};

} // namespace ge

#pragma GCC visibility pop
