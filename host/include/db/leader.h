#pragma once

#include <vector>

#include "db/curve.h"
#include "ge/point3d.h"
#include "ge/vector3d.h"

#pragma GCC visibility push(default)

// A leader line through its vertices, from the arrow head at the first to the annotation at the
// last. Parameter i is vertex i; i + t lies the fraction t along segment i.
class AcDbLeader : public AcDbCurve {
    SV_RX_DECLARE_MEMBERS(AcDbLeader);

    AcDbLeader();
    ~AcDbLeader() override;
    void worldDraw(AcGiWorldDraw* mode) const override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;

    // False (and nothing changes) for a point that is not finite.
    Adesk::Boolean appendVertex(const AcGePoint3d& point);
    void removeLastVertex();
    int numVertices() const;
    // A point of the origin past the last vertex.
    AcGePoint3d vertexAt(int index) const;
    Adesk::Boolean setVertexAt(int index, const AcGePoint3d& point);
    AcGePoint3d firstVertex() const;
    AcGePoint3d lastVertex() const;
    AcGeVector3d normal() const;
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    bool hasArrowHead() const;
    void enableArrowHead();
    void disableArrowHead();

    // The multiline text, block reference or tolerance attached, or the null id.
    AcDbObjectId annotationObjId() const;
    // Needs an AcDbMText, AcDbBlockReference or AcDbFcf of the leader's database, not erased
    // (eNotThatKindOfClass, eWrongDatabase, eWasErased).
    Acad::ErrorStatus attachAnnotation(const AcDbObjectId& annotationId);
    Acad::ErrorStatus detachAnnotation();

    Acad::ErrorStatus getStartParam(double& param) const override;
    Acad::ErrorStatus getEndParam(double& param) const override;
    Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const override;
    Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const override;
    Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
    Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;
    Acad::ErrorStatus getParamAtDist(double dist, double& param) const override;
    // A leader encloses nothing: 0.
    Acad::ErrorStatus getArea(double& area) const override;

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    void list() const override;
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

private:
    std::vector<AcGePoint3d> m_vertices;
    AcGeVector3d m_normal = AcGeVector3d::kZAxis;
    bool m_arrowHead = true;
    AcDbObjectId m_annotation;
};

#pragma GCC visibility pop
