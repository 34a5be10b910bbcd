#include "db/text.h"

#include <cmath>

#include "common.h"
#include "db/acutbuffer.h"
#include "db/extents.h"
#include "db/worlddraw.h"
#include "ge/curve_math.h"

namespace {

constexpr Adesk::Int16 kVersion = 1;

bool validHorz(int mode) {
    return mode >= AcDb::kTextLeft && mode <= AcDb::kTextFit;
}

bool validVert(int mode) {
    return mode >= AcDb::kTextBase && mode <= AcDb::kTextTop;
}

const wchar_t* horzName(AcDb::TextHorzMode mode) {
    static const wchar_t* const names[] = {L"Left",    L"Center", L"Right",
                                           L"Aligned", L"Middle", L"Fit"};
    return names[mode];
}

const wchar_t* vertName(AcDb::TextVertMode mode) {
    static const wchar_t* const names[] = {L"Baseline", L"Bottom", L"Middle", L"Top"};
    return names[mode];
}

} // namespace

// The fixed-cell measure of a text (see text.h) and where it puts the position.
struct SvTextLayout {
    static double effectiveHeight(const AcDbText& t) {
        return t.m_height > 0.0 ? t.m_height : kSvTextDefaultHeight;
    }
    static double width(const AcDbText& t) {
        return static_cast<double>(t.m_text.size()) * effectiveHeight(t) * t.m_widthFactor;
    }
    static AcGeVector3d direction(const AcDbText& t) {
        return svent::directionInPlane(t.m_rotation, t.m_normal);
    }
    static AcGeVector3d up(const AcDbText& t) { return t.m_normal.crossProduct(direction(t)); }
};

AcDbText::AcDbText() = default;

AcDbText::AcDbText(const AcGePoint3d& position, const wchar_t* text, AcDbObjectId style,
                   double height, double rotation)
    : m_style(style) {
    if (svent::isFinite(position))
        m_position = m_alignment = position;
    if (text != nullptr)
        m_text = text;
    if (std::isfinite(height) && height >= 0.0)
        m_height = height;
    if (std::isfinite(rotation))
        m_rotation = ge::normalizeAngle(rotation);
}

AcDbText::~AcDbText() = default;

void AcDbText::relayout() {
    if (m_horz == AcDb::kTextLeft && m_vert == AcDb::kTextBase)
        return;
    const double h = SvTextLayout::effectiveHeight(*this);
    const double n = static_cast<double>(m_text.size());
    if (m_horz == AcDb::kTextAlign || m_horz == AcDb::kTextFit) {
        AcGeVector3d span = m_alignment - m_position;
        span -= m_normal * span.dotProduct(m_normal);
        const double length = span.length();
        // Nothing to fit, or no room to fit it in: keep what the text had.
        if (n == 0.0 || !(length > 0.0) || !std::isfinite(length))
            return;
        m_rotation = svent::angleInPlane(span, m_normal);
        if (m_horz == AcDb::kTextAlign)
            m_height = length / (n * m_widthFactor);
        else
            m_widthFactor = length / (n * h);
        return;
    }
    const double w = SvTextLayout::width(*this);
    double along = 0.0;
    double rise = 0.0;
    if (m_horz == AcDb::kTextCenter)
        along = w / 2.0;
    else if (m_horz == AcDb::kTextRight)
        along = w;
    if (m_horz == AcDb::kTextMid) {
        along = w / 2.0;
        rise = h / 2.0;
    } else if (m_vert == AcDb::kTextBottom) {
        rise = -kSvTextDescent * h;
    } else if (m_vert == AcDb::kTextVertMid) {
        rise = h / 2.0;
    } else if (m_vert == AcDb::kTextTop) {
        rise = h;
    }
    m_position =
        m_alignment - SvTextLayout::direction(*this) * along - SvTextLayout::up(*this) * rise;
}

wchar_t* AcDbText::textString() const {
    assertReadEnabled();
    return acutNewString(m_text.c_str());
}

const wchar_t* AcDbText::textStringConst() const {
    assertReadEnabled();
    return m_text.c_str();
}

Acad::ErrorStatus AcDbText::setTextString(const wchar_t* text) {
    if (text == nullptr)
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_text = text;
    relayout();
    return Acad::eOk;
}

AcGePoint3d AcDbText::position() const {
    assertReadEnabled();
    return m_position;
}

Acad::ErrorStatus AcDbText::setPosition(const AcGePoint3d& position) {
    if (!svent::isFinite(position))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    if (m_horz == AcDb::kTextLeft && m_vert == AcDb::kTextBase) {
        m_position = m_alignment = position;
    } else if (m_horz == AcDb::kTextAlign || m_horz == AcDb::kTextFit) {
        m_position = position;
    } else {
        m_alignment += position - m_position;
        m_position = position;
    }
    relayout();
    return Acad::eOk;
}

