#include "db/leader.h"

#include <algorithm>
#include <cmath>

#include "../internal.h"
#include "common.h"
#include "db/blockref.h"
#include "db/extents.h"
#include "db/fcf.h"
#include "db/mtext.h"
#include "db/worlddraw.h"

namespace {

constexpr Adesk::Int16 kVersion = 1;
constexpr Adesk::UInt32 kMaxVertices = 1u << 24;
// Parameters and distances within this fraction of the whole count as its ends.
constexpr double kEndSlack = 1e-10;
// Length of the arrowhead on the sheet.
constexpr double kArrowSize = 0.18;

} // namespace

AcDbLeader::AcDbLeader() = default;
AcDbLeader::~AcDbLeader() = default;

Adesk::Boolean AcDbLeader::appendVertex(const AcGePoint3d& point) {
    if (!svent::isFinite(point) || m_vertices.size() >= kMaxVertices)
        return false;
    assertWriteEnabled();
    m_vertices.push_back(point);
    return true;
}

void AcDbLeader::removeLastVertex() {
    if (m_vertices.empty())
        return;
    assertWriteEnabled();
    m_vertices.pop_back();
}

int AcDbLeader::numVertices() const {
    assertReadEnabled();
    return static_cast<int>(m_vertices.size());
}

AcGePoint3d AcDbLeader::vertexAt(int index) const {
    assertReadEnabled();
    if (index < 0 || static_cast<std::size_t>(index) >= m_vertices.size())
        return AcGePoint3d::kOrigin;
    return m_vertices[static_cast<std::size_t>(index)];
}

Adesk::Boolean AcDbLeader::setVertexAt(int index, const AcGePoint3d& point) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_vertices.size() ||
        !svent::isFinite(point))
        return false;
    assertWriteEnabled();
    m_vertices[static_cast<std::size_t>(index)] = point;
    return true;
}

AcGePoint3d AcDbLeader::firstVertex() const {
    return vertexAt(0);
}

AcGePoint3d AcDbLeader::lastVertex() const {
    return vertexAt(numVertices() - 1);
}

AcGeVector3d AcDbLeader::normal() const {
    assertReadEnabled();
    return m_normal;
}

Acad::ErrorStatus AcDbLeader::setNormal(const AcGeVector3d& normal) {
    return svent::setUnitNormal(this, m_normal, normal);
}

bool AcDbLeader::hasArrowHead() const {
    assertReadEnabled();
    return m_arrowHead;
}

void AcDbLeader::enableArrowHead() {
    assertWriteEnabled();
    m_arrowHead = true;
}

void AcDbLeader::disableArrowHead() {
    assertWriteEnabled();
    m_arrowHead = false;
}

AcDbObjectId AcDbLeader::annotationObjId() const {
    assertReadEnabled();
    return m_annotation;
}

