#include "pick_distance.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "ge/bulge.h"
#include "ge/curve_math.h"
#include "ge/point2d.h"

namespace {

// Curves out of the drawing's plane, and ellipses, are measured along this many chords.
constexpr int kChords = 256;

AcGePoint2d flat(const AcGePoint3d& p) {
    return AcGePoint2d(p.x, p.y);
}

double toSegment(const AcGePoint2d& p, const AcGePoint2d& a, const AcGePoint2d& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double span = dx * dx + dy * dy;
    const double t =
        span > 0.0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / span, 0.0, 1.0) : 0.0;
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Even-odd rule over the outline seen from above.
bool inside(const AcGePoint2d& p, const std::vector<AcGePoint2d>& outline) {
    bool in = false;
    for (std::size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
        const AcGePoint2d& a = outline[i];
        const AcGePoint2d& b = outline[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            in = !in;
    }
    return in;
}

// To an arc in the drawing's plane: counter-clockwise from startAngle for sweep (>= 0).
double toFlatArc(const AcGePoint2d& p, const AcGePoint2d& center, double radius, double startAngle,
                 double sweep) {
    const double angle = std::atan2(p.y - center.y, p.x - center.x);
    if (ge::normalizeAngle(angle - startAngle) <= sweep)
        return std::fabs(std::hypot(p.x - center.x, p.y - center.y) - radius);
    const double end = startAngle + sweep;
    const AcGePoint2d a(center.x + radius * std::cos(startAngle),
                        center.y + radius * std::sin(startAngle));
    const AcGePoint2d b(center.x + radius * std::cos(end), center.y + radius * std::sin(end));
    return std::min(std::hypot(p.x - a.x, p.y - a.y), std::hypot(p.x - b.x, p.y - b.y));
}

class PickDistance : public AcGiGeometry {
public:
    explicit PickDistance(const AcGePoint3d& point) : m_point(flat(point)) {}
    double distance() const { return m_distance; }

protected:
    void worldLine(const AcGePoint3d& from, const AcGePoint3d& to) override {
        near(toSegment(m_point, flat(from), flat(to)));
    }

    void worldPolyline(const std::vector<AcGePoint3d>& points, bool closed) override {
        std::vector<AcGePoint2d> outline;
        for (const AcGePoint3d& p : points)
            outline.push_back(flat(p));
        outlineDistance(outline, closed);
    }

    void worldBulgedPolyline(const std::vector<AcGePoint3d>& points,
                             const std::vector<double>& bulges, bool closed,
                             const AcGeVector3d& normal) override {
        if (points.empty())
            return;
        const bool upright = std::fabs(std::fabs(normal.z) - 1.0) < 1e-12;
        std::vector<AcGePoint2d> outline;
        const std::size_t segments = closed ? points.size() : points.size() - 1;
        for (std::size_t i = 0; i < segments; ++i) {
            const AcGePoint3d& a = points[i];
            const AcGePoint3d& b = points[(i + 1) % points.size()];
            const double bulge = i < bulges.size() ? bulges[i] : 0.0;
            outline.push_back(flat(a));
            ge::BulgeArc arc;
            if (bulge == 0.0 || !upright ||
                ge::arcFromBulge(flat(a), flat(b), normal.z > 0.0 ? bulge : -bulge, arc) !=
                    Acad::eOk) {
                near(toSegment(m_point, flat(a), flat(b)));
                continue;
            }
            const double start = arc.sweep >= 0.0 ? arc.startAngle : arc.endAngle;
            near(toFlatArc(m_point, arc.center, arc.radius, start, std::fabs(arc.sweep)));
            for (int k = 1; k < kChords / 8; ++k) {
                const double t = arc.startAngle + arc.sweep * k / (kChords / 8);
                outline.emplace_back(arc.center.x + arc.radius * std::cos(t),
                                     arc.center.y + arc.radius * std::sin(t));
            }
        }
        if (!closed)
            outline.push_back(flat(points.back()));
        if (closed && filled() && inside(m_point, outline))
            near(0.0);
    }

    void worldCircle(const AcGePoint3d& center, double radius,
                     const AcGeVector3d& normal) override {
        const AcGeMatrix3d toWorld = AcGeMatrix3d::planeToWorld(normal);
        worldCircularArc(center, radius, normal, toWorld * AcGeVector3d::kXAxis, ge::kTwoPi);
    }

    void worldCircularArc(const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                          const AcGeVector3d& startVector, double sweep) override {
        if (std::fabs(std::fabs(normal.z) - 1.0) < 1e-12) {
            // Clockwise seen from above when the normal points down.
            const double start = std::atan2(startVector.y, startVector.x);
            near(toFlatArc(m_point, flat(center), radius, normal.z > 0.0 ? start : start - sweep,
                           sweep));
            return;
        }
        worldEllipticalArc(center, startVector * radius, normal.crossProduct(startVector) * radius,
                           0.0, sweep);
    }

    void worldEllipticalArc(const AcGePoint3d& center, const AcGeVector3d& majorAxis,
                            const AcGeVector3d& minorAxis, double startParam,
                            double endParam) override {
        std::vector<AcGePoint2d> samples;
        for (int i = 0; i <= kChords; ++i) {
            const double t = startParam + (endParam - startParam) * i / kChords;
            samples.push_back(flat(center + majorAxis * std::cos(t) + minorAxis * std::sin(t)));
        }
        outlineDistance(samples, false);
    }

    void worldText(const AcGiText& text) override {
        if (text.content.empty())
            return;
        std::vector<AcGePoint2d> cell;
        for (const AcGePoint3d& corner : text.cell())
            cell.push_back(flat(corner));
        outlineDistance(cell, true);
        if (inside(m_point, cell))
            near(0.0);
    }

private:
    bool filled() const { return subEntityTraits().fillType() != kAcGiFillNever; }

    void near(double distance) { m_distance = std::min(m_distance, distance); }

    void outlineDistance(const std::vector<AcGePoint2d>& outline, bool closed) {
        if (outline.empty())
            return;
        if (outline.size() == 1)
            near(toSegment(m_point, outline[0], outline[0]));
        for (std::size_t i = 0; i + 1 < outline.size(); ++i)
            near(toSegment(m_point, outline[i], outline[i + 1]));
        if (closed) {
            near(toSegment(m_point, outline.back(), outline.front()));
            if (filled() && inside(m_point, outline))
                near(0.0);
        }
    }

    AcGePoint2d m_point;
    double m_distance = std::numeric_limits<double>::infinity();
};

} // namespace

double svPickDistance(const AcDbEntity& entity, const AcGePoint3d& point) {
    PickDistance sink(point);
    sink.draw(entity);
    return sink.distance();
}