AcGePoint3d AcDbText::alignmentPoint() const {
    assertReadEnabled();
    return m_alignment;
}

Acad::ErrorStatus AcDbText::setAlignmentPoint(const AcGePoint3d& point) {
    if (!svent::isFinite(point))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_alignment = point;
    relayout();
    return Acad::eOk;
}

Adesk::Boolean AcDbText::isDefaultAlignment() const {
    assertReadEnabled();
    return m_horz == AcDb::kTextLeft && m_vert == AcDb::kTextBase;
}

AcDb::TextHorzMode AcDbText::horizontalMode() const {
    assertReadEnabled();
    return m_horz;
}

Acad::ErrorStatus AcDbText::setHorizontalMode(AcDb::TextHorzMode mode) {
    if (!validHorz(mode))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_horz = mode;
    if (m_horz == AcDb::kTextLeft && m_vert == AcDb::kTextBase)
        m_alignment = m_position;
    relayout();
    return Acad::eOk;
}

AcDb::TextVertMode AcDbText::verticalMode() const {
    assertReadEnabled();
    return m_vert;
}

Acad::ErrorStatus AcDbText::setVerticalMode(AcDb::TextVertMode mode) {
    if (!validVert(mode))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_vert = mode;
    if (m_horz == AcDb::kTextLeft && m_vert == AcDb::kTextBase)
        m_alignment = m_position;
    relayout();
    return Acad::eOk;
}

double AcDbText::height() const {
    assertReadEnabled();
    return m_height;
}

Acad::ErrorStatus AcDbText::setHeight(double height) {
    if (!std::isfinite(height) || height < 0.0)
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_height = height;
    relayout();
    return Acad::eOk;
}

double AcDbText::rotation() const {
    assertReadEnabled();
    return m_rotation;
}

Acad::ErrorStatus AcDbText::setRotation(double rotation) {
    if (!std::isfinite(rotation))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_rotation = ge::normalizeAngle(rotation);
    relayout();
    return Acad::eOk;
}

double AcDbText::widthFactor() const {
    assertReadEnabled();
    return m_widthFactor;
}

Acad::ErrorStatus AcDbText::setWidthFactor(double factor) {
    if (!std::isfinite(factor) || !(factor > 0.0))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_widthFactor = factor;
    relayout();
    return Acad::eOk;
}

double AcDbText::oblique() const {
    assertReadEnabled();
    return m_oblique;
}

Acad::ErrorStatus AcDbText::setOblique(double angle) {
    // Beyond 85 degrees either way the slant would lay the text flat.
    if (!std::isfinite(angle) || std::fabs(angle) > 85.0 * ge::kPi / 180.0)
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_oblique = angle;
    return Acad::eOk;
}

AcGeVector3d AcDbText::normal() const {
    assertReadEnabled();
    return m_normal;
}

Acad::ErrorStatus AcDbText::setNormal(const AcGeVector3d& normal) {
    const Acad::ErrorStatus es = svent::setUnitNormal(this, m_normal, normal);
    if (es == Acad::eOk)
        relayout();
    return es;
}

AcDbObjectId AcDbText::textStyle() const {
    assertReadEnabled();
    return m_style;
}

