#pragma once

#include <string>

#include "db/entity.h"
#include "ge/point3d.h"
#include "ge/vector3d.h"

#pragma GCC visibility push(default)

// A geometric tolerance (feature control frame): its text in the host's tolerance codes, placed
// at its location along its direction.
class AcDbFcf : public AcDbEntity {
    SV_RX_DECLARE_MEMBERS(AcDbFcf);

    AcDbFcf();
    AcDbFcf(const wchar_t* text, const AcGePoint3d& location, const AcGeVector3d& normal,
            const AcGeVector3d& direction);
    ~AcDbFcf() override;
    void worldDraw(AcGiWorldDraw* mode) const override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;

    // A copy released with acutDelBuffer.
    wchar_t* text() const;
    // A null text is refused with eInvalidInput.
    Acad::ErrorStatus setText(const wchar_t* text);
    AcGePoint3d location() const;
    Acad::ErrorStatus setLocation(const AcGePoint3d& point);
    AcGeVector3d normal() const;
    AcGeVector3d direction() const;
    // The direction is made perpendicular to the normal and unit length; parallel or zero
    // vectors are refused.
    Acad::ErrorStatus setOrientation(const AcGeVector3d& normal, const AcGeVector3d& direction);
    double textHeight() const;
    Acad::ErrorStatus setTextHeight(double height);

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    void list() const override;
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

private:
    std::wstring m_text;
    AcGePoint3d m_location;
    AcGeVector3d m_normal = AcGeVector3d::kZAxis;
    AcGeVector3d m_direction = AcGeVector3d::kXAxis;
    double m_textHeight = 0.18;
};

#pragma GCC visibility pop
