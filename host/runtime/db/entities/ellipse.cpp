#include "db/ellipse.h"

#include <cmath>

#include "common.h"
#include "db/worlddraw.h"
#include "ge/curve_math.h"
#include "ge/ellipse_math.h"

namespace {

constexpr Adesk::Int16 kVersion = 1;

bool validRatio(double ratio) {
    return std::isfinite(ratio) && ratio > 0.0 && ratio <= 1.0;
}

// A normal and major axis that make an ellipse: both finite and non-zero, at right angles.
bool validAxes(const AcGeVector3d& normal, const AcGeVector3d& majorAxis) {
    AcGeVector3d unitNormal;
    AcGeVector3d unitMajor;
    return svent::unitVector(normal, unitNormal) && svent::unitVector(majorAxis, unitMajor) &&
           std::fabs(unitNormal.dotProduct(unitMajor)) <= 1e-9;
}

} // namespace

AcDbEllipse::AcDbEllipse() = default;

AcDbEllipse::AcDbEllipse(const AcGePoint3d& center, const AcGeVector3d& unitNormal,
                         const AcGeVector3d& majorAxis, double radiusRatio, double startAngle,
                         double endAngle) {
    set(center, unitNormal, majorAxis, radiusRatio, startAngle, endAngle);
}

AcDbEllipse::~AcDbEllipse() = default;

Acad::ErrorStatus AcDbEllipse::set(const AcGePoint3d& center, const AcGeVector3d& unitNormal,
                                   const AcGeVector3d& majorAxis, double radiusRatio,
                                   double startAngle, double endAngle) {
    if (!svent::isFinite(center) || !validAxes(unitNormal, majorAxis) || !validRatio(radiusRatio) ||
        !std::isfinite(startAngle) || !std::isfinite(endAngle))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_center = center;
    svent::unitVector(unitNormal, m_normal);
    m_majorAxis = majorAxis;
    m_ratio = radiusRatio;
    // A sweep of a whole turn or more is the whole ellipse.
    const bool whole = std::fabs(endAngle - startAngle) >= ge::kTwoPi - 1e-12;
    m_startParam = paramAtAngle(startAngle);
    m_endParam = whole ? m_startParam : paramAtAngle(endAngle);
    return Acad::eOk;
}

AcGePoint3d AcDbEllipse::center() const {
    assertReadEnabled();
    return m_center;
}

Acad::ErrorStatus AcDbEllipse::setCenter(const AcGePoint3d& center) {
    if (!svent::isFinite(center))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_center = center;
    return Acad::eOk;
}

AcGeVector3d AcDbEllipse::normal() const {
    assertReadEnabled();
    return m_normal;
}

AcGeVector3d AcDbEllipse::majorAxis() const {
    assertReadEnabled();
    return m_majorAxis;
}

AcGeVector3d AcDbEllipse::minorAxis() const {
    assertReadEnabled();
    return m_normal.crossProduct(m_majorAxis) * m_ratio;
}

double AcDbEllipse::radiusRatio() const {
    assertReadEnabled();
    return m_ratio;
}

Acad::ErrorStatus AcDbEllipse::setRadiusRatio(double ratio) {
    if (!validRatio(ratio))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_ratio = ratio;
    return Acad::eOk;
}

double AcDbEllipse::startAngle() const {
    return angleAtParam(startParam());
}

Acad::ErrorStatus AcDbEllipse::setStartAngle(double angle) {
    return setStartParam(paramAtAngle(angle));
}

double AcDbEllipse::endAngle() const {
    return angleAtParam(endParam());
}

Acad::ErrorStatus AcDbEllipse::setEndAngle(double angle) {
    return setEndParam(paramAtAngle(angle));
}

double AcDbEllipse::startParam() const {
    assertReadEnabled();
    return m_startParam;
}

Acad::ErrorStatus AcDbEllipse::setStartParam(double param) {
    if (!std::isfinite(param))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_startParam = ge::normalizeAngle(param);
    return Acad::eOk;
}

double AcDbEllipse::endParam() const {
    assertReadEnabled();
    return m_endParam;
}

Acad::ErrorStatus AcDbEllipse::setEndParam(double param) {
    if (!std::isfinite(param))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_endParam = ge::normalizeAngle(param);
    return Acad::eOk;
}

// The point at angle a from the major axis lies at eccentric angle t with
// tan(t) = tan(a) / ratio, in the same quadrant.
double AcDbEllipse::paramAtAngle(double angle) const {
    assertReadEnabled();
    return ge::normalizeAngle(std::atan2(std::sin(angle), m_ratio * std::cos(angle)));
}

double AcDbEllipse::angleAtParam(double param) const {
    assertReadEnabled();
    return ge::normalizeAngle(std::atan2(m_ratio * std::sin(param), std::cos(param)));
}

Adesk::Boolean AcDbEllipse::isClosed() const {
    assertReadEnabled();
    return m_startParam == m_endParam;
}

Adesk::Boolean AcDbEllipse::isPeriodic() const {
    return isClosed();
}

ge::EllipseCurve AcDbEllipse::math() const {
    return ge::EllipseCurve{m_center, m_normal, m_majorAxis, m_ratio, m_startParam, m_endParam};
}

