#include "db/line.h"

#include "common.h"
#include "db/extents.h"
#include "db/worlddraw.h"
#include "ge/curve_math.h"

namespace {

constexpr Adesk::Int16 kVersion = 1;

} // namespace

AcDbLine::AcDbLine() = default;

AcDbLine::AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end) {
    if (svent::isFinite(start) && svent::isFinite(end)) {
        m_start = start;
        m_end = end;
    }
}

AcDbLine::~AcDbLine() = default;

AcGePoint3d AcDbLine::startPoint() const {
    assertReadEnabled();
    return m_start;
}

Acad::ErrorStatus AcDbLine::setStartPoint(const AcGePoint3d& point) {
    if (!svent::isFinite(point))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_start = point;
    return Acad::eOk;
}

AcGePoint3d AcDbLine::endPoint() const {
    assertReadEnabled();
    return m_end;
}

Acad::ErrorStatus AcDbLine::setEndPoint(const AcGePoint3d& point) {
    if (!svent::isFinite(point))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_end = point;
    return Acad::eOk;
}

AcGeVector3d AcDbLine::normal() const {
    assertReadEnabled();
    return m_normal;
}

Acad::ErrorStatus AcDbLine::setNormal(const AcGeVector3d& normal) {
    return svent::setUnitNormal(this, m_normal, normal);
}

double AcDbLine::thickness() const {
    assertReadEnabled();
    return m_thickness;
}

Acad::ErrorStatus AcDbLine::setThickness(double thickness) {
    if (!svent::isFinite(thickness))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_thickness = thickness;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getStartParam(double& param) const {
    assertReadEnabled();
    return ge::LineCurve{m_start, m_end}.getStartParam(param);
}

Acad::ErrorStatus AcDbLine::getEndParam(double& param) const {
    assertReadEnabled();
    return ge::LineCurve{m_start, m_end}.getEndParam(param);
}

Acad::ErrorStatus AcDbLine::getStartPoint(AcGePoint3d& point) const {
    assertReadEnabled();
    point = m_start;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getEndPoint(AcGePoint3d& point) const {
    assertReadEnabled();
    point = m_end;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getPointAtParam(double param, AcGePoint3d& point) const {
    assertReadEnabled();
    return ge::LineCurve{m_start, m_end}.getPointAtParam(param, point);
}

Acad::ErrorStatus AcDbLine::getDistAtParam(double param, double& dist) const {
    assertReadEnabled();
    return ge::LineCurve{m_start, m_end}.getDistAtParam(param, dist);
}

Acad::ErrorStatus AcDbLine::getParamAtDist(double dist, double& param) const {
    assertReadEnabled();
    return ge::LineCurve{m_start, m_end}.getParamAtDist(dist, param);
}

Acad::ErrorStatus AcDbLine::getArea(double& area) const {
    assertReadEnabled();
    return ge::LineCurve{m_start, m_end}.getArea(area);
}

Acad::ErrorStatus AcDbLine::getClosestPointTo(const AcGePoint3d& givenPoint,
                                              AcGePoint3d& pointOnCurve,
                                              Adesk::Boolean extend) const {
    assertReadEnabled();
    if (!svent::isFinite(givenPoint))
        return Acad::eInvalidInput;
    const AcGeVector3d along = m_end - m_start;
    const double lengthSqrd = along.lengthSqrd();
    if (lengthSqrd == 0.0) {
        pointOnCurve = m_start;
        return Acad::eOk;
    }
    double t = (givenPoint - m_start).dotProduct(along) / lengthSqrd;
    if (!extend)
        t = t < 0.0 ? 0.0 : (t > 1.0 ? 1.0 : t);
    pointOnCurve = m_start + along * t;
    return Acad::eOk;
}

void AcDbLine::worldDraw(AcGiWorldDraw* mode) const {
    assertReadEnabled();
    mode->geometry().line(m_start, m_end);
}

Acad::ErrorStatus AcDbLine::getGeomExtents(AcDbExtents& extents) const {
    assertReadEnabled();
    extents.addPoint(m_start);
    extents.addPoint(m_end);
    if (m_thickness != 0.0) {
        extents.addPoint(m_start + m_normal * m_thickness);
        extents.addPoint(m_end + m_normal * m_thickness);
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::transformBy(const AcGeMatrix3d& xform) {
    if (!svent::isInvertible(xform))
        return Acad::eNotApplicable;
    assertWriteEnabled();
    const AcGeVector3d normal = svent::transformNormal(xform, m_normal);
    m_thickness *= (xform * m_normal).dotProduct(normal);
    m_start = xform * m_start;
    m_end = xform * m_end;
    m_normal = normal;
    return Acad::eOk;
}

void AcDbLine::list() const {
    AcDbEntity::list();
    svent::listPoint(L"from point:", m_start);
    svent::listPoint(L"to point:", m_end);
    svent::listNumber(L"length:", m_start.distanceTo(m_end));
    if (m_thickness != 0.0)
        svent::listNumber(L"thickness:", m_thickness);
    if (m_normal != AcGeVector3d::kZAxis)
        svent::listVector(L"extrusion:", m_normal);
}

Acad::ErrorStatus AcDbLine::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = AcDbCurve::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    svent::writeVersion(filer, kVersion);
    svent::writePoint(filer, m_start);
    svent::writePoint(filer, m_end);
    svent::writeVector(filer, m_normal);
    filer->writeDouble(m_thickness);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbLine::dwgInFields(AcDbDwgFiler* filer) {
    Acad::ErrorStatus es = AcDbCurve::dwgInFields(filer);
    if (es == Acad::eOk)
        es = svent::readVersion(filer, kVersion);
    if (es != Acad::eOk)
        return es;
    const AcGePoint3d start = svent::readPoint3d(filer);
    const AcGePoint3d end = svent::readPoint3d(filer);
    const AcGeVector3d normal = svent::readNormal(filer);
    const double thickness = svent::readReal(filer);
    if (filer->filerStatus() != Acad::eOk)
        return filer->filerStatus();
    m_start = start;
    m_end = end;
    m_normal = normal;
    m_thickness = thickness;
    return Acad::eOk;
}
