#include "db/arc.h"

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

AcDbArc::AcDbArc() = default;

AcDbArc::AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle)
    : AcDbArc(center, AcGeVector3d::kZAxis, radius, startAngle, endAngle) {}

AcDbArc::AcDbArc(const AcGePoint3d& center, const AcGeVector3d& normal, double radius,
                 double startAngle, double endAngle) {
    AcGeVector3d unit;
    if (svent::isFinite(center) && svent::unitVector(normal, unit) && validRadius(radius) &&
        std::isfinite(startAngle) && std::isfinite(endAngle)) {
        m_center = center;
        m_normal = unit;
        m_radius = radius;
        m_startAngle = ge::normalizeAngle(startAngle);
        m_endAngle = ge::normalizeAngle(endAngle);
    }
}

AcDbArc::~AcDbArc() = default;

ge::ArcCurve AcDbArc::math() const {
    return ge::ArcCurve{m_center, m_normal, m_radius, m_startAngle, m_endAngle};
}

AcGePoint3d AcDbArc::center() const {
    assertReadEnabled();
    return m_center;
}

Acad::ErrorStatus AcDbArc::setCenter(const AcGePoint3d& center) {
    if (!svent::isFinite(center))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_center = center;
    return Acad::eOk;
}

double AcDbArc::radius() const {
    assertReadEnabled();
    return m_radius;
}

Acad::ErrorStatus AcDbArc::setRadius(double radius) {
    if (!validRadius(radius))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_radius = radius;
    return Acad::eOk;
}

double AcDbArc::startAngle() const {
    assertReadEnabled();
    return m_startAngle;
}

Acad::ErrorStatus AcDbArc::setStartAngle(double angle) {
    if (!std::isfinite(angle))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_startAngle = ge::normalizeAngle(angle);
    return Acad::eOk;
}

double AcDbArc::endAngle() const {
    assertReadEnabled();
    return m_endAngle;
}

Acad::ErrorStatus AcDbArc::setEndAngle(double angle) {
    if (!std::isfinite(angle))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_endAngle = ge::normalizeAngle(angle);
    return Acad::eOk;
}

double AcDbArc::totalAngle() const {
    assertReadEnabled();
    return math().sweep();
}

double AcDbArc::length() const {
    return totalAngle() * m_radius;
}

AcGeVector3d AcDbArc::normal() const {
    assertReadEnabled();
    return m_normal;
}

Acad::ErrorStatus AcDbArc::setNormal(const AcGeVector3d& normal) {
    return svent::setUnitNormal(this, m_normal, normal);
}

double AcDbArc::thickness() const {
    assertReadEnabled();
    return m_thickness;
}

