#include "drawn_extents.h"

#include <cmath>

#include "db/entity.h"
#include "db/extents.h"
#include "db/worlddraw.h"
#include "entities/common.h"
#include "ge/curve_math.h"

namespace {

class ExtentsGeometry : public AcGiGeometry {
public:
    explicit ExtentsGeometry(AcDbExtents& extents) : m_extents(extents) {}

    void draw(const AcDbEntity& entity) override {
        AcDbExtents part;
        if (entity.getGeomExtents(part) != Acad::eOk)
            return;
        part.transformBy(modelToWorldTransform());
        m_extents.addExt(part);
    }

protected:
    void worldLine(const AcGePoint3d& from, const AcGePoint3d& to) override {
        m_extents.addPoint(from);
        m_extents.addPoint(to);
    }

    void worldPolyline(const std::vector<AcGePoint3d>& points, bool) override {
        for (const AcGePoint3d& p : points)
            m_extents.addPoint(p);
    }

    void worldBulgedPolyline(const std::vector<AcGePoint3d>& points,
                             const std::vector<double>& bulges, bool closed,
                             const AcGeVector3d& normal) override {
        if (points.empty())
            return;
        m_extents.addPoint(points.front());
        const std::size_t segments = closed ? points.size() : points.size() - 1;
        for (std::size_t i = 0; i < segments; ++i) {
            const AcGePoint3d start = svent::worldToPlane(points[i], normal);
            const AcGePoint3d end = svent::worldToPlane(points[(i + 1) % points.size()], normal);
            svent::addBulgeExtents(m_extents, AcGePoint2d(start.x, start.y),
                                   AcGePoint2d(end.x, end.y), i < bulges.size() ? bulges[i] : 0.0,
                                   start.z, normal);
        }
    }

    void worldCircle(const AcGePoint3d& center, double radius,
                     const AcGeVector3d& normal) override {
        const AcGeMatrix3d toWorld = AcGeMatrix3d::planeToWorld(normal);
        svent::addArcExtents(m_extents, center, toWorld * AcGeVector3d::kXAxis,
                             toWorld * AcGeVector3d::kYAxis, radius, 0.0, ge::kTwoPi);
    }

    void worldCircularArc(const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                          const AcGeVector3d& startVector, double sweep) override {
        const AcGeMatrix3d toWorld = AcGeMatrix3d::planeToWorld(normal);
        svent::addArcExtents(m_extents, center, toWorld * AcGeVector3d::kXAxis,
                             toWorld * AcGeVector3d::kYAxis, radius,
                             svent::angleInPlane(startVector, normal), sweep);
    }

    // The ends, and where each coordinate turns within the sweep.
    void worldEllipticalArc(const AcGePoint3d& center, const AcGeVector3d& majorAxis,
                            const AcGeVector3d& minorAxis, double startParam,
                            double endParam) override {
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

    void worldText(const AcGiText& text) override {
        if (text.content.empty())
            return;
        for (const AcGePoint3d& corner : text.cell())
            m_extents.addPoint(corner);
    }

private:
    AcDbExtents& m_extents;
};

} // namespace

Acad::ErrorStatus svAddDrawnExtents(const AcDbEntity& entity, AcDbExtents& extents) {
    AcDbExtents found;
    ExtentsGeometry sink(found);
    AcGiWorldDraw mode(sink);
    entity.worldDraw(&mode);
    if (found.isEmpty())
        return Acad::eInvalidExtents;
    extents.addExt(found);
    return Acad::eOk;
}
