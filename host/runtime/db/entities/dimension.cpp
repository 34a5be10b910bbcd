#include "db/dimension.h"

#include <cmath>
#include <cwchar>

#include "common.h"
#include "db/acutbuffer.h"
#include "db/extents.h"
#include "db/rtos.h"
#include "db/worlddraw.h"
#include "ge/curve_math.h"

namespace {

constexpr Adesk::Int16 kVersion = 1;

// The direction of a linear dimension's line: along `span` in the plane, or the plane's x axis
// when the two points coincide.
AcGeVector3d inPlaneDirection(const AcGeVector3d& span, const AcGeVector3d& normal) {
    AcGeVector3d flat = span - normal * span.dotProduct(normal);
    AcGeVector3d unit;
    return svent::unitVector(flat, unit) ? unit : svent::directionInPlane(0.0, normal);
}

// The middle of the two extension points' feet on the dimension line through `dimLine`.
AcGePoint3d middleOnLine(const AcGePoint3d& x1, const AcGePoint3d& x2, const AcGePoint3d& dimLine,
                         const AcGeVector3d& direction) {
    const double a = (x1 - dimLine).dotProduct(direction);
    const double b = (x2 - dimLine).dotProduct(direction);
    return dimLine + direction * ((a + b) / 2.0);
}

void addLinearExtents(AcDbExtents& extents, const AcGePoint3d& x1, const AcGePoint3d& x2,
                      const AcGePoint3d& dimLine, const AcGeVector3d& direction) {
    extents.addPoint(x1);
    extents.addPoint(x2);
    extents.addPoint(dimLine + direction * (x1 - dimLine).dotProduct(direction));
    extents.addPoint(dimLine + direction * (x2 - dimLine).dotProduct(direction));
}

// Ticks and text are sized on the sheet: drawn through a scaled view or insertion they keep
// their size, as there is no dimension style to scale them by.
constexpr double kTickSize = 0.09;
constexpr double kTextHeight = 0.18;

// Extension lines, the dimension line with ticks, and the text along it, kept readable.
void drawLinear(AcGiWorldDraw* mode, const AcDbDimension& dimension, const AcGePoint3d& x1,
                const AcGePoint3d& x2, const AcGePoint3d& dimLine, const AcGeVector3d& along) {
    AcGiGeometry& geometry = mode->geometry();
    const AcGeVector3d normal = dimension.normal();
    const AcGePoint3d foot1 = dimLine + along * (x1 - dimLine).dotProduct(along);
    const AcGePoint3d foot2 = dimLine + along * (x2 - dimLine).dotProduct(along);
    geometry.line(x1, foot1);
    geometry.line(x2, foot2);
    geometry.line(foot1, foot2);
    const AcGeVector3d shown = geometry.modelToWorldTransform() * along;
    const double scale = shown.length() > 0.0 ? shown.length() : 1.0;
    const AcGeVector3d tick = (along + normal.crossProduct(along)) * (kTickSize / scale);
    geometry.line(foot1 - tick, foot1 + tick);
    geometry.line(foot2 - tick, foot2 + tick);
    const double angle = std::atan2(shown.y, shown.x);
    AcGiText text;
    text.direction = angle > ge::kPi / 2 + 1e-9 || angle < -ge::kPi / 2 + 1e-9 ? -along : along;
    text.normal = normal;
    text.height = kTextHeight / scale;
    text.position =
        dimension.textPosition() + normal.crossProduct(text.direction) * (text.height * 0.3);
    text.anchor = kAcGiTextMiddle;
    wchar_t* content = dimension.formattedText();
    text.content = content != nullptr ? content : L"";
    acutDelBuffer(content);
    geometry.text(text);
}

} // namespace

AcDbDimension::AcDbDimension() = default;
AcDbDimension::~AcDbDimension() = default;

wchar_t* AcDbDimension::dimensionText() const {
    assertReadEnabled();
    return acutNewString(m_text.c_str());
}

