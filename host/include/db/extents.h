#pragma once

#include "acad/status.h"
#include "ge/matrix3d.h"
#include "ge/point3d.h"

#pragma GCC visibility push(default)

// An axis-aligned box in world coordinates. A new one is empty (its minimum above its maximum)
// until a point or another box is added.
class AcDbExtents {
public:
    AcDbExtents();
    // Orders the coordinates, so any two opposite corners give the box between them.
    AcDbExtents(const AcGePoint3d& min, const AcGePoint3d& max);

    AcGePoint3d minPoint() const { return m_min; }
    AcGePoint3d maxPoint() const { return m_max; }
    // eInvalidExtents when min is above max in any coordinate or either is not finite.
    Acad::ErrorStatus set(const AcGePoint3d& min, const AcGePoint3d& max);
    // Non-finite points are ignored: they would make the box meaningless.
    void addPoint(const AcGePoint3d& point);
    void addExt(const AcDbExtents& extents);
    void expandBy(const AcGeVector3d& vector);
    // The box around the transformed corners.
    void transformBy(const AcGeMatrix3d& xform);
    bool isEmpty() const;

private:
    AcGePoint3d m_min;
    AcGePoint3d m_max;
};

#pragma GCC visibility pop