Acad::ErrorStatus AcDbText::setTextStyle(AcDbObjectId style) {
    assertWriteEnabled();
    m_style = style;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::adjustAlignment(const AcDbDatabase*) {
    assertWriteEnabled();
    relayout();
    return Acad::eOk;
}

void AcDbText::worldDraw(AcGiWorldDraw* mode) const {
    assertReadEnabled();
    AcGiText text;
    text.content = m_text;
    text.position = m_position;
    text.direction = SvTextLayout::direction(*this);
    text.normal = m_normal;
    text.height = SvTextLayout::effectiveHeight(*this);
    text.length = SvTextLayout::width(*this);
    text.style = m_style;
    mode->geometry().text(text);
}

Acad::ErrorStatus AcDbText::getGeomExtents(AcDbExtents& extents) const {
    assertReadEnabled();
    if (m_text.empty())
        return Acad::eInvalidExtents;
    const AcGeVector3d along = SvTextLayout::direction(*this) * SvTextLayout::width(*this);
    const AcGeVector3d up = SvTextLayout::up(*this) * SvTextLayout::effectiveHeight(*this);
    extents.addPoint(m_position);
    extents.addPoint(m_position + along);
    extents.addPoint(m_position + up);
    extents.addPoint(m_position + along + up);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::transformBy(const AcGeMatrix3d& xform) {
    if (!svent::isInvertible(xform))
        return Acad::eNotApplicable;
    assertWriteEnabled();
    const AcGeVector3d normal = svent::transformNormal(xform, m_normal);
    const AcGeVector3d direction = xform * SvTextLayout::direction(*this);
    AcGeVector3d up = xform * SvTextLayout::up(*this);
    AcGeVector3d unitDirection;
    if (!svent::unitVector(direction, unitDirection))
        return Acad::eNotApplicable;
    up -= unitDirection * up.dotProduct(unitDirection);
    const double heightScale = up.length();
    const double widthScale = direction.length();
    AcGePoint3d position = xform * m_position;
    AcGePoint3d alignment = xform * m_alignment;
    double rotation = svent::angleInPlane(direction, normal);
    if (xform.isMirroring()) {
        // Readable, not back to front: the text runs the other way along its mirrored line.
        rotation = ge::normalizeAngle(rotation + ge::kPi);
        m_oblique = -m_oblique;
        if (m_horz == AcDb::kTextAlign || m_horz == AcDb::kTextFit)
            std::swap(position, alignment);
    }
    m_normal = normal;
    m_rotation = rotation;
    // A text of the default height gets a height of its own once it is scaled.
    m_height = (m_height > 0.0 || std::fabs(heightScale - 1.0) > 1e-12)
                   ? SvTextLayout::effectiveHeight(*this) * heightScale
                   : 0.0;
    m_widthFactor *= widthScale / heightScale;
    m_position = position;
    m_alignment = alignment;
    relayout();
    return Acad::eOk;
}

void AcDbText::listText() const {
    svent::listQuoted(L"text:", m_text.c_str());
    svent::listPoint(L"start point:", m_position);
    if (!(m_horz == AcDb::kTextLeft && m_vert == AcDb::kTextBase))
        svent::listPoint(L"alignment point:", m_alignment);
    svent::listLine(L"justification:",
                    m_horz == AcDb::kTextLeft || m_horz == AcDb::kTextCenter ||
                            m_horz == AcDb::kTextRight
                        ? std::wstring(horzName(m_horz)) + L" " + vertName(m_vert)
                        : std::wstring(horzName(m_horz)));
    svent::listNumber(L"height:", m_height);
    svent::listAngle(L"rotation angle:", m_rotation);
    svent::listNumber(L"width factor:", m_widthFactor);
    if (m_oblique != 0.0)
        svent::listAngle(L"obliquing angle:", m_oblique);
    if (m_normal != AcGeVector3d::kZAxis)
        svent::listVector(L"extrusion:", m_normal);
}

void AcDbText::list() const {
    AcDbEntity::list();
    listText();
}

Acad::ErrorStatus AcDbText::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = AcDbEntity::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    svent::writeVersion(filer, kVersion);
    filer->writeString(m_text.c_str());
    svent::writePoint(filer, m_position);
    svent::writePoint(filer, m_alignment);
    svent::writeVector(filer, m_normal);
    filer->writeDouble(m_height);
    filer->writeDouble(m_rotation);
    filer->writeDouble(m_widthFactor);
    filer->writeDouble(m_oblique);
    filer->writeInt16(static_cast<Adesk::Int16>(m_horz));
    filer->writeInt16(static_cast<Adesk::Int16>(m_vert));
    filer->writeHardPointerId(m_style);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbText::dwgInFields(AcDbDwgFiler* filer) {
    Acad::ErrorStatus es = AcDbEntity::dwgInFields(filer);
    if (es == Acad::eOk)
        es = svent::readVersion(filer, kVersion);
    if (es != Acad::eOk)
        return es;
    std::wstring text = svent::readText(filer);
    const AcGePoint3d position = svent::readPoint3d(filer);
    const AcGePoint3d alignment = svent::readPoint3d(filer);
    const AcGeVector3d normal = svent::readNormal(filer);
    const double height = svent::readReal(filer);
    const double rotation = svent::readReal(filer);
    const double widthFactor = svent::readReal(filer);
    const double oblique = svent::readReal(filer);
    Adesk::Int16 horz = 0;
    Adesk::Int16 vert = 0;
    filer->readInt16(&horz);
    filer->readInt16(&vert);
    AcDbObjectId style;
    filer->readHardPointerId(&style);
    svent::require(filer, height >= 0.0 && widthFactor > 0.0 && validHorz(horz) &&
                              validVert(vert) && std::fabs(oblique) < ge::kPi / 2.0);
    if (filer->filerStatus() != Acad::eOk)
        return filer->filerStatus();
    m_text = std::move(text);
    m_position = position;
    m_alignment = alignment;
    m_normal = normal;
    m_height = height;
    m_rotation = ge::normalizeAngle(rotation);
    m_widthFactor = widthFactor;
    m_oblique = oblique;
    m_horz = static_cast<AcDb::TextHorzMode>(horz);
    m_vert = static_cast<AcDb::TextVertMode>(vert);
    m_style = style;
    return Acad::eOk;
}
