#pragma once

#include "db/curve.h"
#include "ge/vector3d.h"

#pragma GCC visibility push(default)

namespace ge {
struct ArcCurve;
}

// A circular arc counter-clockwise about its normal from the start to the end angle (angles from
// the x axis of its plane). Its parameter is the angle: from the start angle to the start angle
// plus the sweep, which lies in (0, 2pi].
class AcDbArc : public AcDbCurve {
    SV_RX_DECLARE_MEMBERS(AcDbArc);

    AcDbArc();
    AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle);
    AcDbArc(const AcGePoint3d& center, const AcGeVector3d& normal, double radius, double startAngle,
            double endAngle);
    ~AcDbArc() override;
    void worldDraw(AcGiWorldDraw* mode) const override;

    AcGePoint3d center() const;
    Acad::ErrorStatus setCenter(const AcGePoint3d& center);
    double radius() const;
    // A radius must be a positive finite number (eInvalidInput).
    Acad::ErrorStatus setRadius(double radius);
    // Angles are kept in [0, 2pi).
    double startAngle() const;
    Acad::ErrorStatus setStartAngle(double angle);
    double endAngle() const;
    Acad::ErrorStatus setEndAngle(double angle);
    double totalAngle() const;
    double length() const;
    AcGeVector3d normal() const;
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    double thickness() const;
    Acad::ErrorStatus setThickness(double thickness);

    Acad::ErrorStatus getStartParam(double& param) const override;
    Acad::ErrorStatus getEndParam(double& param) const override;
    Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const override;
    Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const override;
    Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
    Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;
    Acad::ErrorStatus getParamAtDist(double dist, double& param) const override;
    // The segment between the arc and its chord.
    Acad::ErrorStatus getArea(double& area) const override;
    Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& givenPoint, AcGePoint3d& pointOnCurve,
                                        Adesk::Boolean extend = false) const override;

    // Mirroring swaps the angles, so the arc keeps its points and runs the other way round.
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    void list() const override;
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

private:
    ge::ArcCurve math() const;
    AcGePoint3d m_center;
    AcGeVector3d m_normal = AcGeVector3d::kZAxis;
    double m_radius = 1.0;
    double m_startAngle = 0.0;
    double m_endAngle = 0.0;
    double m_thickness = 0.0;
};

#pragma GCC visibility pop