Acad::ErrorStatus AcDbDimension::setDimensionText(const wchar_t* text) {
    assertWriteEnabled();
    m_text = text != nullptr ? text : L"";
    return Acad::eOk;
}

wchar_t* AcDbDimension::formattedText() const {
    assertReadEnabled();
    double value = 0.0;
    wchar_t buffer[kSvRToSMaxChars] = {};
    if (measurement(value) == Acad::eOk)
        acdbRToS(value, -1, -1, buffer);
    if (m_text.empty())
        return acutNewString(buffer);
    std::wstring shown = m_text;
    for (std::size_t at = shown.find(L"<>"); at != std::wstring::npos;
         at = shown.find(L"<>", at + wcslen(buffer))) {
        shown.replace(at, 2, buffer);
    }
    return acutNewString(shown.c_str());
}

Acad::ErrorStatus AcDbDimension::measurement(double&) const {
    assertReadEnabled();
    return Acad::eNotApplicable;
}

AcGePoint3d AcDbDimension::textPosition() const {
    assertReadEnabled();
    return m_userTextPosition ? m_textPosition : defaultTextPosition();
}

Acad::ErrorStatus AcDbDimension::setTextPosition(const AcGePoint3d& position) {
    if (!svent::isFinite(position))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_textPosition = position;
    m_userTextPosition = true;
    return Acad::eOk;
}

Adesk::Boolean AcDbDimension::isUsingDefaultTextPosition() const {
    assertReadEnabled();
    return !m_userTextPosition;
}

Acad::ErrorStatus AcDbDimension::useDefaultTextPosition() {
    assertWriteEnabled();
    m_userTextPosition = false;
    return Acad::eOk;
}

AcGeVector3d AcDbDimension::normal() const {
    assertReadEnabled();
    return m_normal;
}

Acad::ErrorStatus AcDbDimension::setNormal(const AcGeVector3d& normal) {
    return svent::setUnitNormal(this, m_normal, normal);
}

AcDbObjectId AcDbDimension::dimensionStyle() const {
    assertReadEnabled();
    return m_style;
}

Acad::ErrorStatus AcDbDimension::setDimensionStyle(AcDbObjectId style) {
    assertWriteEnabled();
    m_style = style;
    return Acad::eOk;
}

AcGePoint3d AcDbDimension::defaultTextPosition() const {
    return m_textPosition;
}

Acad::ErrorStatus AcDbDimension::transformBy(const AcGeMatrix3d& xform) {
    if (!svent::isInvertible(xform))
        return Acad::eNotApplicable;
    assertWriteEnabled();
    m_normal = svent::transformNormal(xform, m_normal);
    m_textPosition = xform * m_textPosition;
    return Acad::eOk;
}

void AcDbDimension::list() const {
    AcDbEntity::list();
    double value = 0.0;
    if (measurement(value) == Acad::eOk)
        svent::listNumber(L"measurement:", value);
    svent::listQuoted(L"text override:", m_text.c_str());
    wchar_t* shown = formattedText();
    svent::listQuoted(L"text shown:", shown);
    acutDelBuffer(shown);
    svent::listPoint(L"text position:", textPosition());
    if (m_normal != AcGeVector3d::kZAxis)
        svent::listVector(L"extrusion:", m_normal);
}