Acad::ErrorStatus AcDbLeader::attachAnnotation(const AcDbObjectId& annotationId) {
    if (annotationId.isNull())
        return Acad::eNullObjectId;
    AcDbObject* annotation = svDbResolve(annotationId);
    if (annotation == nullptr)
        return Acad::eInvalidObjectId;
    if (database() != nullptr && annotationId.database() != database())
        return Acad::eWrongDatabase;
    if (AcDbMText::cast(annotation) == nullptr && AcDbBlockReference::cast(annotation) == nullptr &&
        AcDbFcf::cast(annotation) == nullptr)
        return Acad::eNotThatKindOfClass;
    if (annotation->isErased())
        return Acad::eWasErased;
    assertWriteEnabled();
    m_annotation = annotationId;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLeader::detachAnnotation() {
    assertWriteEnabled();
    m_annotation.setNull();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLeader::getStartParam(double& param) const {
    assertReadEnabled();
    if (m_vertices.empty())
        return Acad::eDegenerateGeometry;
    param = 0.0;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLeader::getEndParam(double& param) const {
    assertReadEnabled();
    if (m_vertices.empty())
        return Acad::eDegenerateGeometry;
    param = static_cast<double>(m_vertices.size() - 1);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLeader::getStartPoint(AcGePoint3d& point) const {
    assertReadEnabled();
    if (m_vertices.empty())
        return Acad::eDegenerateGeometry;
    point = m_vertices.front();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLeader::getEndPoint(AcGePoint3d& point) const {
    assertReadEnabled();
    if (m_vertices.empty())
        return Acad::eDegenerateGeometry;
    point = m_vertices.back();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLeader::getPointAtParam(double param, AcGePoint3d& point) const {
    assertReadEnabled();
    if (std::isnan(param))
        return Acad::eInvalidInput;
    if (m_vertices.empty())
        return Acad::eDegenerateGeometry;
    const double end = static_cast<double>(m_vertices.size() - 1);
    const double slack = kEndSlack * (1.0 + end);
    if (param < -slack || param > end + slack)
        return Acad::eOutOfRange;
    param = param < 0.0 ? 0.0 : (param > end ? end : param);
    const std::size_t i = static_cast<std::size_t>(param);
    if (i + 1 >= m_vertices.size()) {
        point = m_vertices.back();
        return Acad::eOk;
    }
    point = m_vertices[i] + (m_vertices[i + 1] - m_vertices[i]) * (param - static_cast<double>(i));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLeader::getDistAtParam(double param, double& dist) const {
    assertReadEnabled();
    if (std::isnan(param))
        return Acad::eInvalidInput;
    if (m_vertices.empty())
        return Acad::eDegenerateGeometry;
    const double end = static_cast<double>(m_vertices.size() - 1);
    const double slack = kEndSlack * (1.0 + end);
    if (param < -slack || param > end + slack)
        return Acad::eOutOfRange;
    param = param < 0.0 ? 0.0 : (param > end ? end : param);
    double total = 0.0;
    std::size_t i = 0;
    for (; i + 1 < m_vertices.size() && static_cast<double>(i + 1) <= param; ++i)
        total += m_vertices[i].distanceTo(m_vertices[i + 1]);
    if (i + 1 < m_vertices.size())
        total += m_vertices[i].distanceTo(m_vertices[i + 1]) * (param - static_cast<double>(i));
    dist = total;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLeader::getParamAtDist(double dist, double& param) const {
    assertReadEnabled();
    if (std::isnan(dist))
        return Acad::eInvalidInput;
    if (m_vertices.empty())
        return Acad::eDegenerateGeometry;
    double length = 0.0;
    for (std::size_t i = 0; i + 1 < m_vertices.size(); ++i)
        length += m_vertices[i].distanceTo(m_vertices[i + 1]);
    const double slack = kEndSlack * (1.0 + length);
    if (dist < -slack || dist > length + slack)
        return Acad::eOutOfRange;
    double walked = 0.0;
    for (std::size_t i = 0; i + 1 < m_vertices.size(); ++i) {
        const double segment = m_vertices[i].distanceTo(m_vertices[i + 1]);
        // Zero-length segments cost nothing: the smallest parameter of a distance wins.
        if (segment > 0.0 && dist <= walked + segment) {
            const double t = (dist - walked) / segment;
            param = static_cast<double>(i) + (t < 0.0 ? 0.0 : (t > 1.0 ? 1.0 : t));
            return Acad::eOk;
        }
        walked += segment;
    }
    param = length > 0.0 ? static_cast<double>(m_vertices.size() - 1) : 0.0;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLeader::getArea(double& area) const {
    assertReadEnabled();
    area = 0.0;
    return Acad::eOk;
}

void AcDbLeader::worldDraw(AcGiWorldDraw* mode) const {
    assertReadEnabled();
    AcGiGeometry& geometry = mode->geometry();
    geometry.polyline(m_vertices, false);
    if (!m_arrowHead || m_vertices.size() < 2)
        return;
    const AcGePoint3d tip = m_vertices[0];
    const AcGeVector3d back = (m_vertices[1] - tip).normal();
    // Seen through a scaled view or insertion the arrowhead keeps its size.
    const double scale = (geometry.modelToWorldTransform() * back).length();
    const double size = std::min(kArrowSize / scale, tip.distanceTo(m_vertices[1]) / 2);
    const AcGeVector3d side = m_normal.crossProduct(back) * (size / 3);
    const AcGePoint3d base = tip + back * size;
    mode->subEntityTraits().setFillType(kAcGiFillAlways);
    geometry.polyline({tip, base + side, base - side}, true);
}

Acad::ErrorStatus AcDbLeader::getGeomExtents(AcDbExtents& extents) const {
    assertReadEnabled();
    if (m_vertices.empty())
        return Acad::eInvalidExtents;
    for (const AcGePoint3d& vertex : m_vertices)
        extents.addPoint(vertex);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLeader::transformBy(const AcGeMatrix3d& xform) {
    if (!svent::isInvertible(xform))
        return Acad::eNotApplicable;
    assertWriteEnabled();
    for (AcGePoint3d& vertex : m_vertices)
        vertex = xform * vertex;
    m_normal = svent::transformNormal(xform, m_normal);
    return Acad::eOk;
}

void AcDbLeader::list() const {
    AcDbEntity::list();
    for (const AcGePoint3d& vertex : m_vertices)
        svent::listPoint(L"vertex:", vertex);
    svent::listLine(L"arrow head:", m_arrowHead ? L"yes" : L"no");
    svent::listId(L"annotation:", m_annotation);
}

Acad::ErrorStatus AcDbLeader::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = AcDbCurve::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    svent::writeVersion(filer, kVersion);
    svent::writeVector(filer, m_normal);
    filer->writeBoolean(m_arrowHead);
    filer->writeHardPointerId(m_annotation);
    filer->writeUInt32(static_cast<Adesk::UInt32>(m_vertices.size()));
    for (const AcGePoint3d& vertex : m_vertices)
        svent::writePoint(filer, vertex);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbLeader::dwgInFields(AcDbDwgFiler* filer) {
    Acad::ErrorStatus es = AcDbCurve::dwgInFields(filer);
    if (es == Acad::eOk)
        es = svent::readVersion(filer, kVersion);
    if (es != Acad::eOk)
        return es;
    const AcGeVector3d normal = svent::readNormal(filer);
    Adesk::Boolean arrowHead = true;
    filer->readBoolean(&arrowHead);
    AcDbObjectId annotation;
    filer->readHardPointerId(&annotation);
    const Adesk::UInt32 count = svent::readCount(filer, kMaxVertices);
    std::vector<AcGePoint3d> vertices;
    for (Adesk::UInt32 i = 0; i < count && filer->filerStatus() == Acad::eOk; ++i)
        vertices.push_back(svent::readPoint3d(filer));
    if (filer->filerStatus() != Acad::eOk)
        return filer->filerStatus();
    m_normal = normal;
    m_arrowHead = arrowHead;
    m_annotation = annotation;
    m_vertices = std::move(vertices);
    return Acad::eOk;
}
