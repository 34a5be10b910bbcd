#pragma once

#include <vector>

#include "db/array.h"
#include "db/entity.h"
#include "ge/point2d.h"
#include "ge/vector3d.h"

#pragma GCC visibility push(default)

using AcDbVoidPtrArray = AcArray<void*>;

// A plane area bounded by one closed loop of straight and circular segments, kept as the vertices
// and bulges of the loop in the plane of its normal (as a lightweight polyline keeps them).
class AcDbRegion : public AcDbEntity {
    SV_RX_DECLARE_MEMBERS(AcDbRegion);

    AcDbRegion();
    ~AcDbRegion() override;
    void worldDraw(AcGiWorldDraw* mode) const override;

    // One region per closed loop that the curves (AcDbCurve pointers) make: a closed polyline or
    // a circle on its own, or lines, arcs and open polylines that meet end to end in one plane.
    // The curves stay the caller's; each new region is non-resident and the caller's to append
    // or delete. A curve of another kind (an ellipse, a curve out of the plane), a null entry or
    // a curve left over without a closed loop answers eInvalidInput and makes no region.
    static Acad::ErrorStatus createFromCurves(const AcDbVoidPtrArray& curveSegments,
                                              AcDbVoidPtrArray& regions);

    // A region made by the default constructor has no loop.
    bool isNull() const;
    Acad::ErrorStatus getArea(double& area) const;
    Acad::ErrorStatus getPerimeter(double& perimeter) const;
    AcGeVector3d normal() const;
    double elevation() const;
    // The loop's vertices in the region's plane coordinates, and the bulge leaving each.
    unsigned int numVerts() const;
    Acad::ErrorStatus getVertexAt(unsigned int index, AcGePoint2d& point, double& bulge) const;

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    void list() const override;
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

private:
    friend struct SvRegionBuilder;
    std::vector<AcGePoint2d> m_points;
    std::vector<double> m_bulges;
    double m_elevation = 0.0;
    AcGeVector3d m_normal = AcGeVector3d::kZAxis;
};

#pragma GCC visibility pop