Acad::ErrorStatus AcDbDimension::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = AcDbEntity::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    svent::writeVersion(filer, kVersion);
    filer->writeString(m_text.c_str());
    svent::writePoint(filer, m_textPosition);
    filer->writeBoolean(m_userTextPosition);
    svent::writeVector(filer, m_normal);
    filer->writeHardPointerId(m_style);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbDimension::dwgInFields(AcDbDwgFiler* filer) {
    Acad::ErrorStatus es = AcDbEntity::dwgInFields(filer);
    if (es == Acad::eOk)
        es = svent::readVersion(filer, kVersion);
    if (es != Acad::eOk)
        return es;
    std::wstring text = svent::readText(filer);
    const AcGePoint3d textPosition = svent::readPoint3d(filer);
    Adesk::Boolean user = false;
    filer->readBoolean(&user);
    const AcGeVector3d normal = svent::readNormal(filer);
    AcDbObjectId style;
    filer->readHardPointerId(&style);
    if (filer->filerStatus() != Acad::eOk)
        return filer->filerStatus();
    m_text = std::move(text);
    m_textPosition = textPosition;
    m_userTextPosition = user;
    m_normal = normal;
    m_style = style;
    return Acad::eOk;
}

// ---------------------------------------------------------------------------------------------

AcDbRotatedDimension::AcDbRotatedDimension() = default;

AcDbRotatedDimension::AcDbRotatedDimension(double rotation, const AcGePoint3d& xLine1Point,
                                           const AcGePoint3d& xLine2Point,
                                           const AcGePoint3d& dimLinePoint, const wchar_t* dimText,
                                           AcDbObjectId dimStyle) {
    if (std::isfinite(rotation))
        m_rotation = ge::normalizeAngle(rotation);
    if (svent::isFinite(xLine1Point) && svent::isFinite(xLine2Point) &&
        svent::isFinite(dimLinePoint)) {
        m_xLine1 = xLine1Point;
        m_xLine2 = xLine2Point;
        m_dimLine = dimLinePoint;
    }
    setDimensionText(dimText);
    setDimensionStyle(dimStyle);
}

AcDbRotatedDimension::~AcDbRotatedDimension() = default;

AcGePoint3d AcDbRotatedDimension::xLine1Point() const {
    assertReadEnabled();
    return m_xLine1;
}

Acad::ErrorStatus AcDbRotatedDimension::setXLine1Point(const AcGePoint3d& point) {
    if (!svent::isFinite(point))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_xLine1 = point;
    return Acad::eOk;
}

AcGePoint3d AcDbRotatedDimension::xLine2Point() const {
    assertReadEnabled();
    return m_xLine2;
}

Acad::ErrorStatus AcDbRotatedDimension::setXLine2Point(const AcGePoint3d& point) {
    if (!svent::isFinite(point))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_xLine2 = point;
    return Acad::eOk;
}

AcGePoint3d AcDbRotatedDimension::dimLinePoint() const {
    assertReadEnabled();
    return m_dimLine;
}

Acad::ErrorStatus AcDbRotatedDimension::setDimLinePoint(const AcGePoint3d& point) {
    if (!svent::isFinite(point))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_dimLine = point;
    return Acad::eOk;
}

double AcDbRotatedDimension::rotation() const {
    assertReadEnabled();
    return m_rotation;
}

