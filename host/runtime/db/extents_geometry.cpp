#include "extents_geometry.h"

#include <cmath>

#include "db/entity.h"
#include "entities/common.h"
#include "ge/curve_math.h"

void SvExtentsGeometry::draw(const AcDbEntity& entity) {
    AcDbExtents part;
    if (entity.getGeomExtents(part) != Acad::eOk)
        return;
    part.transformBy(modelToWorldTransform());
    m_extents.addExt(part);
}

void SvExtentsGeometry::worldLine(const AcGePoint3d& from, const AcGePoint3d& to) {
    m_extents.addPoint(from);
    m_extents.addPoint(to);
}

void SvExtentsGeometry::worldPolyline(const std::vector<AcGePoint3d>& points, bool) {
    for (const AcGePoint3d& p : points)
        m_extents.addPoint(p);
}

void SvExtentsGeometry::worldBulgedPolyline(const std::vector<AcGePoint3d>& points,
                                            const std::vector<double>& bulges, bool closed,
                                            const AcGeVector3d& normal) {
    if (points.empty())
        return;
    m_extents.addPoint(points.front());
    const std::size_t segments = closed ? points.size() : points.size() - 1;
    for (std::size_t i = 0; i < segments; ++i) {
        const AcGePoint3d start = svent::worldToPlane(points[i], normal);
        const AcGePoint3d end = svent::worldToPlane(points[(i + 1) % points.size()], normal);
        svent::addBulgeExtents(m_extents, AcGePoint2d(start.x, start.y), AcGePoint2d(end.x, end.y),
                               i < bulges.size() ? bulges[i] : 0.0, start.z, normal);
    }
}

void SvExtentsGeometry::worldCircle(const AcGePoint3d& center, double radius,
                                    const AcGeVector3d& normal) {
    const AcGeMatrix3d toWorld = AcGeMatrix3d::planeToWorld(normal);
    svent::addArcExtents(m_extents, center, toWorld * AcGeVector3d::kXAxis,
                         toWorld * AcGeVector3d::kYAxis, radius, 0.0, ge::kTwoPi);
}

void SvExtentsGeometry::worldCircularArc(const AcGePoint3d& center, double radius,
                                         const AcGeVector3d& normal,
                                         const AcGeVector3d& startVector, double sweep) {
    const AcGeMatrix3d toWorld = AcGeMatrix3d::planeToWorld(normal);
    svent::addArcExtents(m_extents, center, toWorld * AcGeVector3d::kXAxis,
                         toWorld * AcGeVector3d::kYAxis, radius,
                         svent::angleInPlane(startVector, normal), sweep);
}

// The ends, and where each coordinate turns within the sweep.
void SvExtentsGeometry::worldEllipticalArc(const AcGePoint3d& center, const AcGeVector3d& majorAxis,
                                           const AcGeVector3d& minorAxis, double startParam,
                                           double endParam) {
    const double sweep = endParam - startParam;
    auto add = [&](double t) {
        if (ge::normalizeAngle(t - startParam) <= sweep)
            m_extents.addPoint(center + majorAxis * std::cos(t) + minorAxis * std::sin(t));
    };
    add(startParam);
    add(endParam);
    for (unsigned k = 0; k < 3; ++k) {
        const double t = std::atan2(minorAxis[k], majorAxis[k]);
        add(t);
        add(t + ge::kPi);
    }
}

void SvExtentsGeometry::worldText(const AcGiText& text) {
    if (text.content.empty())
        return;
    AcGePoint3d start;
    AcGeVector3d along, up;
    text.getCell(start, along, up);
    m_extents.addPoint(start);
    m_extents.addPoint(start + along);
    m_extents.addPoint(start + up);
    m_extents.addPoint(start + along + up);
}
