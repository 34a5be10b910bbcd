#pragma once

#include "db/extents.h"
#include "db/worlddraw.h"

// Gathers the box around what is drawn. An entity drawn inside another brings the extents it
// answers itself, carried by the model transform, so every kind keeps its own box.
class SvExtentsGeometry : public AcGiGeometry {
public:
    explicit SvExtentsGeometry(AcDbExtents& extents) : m_extents(extents) {}

    void draw(const AcDbEntity& entity) override;

protected:
    void worldLine(const AcGePoint3d& from, const AcGePoint3d& to) override;
    void worldPolyline(const std::vector<AcGePoint3d>& points, bool closed) override;
    void worldBulgedPolyline(const std::vector<AcGePoint3d>& points,
                             const std::vector<double>& bulges, bool closed,
                             const AcGeVector3d& normal) override;
    void worldCircle(const AcGePoint3d& center, double radius, const AcGeVector3d& normal) override;
    void worldCircularArc(const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                          const AcGeVector3d& startVector, double sweep) override;
    void worldEllipticalArc(const AcGePoint3d& center, const AcGeVector3d& majorAxis,
                            const AcGeVector3d& minorAxis, double startParam,
                            double endParam) override;
    void worldText(const AcGiText& text) override;

private:
    AcDbExtents& m_extents;
};
