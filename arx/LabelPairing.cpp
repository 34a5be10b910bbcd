// Which label belongs to which source, from where they stand in the drawing.
#include "LabelPairing.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "AcDbObjPtr.h"
#include "db/blockref.h"
#include "db/curve.h"
#include "db/mtext.h"
#include "db/symboltable.h"
#include "db/text.h"

namespace {

// Enough to follow an arc segment of an outline closely, few enough for a large selection.
constexpr int kOutlineSamples = 256;

bool anchorOf(const AcDbEntity& entity, SvLabelCandidate& candidate) {
    if (const auto* text = AcDbText::cast(&entity)) {
        candidate.anchor = text->position();
        candidate.isText = true;
    } else if (const auto* mtext = AcDbMText::cast(&entity)) {
        candidate.anchor = mtext->location();
        candidate.isText = true;
    } else if (const auto* reference = AcDbBlockReference::cast(&entity)) {
        candidate.anchor = reference->position();
    } else {
        return false;
    }
    return true;
}

// Points along the curve, its end included for an open one.
std::vector<AcGePoint3d> outlineOf(const AcDbCurve& curve) {
    std::vector<AcGePoint3d> points;
    double start = 0, end = 0;
    if (curve.getStartParam(start) != Acad::eOk || curve.getEndParam(end) != Acad::eOk ||
        !(end > start) || !std::isfinite(end - start))
        return points;
    for (int i = 0; i <= kOutlineSamples; ++i) {
        AcGePoint3d point;
        if (curve.getPointAtParam(start + (end - start) * i / kOutlineSamples, point) == Acad::eOk)
            points.push_back(point);
    }
    return points;
}

// Even-odd rule on the crossings of a ray to the right of the point.
bool inside(const std::vector<AcGePoint3d>& outline, const AcGePoint3d& point) {
    bool in = false;
    for (std::size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
        const AcGePoint3d& a = outline[i];
        const AcGePoint3d& b = outline[j];
        if ((a.y > point.y) != (b.y > point.y) &&
            point.x < (b.x - a.x) * (point.y - a.y) / (b.y - a.y) + a.x)
            in = !in;
    }
    return in;
}

AcGePoint3d middleOf(const std::vector<AcGePoint3d>& outline) {
    double x = 0, y = 0;
    for (const AcGePoint3d& point : outline) {
        x += point.x;
        y += point.y;
    }
    const auto n = static_cast<double>(outline.size());
    return AcGePoint3d(x / n, y / n, 0);
}

double planarDistance(const AcGePoint3d& a, const AcGePoint3d& b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// The box round the points, widened by a margin: a candidate outside it cannot be the partner,
// which spares the exact test for nearly every candidate of a large drawing.
struct Box {
    double minX, minY, maxX, maxY;
    bool holds(const AcGePoint3d& p) const {
        return p.x >= minX && p.x <= maxX && p.y >= minY && p.y <= maxY;
    }
};

Box boxOf(const std::vector<AcGePoint3d>& points, double margin) {
    Box box{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const AcGePoint3d& p : points) {
        box.minX = std::min(box.minX, p.x);
        box.minY = std::min(box.minY, p.y);
        box.maxX = std::max(box.maxX, p.x);
        box.maxY = std::max(box.maxY, p.y);
    }
    // The samples cut the corners of arcs a little; a hundredth of the size covers that.
    margin += 0.01 * std::hypot(box.maxX - box.minX, box.maxY - box.minY);
    return Box{box.minX - margin, box.minY - margin, box.maxX + margin, box.maxY + margin};
}

int insideOutline(const AcDbCurve& curve, const std::vector<SvLabelCandidate>& candidates,
                  const std::vector<bool>& taken) {
    const std::vector<AcGePoint3d> outline = outlineOf(curve);
    if (outline.size() < 3)
        return -1;
    const AcGePoint3d middle = middleOf(outline);
    const Box box = boxOf(outline, 0);
    int best = -1;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (taken[i] || !box.holds(candidates[i].anchor) || !inside(outline, candidates[i].anchor))
            continue;
        const double distance = planarDistance(candidates[i].anchor, middle);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
        }
    }
    return best;
}

int nearCurve(const AcDbCurve& curve, const std::vector<SvLabelCandidate>& candidates,
              const std::vector<bool>& taken, double maxDistance) {
    const std::vector<AcGePoint3d> samples = outlineOf(curve);
    if (samples.empty())
        return -1;
    const Box box = boxOf(samples, maxDistance);
    int best = -1;
    double bestDistance = maxDistance;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (taken[i] || !candidates[i].isText || !box.holds(candidates[i].anchor))
            continue;
        AcGePoint3d onCurve;
        if (curve.getClosestPointTo(candidates[i].anchor, onCurve) != Acad::eOk)
            continue;
        const double distance = planarDistance(candidates[i].anchor, onCurve);
        if (distance <= bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
        }
    }
    return best;
}

} // namespace

std::vector<SvLabelCandidate> svLabelCandidates(AcDbObjectId spaceId, const AcRxClass* kind) {
    std::vector<SvLabelCandidate> candidates;
    AcDbObjPtr<AcDbBlockTableRecord> space(spaceId, AcDb::kForRead);
    AcDbBlockTableRecordIterator* entities = nullptr;
    if (!space || space->newIterator(entities) != Acad::eOk || entities == nullptr)
        return candidates;
    for (; !entities->done(); entities->step()) {
        AcDbEntity* entity = nullptr;
        if (entities->getEntity(entity, AcDb::kForRead) != Acad::eOk)
            continue;
        SvLabelCandidate candidate;
        candidate.id = entity->objectId();
        if ((kind == nullptr || entity->isKindOf(kind)) && anchorOf(*entity, candidate))
            candidates.push_back(candidate);
        entity->close();
    }
    delete entities;
    return candidates;
}

int svPartnerOf(AcDbObjectId sourceId, const std::vector<SvLabelCandidate>& candidates,
                const std::vector<bool>& taken, double maxDistance) {
    AcDbObjPtr<AcDbCurve> curve(sourceId, AcDb::kForRead);
    if (!curve)
        return -1;
    return curve->isClosed() ? insideOutline(*curve.object(), candidates, taken)
                             : nearCurve(*curve.object(), candidates, taken, maxDistance);
}
