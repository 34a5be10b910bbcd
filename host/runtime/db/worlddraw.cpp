#include "db/worlddraw.h"

#include <cmath>

#include "db/entity.h"
#include "db/text.h"
#include "entities/common.h"
#include "ge/bulge.h"
#include "ge/curve_math.h"

namespace {

// Chords per arc where an uneven scaling makes arcs elliptical.
constexpr int kChordsPerArc = 24;

} // namespace

std::vector<AcGePoint3d> AcGiText::cell() const {
    const double shown = height > 0.0 ? height : kSvTextDefaultHeight;
    const AcGeVector3d along =
        direction * (length > 0.0 ? length : static_cast<double>(content.size()) * shown);
    const AcGeVector3d up = normal.crossProduct(direction) * shown;
    const double before = anchor == kAcGiTextStart ? 0.0 : anchor == kAcGiTextMiddle ? 0.5 : 1.0;
    const AcGePoint3d start = position - along * before;
    return {start, start + along, start + along + up, start + up};
}

AcGiGeometry::~AcGiGeometry() = default;

void AcGiGeometry::draw(const AcDbEntity& entity) {
    const AcGiSubEntityTraits saved = m_traits;
    Adesk::UInt16 color = entity.colorIndex();
    if (color == kSvColorByBlock)
        color = saved.color();
    if (color == kSvColorByBlock || color == kSvColorByLayer)
        color = 7;
    m_traits.setColor(color);
    m_traits.setFillType(kAcGiFillNever);
    ++m_depth;
    AcGiWorldDraw mode(*this);
    entity.worldDraw(&mode);
    --m_depth;
    m_traits = saved;
}

void AcGiGeometry::pushModelTransform(const AcGeMatrix3d& xform) {
    m_transforms.push_back(m_transforms.back() * xform);
}

void AcGiGeometry::popModelTransform() {
    if (m_transforms.size() > 1)
        m_transforms.pop_back();
}

bool AcGiGeometry::transforming() const {
    return !(modelToWorldTransform() == AcGeMatrix3d::kIdentity);
}

bool AcGiGeometry::conformal() const {
    return svent::isUniform(modelToWorldTransform());
}

void AcGiGeometry::viewportContents(const AcDbViewport&) {}

void AcGiGeometry::line(const AcGePoint3d& from, const AcGePoint3d& to) {
    const AcGeMatrix3d& xform = modelToWorldTransform();
    worldLine(xform * from, xform * to);
}

void AcGiGeometry::polyline(const std::vector<AcGePoint3d>& points, bool closed) {
    if (!transforming()) {
        worldPolyline(points, closed);
        return;
    }
    std::vector<AcGePoint3d> mapped;
    for (const AcGePoint3d& p : points)
        mapped.push_back(modelToWorldTransform() * p);
    worldPolyline(mapped, closed);
}

void AcGiGeometry::bulgedPolyline(const std::vector<AcGePoint3d>& points,
                                  const std::vector<double>& bulges, bool closed,
                                  const AcGeVector3d& normal) {
    if (!transforming()) {
        worldBulgedPolyline(points, bulges, closed, normal);
        return;
    }
    const AcGeMatrix3d& xform = modelToWorldTransform();
    std::vector<AcGePoint3d> mapped;
    if (conformal()) {
        // A reflection turns each arc the other way round the transformed normal.
        std::vector<double> turned = bulges;
        for (double& bulge : turned)
            bulge = xform.isMirroring() ? -bulge : bulge;
        for (const AcGePoint3d& p : points)
            mapped.push_back(xform * p);
        worldBulgedPolyline(mapped, turned, closed, svent::transformNormal(xform, normal));
        return;
    }
    // Uneven scaling makes the arcs elliptical: they are traced in chords.
    const std::size_t segments = closed ? points.size() : points.size() - 1;
    for (std::size_t i = 0; i < segments && !points.empty(); ++i) {
        const AcGePoint3d local = svent::worldToPlane(points[i], normal);
        const AcGePoint3d next = svent::worldToPlane(points[(i + 1) % points.size()], normal);
        const double bulge = i < bulges.size() ? bulges[i] : 0.0;
        mapped.push_back(xform * points[i]);
        for (int k = 1; bulge != 0.0 && k < kChordsPerArc; ++k) {
            AcGePoint2d p;
            if (ge::bulgeSegmentPoint(AcGePoint2d(local.x, local.y), AcGePoint2d(next.x, next.y),
                                      bulge, static_cast<double>(k) / kChordsPerArc,
                                      p) == Acad::eOk)
                mapped.push_back(xform * svent::planeToWorld(p, local.z, normal));
        }
    }
    if (!closed && !points.empty())
        mapped.push_back(xform * points.back());
    worldPolyline(mapped, closed);
}

void AcGiGeometry::circle(const AcGePoint3d& center, double radius, const AcGeVector3d& normal) {
    if (!transforming()) {
        worldCircle(center, radius, normal);
    } else if (conformal()) {
        const AcGeMatrix3d& xform = modelToWorldTransform();
        worldCircle(xform * center, radius * xform.scale(), svent::transformNormal(xform, normal));
    } else {
        const AcGeMatrix3d toWorld = AcGeMatrix3d::planeToWorld(normal);
        ellipticalArc(center, toWorld * AcGeVector3d::kXAxis * radius,
                      toWorld * AcGeVector3d::kYAxis * radius, 0.0, ge::kTwoPi);
    }
}

void AcGiGeometry::circularArc(const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                               const AcGeVector3d& startVector, double sweep) {
    const AcGeMatrix3d& xform = modelToWorldTransform();
    if (!transforming()) {
        worldCircularArc(center, radius, normal, startVector, sweep);
    } else if (conformal()) {
        // A reflection turns the arc the other way round the transformed normal.
        const AcGeVector3d mappedNormal = svent::transformNormal(xform, normal);
        worldCircularArc(xform * center, radius * xform.scale(),
                         xform.isMirroring() ? -mappedNormal : mappedNormal,
                         (xform * startVector).normal(), sweep);
    } else {
        ellipticalArc(center, startVector * radius, normal.crossProduct(startVector) * radius, 0.0,
                      sweep);
    }
}

void AcGiGeometry::ellipticalArc(const AcGePoint3d& center, const AcGeVector3d& majorAxis,
                                 const AcGeVector3d& minorAxis, double startParam,
                                 double endParam) {
    const AcGeMatrix3d& xform = modelToWorldTransform();
    worldEllipticalArc(xform * center, xform * majorAxis, xform * minorAxis, startParam, endParam);
}

void AcGiGeometry::text(const AcGiText& text) {
    if (!transforming()) {
        worldText(text);
        return;
    }
    const AcGeMatrix3d& xform = modelToWorldTransform();
    AcGiText mapped = text;
    mapped.position = xform * text.position;
    mapped.normal = svent::transformNormal(xform, text.normal);
    AcGeVector3d direction = xform * text.direction;
    if (!svent::unitVector(direction, mapped.direction))
        return;
    // Mirrored text stays readable: it runs the other way along its mirrored baseline.
    if (xform.isMirroring())
        mapped.direction = -mapped.direction;
    AcGeVector3d up = xform * text.normal.crossProduct(text.direction);
    up -= mapped.direction * up.dotProduct(mapped.direction);
    // A text of the default height gets a height of its own once it is scaled.
    mapped.height = (text.height > 0.0 ? text.height : kSvTextDefaultHeight) * up.length();
    mapped.length = text.length * direction.length();
    worldText(mapped);
}
