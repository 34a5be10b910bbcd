#include "db/fcf.h"

#include <cmath>

#include "common.h"
#include "db/acutbuffer.h"
#include "db/extents.h"
#include "db/worlddraw.h"

namespace {

constexpr Adesk::Int16 kVersion = 1;

// A direction made perpendicular to the normal; false when nothing of it is left.
bool orient(const AcGeVector3d& normal, const AcGeVector3d& direction, AcGeVector3d& unitNormal,
            AcGeVector3d& unitDirection) {
    if (!svent::unitVector(normal, unitNormal) || !svent::isFinite(direction))
        return false;
    const AcGeVector3d flat = direction - unitNormal * direction.dotProduct(unitNormal);
    return svent::unitVector(flat, unitDirection) && flat.length() > 1e-9 * direction.length();
}

} // namespace

AcDbFcf::AcDbFcf() = default;

AcDbFcf::AcDbFcf(const wchar_t* text, const AcGePoint3d& location, const AcGeVector3d& normal,
                 const AcGeVector3d& direction) {
    if (text != nullptr)
        m_text = text;
    if (svent::isFinite(location))
        m_location = location;
    AcGeVector3d n;
    AcGeVector3d d;
    if (orient(normal, direction, n, d)) {
        m_normal = n;
        m_direction = d;
    }
}

AcDbFcf::~AcDbFcf() = default;

wchar_t* AcDbFcf::text() const {
    assertReadEnabled();
    return acutNewString(m_text.c_str());
}

Acad::ErrorStatus AcDbFcf::setText(const wchar_t* text) {
    if (text == nullptr)
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_text = text;
    return Acad::eOk;
}

AcGePoint3d AcDbFcf::location() const {
    assertReadEnabled();
    return m_location;
}

Acad::ErrorStatus AcDbFcf::setLocation(const AcGePoint3d& point) {
    if (!svent::isFinite(point))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_location = point;
    return Acad::eOk;
}

AcGeVector3d AcDbFcf::normal() const {
    assertReadEnabled();
    return m_normal;
}

AcGeVector3d AcDbFcf::direction() const {
    assertReadEnabled();
    return m_direction;
}

Acad::ErrorStatus AcDbFcf::setOrientation(const AcGeVector3d& normal,
                                          const AcGeVector3d& direction) {
    AcGeVector3d n;
    AcGeVector3d d;
    if (!orient(normal, direction, n, d))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_normal = n;
    m_direction = d;
    return Acad::eOk;
}

double AcDbFcf::textHeight() const {
    assertReadEnabled();
    return m_textHeight;
}

Acad::ErrorStatus AcDbFcf::setTextHeight(double height) {
    if (!std::isfinite(height) || !(height > 0.0))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_textHeight = height;
    return Acad::eOk;
}

// A frame one text height and a half high, as long as its text in square cells.
void AcDbFcf::worldDraw(AcGiWorldDraw* mode) const {
    assertReadEnabled();
    AcGiText text;
    text.content = m_text;
    text.position = m_location;
    text.direction = m_direction;
    text.normal = m_normal;
    text.height = m_textHeight;
    mode->geometry().text(text);
}

Acad::ErrorStatus AcDbFcf::getGeomExtents(AcDbExtents& extents) const {
    assertReadEnabled();
    const double height = 1.5 * m_textHeight;
    const double width = (static_cast<double>(m_text.size()) + 1.0) * m_textHeight;
    const AcGeVector3d up = m_normal.crossProduct(m_direction);
    extents.addPoint(m_location + up * (height / 2.0));
    extents.addPoint(m_location - up * (height / 2.0));
    extents.addPoint(m_location + m_direction * width + up * (height / 2.0));
    extents.addPoint(m_location + m_direction * width - up * (height / 2.0));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFcf::transformBy(const AcGeMatrix3d& xform) {
    if (!svent::isUniform(xform))
        return Acad::eNotApplicable;
    AcGeVector3d n;
    AcGeVector3d d;
    if (!orient(svent::transformNormal(xform, m_normal), xform * m_direction, n, d))
        return Acad::eNotApplicable;
    assertWriteEnabled();
    m_location = xform * m_location;
    m_normal = n;
    m_direction = d;
    m_textHeight *= xform.scale();
    return Acad::eOk;
}

void AcDbFcf::list() const {
    AcDbEntity::list();
    svent::listPoint(L"location:", m_location);
    svent::listVector(L"direction:", m_direction);
    svent::listNumber(L"text height:", m_textHeight);
    svent::listQuoted(L"text:", m_text.c_str());
}

Acad::ErrorStatus AcDbFcf::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = AcDbEntity::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    svent::writeVersion(filer, kVersion);
    filer->writeString(m_text.c_str());
    svent::writePoint(filer, m_location);
    svent::writeVector(filer, m_normal);
    svent::writeVector(filer, m_direction);
    filer->writeDouble(m_textHeight);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbFcf::dwgInFields(AcDbDwgFiler* filer) {
    Acad::ErrorStatus es = AcDbEntity::dwgInFields(filer);
    if (es == Acad::eOk)
        es = svent::readVersion(filer, kVersion);
    if (es != Acad::eOk)
        return es;
    std::wstring text = svent::readText(filer);
    const AcGePoint3d location = svent::readPoint3d(filer);
    const AcGeVector3d normal = svent::readVector(filer);
    const AcGeVector3d direction = svent::readVector(filer);
    const double height = svent::readReal(filer);
    AcGeVector3d n;
    AcGeVector3d d;
    if (svent::require(filer, orient(normal, direction, n, d) && height > 0.0) != Acad::eOk)
        return filer->filerStatus();
    m_text = std::move(text);
    m_location = location;
    m_normal = n;
    m_direction = d;
    m_textHeight = height;
    return Acad::eOk;
}
