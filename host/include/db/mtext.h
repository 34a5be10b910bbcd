#pragma once

#include <string>

#include "db/entity.h"
#include "ge/point3d.h"
#include "ge/vector3d.h"

#pragma GCC visibility push(default)

// Multiline text: contents with the host's inline format codes (\P paragraph, {...} groups,
// \f...; font, \H...; height and so on), placed at its location by its attachment point.
// Not a kind of AcDbText.
class AcDbMText : public AcDbEntity {
    SV_RX_DECLARE_MEMBERS(AcDbMText);

    enum AttachmentPoint : int {
        kTopLeft = 1,
        kTopCenter = 2,
        kTopRight = 3,
        kMiddleLeft = 4,
        kMiddleCenter = 5,
        kMiddleRight = 6,
        kBottomLeft = 7,
        kBottomCenter = 8,
        kBottomRight = 9,
    };

    AcDbMText();
    ~AcDbMText() override;
    void worldDraw(AcGiWorldDraw* mode) const override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;

    // A copy released with acutDelBuffer.
    wchar_t* contents() const;
    const wchar_t* contentsConst() const;
    // A null text is refused with eInvalidInput.
    Acad::ErrorStatus setContents(const wchar_t* text);
    // The contents without format codes, paragraphs as line breaks; released with acutDelBuffer.
    wchar_t* text() const;

    AcGePoint3d location() const;
    Acad::ErrorStatus setLocation(const AcGePoint3d& point);
    // Character height; must be positive.
    double textHeight() const;
    Acad::ErrorStatus setTextHeight(double height);
    // The reference width that lines wrap at; 0 means no wrapping.
    double width() const;
    Acad::ErrorStatus setWidth(double width);
    // The height of the text's lines, as placed.
    double actualHeight() const;
    double height() const;
    double rotation() const;
    Acad::ErrorStatus setRotation(double rotation);
    AttachmentPoint attachment() const;
    Acad::ErrorStatus setAttachment(AttachmentPoint attachment);
    AcGeVector3d normal() const;
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    // The unit direction of the text's lines in world coordinates.
    AcGeVector3d direction() const;
    AcDbObjectId textStyle() const;
    Acad::ErrorStatus setTextStyle(AcDbObjectId style);

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    void list() const override;
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

private:
    std::wstring m_contents;
    AcGePoint3d m_location;
    AcGeVector3d m_normal = AcGeVector3d::kZAxis;
    double m_textHeight = 0.2;
    double m_width = 0.0;
    double m_rotation = 0.0;
    AttachmentPoint m_attachment = kTopLeft;
    AcDbObjectId m_style;
};

#pragma GCC visibility pop
