#pragma once

#include <string>

#include "db/entity.h"
#include "ge/point3d.h"
#include "ge/vector3d.h"

#pragma GCC visibility push(default)

// A dimension: a measurement of geometry and the text that shows it. The text override is empty
// for the measurement alone; "<>" inside it stands for the measurement; any other text replaces
// it.
class AcDbDimension : public AcDbEntity {
    SV_RX_DECLARE_MEMBERS(AcDbDimension);

    AcDbDimension();
    ~AcDbDimension() override;

    // A copy of the override, released with acutDelBuffer.
    wchar_t* dimensionText() const;
    // A null text is taken as the empty override.
    Acad::ErrorStatus setDimensionText(const wchar_t* text);
    // The text as shown: the override with "<>" replaced by the measurement in the drawing's
    // linear units. Released with acutDelBuffer.
    wchar_t* formattedText() const;
    // What the geometry measures; this level has nothing to measure (eNotApplicable).
    virtual Acad::ErrorStatus measurement(double& value) const;

    // Unless set, the middle of the dimension line.
    AcGePoint3d textPosition() const;
    Acad::ErrorStatus setTextPosition(const AcGePoint3d& position);
    Adesk::Boolean isUsingDefaultTextPosition() const;
    Acad::ErrorStatus useDefaultTextPosition();
    AcGeVector3d normal() const;
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    AcDbObjectId dimensionStyle() const;
    Acad::ErrorStatus setDimensionStyle(AcDbObjectId style);

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    void list() const override;
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

protected:
    AcDbDimension(const AcDbDimension& other) = default;
    AcDbDimension& operator=(const AcDbDimension& other) = default;
    // Where the text goes when not placed by hand.
    virtual AcGePoint3d defaultTextPosition() const;

private:
    std::wstring m_text;
    AcGePoint3d m_textPosition;
    bool m_userTextPosition = false;
    AcGeVector3d m_normal = AcGeVector3d::kZAxis;
    AcDbObjectId m_style;
};

// A linear dimension measured along a fixed direction: the distance between the two extension
// line points projected on the direction at `rotation` in the dimension's plane.
class AcDbRotatedDimension : public AcDbDimension {
    SV_RX_DECLARE_MEMBERS(AcDbRotatedDimension);

    AcDbRotatedDimension();
    AcDbRotatedDimension(double rotation, const AcGePoint3d& xLine1Point,
                         const AcGePoint3d& xLine2Point, const AcGePoint3d& dimLinePoint,
                         const wchar_t* dimText = nullptr, AcDbObjectId dimStyle = AcDbObjectId());
    ~AcDbRotatedDimension() override;
    void worldDraw(AcGiWorldDraw* mode) const override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;

    AcGePoint3d xLine1Point() const;
    Acad::ErrorStatus setXLine1Point(const AcGePoint3d& point);
    AcGePoint3d xLine2Point() const;
    Acad::ErrorStatus setXLine2Point(const AcGePoint3d& point);
    AcGePoint3d dimLinePoint() const;
    Acad::ErrorStatus setDimLinePoint(const AcGePoint3d& point);
    double rotation() const;
    Acad::ErrorStatus setRotation(double rotation);

    Acad::ErrorStatus measurement(double& value) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    void list() const override;
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

protected:
    AcGePoint3d defaultTextPosition() const override;

private:
    AcGePoint3d m_xLine1;
    AcGePoint3d m_xLine2;
    AcGePoint3d m_dimLine;
    double m_rotation = 0.0;
};

// A linear dimension measured along the line between its two extension line points.
class AcDbAlignedDimension : public AcDbDimension {
    SV_RX_DECLARE_MEMBERS(AcDbAlignedDimension);

    AcDbAlignedDimension();
    AcDbAlignedDimension(const AcGePoint3d& xLine1Point, const AcGePoint3d& xLine2Point,
                         const AcGePoint3d& dimLinePoint, const wchar_t* dimText = nullptr,
                         AcDbObjectId dimStyle = AcDbObjectId());
    ~AcDbAlignedDimension() override;
    void worldDraw(AcGiWorldDraw* mode) const override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;

    AcGePoint3d xLine1Point() const;
    Acad::ErrorStatus setXLine1Point(const AcGePoint3d& point);
    AcGePoint3d xLine2Point() const;
    Acad::ErrorStatus setXLine2Point(const AcGePoint3d& point);
    AcGePoint3d dimLinePoint() const;
    Acad::ErrorStatus setDimLinePoint(const AcGePoint3d& point);
    // The angle of the extension lines away from perpendicular; 0 for none.
    double oblique() const;
    Acad::ErrorStatus setOblique(double angle);

    Acad::ErrorStatus measurement(double& value) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    void list() const override;
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

protected:
    AcGePoint3d defaultTextPosition() const override;

private:
    AcGePoint3d m_xLine1;
    AcGePoint3d m_xLine2;
    AcGePoint3d m_dimLine;
    double m_oblique = 0.0;
};

#pragma GCC visibility pop