Acad::ErrorStatus AcDbRotatedDimension::setRotation(double rotation) {
    if (!std::isfinite(rotation))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_rotation = ge::normalizeAngle(rotation);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbRotatedDimension::measurement(double& value) const {
    assertReadEnabled();
    value =
        std::fabs((m_xLine2 - m_xLine1).dotProduct(svent::directionInPlane(m_rotation, normal())));
    return Acad::eOk;
}

AcGePoint3d AcDbRotatedDimension::defaultTextPosition() const {
    return middleOnLine(m_xLine1, m_xLine2, m_dimLine,
                        svent::directionInPlane(m_rotation, normal()));
}

void AcDbRotatedDimension::worldDraw(AcGiWorldDraw* mode) const {
    assertReadEnabled();
    drawLinear(mode, *this, m_xLine1, m_xLine2, m_dimLine,
               svent::directionInPlane(m_rotation, normal()));
}

Acad::ErrorStatus AcDbRotatedDimension::getGeomExtents(AcDbExtents& extents) const {
    assertReadEnabled();
    addLinearExtents(extents, m_xLine1, m_xLine2, m_dimLine,
                     svent::directionInPlane(m_rotation, normal()));
    extents.addPoint(textPosition());
    return Acad::eOk;
}

Acad::ErrorStatus AcDbRotatedDimension::transformBy(const AcGeMatrix3d& xform) {
    if (!svent::isInvertible(xform))
        return Acad::eNotApplicable;
    const AcGeVector3d direction = xform * svent::directionInPlane(m_rotation, normal());
    const Acad::ErrorStatus es = AcDbDimension::transformBy(xform);
    if (es != Acad::eOk)
        return es;
    m_rotation = svent::angleInPlane(direction, normal());
    m_xLine1 = xform * m_xLine1;
    m_xLine2 = xform * m_xLine2;
    m_dimLine = xform * m_dimLine;
    return Acad::eOk;
}

void AcDbRotatedDimension::list() const {
    AcDbDimension::list();
    svent::listPoint(L"first point:", m_xLine1);
    svent::listPoint(L"second point:", m_xLine2);
    svent::listPoint(L"dim line point:", m_dimLine);
    svent::listAngle(L"rotation:", m_rotation);
}

Acad::ErrorStatus AcDbRotatedDimension::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = AcDbDimension::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    svent::writeVersion(filer, kVersion);
    svent::writePoint(filer, m_xLine1);
    svent::writePoint(filer, m_xLine2);
    svent::writePoint(filer, m_dimLine);
    filer->writeDouble(m_rotation);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbRotatedDimension::dwgInFields(AcDbDwgFiler* filer) {
    Acad::ErrorStatus es = AcDbDimension::dwgInFields(filer);
    if (es == Acad::eOk)
        es = svent::readVersion(filer, kVersion);
    if (es != Acad::eOk)
        return es;
    const AcGePoint3d x1 = svent::readPoint3d(filer);
    const AcGePoint3d x2 = svent::readPoint3d(filer);
    const AcGePoint3d dimLine = svent::readPoint3d(filer);
    const double rotation = svent::readReal(filer);
    if (filer->filerStatus() != Acad::eOk)
        return filer->filerStatus();
    m_xLine1 = x1;
    m_xLine2 = x2;
    m_dimLine = dimLine;
    m_rotation = ge::normalizeAngle(rotation);
    return Acad::eOk;
}

// ---------------------------------------------------------------------------------------------

AcDbAlignedDimension::AcDbAlignedDimension() = default;

AcDbAlignedDimension::AcDbAlignedDimension(const AcGePoint3d& xLine1Point,
                                           const AcGePoint3d& xLine2Point,
                                           const AcGePoint3d& dimLinePoint, const wchar_t* dimText,
                                           AcDbObjectId dimStyle) {
    if (svent::isFinite(xLine1Point) && svent::isFinite(xLine2Point) &&
        svent::isFinite(dimLinePoint)) {
        m_xLine1 = xLine1Point;
        m_xLine2 = xLine2Point;
        m_dimLine = dimLinePoint;
    }
    setDimensionText(dimText);
    setDimensionStyle(dimStyle);
}

AcDbAlignedDimension::~AcDbAlignedDimension() = default;

AcGePoint3d AcDbAlignedDimension::xLine1Point() const {
    assertReadEnabled();
    return m_xLine1;
}

Acad::ErrorStatus AcDbAlignedDimension::setXLine1Point(const AcGePoint3d& point) {
    if (!svent::isFinite(point))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_xLine1 = point;
    return Acad::eOk;
}

AcGePoint3d AcDbAlignedDimension::xLine2Point() const {
    assertReadEnabled();
    return m_xLine2;
}

Acad::ErrorStatus AcDbAlignedDimension::setXLine2Point(const AcGePoint3d& point) {
    if (!svent::isFinite(point))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_xLine2 = point;
    return Acad::eOk;
}

AcGePoint3d AcDbAlignedDimension::dimLinePoint() const {
    assertReadEnabled();
    return m_dimLine;
}

Acad::ErrorStatus AcDbAlignedDimension::setDimLinePoint(const AcGePoint3d& point) {
    if (!svent::isFinite(point))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_dimLine = point;
    return Acad::eOk;
}

double AcDbAlignedDimension::oblique() const {
    assertReadEnabled();
    return m_oblique;
}

Acad::ErrorStatus AcDbAlignedDimension::setOblique(double angle) {
    // At a right angle the extension lines would lie along the dimension line.
    if (!std::isfinite(angle) || std::fabs(angle) >= ge::kPi / 2.0)
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_oblique = angle;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbAlignedDimension::measurement(double& value) const {
    assertReadEnabled();
    const AcGeVector3d span = m_xLine2 - m_xLine1;
    value = (span - normal() * span.dotProduct(normal())).length();
    return Acad::eOk;
}

AcGePoint3d AcDbAlignedDimension::defaultTextPosition() const {
    return middleOnLine(m_xLine1, m_xLine2, m_dimLine,
                        inPlaneDirection(m_xLine2 - m_xLine1, normal()));
}

void AcDbAlignedDimension::worldDraw(AcGiWorldDraw* mode) const {
    assertReadEnabled();
    drawLinear(mode, *this, m_xLine1, m_xLine2, m_dimLine,
               inPlaneDirection(m_xLine2 - m_xLine1, normal()));
}

Acad::ErrorStatus AcDbAlignedDimension::getGeomExtents(AcDbExtents& extents) const {
    assertReadEnabled();
    addLinearExtents(extents, m_xLine1, m_xLine2, m_dimLine,
                     inPlaneDirection(m_xLine2 - m_xLine1, normal()));
    extents.addPoint(textPosition());
    return Acad::eOk;
}

Acad::ErrorStatus AcDbAlignedDimension::transformBy(const AcGeMatrix3d& xform) {
    const Acad::ErrorStatus es = AcDbDimension::transformBy(xform);
    if (es != Acad::eOk)
        return es;
    m_xLine1 = xform * m_xLine1;
    m_xLine2 = xform * m_xLine2;
    m_dimLine = xform * m_dimLine;
    if (xform.isMirroring())
        m_oblique = -m_oblique;
    return Acad::eOk;
}

void AcDbAlignedDimension::list() const {
    AcDbDimension::list();
    svent::listPoint(L"first point:", m_xLine1);
    svent::listPoint(L"second point:", m_xLine2);
    svent::listPoint(L"dim line point:", m_dimLine);
    if (m_oblique != 0.0)
        svent::listAngle(L"oblique:", m_oblique);
}

Acad::ErrorStatus AcDbAlignedDimension::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = AcDbDimension::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    svent::writeVersion(filer, kVersion);
    svent::writePoint(filer, m_xLine1);
    svent::writePoint(filer, m_xLine2);
    svent::writePoint(filer, m_dimLine);
    filer->writeDouble(m_oblique);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbAlignedDimension::dwgInFields(AcDbDwgFiler* filer) {
    Acad::ErrorStatus es = AcDbDimension::dwgInFields(filer);
    if (es == Acad::eOk)
        es = svent::readVersion(filer, kVersion);
    if (es != Acad::eOk)
        return es;
    const AcGePoint3d x1 = svent::readPoint3d(filer);
    const AcGePoint3d x2 = svent::readPoint3d(filer);
    const AcGePoint3d dimLine = svent::readPoint3d(filer);
    const double oblique = svent::readReal(filer);
    if (svent::require(filer, std::fabs(oblique) < ge::kPi / 2.0) != Acad::eOk)
        return filer->filerStatus();
    m_xLine1 = x1;
    m_xLine2 = x2;
    m_dimLine = dimLine;
    m_oblique = oblique;
    return Acad::eOk;
}
