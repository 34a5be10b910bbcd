#pragma once

#include <string>

#include "db/entity.h"
#include "ge/point3d.h"
#include "ge/vector3d.h"

#pragma GCC visibility push(default)

// A picture from an image file, drawn on the parallelogram from its origin along u and v (the
// bottom and left edges of the image).
class AcDbRasterImage : public AcDbEntity {
    SV_RX_DECLARE_MEMBERS(AcDbRasterImage);

    AcDbRasterImage();
    ~AcDbRasterImage() override;
    void worldDraw(AcGiWorldDraw* mode) const override;

    void getOrientation(AcGePoint3d& origin, AcGeVector3d& u, AcGeVector3d& v) const;
    // False (and nothing changes) for zero or parallel edges or values that are not finite.
    Adesk::Boolean setOrientation(const AcGePoint3d& origin, const AcGeVector3d& u,
                                  const AcGeVector3d& v);
    // A copy released with acutDelBuffer.
    wchar_t* imageFileName() const;
    // A null name is refused with eInvalidInput.
    Acad::ErrorStatus setImageFileName(const wchar_t* fileName);
    // The image's size in pixels; 0 while unknown.
    Acad::ErrorStatus getImageSize(int& width, int& height) const;
    Acad::ErrorStatus setImageSize(int width, int height);

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    void list() const override;
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

private:
    std::wstring m_fileName;
    AcGePoint3d m_origin;
    AcGeVector3d m_u = AcGeVector3d::kXAxis;
    AcGeVector3d m_v = AcGeVector3d::kYAxis;
    int m_pixelWidth = 0;
    int m_pixelHeight = 0;
};

#pragma GCC visibility pop
