#pragma once

#include "acad/status.h"
#include "ge/point2d.h"

#pragma GCC visibility push(default)

// A bulged segment runs from start to end along a circular arc whose bulge is the tangent of a
// quarter of its signed included angle: positive turns counter-clockwise, 0 is a straight line,
// +-1 a half circle, larger magnitudes the major arc. Every function here stays accurate for
// bulges near 0 (radii far larger than the coordinates) and very large ones (nearly full
// circles), and answers eInvalidInput for non-finite input and eDegenerateGeometry when a
// result would not be a finite number.
namespace ge {

struct BulgeArc {
    AcGePoint2d center;
    double radius = 0.0;
    double startAngle = 0.0; // of start seen from center, in [0, 2pi)
    double endAngle = 0.0;   // of end seen from center, in [0, 2pi)
    double sweep = 0.0;      // signed included angle, in (-2pi, 2pi)
};

double sweepFromBulge(double bulge);
double bulgeFromSweep(double sweep);

// eNotApplicable for a straight segment (bulge 0), eDegenerateGeometry when start and end coincide.
Acad::ErrorStatus arcFromBulge(const AcGePoint2d& start, const AcGePoint2d& end, double bulge,
                               BulgeArc& arc);

// The segment's length; 0 when start and end coincide, whatever the bulge.
Acad::ErrorStatus bulgeSegmentLength(const AcGePoint2d& start, const AcGePoint2d& end, double bulge,
                                     double& length);

// Area between the arc and its chord, with the sign of the bulge: added to the signed area of
// the polygon of the vertices it gives the area of a polyline (positive when counter-clockwise).
Acad::ErrorStatus bulgeSegmentArea(const AcGePoint2d& start, const AcGePoint2d& end, double bulge,
                                   double& area);

// The point a fraction of the way along the segment, by length (for an arc, equally by swept
// angle). eOutOfRange outside [0, 1].
Acad::ErrorStatus bulgeSegmentPoint(const AcGePoint2d& start, const AcGePoint2d& end, double bulge,
                                    double fraction, AcGePoint2d& point);

} // namespace ge

#pragma GCC visibility pop
