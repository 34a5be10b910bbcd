#pragma once

// What the entity classes share: checks of incoming values, filing of geometry, the layout of
// list() and the arithmetic of transformations.

#include <string>

#include "db/entity.h"
#include "db/filer.h"
#include "ge/matrix3d.h"
#include "ge/point2d.h"
#include "ge/point3d.h"
#include "ge/vector3d.h"

namespace svent {

bool isFinite(double value);
bool isFinite(const AcGePoint2d& point);
bool isFinite(const AcGePoint3d& point);
bool isFinite(const AcGeVector3d& vector);

// A non-zero finite vector made unit length; false for anything else.
bool unitVector(const AcGeVector3d& vector, AcGeVector3d& unit);
// What setNormal does in every entity: a vector that cannot be made unit length changes nothing
// and asks for no write.
Acad::ErrorStatus setUnitNormal(AcDbObject* object, AcGeVector3d& field,
                                const AcGeVector3d& normal);

// Each class level files its own version first. Reading answers eMakeMeProxy for a newer
// version, so the record is kept as it is, and eBadDwgFile for one that never existed.
void writeVersion(AcDbDwgFiler* filer, Adesk::Int16 version);
Acad::ErrorStatus readVersion(AcDbDwgFiler* filer, Adesk::Int16 current);

void writePoint(AcDbDwgFiler* filer, const AcGePoint3d& point);
void writePoint(AcDbDwgFiler* filer, const AcGePoint2d& point);
void writeVector(AcDbDwgFiler* filer, const AcGeVector3d& vector);
// Reads what the writers wrote; a coordinate that is not finite marks the data bad.
AcGePoint3d readPoint3d(AcDbDwgFiler* filer);
AcGePoint2d readPoint2d(AcDbDwgFiler* filer);
AcGeVector3d readVector(AcDbDwgFiler* filer);
double readReal(AcDbDwgFiler* filer);
// A unit vector on file; a zero one marks the data bad.
AcGeVector3d readNormal(AcDbDwgFiler* filer);
std::wstring readText(AcDbDwgFiler* filer);
// Marks the data bad unless `valid`; answers the filer's status.
Acad::ErrorStatus require(AcDbDwgFiler* filer, bool valid);

// list(): one property a line under the entity's heading.
std::wstring number(double value);
std::wstring angle(double radians);
void listLine(const wchar_t* label, const std::wstring& value);
void listPoint(const wchar_t* label, const AcGePoint3d& point);
void listVector(const wchar_t* label, const AcGeVector3d& vector);
void listNumber(const wchar_t* label, double value);
void listAngle(const wchar_t* label, double radians);
void listQuoted(const wchar_t* label, const wchar_t* text);
void listId(const wchar_t* label, const AcDbObjectId& id);

// Transformations.
// Rotation, reflection and one uniform scale, nothing singular: what circles and arcs follow.
bool isUniform(const AcGeMatrix3d& xform);
bool isInvertible(const AcGeMatrix3d& xform);
// The transformed normal of a plane, unit length (through the inverse transpose, so right for
// any invertible transformation).
AcGeVector3d transformNormal(const AcGeMatrix3d& xform, const AcGeVector3d& normal);
// Angle of a world direction in the plane of `normal`, in [0, 2pi); and back.
double angleInPlane(const AcGeVector3d& direction, const AcGeVector3d& normal);
AcGeVector3d directionInPlane(double angle, const AcGeVector3d& normal);
// World point of plane coordinates (x, y) at elevation, and back.
AcGePoint3d planeToWorld(const AcGePoint2d& point, double elevation, const AcGeVector3d& normal);
AcGePoint3d worldToPlane(const AcGePoint3d& point, const AcGeVector3d& normal);

} // namespace svent

class AcDbExtents;

namespace svent {

// Adds the part of the circle around `center` with in-plane axes xAxis, yAxis (unit, at right
// angles) from startAngle through the signed sweep, using its extreme points in each coordinate.
void addArcExtents(AcDbExtents& extents, const AcGePoint3d& center, const AcGeVector3d& xAxis,
                   const AcGeVector3d& yAxis, double radius, double startAngle, double sweep);
// The same for a bulged segment of a plane, start and end in plane coordinates.
void addBulgeExtents(AcDbExtents& extents, const AcGePoint2d& start, const AcGePoint2d& end,
                     double bulge, double elevation, const AcGeVector3d& normal);
// The point of a bulged segment nearest to `point` (plane coordinates).
AcGePoint2d closestOnSegment(const AcGePoint2d& start, const AcGePoint2d& end, double bulge,
                             const AcGePoint2d& point);
// Reads a count of items that take at least `minBytes` each; marks the data bad when the
// count cannot be real (negative or more than a record can hold).
Adesk::UInt32 readCount(AcDbDwgFiler* filer, Adesk::UInt32 limit);

} // namespace svent
