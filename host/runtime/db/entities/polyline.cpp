#include "db/polyline.h"

#include <cmath>

#include "common.h"
#include "db/worlddraw.h"
#include "ge/polyline_math.h"

namespace {

constexpr Adesk::Int16 kVersion = 1;
// Far more vertices than any drawing has; a count above it is damage, not data.
constexpr Adesk::UInt32 kMaxVertices = 1u << 26;

bool validWidth(double width) {
    return std::isfinite(width) && width >= 0.0;
}

} // namespace

AcDbPolyline::AcDbPolyline(unsigned int numVerts) {
    const std::size_t room = numVerts < 4096 ? numVerts : 4096;
    m_points.reserve(room);
    m_bulges.reserve(room);
}

AcDbPolyline::~AcDbPolyline() = default;

ge::PolylineCurve AcDbPolyline::math() const {
    return ge::PolylineCurve{m_points, m_bulges, m_closed, m_elevation, m_normal};
}

Acad::ErrorStatus AcDbPolyline::addVertexAt(unsigned int index, const AcGePoint2d& point,
                                            double bulge, double startWidth, double endWidth) {
    if (!svent::isFinite(point) || !std::isfinite(bulge) || std::isnan(startWidth) ||
        std::isnan(endWidth) || std::isinf(startWidth) || std::isinf(endWidth))
        return Acad::eInvalidInput;
    if (m_points.size() >= kMaxVertices)
        return Acad::eOutOfRange;
    assertWriteEnabled();
    const std::size_t at = index < m_points.size() ? index : m_points.size();
    m_points.insert(m_points.begin() + static_cast<long>(at), point);
    m_bulges.insert(m_bulges.begin() + static_cast<long>(at), bulge);
    m_startWidths.insert(m_startWidths.begin() + static_cast<long>(at),
                         startWidth < 0.0 ? m_constantWidth : startWidth);
    m_endWidths.insert(m_endWidths.begin() + static_cast<long>(at),
                       endWidth < 0.0 ? m_constantWidth : endWidth);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::removeVertexAt(unsigned int index) {
    if (index >= m_points.size())
        return Acad::eInvalidIndex;
    assertWriteEnabled();
    m_points.erase(m_points.begin() + index);
    m_bulges.erase(m_bulges.begin() + index);
    m_startWidths.erase(m_startWidths.begin() + index);
    m_endWidths.erase(m_endWidths.begin() + index);
    return Acad::eOk;
}

unsigned int AcDbPolyline::numVerts() const {
    assertReadEnabled();
    return static_cast<unsigned int>(m_points.size());
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint2d& point) const {
    assertReadEnabled();
    if (index >= m_points.size())
        return Acad::eInvalidIndex;
    point = m_points[index];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint3d& point) const {
    assertReadEnabled();
    if (index >= m_points.size())
        return Acad::eInvalidIndex;
    point = svent::planeToWorld(m_points[index], m_elevation, m_normal);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setPointAt(unsigned int index, const AcGePoint2d& point) {
    if (index >= m_points.size())
        return Acad::eInvalidIndex;
    if (!svent::isFinite(point))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_points[index] = point;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getBulgeAt(unsigned int index, double& bulge) const {
    assertReadEnabled();
    if (index >= m_points.size())
        return Acad::eInvalidIndex;
    bulge = m_bulges[index];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setBulgeAt(unsigned int index, double bulge) {
    if (index >= m_points.size())
        return Acad::eInvalidIndex;
    if (!std::isfinite(bulge))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_bulges[index] = bulge;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getWidthsAt(unsigned int index, double& startWidth,
                                            double& endWidth) const {
    assertReadEnabled();
    if (index >= m_points.size())
        return Acad::eInvalidIndex;
    startWidth = m_startWidths[index];
    endWidth = m_endWidths[index];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setWidthsAt(unsigned int index, double startWidth,
                                            double endWidth) {
    if (index >= m_points.size())
        return Acad::eInvalidIndex;
    if (!validWidth(startWidth) || !validWidth(endWidth))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_startWidths[index] = startWidth;
    m_endWidths[index] = endWidth;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getConstantWidth(double& width) const {
    assertReadEnabled();
    for (std::size_t i = 0; i < m_points.size(); ++i) {
        if (m_startWidths[i] != m_constantWidth || m_endWidths[i] != m_constantWidth)
            return Acad::eNotApplicable;
    }
    width = m_constantWidth;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setConstantWidth(double width) {
    if (!validWidth(width))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_constantWidth = width;
    m_startWidths.assign(m_points.size(), width);
    m_endWidths.assign(m_points.size(), width);
    return Acad::eOk;
}

Adesk::Boolean AcDbPolyline::hasBulges() const {
    assertReadEnabled();
    for (double bulge : m_bulges) {
        if (bulge != 0.0)
            return true;
    }
    return false;
}

void AcDbPolyline::setClosed(Adesk::Boolean closed) {
    assertWriteEnabled();
    m_closed = closed;
}

Adesk::Boolean AcDbPolyline::isClosed() const {
    assertReadEnabled();
    return m_closed;
}

double AcDbPolyline::elevation() const {
    assertReadEnabled();
    return m_elevation;
}

Acad::ErrorStatus AcDbPolyline::setElevation(double elevation) {
    if (!std::isfinite(elevation))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_elevation = elevation;
    return Acad::eOk;
}

AcGeVector3d AcDbPolyline::normal() const {
    assertReadEnabled();
    return m_normal;
}

Acad::ErrorStatus AcDbPolyline::setNormal(const AcGeVector3d& normal) {
    return svent::setUnitNormal(this, m_normal, normal);
}

double AcDbPolyline::thickness() const {
    assertReadEnabled();
    return m_thickness;
}

Acad::ErrorStatus AcDbPolyline::setThickness(double thickness) {
    if (!std::isfinite(thickness))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_thickness = thickness;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getLength(double& length) const {
    assertReadEnabled();
    return math().getLength(length);
}

Acad::ErrorStatus AcDbPolyline::getStartParam(double& param) const {
    assertReadEnabled();
    return math().getStartParam(param);
}

Acad::ErrorStatus AcDbPolyline::getEndParam(double& param) const {
    assertReadEnabled();
    return math().getEndParam(param);
}

Acad::ErrorStatus AcDbPolyline::getStartPoint(AcGePoint3d& point) const {
    assertReadEnabled();
    if (m_points.empty())
        return Acad::eDegenerateGeometry;
    point = svent::planeToWorld(m_points.front(), m_elevation, m_normal);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getEndPoint(AcGePoint3d& point) const {
    assertReadEnabled();
    if (m_points.empty())
        return Acad::eDegenerateGeometry;
    const AcGePoint2d& last = m_closed ? m_points.front() : m_points.back();
    point = svent::planeToWorld(last, m_elevation, m_normal);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAtParam(double param, AcGePoint3d& point) const {
    assertReadEnabled();
    return math().getPointAtParam(param, point);
}

Acad::ErrorStatus AcDbPolyline::getDistAtParam(double param, double& dist) const {
    assertReadEnabled();
    return math().getDistAtParam(param, dist);
}

Acad::ErrorStatus AcDbPolyline::getParamAtDist(double dist, double& param) const {
    assertReadEnabled();
    return math().getParamAtDist(dist, param);
}

Acad::ErrorStatus AcDbPolyline::getArea(double& area) const {
    assertReadEnabled();
    return math().getArea(area);
}

Acad::ErrorStatus AcDbPolyline::getClosestPointTo(const AcGePoint3d& givenPoint,
                                                  AcGePoint3d& pointOnCurve, Adesk::Boolean) const {
    assertReadEnabled();
    if (!svent::isFinite(givenPoint))
        return Acad::eInvalidInput;
    if (m_points.empty())
        return Acad::eDegenerateGeometry;
    // In the plane the height above it is the same for every point of the polyline.
    const AcGePoint2d target = svent::worldToPlane(givenPoint, m_normal).convert2d();
    const ge::PolylineCurve curve = math();
    AcGePoint2d best = m_points.front();
    double bestDistance = target.distanceTo(best);
    for (std::size_t i = 0; i < curve.numSegments(); ++i) {
        AcGePoint2d start;
        AcGePoint2d end;
        double bulge = 0.0;
        if (curve.getSegment(i, start, end, bulge) != Acad::eOk)
            continue;
        const AcGePoint2d candidate = svent::closestOnSegment(start, end, bulge, target);
        const double distance = target.distanceTo(candidate);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = candidate;
        }
    }
    pointOnCurve = svent::planeToWorld(best, m_elevation, m_normal);
    return Acad::eOk;
}

void AcDbPolyline::worldDraw(AcGiWorldDraw* mode) const {
    assertReadEnabled();
    if (m_points.empty())
        return;
    std::vector<AcGePoint3d> points;
    for (const AcGePoint2d& p : m_points)
        points.push_back(svent::planeToWorld(p, m_elevation, m_normal));
    mode->geometry().bulgedPolyline(points, m_bulges, m_closed, m_normal);
}

Acad::ErrorStatus AcDbPolyline::transformBy(const AcGeMatrix3d& xform) {
    if (!svent::isUniform(xform))
        return Acad::eNotApplicable;
    assertWriteEnabled();
    const AcGeVector3d normal = svent::transformNormal(xform, m_normal);
    // Points go through world coordinates into the plane of the new normal; the two planes'
    // matrices are the same for every vertex.
    const AcGeMatrix3d fromPlane = AcGeMatrix3d::planeToWorld(m_normal);
    const AcGeMatrix3d intoPlane = AcGeMatrix3d::worldToPlane(normal);
    auto moved = [&](const AcGePoint2d& point) {
        return intoPlane * (xform * (fromPlane * AcGePoint3d(point.x, point.y, m_elevation)));
    };
    const double elevation = moved(AcGePoint2d::kOrigin).z;
    for (AcGePoint2d& point : m_points)
        point = moved(point).convert2d();
    if (xform.isMirroring()) {
        for (double& bulge : m_bulges)
            bulge = -bulge;
    }
    const double scale = xform.scale();
    for (double& width : m_startWidths)
        width *= scale;
    for (double& width : m_endWidths)
        width *= scale;
    m_constantWidth *= scale;
    m_thickness *= (xform * m_normal).dotProduct(normal);
    m_elevation = elevation;
    m_normal = normal;
    return Acad::eOk;
}

void AcDbPolyline::list() const {
    AcDbEntity::list();
    svent::listLine(L"", m_closed ? L"Closed" : L"Open");
    svent::listNumber(L"elevation:", m_elevation);
    if (m_normal != AcGeVector3d::kZAxis)
        svent::listVector(L"extrusion:", m_normal);
    double width = 0.0;
    if (getConstantWidth(width) == Acad::eOk)
        svent::listNumber(L"constant width:", width);
    double area = 0.0;
    if (getArea(area) == Acad::eOk)
        svent::listNumber(L"area:", area);
    double length = 0.0;
    if (getLength(length) == Acad::eOk)
        svent::listNumber(m_closed ? L"perimeter:" : L"length:", length);
    for (std::size_t i = 0; i < m_points.size(); ++i) {
        svent::listPoint(L"at point", svent::planeToWorld(m_points[i], m_elevation, m_normal));
        if (m_bulges[i] != 0.0)
            svent::listNumber(L"  bulge", m_bulges[i]);
        if (m_startWidths[i] != m_constantWidth || m_endWidths[i] != m_constantWidth) {
            svent::listNumber(L"  starting width", m_startWidths[i]);
            svent::listNumber(L"  ending width", m_endWidths[i]);
        }
    }
}

Acad::ErrorStatus AcDbPolyline::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = AcDbCurve::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    svent::writeVersion(filer, kVersion);
    filer->writeBoolean(m_closed);
    filer->writeDouble(m_elevation);
    filer->writeDouble(m_constantWidth);
    filer->writeDouble(m_thickness);
    svent::writeVector(filer, m_normal);
    filer->writeUInt32(static_cast<Adesk::UInt32>(m_points.size()));
    for (std::size_t i = 0; i < m_points.size(); ++i) {
        svent::writePoint(filer, m_points[i]);
        filer->writeDouble(m_bulges[i]);
        filer->writeDouble(m_startWidths[i]);
        filer->writeDouble(m_endWidths[i]);
    }
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbPolyline::dwgInFields(AcDbDwgFiler* filer) {
    Acad::ErrorStatus es = AcDbCurve::dwgInFields(filer);
    if (es == Acad::eOk)
        es = svent::readVersion(filer, kVersion);
    if (es != Acad::eOk)
        return es;
    Adesk::Boolean closed = false;
    filer->readBoolean(&closed);
    const double elevation = svent::readReal(filer);
    const double constantWidth = svent::readReal(filer);
    const double thickness = svent::readReal(filer);
    const AcGeVector3d normal = svent::readNormal(filer);
    svent::require(filer, validWidth(constantWidth));
    const Adesk::UInt32 count = svent::readCount(filer, kMaxVertices);
    // Vertex by vertex: a count larger than the data ends at the data's end, not in an
    // allocation of its size.
    std::vector<AcGePoint2d> points;
    std::vector<double> bulges;
    std::vector<double> startWidths;
    std::vector<double> endWidths;
    for (Adesk::UInt32 i = 0; i < count && filer->filerStatus() == Acad::eOk; ++i) {
        points.push_back(svent::readPoint2d(filer));
        bulges.push_back(svent::readReal(filer));
        startWidths.push_back(svent::readReal(filer));
        endWidths.push_back(svent::readReal(filer));
        svent::require(filer, validWidth(startWidths.back()) && validWidth(endWidths.back()));
    }
    if (filer->filerStatus() != Acad::eOk)
        return filer->filerStatus();
    m_closed = closed;
    m_elevation = elevation;
    m_constantWidth = constantWidth;
    m_thickness = thickness;
    m_normal = normal;
    m_points = std::move(points);
    m_bulges = std::move(bulges);
    m_startWidths = std::move(startWidths);
    m_endWidths = std::move(endWidths);
    return Acad::eOk;
}
