#pragma once

#include "acad/status.h"
#include "ge/point3d.h"
#include "ge/vector3d.h"

#pragma GCC visibility push(default)

// An ellipse or elliptical arc. The parameter is the eccentric angle t of
// center + cos(t) * majorAxis + sin(t) * minorAxis, minorAxis being normal x majorAxis scaled to
// radiusRatio times the major radius. The arc runs from startParam for a sweep in (0, 2pi]
// (as for ge::ArcCurve: equal parameters make the whole ellipse). Distances along it come from
// adaptive Gauss-Kronrod quadrature to about 1e-13 relative. Failures as in ge/curve_math.h; a
// zero major axis, a ratio not positive or a normal along the major axis are degenerate.
namespace ge {

struct EllipseCurve {
    AcGePoint3d center;
    AcGeVector3d normal = AcGeVector3d::kZAxis;
    AcGeVector3d majorAxis = AcGeVector3d::kXAxis;
    double radiusRatio = 1.0;
    double startParam = 0.0;
    double endParam = 0.0;

    double sweep() const;
    Acad::ErrorStatus getStartParam(double& param) const;
    Acad::ErrorStatus getEndParam(double& param) const;
    Acad::ErrorStatus getDistAtParam(double param, double& dist) const;
    Acad::ErrorStatus getParamAtDist(double dist, double& param) const;
    Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const;
    Acad::ErrorStatus getLength(double& length) const;
    // Of the whole ellipse, or of the arc closed by its chord.
    Acad::ErrorStatus getArea(double& area) const;
};

} // namespace ge

#pragma GCC visibility pop
