#include "db/region.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "common.h"
#include "db/arc.h"
#include "db/circle.h"
#include "db/extents.h"
#include "db/line.h"
#include "db/polyline.h"
#include "db/worlddraw.h"
#include "ge/polyline_math.h"

namespace {

constexpr Adesk::Int16 kVersion = 1;
constexpr Adesk::UInt32 kMaxVertices = 1u << 26;

// One straight or bulged piece of a boundary, in the plane's coordinates.
struct Segment {
    AcGePoint2d start;
    AcGePoint2d end;
    double bulge = 0.0;
};

using Chain = std::vector<Segment>;

void reverse(Chain& chain) {
    std::reverse(chain.begin(), chain.end());
    for (Segment& s : chain) {
        std::swap(s.start, s.end);
        s.bulge = -s.bulge;
    }
}

double scaleOf(const AcGePoint3d& p) {
    return std::max({1.0, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
}

bool near(const AcGePoint2d& a, const AcGePoint2d& b) {
    const double tol = 1e-9 * std::max({1.0, std::fabs(a.x), std::fabs(a.y)});
    return a.distanceTo(b) <= tol;
}

// The plane the open pieces lie in: that of the first arc or polyline, or of two lines that are
// not parallel, or the world's.
AcGeVector3d planeNormal(const std::vector<AcDbCurve*>& pieces) {
    for (AcDbCurve* piece : pieces) {
        if (auto* arc = AcDbArc::cast(piece))
            return arc->normal();
        if (auto* pline = AcDbPolyline::cast(piece))
            return pline->normal();
    }
    AcGeVector3d first;
    for (AcDbCurve* piece : pieces) {
        auto* line = AcDbLine::cast(piece);
        const AcGeVector3d along = line->endPoint() - line->startPoint();
        if (along.isZeroLength())
            continue;
        if (first.isZeroLength()) {
            first = along;
            continue;
        }
        AcGeVector3d normal;
        if (!first.isParallelTo(along) && svent::unitVector(first.crossProduct(along), normal))
            return normal.z < 0.0 ? -normal : normal;
    }
    return AcGeVector3d::kZAxis;
}

// A piece as segments of the plane (normal, elevation); false when it leaves the plane.
bool toChain(AcDbCurve* piece, const AcGeVector3d& normal, double elevation, Chain& chain) {
    auto onPlane = [&](const AcGePoint3d& world, AcGePoint2d& local) {
        const AcGePoint3d p = svent::worldToPlane(world, normal);
        local = p.convert2d();
        return std::fabs(p.z - elevation) <= 1e-9 * scaleOf(world);
    };
    if (auto* line = AcDbLine::cast(piece)) {
        Segment s;
        if (!onPlane(line->startPoint(), s.start) || !onPlane(line->endPoint(), s.end))
            return false;
        chain.push_back(s);
        return true;
    }
    if (auto* arc = AcDbArc::cast(piece)) {
        const double facing = arc->normal().dotProduct(normal);
        if (std::fabs(std::fabs(facing) - 1.0) > 1e-9)
            return false;
        AcGePoint3d start;
        AcGePoint3d end;
        arc->getStartPoint(start);
        arc->getEndPoint(end);
        Segment s;
        AcGePoint2d center;
        if (!onPlane(start, s.start) || !onPlane(end, s.end) || !onPlane(arc->center(), center))
            return false;
        s.bulge = std::tan(arc->totalAngle() / 4.0) * (facing > 0.0 ? 1.0 : -1.0);
        chain.push_back(s);
        return true;
    }
    if (auto* pline = AcDbPolyline::cast(piece)) {
        const double facing = pline->normal().dotProduct(normal);
        if (std::fabs(std::fabs(facing) - 1.0) > 1e-9 || pline->numVerts() < 2)
            return false;
        const unsigned n = pline->numVerts();
        for (unsigned i = 0; i + 1 < n; ++i) {
            AcGePoint3d a;
            AcGePoint3d b;
            Segment s;
            pline->getPointAt(i, a);
            pline->getPointAt(i + 1, b);
            pline->getBulgeAt(i, s.bulge);
            if (facing < 0.0)
                s.bulge = -s.bulge;
            if (!onPlane(a, s.start) || !onPlane(b, s.end))
                return false;
            chain.push_back(s);
        }
        return true;
    }
    return false;
}

} // namespace

struct SvRegionBuilder {
    static AcDbRegion* make(const Chain& loop, const AcGeVector3d& normal, double elevation) {
        auto region = std::make_unique<AcDbRegion>();
        for (const Segment& s : loop) {
            region->m_points.push_back(s.start);
            region->m_bulges.push_back(s.bulge);
        }
        region->m_normal = normal;
        region->m_elevation = elevation;
        double area = 0.0;
        if (region->getArea(area) != Acad::eOk || !(area > 0.0))
            return nullptr;
        return region.release();
    }

    static Acad::ErrorStatus build(const AcDbVoidPtrArray& curves,
                                   std::vector<std::unique_ptr<AcDbRegion>>& made) {
        std::vector<AcDbCurve*> open;
        for (int i = 0; i < curves.length(); ++i) {
            auto* curve = AcDbCurve::cast(static_cast<AcRxObject*>(curves[i]));
            if (curve == nullptr)
                return Acad::eInvalidInput;
            AcDbRegion* region = nullptr;
            if (auto* circle = AcDbCircle::cast(curve)) {
                const AcGeVector3d normal = circle->normal();
                const AcGePoint3d c = svent::worldToPlane(circle->center(), normal);
                const double r = circle->radius();
                region = make({{AcGePoint2d(c.x + r, c.y), AcGePoint2d(c.x - r, c.y), 1.0},
                               {AcGePoint2d(c.x - r, c.y), AcGePoint2d(c.x + r, c.y), 1.0}},
                              normal, c.z);
            } else if (auto* pline = AcDbPolyline::cast(curve); pline && pline->isClosed()) {
                Chain loop;
                const unsigned n = pline->numVerts();
                for (unsigned v = 0; v < n; ++v) {
                    Segment s;
                    pline->getPointAt(v, s.start);
                    pline->getPointAt((v + 1) % n, s.end);
                    pline->getBulgeAt(v, s.bulge);
                    loop.push_back(s);
                }
                region = make(loop, pline->normal(), pline->elevation());
            } else if (AcDbLine::cast(curve) || AcDbArc::cast(curve) || AcDbPolyline::cast(curve)) {
                open.push_back(curve);
                continue;
            } else {
                return Acad::eInvalidInput;
            }
            if (region == nullptr)
                return Acad::eInvalidInput;
            made.emplace_back(region);
        }
        if (open.empty())
            return Acad::eOk;

        const AcGeVector3d normal = planeNormal(open);
        AcGePoint3d anyPoint;
        open.front()->getStartPoint(anyPoint);
        const double elevation = svent::worldToPlane(anyPoint, normal).z;
        std::vector<Chain> pieces;
        for (AcDbCurve* curve : open) {
            Chain chain;
            if (!toChain(curve, normal, elevation, chain) || chain.empty())
                return Acad::eInvalidInput;
            pieces.push_back(std::move(chain));
        }
        // Pieces join end to end, turned round where needed, until the loop meets its start.
        std::vector<bool> used(pieces.size(), false);
        for (std::size_t first = 0; first < pieces.size(); ++first) {
            if (used[first])
                continue;
            used[first] = true;
            Chain loop = pieces[first];
            while (!near(loop.back().end, loop.front().start)) {
                bool joined = false;
                for (std::size_t k = 0; k < pieces.size() && !joined; ++k) {
                    if (used[k])
                        continue;
                    Chain next = pieces[k];
                    if (near(next.back().end, loop.back().end))
                        reverse(next);
                    if (!near(next.front().start, loop.back().end))
                        continue;
                    used[k] = true;
                    joined = true;
                    loop.insert(loop.end(), next.begin(), next.end());
                }
                if (!joined)
                    return Acad::eInvalidInput;
            }
            AcDbRegion* region = make(loop, normal, elevation);
            if (region == nullptr)
                return Acad::eInvalidInput;
            made.emplace_back(region);
        }
        return Acad::eOk;
    }
};

AcDbRegion::AcDbRegion() = default;
AcDbRegion::~AcDbRegion() = default;

Acad::ErrorStatus AcDbRegion::createFromCurves(const AcDbVoidPtrArray& curveSegments,
                                               AcDbVoidPtrArray& regions) {
    if (curveSegments.length() == 0)
        return Acad::eInvalidInput;
    std::vector<std::unique_ptr<AcDbRegion>> made;
    const Acad::ErrorStatus es = SvRegionBuilder::build(curveSegments, made);
    if (es != Acad::eOk)
        return es;
    for (auto& region : made)
        regions.append(region.release());
    return Acad::eOk;
}

bool AcDbRegion::isNull() const {
    assertReadEnabled();
    return m_points.empty();
}

Acad::ErrorStatus AcDbRegion::getArea(double& area) const {
    assertReadEnabled();
    if (m_points.empty()) {
        area = 0.0;
        return Acad::eOk;
    }
    return ge::PolylineCurve{m_points, m_bulges, true, m_elevation, m_normal}.getArea(area);
}

Acad::ErrorStatus AcDbRegion::getPerimeter(double& perimeter) const {
    assertReadEnabled();
    if (m_points.empty()) {
        perimeter = 0.0;
        return Acad::eOk;
    }
    return ge::PolylineCurve{m_points, m_bulges, true, m_elevation, m_normal}.getLength(perimeter);
}

AcGeVector3d AcDbRegion::normal() const {
    assertReadEnabled();
    return m_normal;
}

double AcDbRegion::elevation() const {
    assertReadEnabled();
    return m_elevation;
}

unsigned int AcDbRegion::numVerts() const {
    assertReadEnabled();
    return static_cast<unsigned int>(m_points.size());
}

Acad::ErrorStatus AcDbRegion::getVertexAt(unsigned int index, AcGePoint2d& point,
                                          double& bulge) const {
    assertReadEnabled();
    if (index >= m_points.size())
        return Acad::eInvalidIndex;
    point = m_points[index];
    bulge = m_bulges[index];
    return Acad::eOk;
}

void AcDbRegion::worldDraw(AcGiWorldDraw* mode) const {
    assertReadEnabled();
    if (m_points.empty())
        return;
    std::vector<AcGePoint3d> points;
    for (const AcGePoint2d& p : m_points)
        points.push_back(svent::planeToWorld(p, m_elevation, m_normal));
    mode->subEntityTraits().setFillType(kAcGiFillTint);
    mode->geometry().bulgedPolyline(points, m_bulges, true, m_normal);
}

Acad::ErrorStatus AcDbRegion::transformBy(const AcGeMatrix3d& xform) {
    if (!svent::isUniform(xform))
        return Acad::eNotApplicable;
    assertWriteEnabled();
    const AcGeVector3d normal = svent::transformNormal(xform, m_normal);
    const double elevation =
        svent::worldToPlane(
            xform * svent::planeToWorld(AcGePoint2d::kOrigin, m_elevation, m_normal), normal)
            .z;
    for (AcGePoint2d& point : m_points) {
        const AcGePoint3d world = xform * svent::planeToWorld(point, m_elevation, m_normal);
        point = svent::worldToPlane(world, normal).convert2d();
    }
    if (xform.isMirroring()) {
        for (double& bulge : m_bulges)
            bulge = -bulge;
    }
    m_normal = normal;
    m_elevation = elevation;
    return Acad::eOk;
}

void AcDbRegion::list() const {
    AcDbEntity::list();
    double area = 0.0;
    double perimeter = 0.0;
    getArea(area);
    getPerimeter(perimeter);
    svent::listNumber(L"area:", area);
    svent::listNumber(L"perimeter:", perimeter);
    AcDbExtents box;
    if (getGeomExtents(box) == Acad::eOk) {
        svent::listPoint(L"bounding box:", box.minPoint());
        svent::listPoint(L"", box.maxPoint());
    }
}

Acad::ErrorStatus AcDbRegion::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = AcDbEntity::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    svent::writeVersion(filer, kVersion);
    svent::writeVector(filer, m_normal);
    filer->writeDouble(m_elevation);
    filer->writeUInt32(static_cast<Adesk::UInt32>(m_points.size()));
    for (std::size_t i = 0; i < m_points.size(); ++i) {
        svent::writePoint(filer, m_points[i]);
        filer->writeDouble(m_bulges[i]);
    }
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbRegion::dwgInFields(AcDbDwgFiler* filer) {
    Acad::ErrorStatus es = AcDbEntity::dwgInFields(filer);
    if (es == Acad::eOk)
        es = svent::readVersion(filer, kVersion);
    if (es != Acad::eOk)
        return es;
    const AcGeVector3d normal = svent::readNormal(filer);
    const double elevation = svent::readReal(filer);
    const Adesk::UInt32 count = svent::readCount(filer, kMaxVertices);
    std::vector<AcGePoint2d> points;
    std::vector<double> bulges;
    for (Adesk::UInt32 i = 0; i < count && filer->filerStatus() == Acad::eOk; ++i) {
        points.push_back(svent::readPoint2d(filer));
        bulges.push_back(svent::readReal(filer));
    }
    if (filer->filerStatus() != Acad::eOk)
        return filer->filerStatus();
    m_normal = normal;
    m_elevation = elevation;
    m_points = std::move(points);
    m_bulges = std::move(bulges);
    return Acad::eOk;
}
