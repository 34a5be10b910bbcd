#include "db/extents.h"

#include <algorithm>
#include <limits>

#include "common.h"

namespace {

constexpr double kHuge = std::numeric_limits<double>::max();

} // namespace

AcDbExtents::AcDbExtents() : m_min(kHuge, kHuge, kHuge), m_max(-kHuge, -kHuge, -kHuge) {}

AcDbExtents::AcDbExtents(const AcGePoint3d& min, const AcGePoint3d& max) : AcDbExtents() {
    addPoint(min);
    addPoint(max);
}

Acad::ErrorStatus AcDbExtents::set(const AcGePoint3d& min, const AcGePoint3d& max) {
    if (!svent::isFinite(min) || !svent::isFinite(max) || min.x > max.x || min.y > max.y ||
        min.z > max.z)
        return Acad::eInvalidExtents;
    m_min = min;
    m_max = max;
    return Acad::eOk;
}

void AcDbExtents::addPoint(const AcGePoint3d& point) {
    if (!svent::isFinite(point))
        return;
    for (unsigned i = 0; i < 3; ++i) {
        m_min[i] = std::min(m_min[i], point[i]);
        m_max[i] = std::max(m_max[i], point[i]);
    }
}

void AcDbExtents::addExt(const AcDbExtents& extents) {
    if (extents.isEmpty())
        return;
    addPoint(extents.m_min);
    addPoint(extents.m_max);
}

void AcDbExtents::expandBy(const AcGeVector3d& vector) {
    if (isEmpty())
        return;
    addPoint(m_min + vector);
    addPoint(m_max + vector);
}

void AcDbExtents::transformBy(const AcGeMatrix3d& xform) {
    if (isEmpty())
        return;
    const AcGePoint3d lo = m_min;
    const AcGePoint3d hi = m_max;
    *this = AcDbExtents();
    for (int corner = 0; corner < 8; ++corner) {
        const AcGePoint3d p((corner & 1) ? hi.x : lo.x, (corner & 2) ? hi.y : lo.y,
                            (corner & 4) ? hi.z : lo.z);
        addPoint(xform * p);
    }
}

bool AcDbExtents::isEmpty() const {
    return m_min.x > m_max.x || m_min.y > m_max.y || m_min.z > m_max.z;
}
