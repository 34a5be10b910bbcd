#include "db/circle.h"

#include <cmath>

#include "common.h"
#include "db/worlddraw.h"
#include "ge/curve_math.h"

namespace {

constexpr Adesk::Int16 kVersion = 1;

bool validRadius(double radius) {
    return std::isfinite(radius) && radius > 0.0;
}

} // namespace

AcDbCircle::AcDbCircle() = default;

AcDbCircle::AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius) {
    AcGeVector3d unit;
    if (svent::isFinite(center) && svent::unitVector(normal, unit) && validRadius(radius)) {
        m_center = center;
        m_normal = unit;
        m_radius = radius;
    }
}

AcDbCircle::~AcDbCircle() = default;

AcGePoint3d AcDbCircle::center() const {
    assertReadEnabled();
    return m_center;
}

Acad::ErrorStatus AcDbCircle::setCenter(const AcGePoint3d& center) {
    if (!svent::isFinite(center))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_center = center;
    return Acad::eOk;
}

double AcDbCircle::radius() const {
    assertReadEnabled();
    return m_radius;
}

Acad::ErrorStatus AcDbCircle::setRadius(double radius) {
    if (!validRadius(radius))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_radius = radius;
    return Acad::eOk;
}

AcGeVector3d AcDbCircle::normal() const {
    assertReadEnabled();
    return m_normal;
}

Acad::ErrorStatus AcDbCircle::setNormal(const AcGeVector3d& normal) {
    return svent::setUnitNormal(this, m_normal, normal);
}

double AcDbCircle::thickness() const {
    assertReadEnabled();
    return m_thickness;
}

Acad::ErrorStatus AcDbCircle::setThickness(double thickness) {
    if (!std::isfinite(thickness))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_thickness = thickness;
    return Acad::eOk;
}

double AcDbCircle::circumference() const {
    assertReadEnabled();
    return ge::kTwoPi * m_radius;
}

Acad::ErrorStatus AcDbCircle::setCircumference(double circumference) {
    return setRadius(circumference / ge::kTwoPi);
}

Adesk::Boolean AcDbCircle::isClosed() const {
    assertReadEnabled();
    return true;
}

Adesk::Boolean AcDbCircle::isPeriodic() const {
    assertReadEnabled();
    return true;
}

Acad::ErrorStatus AcDbCircle::getStartParam(double& param) const {
    assertReadEnabled();
    return ge::CircleCurve{m_center, m_normal, m_radius}.getStartParam(param);
}

Acad::ErrorStatus AcDbCircle::getEndParam(double& param) const {
    assertReadEnabled();
    return ge::CircleCurve{m_center, m_normal, m_radius}.getEndParam(param);
}

Acad::ErrorStatus AcDbCircle::getStartPoint(AcGePoint3d& point) const {
    return getPointAtParam(0.0, point);
}

Acad::ErrorStatus AcDbCircle::getEndPoint(AcGePoint3d& point) const {
    return getPointAtParam(0.0, point);
}

Acad::ErrorStatus AcDbCircle::getPointAtParam(double param, AcGePoint3d& point) const {
    assertReadEnabled();
    return ge::CircleCurve{m_center, m_normal, m_radius}.getPointAtParam(param, point);
}

Acad::ErrorStatus AcDbCircle::getDistAtParam(double param, double& dist) const {
    assertReadEnabled();
    return ge::CircleCurve{m_center, m_normal, m_radius}.getDistAtParam(param, dist);
}

Acad::ErrorStatus AcDbCircle::getParamAtDist(double dist, double& param) const {
    assertReadEnabled();
    return ge::CircleCurve{m_center, m_normal, m_radius}.getParamAtDist(dist, param);
}

Acad::ErrorStatus AcDbCircle::getArea(double& area) const {
    assertReadEnabled();
    return ge::CircleCurve{m_center, m_normal, m_radius}.getArea(area);
}

Acad::ErrorStatus AcDbCircle::getClosestPointTo(const AcGePoint3d& givenPoint,
                                                AcGePoint3d& pointOnCurve, Adesk::Boolean) const {
    assertReadEnabled();
    if (!svent::isFinite(givenPoint))
        return Acad::eInvalidInput;
    AcGeVector3d radial = givenPoint - m_center;
    radial -= m_normal * radial.dotProduct(m_normal);
    AcGeVector3d unit;
    if (!svent::unitVector(radial, unit))
        return getPointAtParam(0.0, pointOnCurve); // every point is as near
    pointOnCurve = m_center + unit * m_radius;
    return Acad::eOk;
}

void AcDbCircle::worldDraw(AcGiWorldDraw* mode) const {
    assertReadEnabled();
    mode->geometry().circle(m_center, m_radius, m_normal);
}

Acad::ErrorStatus AcDbCircle::transformBy(const AcGeMatrix3d& xform) {
    if (!svent::isUniform(xform))
        return Acad::eNotApplicable;
    assertWriteEnabled();
    const AcGeVector3d normal = svent::transformNormal(xform, m_normal);
    m_thickness *= (xform * m_normal).dotProduct(normal);
    m_center = xform * m_center;
    m_radius *= xform.scale();
    m_normal = normal;
    return Acad::eOk;
}

void AcDbCircle::list() const {
    AcDbEntity::list();
    svent::listPoint(L"center point:", m_center);
    svent::listNumber(L"radius:", m_radius);
    svent::listNumber(L"circumference:", ge::kTwoPi * m_radius);
    svent::listNumber(L"area:", ge::kPi * m_radius * m_radius);
    if (m_thickness != 0.0)
        svent::listNumber(L"thickness:", m_thickness);
    if (m_normal != AcGeVector3d::kZAxis)
        svent::listVector(L"extrusion:", m_normal);
}

Acad::ErrorStatus AcDbCircle::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = AcDbCurve::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    svent::writeVersion(filer, kVersion);
    svent::writePoint(filer, m_center);
    svent::writeVector(filer, m_normal);
    filer->writeDouble(m_radius);
    filer->writeDouble(m_thickness);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbCircle::dwgInFields(AcDbDwgFiler* filer) {
    Acad::ErrorStatus es = AcDbCurve::dwgInFields(filer);
    if (es == Acad::eOk)
        es = svent::readVersion(filer, kVersion);
    if (es != Acad::eOk)
        return es;
    const AcGePoint3d center = svent::readPoint3d(filer);
    const AcGeVector3d normal = svent::readNormal(filer);
    const double radius = svent::readReal(filer);
    const double thickness = svent::readReal(filer);
    if (svent::require(filer, validRadius(radius)) != Acad::eOk)
        return filer->filerStatus();
    m_center = center;
    m_normal = normal;
    m_radius = radius;
    m_thickness = thickness;
    return Acad::eOk;
}
