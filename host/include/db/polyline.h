#pragma once

#include <vector>

#include "db/curve.h"
#include "ge/point2d.h"
#include "ge/vector3d.h"

#pragma GCC visibility push(default)

namespace ge {
struct PolylineCurve;
}

// A lightweight polyline: vertices in the plane of its normal at its elevation, each with the
// bulge and widths of the segment that leaves it. Parameter i is vertex i (ge/polyline_math.h).
class AcDbPolyline : public AcDbCurve {
    SV_RX_DECLARE_MEMBERS(AcDbPolyline);

    // `numVerts` only reserves room; the polyline starts without vertices.
    explicit AcDbPolyline(unsigned int numVerts = 0);
    ~AcDbPolyline() override;
    void worldDraw(AcGiWorldDraw* mode) const override;

    // Inserts before vertex `index`; an index at or past the end appends. Widths below 0 take
    // the polyline's constant width.
    Acad::ErrorStatus addVertexAt(unsigned int index, const AcGePoint2d& point, double bulge = 0.0,
                                  double startWidth = -1.0, double endWidth = -1.0);
    Acad::ErrorStatus removeVertexAt(unsigned int index);
    unsigned int numVerts() const;
    // Every access by index answers eInvalidIndex past the last vertex.
    Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint2d& point) const;
    // In world coordinates.
    Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint3d& point) const;
    Acad::ErrorStatus setPointAt(unsigned int index, const AcGePoint2d& point);
    Acad::ErrorStatus getBulgeAt(unsigned int index, double& bulge) const;
    Acad::ErrorStatus setBulgeAt(unsigned int index, double bulge);
    Acad::ErrorStatus getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const;
    // Widths are never negative.
    Acad::ErrorStatus setWidthsAt(unsigned int index, double startWidth, double endWidth);
    Acad::ErrorStatus getConstantWidth(double& width) const;
    Acad::ErrorStatus setConstantWidth(double width);
    Adesk::Boolean hasBulges() const;

    void setClosed(Adesk::Boolean closed);
    Adesk::Boolean isClosed() const override;
    double elevation() const;
    Acad::ErrorStatus setElevation(double elevation);
    AcGeVector3d normal() const;
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    double thickness() const;
    Acad::ErrorStatus setThickness(double thickness);
    // Through the vertex parameters.
    Acad::ErrorStatus getLength(double& length) const;

    Acad::ErrorStatus getStartParam(double& param) const override;
    Acad::ErrorStatus getEndParam(double& param) const override;
    Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const override;
    Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const override;
    Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
    Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;
    Acad::ErrorStatus getParamAtDist(double dist, double& param) const override;
    // An open polyline is closed by a straight chord from its last vertex to its first.
    Acad::ErrorStatus getArea(double& area) const override;
    Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& givenPoint, AcGePoint3d& pointOnCurve,
                                        Adesk::Boolean extend = false) const override;

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    void list() const override;
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

private:
    ge::PolylineCurve math() const;
    // One entry per vertex in each.
    std::vector<AcGePoint2d> m_points;
    std::vector<double> m_bulges;
    std::vector<double> m_startWidths;
    std::vector<double> m_endWidths;
    bool m_closed = false;
    double m_elevation = 0.0;
    double m_constantWidth = 0.0;
    double m_thickness = 0.0;
    AcGeVector3d m_normal = AcGeVector3d::kZAxis;
};

#pragma GCC visibility pop
