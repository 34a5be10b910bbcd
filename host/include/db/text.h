#pragma once

#include <string>

#include "db/entity.h"
#include "ge/point3d.h"
#include "ge/vector3d.h"

#pragma GCC visibility push(default)

namespace AcDb {

// Fixed width, so a value read from elsewhere can be checked before it is used.
enum TextHorzMode : int {
    kTextLeft = 0,
    kTextCenter = 1,
    kTextRight = 2,
    kTextAlign = 3,
    kTextMid = 4,
    kTextFit = 5,
};

enum TextVertMode : int {
    kTextBase = 0,
    kTextBottom = 1,
    kTextVertMid = 2,
    kTextTop = 3,
};

} // namespace AcDb

// Single-line text. The position is the left end of the baseline; the alignment point is the
// point the text is justified on. Left-justified text on the baseline is placed by its position
// alone. For every other justification the alignment point places the text and the position
// follows from it; aligned and fit text run from the position to the alignment point.
//
// Text is measured in a fixed cell: every character advances height * widthFactor, capitals
// reach the height above the baseline, descenders go kSvTextDescent * height below it.
class AcDbText : public AcDbEntity {
    SV_RX_DECLARE_MEMBERS(AcDbText);

    AcDbText();
    AcDbText(const AcGePoint3d& position, const wchar_t* text, AcDbObjectId style = AcDbObjectId(),
             double height = 0.0, double rotation = 0.0);
    ~AcDbText() override;
    void worldDraw(AcGiWorldDraw* mode) const override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;

    // A copy released with acutDelBuffer.
    wchar_t* textString() const;
    // The text's own characters, valid while it is open and unchanged.
    const wchar_t* textStringConst() const;
    // A null text is refused with eInvalidInput.
    Acad::ErrorStatus setTextString(const wchar_t* text);

    AcGePoint3d position() const;
    // For aligned and fit text, moves the first end; otherwise moves the whole text.
    Acad::ErrorStatus setPosition(const AcGePoint3d& position);
    AcGePoint3d alignmentPoint() const;
    // Places the text, except for left-justified text on the baseline, which keeps its position.
    Acad::ErrorStatus setAlignmentPoint(const AcGePoint3d& point);
    Adesk::Boolean isDefaultAlignment() const;

    AcDb::TextHorzMode horizontalMode() const;
    // Values outside the enumeration are refused with eInvalidInput.
    Acad::ErrorStatus setHorizontalMode(AcDb::TextHorzMode mode);
    AcDb::TextVertMode verticalMode() const;
    Acad::ErrorStatus setVerticalMode(AcDb::TextVertMode mode);

    // Height 0 means the drawing's default, taken as 0.2 when placing the text.
    double height() const;
    Acad::ErrorStatus setHeight(double height);
    double rotation() const;
    Acad::ErrorStatus setRotation(double rotation);
    double widthFactor() const;
    // Must be positive.
    Acad::ErrorStatus setWidthFactor(double factor);
    double oblique() const;
    Acad::ErrorStatus setOblique(double angle);
    AcGeVector3d normal() const;
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    AcDbObjectId textStyle() const;
    Acad::ErrorStatus setTextStyle(AcDbObjectId style);

    // Recomputes the position (and, for aligned and fit text, the rotation and height or width
    // factor) from the alignment point. Every setter already does so; kept for callers that
    // expect to ask for it.
    Acad::ErrorStatus adjustAlignment(const AcDbDatabase* db = nullptr);

    // Height and rotation follow the transformation; mirrored text stays readable.
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    void list() const override;
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

protected:
    AcDbText(const AcDbText& other) = default;
    AcDbText& operator=(const AcDbText& other) = default;
    // The text fields of list(), for the derived kinds to print under their own.
    void listText() const;

private:
    friend struct SvTextLayout;
    void relayout();

    std::wstring m_text;
    AcGePoint3d m_position;
    AcGePoint3d m_alignment;
    AcGeVector3d m_normal = AcGeVector3d::kZAxis;
    double m_height = 0.0;
    double m_rotation = 0.0;
    double m_widthFactor = 1.0;
    double m_oblique = 0.0;
    AcDb::TextHorzMode m_horz = AcDb::kTextLeft;
    AcDb::TextVertMode m_vert = AcDb::kTextBase;
    AcDbObjectId m_style;
};

// How far descenders reach below the baseline, as a fraction of the height.
inline constexpr double kSvTextDescent = 1.0 / 3.0;
// The height used for text whose height is 0.
inline constexpr double kSvTextDefaultHeight = 0.2;

#pragma GCC visibility pop