Acad::ErrorStatus AcDbArc::setThickness(double thickness) {
    if (!std::isfinite(thickness))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_thickness = thickness;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getStartParam(double& param) const {
    assertReadEnabled();
    return math().getStartParam(param);
}

Acad::ErrorStatus AcDbArc::getEndParam(double& param) const {
    assertReadEnabled();
    return math().getEndParam(param);
}

Acad::ErrorStatus AcDbArc::getStartPoint(AcGePoint3d& point) const {
    assertReadEnabled();
    point = m_center + svent::directionInPlane(m_startAngle, m_normal) * m_radius;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getEndPoint(AcGePoint3d& point) const {
    assertReadEnabled();
    point = m_center + svent::directionInPlane(m_endAngle, m_normal) * m_radius;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getPointAtParam(double param, AcGePoint3d& point) const {
    assertReadEnabled();
    return math().getPointAtParam(param, point);
}

Acad::ErrorStatus AcDbArc::getDistAtParam(double param, double& dist) const {
    assertReadEnabled();
    return math().getDistAtParam(param, dist);
}

Acad::ErrorStatus AcDbArc::getParamAtDist(double dist, double& param) const {
    assertReadEnabled();
    return math().getParamAtDist(dist, param);
}

Acad::ErrorStatus AcDbArc::getArea(double& area) const {
    assertReadEnabled();
    return math().getArea(area);
}

Acad::ErrorStatus AcDbArc::getClosestPointTo(const AcGePoint3d& givenPoint,
                                             AcGePoint3d& pointOnCurve,
                                             Adesk::Boolean extend) const {
    assertReadEnabled();
    if (!svent::isFinite(givenPoint))
        return Acad::eInvalidInput;
    AcGeVector3d radial = givenPoint - m_center;
    radial -= m_normal * radial.dotProduct(m_normal);
    const double sweep = math().sweep();
    AcGeVector3d unit;
    if (svent::unitVector(radial, unit)) {
        const double angle = svent::angleInPlane(unit, m_normal);
        if (extend || ge::normalizeAngle(angle - m_startAngle) <= sweep) {
            pointOnCurve = m_center + unit * m_radius;
            return Acad::eOk;
        }
    }
    AcGePoint3d start;
    AcGePoint3d end;
    getStartPoint(start);
    getEndPoint(end);
    pointOnCurve = givenPoint.distanceTo(start) <= givenPoint.distanceTo(end) ? start : end;
    return Acad::eOk;
}

void AcDbArc::worldDraw(AcGiWorldDraw* mode) const {
    assertReadEnabled();
    mode->geometry().circularArc(m_center, m_radius, m_normal,
                                 svent::directionInPlane(m_startAngle, m_normal), math().sweep());
}

Acad::ErrorStatus AcDbArc::transformBy(const AcGeMatrix3d& xform) {
    if (!svent::isUniform(xform))
        return Acad::eNotApplicable;
    assertWriteEnabled();
    AcGePoint3d start;
    AcGePoint3d end;
    getStartPoint(start);
    getEndPoint(end);
    const AcGePoint3d center = xform * m_center;
    const AcGeVector3d normal = svent::transformNormal(xform, m_normal);
    double startAngle = svent::angleInPlane(xform * start - center, normal);
    double endAngle = svent::angleInPlane(xform * end - center, normal);
    // A mirror image runs the other way round: the old end is where it now starts.
    if (xform.isMirroring())
        std::swap(startAngle, endAngle);
    // A full circle keeps its sweep whatever rounding does to the two angles.
    if (m_startAngle == m_endAngle)
        endAngle = startAngle;
    m_thickness *= (xform * m_normal).dotProduct(normal);
    m_center = center;
    m_normal = normal;
    m_radius *= xform.scale();
    m_startAngle = startAngle;
    m_endAngle = endAngle;
    return Acad::eOk;
}

void AcDbArc::list() const {
    AcDbEntity::list();
    svent::listPoint(L"center point:", m_center);
    svent::listNumber(L"radius:", m_radius);
    svent::listAngle(L"start angle:", m_startAngle);
    svent::listAngle(L"end angle:", m_endAngle);
    svent::listAngle(L"total angle:", math().sweep());
    svent::listNumber(L"length:", math().sweep() * m_radius);
    if (m_thickness != 0.0)
        svent::listNumber(L"thickness:", m_thickness);
    if (m_normal != AcGeVector3d::kZAxis)
        svent::listVector(L"extrusion:", m_normal);
}

Acad::ErrorStatus AcDbArc::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = AcDbCurve::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    svent::writeVersion(filer, kVersion);
    svent::writePoint(filer, m_center);
    svent::writeVector(filer, m_normal);
    filer->writeDouble(m_radius);
    filer->writeDouble(m_startAngle);
    filer->writeDouble(m_endAngle);
    filer->writeDouble(m_thickness);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbArc::dwgInFields(AcDbDwgFiler* filer) {
    Acad::ErrorStatus es = AcDbCurve::dwgInFields(filer);
    if (es == Acad::eOk)
        es = svent::readVersion(filer, kVersion);
    if (es != Acad::eOk)
        return es;
    const AcGePoint3d center = svent::readPoint3d(filer);
    const AcGeVector3d normal = svent::readNormal(filer);
    const double radius = svent::readReal(filer);
    const double startAngle = svent::readReal(filer);
    const double endAngle = svent::readReal(filer);
    const double thickness = svent::readReal(filer);
    if (svent::require(filer, validRadius(radius)) != Acad::eOk)
        return filer->filerStatus();
    m_center = center;
    m_normal = normal;
    m_radius = radius;
    m_startAngle = ge::normalizeAngle(startAngle);
    m_endAngle = ge::normalizeAngle(endAngle);
    m_thickness = thickness;
    return Acad::eOk;
}
