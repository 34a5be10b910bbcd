#pragma once

#include "db/entity.h"
#include "ge/matrix3d.h"
#include "ge/point2d.h"
#include "ge/point3d.h"
#include "ge/vector3d.h"

#pragma GCC visibility push(default)

// A window on a paper-space layout onto model space. Its rectangle (centre, width, height) is in
// paper space; it shows the model seen along viewDirection onto viewTarget, with viewCenter (in
// the view's plane) in its middle and viewHeight of the model filling its height.
class AcDbViewport : public AcDbEntity {
    SV_RX_DECLARE_MEMBERS(AcDbViewport);

    AcDbViewport();
    ~AcDbViewport() override;
    void worldDraw(AcGiWorldDraw* mode) const override;

    AcGePoint3d centerPoint() const;
    Acad::ErrorStatus setCenterPoint(const AcGePoint3d& point);
    // Sizes must be positive finite numbers (eInvalidInput).
    double width() const;
    Acad::ErrorStatus setWidth(double width);
    double height() const;
    Acad::ErrorStatus setHeight(double height);

    AcGePoint2d viewCenter() const;
    Acad::ErrorStatus setViewCenter(const AcGePoint2d& point);
    double viewHeight() const;
    Acad::ErrorStatus setViewHeight(double height);
    AcGePoint3d viewTarget() const;
    Acad::ErrorStatus setViewTarget(const AcGePoint3d& point);
    AcGeVector3d viewDirection() const;
    Acad::ErrorStatus setViewDirection(const AcGeVector3d& direction);
    double twistAngle() const;
    Acad::ErrorStatus setTwistAngle(double angle);
    // Paper units per model unit.
    double customScale() const;

    bool isOn() const;
    Acad::ErrorStatus setOn();
    Acad::ErrorStatus setOff();
    // The viewport's place among the viewports that are on in its layout, from 1 (the first
    // created); -1 when it is off, erased or not in a layout.
    int number() const;

    // Model space to paper space through this viewport.
    AcGeMatrix3d modelToPaper() const;
    // Paper space to model space, onto the plane through viewTarget along viewDirection.
    AcGeMatrix3d paperToModel() const;
    // Whether a paper-space point lies inside the viewport's rectangle.
    bool containsPaperPoint(const AcGePoint3d& point) const;

    // Moves and scales the rectangle; a rotation or non-uniform scaling is refused.
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    void list() const override;
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

private:
    AcGePoint3d m_center;
    double m_width = 1.0;
    double m_height = 1.0;
    AcGePoint2d m_viewCenter;
    double m_viewHeight = 1.0;
    AcGePoint3d m_viewTarget;
    AcGeVector3d m_viewDirection = AcGeVector3d::kZAxis;
    double m_twist = 0.0;
    bool m_on = true;
};

#pragma GCC visibility pop
