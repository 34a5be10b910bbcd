#pragma once

#include "acad/status.h"
#include "ge/point3d.h"
#include "ge/vector3d.h"

#pragma GCC visibility push(default)

// The parameterisation of the host's simple curves, for the entities to answer with.
//
// Every operation reports eInvalidInput for a NaN argument or non-finite curve data,
// eDegenerateGeometry for a curve without extent (radius not positive, zero normal), and
// eOutOfRange for a parameter or distance outside the curve; values within a relative 1e-10 of
// either end are taken as that end. Distances are measured from the start parameter.
namespace ge {

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kTwoPi = 2.0 * kPi;

// Into [0, 2pi); a non-finite angle comes back unchanged.
double normalizeAngle(double angle);

// Parameter 0 at start to the length at end: the parameter is the distance. A zero-length line
// is a valid curve with the one parameter 0.
struct LineCurve {
    AcGePoint3d start;
    AcGePoint3d end;

    Acad::ErrorStatus getStartParam(double& param) const;
    Acad::ErrorStatus getEndParam(double& param) const;
    Acad::ErrorStatus getDistAtParam(double param, double& dist) const;
    Acad::ErrorStatus getParamAtDist(double dist, double& param) const;
    Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const;
    Acad::ErrorStatus getLength(double& length) const;
    // Always 0: a line encloses nothing.
    Acad::ErrorStatus getArea(double& area) const;
};

// Parameter 0 to 2pi is the angle about normal from the plane's x axis (arbitrary-axis rule);
// the distance at a parameter is radius * parameter.
struct CircleCurve {
    AcGePoint3d center;
    AcGeVector3d normal = AcGeVector3d::kZAxis;
    double radius = 0.0;

    Acad::ErrorStatus getStartParam(double& param) const;
    Acad::ErrorStatus getEndParam(double& param) const;
    Acad::ErrorStatus getDistAtParam(double param, double& dist) const;
    Acad::ErrorStatus getParamAtDist(double dist, double& param) const;
    Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const;
    Acad::ErrorStatus getLength(double& length) const;
    Acad::ErrorStatus getArea(double& area) const;
};

// Counter-clockwise about normal from startAngle to endAngle, angles as for the circle. The start
// parameter is startAngle brought into [0, 2pi); the end parameter follows it by the sweep, which
// lies in (0, 2pi]: an end below the start gains 2pi, and equal angles make the full circle.
struct ArcCurve {
    AcGePoint3d center;
    AcGeVector3d normal = AcGeVector3d::kZAxis;
    double radius = 0.0;
    double startAngle = 0.0;
    double endAngle = 0.0;

    double sweep() const;
    Acad::ErrorStatus getStartParam(double& param) const;
    Acad::ErrorStatus getEndParam(double& param) const;
    Acad::ErrorStatus getDistAtParam(double param, double& dist) const;
    Acad::ErrorStatus getParamAtDist(double dist, double& param) const;
    Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const;
    Acad::ErrorStatus getLength(double& length) const;
    // The circular segment between the arc and its chord.
    Acad::ErrorStatus getArea(double& area) const;
};

} // namespace ge

#pragma GCC visibility pop