Acad::ErrorStatus AcDbEllipse::getStartParam(double& param) const {
    assertReadEnabled();
    return math().getStartParam(param);
}

Acad::ErrorStatus AcDbEllipse::getEndParam(double& param) const {
    assertReadEnabled();
    return math().getEndParam(param);
}

Acad::ErrorStatus AcDbEllipse::getStartPoint(AcGePoint3d& point) const {
    double param = 0.0;
    const Acad::ErrorStatus es = getStartParam(param);
    return es != Acad::eOk ? es : getPointAtParam(param, point);
}

Acad::ErrorStatus AcDbEllipse::getEndPoint(AcGePoint3d& point) const {
    double param = 0.0;
    const Acad::ErrorStatus es = getEndParam(param);
    return es != Acad::eOk ? es : getPointAtParam(param, point);
}

Acad::ErrorStatus AcDbEllipse::getPointAtParam(double param, AcGePoint3d& point) const {
    assertReadEnabled();
    return math().getPointAtParam(param, point);
}

Acad::ErrorStatus AcDbEllipse::getDistAtParam(double param, double& dist) const {
    assertReadEnabled();
    return math().getDistAtParam(param, dist);
}

Acad::ErrorStatus AcDbEllipse::getParamAtDist(double dist, double& param) const {
    assertReadEnabled();
    return math().getParamAtDist(dist, param);
}

Acad::ErrorStatus AcDbEllipse::getArea(double& area) const {
    assertReadEnabled();
    return math().getArea(area);
}

// Each coordinate of center + cos(t) major + sin(t) minor is extreme where
// tan(t) = minor[k] / major[k].
void AcDbEllipse::worldDraw(AcGiWorldDraw* mode) const {
    assertReadEnabled();
    const ge::EllipseCurve curve = math();
    double start = 0.0, end = 0.0;
    if (curve.getStartParam(start) != Acad::eOk || curve.getEndParam(end) != Acad::eOk)
        return;
    mode->geometry().ellipticalArc(m_center, m_majorAxis,
                                   m_normal.crossProduct(m_majorAxis) * m_ratio, start, end);
}

Acad::ErrorStatus AcDbEllipse::transformBy(const AcGeMatrix3d& xform) {
    if (!svent::isUniform(xform))
        return Acad::eNotApplicable;
    assertWriteEnabled();
    const AcGeVector3d normal = svent::transformNormal(xform, m_normal);
    const AcGeVector3d major = xform * m_majorAxis;
    // The new minor axis is normal x major; mirrored, it points against the image of the old one,
    // so the parameters turn the other way round.
    if (xform.isMirroring()) {
        const double start = ge::normalizeAngle(-m_endParam);
        const double end = ge::normalizeAngle(-m_startParam);
        const bool whole = m_startParam == m_endParam;
        m_startParam = start;
        m_endParam = whole ? start : end;
    }
    m_center = xform * m_center;
    m_normal = normal;
    m_majorAxis = major;
    return Acad::eOk;
}

void AcDbEllipse::list() const {
    AcDbEntity::list();
    svent::listPoint(L"center:", m_center);
    svent::listVector(L"major axis:", m_majorAxis);
    svent::listVector(L"minor axis:", m_normal.crossProduct(m_majorAxis) * m_ratio);
    svent::listNumber(L"radius ratio:", m_ratio);
    if (m_startParam != m_endParam) {
        svent::listAngle(L"start angle:", angleAtParam(m_startParam));
        svent::listAngle(L"end angle:", angleAtParam(m_endParam));
    }
    double length = 0.0;
    if (math().getLength(length) == Acad::eOk)
        svent::listNumber(L"length:", length);
    double area = 0.0;
    if (getArea(area) == Acad::eOk)
        svent::listNumber(L"area:", area);
}

Acad::ErrorStatus AcDbEllipse::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = AcDbCurve::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    svent::writeVersion(filer, kVersion);
    svent::writePoint(filer, m_center);
    svent::writeVector(filer, m_normal);
    svent::writeVector(filer, m_majorAxis);
    filer->writeDouble(m_ratio);
    filer->writeDouble(m_startParam);
    filer->writeDouble(m_endParam);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbEllipse::dwgInFields(AcDbDwgFiler* filer) {
    Acad::ErrorStatus es = AcDbCurve::dwgInFields(filer);
    if (es == Acad::eOk)
        es = svent::readVersion(filer, kVersion);
    if (es != Acad::eOk)
        return es;
    const AcGePoint3d center = svent::readPoint3d(filer);
    const AcGeVector3d normal = svent::readNormal(filer);
    const AcGeVector3d major = svent::readVector(filer);
    const double ratio = svent::readReal(filer);
    const double startParam = svent::readReal(filer);
    const double endParam = svent::readReal(filer);
    if (svent::require(filer, validAxes(normal, major) && validRatio(ratio)) != Acad::eOk)
        return filer->filerStatus();
    m_center = center;
    m_normal = normal;
    m_majorAxis = major;
    m_ratio = ratio;
    m_startParam = ge::normalizeAngle(startParam);
    m_endParam = ge::normalizeAngle(endParam);
    return Acad::eOk;
}
