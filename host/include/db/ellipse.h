#pragma once

#include "db/curve.h"
#include "ge/vector3d.h"

#pragma GCC visibility push(default)

namespace ge {
struct EllipseCurve;
}

// An ellipse or elliptical arc (ge/ellipse_math.h). Its parameter is the eccentric angle;
// startAngle and endAngle are the true angles from the major axis that the host also offers.
class AcDbEllipse : public AcDbCurve {
    SV_RX_DECLARE_MEMBERS(AcDbEllipse);

    AcDbEllipse();
    // A degenerate set (zero or non-perpendicular axes, ratio outside (0, 1]) leaves the default
    // unit circle.
    AcDbEllipse(const AcGePoint3d& center, const AcGeVector3d& unitNormal,
                const AcGeVector3d& majorAxis, double radiusRatio, double startAngle = 0.0,
                double endAngle = 6.28318530717958647692);
    ~AcDbEllipse() override;
    void worldDraw(AcGiWorldDraw* mode) const override;

    // eInvalidInput for a zero axis, a normal not perpendicular to the major axis or a ratio
    // outside (0, 1].
    Acad::ErrorStatus set(const AcGePoint3d& center, const AcGeVector3d& unitNormal,
                          const AcGeVector3d& majorAxis, double radiusRatio,
                          double startAngle = 0.0, double endAngle = 6.28318530717958647692);
    AcGePoint3d center() const;
    Acad::ErrorStatus setCenter(const AcGePoint3d& center);
    AcGeVector3d normal() const;
    AcGeVector3d majorAxis() const;
    AcGeVector3d minorAxis() const;
    double radiusRatio() const;
    Acad::ErrorStatus setRadiusRatio(double ratio);
    double startAngle() const;
    Acad::ErrorStatus setStartAngle(double angle);
    double endAngle() const;
    Acad::ErrorStatus setEndAngle(double angle);
    double startParam() const;
    Acad::ErrorStatus setStartParam(double param);
    double endParam() const;
    Acad::ErrorStatus setEndParam(double param);
    double paramAtAngle(double angle) const;
    double angleAtParam(double param) const;

    Adesk::Boolean isClosed() const override;
    Adesk::Boolean isPeriodic() const override;
    Acad::ErrorStatus getStartParam(double& param) const override;
    Acad::ErrorStatus getEndParam(double& param) const override;
    Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const override;
    Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const override;
    Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
    Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;
    Acad::ErrorStatus getParamAtDist(double dist, double& param) const override;
    Acad::ErrorStatus getArea(double& area) const override;

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    void list() const override;
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

private:
    ge::EllipseCurve math() const;
    AcGePoint3d m_center;
    AcGeVector3d m_normal = AcGeVector3d::kZAxis;
    AcGeVector3d m_majorAxis = AcGeVector3d::kXAxis;
    double m_ratio = 1.0;
    double m_startParam = 0.0;
    double m_endParam = 0.0; // equal to the start: the whole ellipse
};

#pragma GCC visibility pop
