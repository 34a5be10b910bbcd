#include "plot/plot_geometry.h"

#include <algorithm>
#include <cmath>

#include "db/database.h"
#include "db/extents.h"
#include "db/symboltable.h"
#include "db/viewport.h"

namespace {

// Each entity of a block record, open for read while `visit` runs.
template <class Visit>
void forEachEntity(AcDbObjectId spaceId, Visit visit) {
    AcDbBlockTableRecord* space = nullptr;
    if (acdbOpenObject(space, spaceId, AcDb::kForRead) != Acad::eOk)
        return;
    AcDbBlockTableRecordIterator* it = nullptr;
    const bool iterating = space->newIterator(it) == Acad::eOk;
    space->close();
    if (!iterating)
        return;
    for (; !it->done(); it->step()) {
        AcDbEntity* entity = nullptr;
        if (it->getEntity(entity, AcDb::kForRead) != Acad::eOk)
            continue;
        visit(*entity);
        entity->close();
    }
    delete it;
}

} // namespace

// A small colour-index table: the named colours, greys, and for the rest a hue wheel.
PlotColor plotColor(int index) {
    static const PlotColor named[] = {{0, 0, 0},       {255, 0, 0},    {255, 255, 0}, {0, 255, 0},
                                      {0, 255, 255},   {0, 0, 255},    {255, 0, 255}, {0, 0, 0},
                                      {128, 128, 128}, {192, 192, 192}};
    if (index >= 0 && index <= 9)
        return named[index];
    if (index >= 250 && index <= 255) {
        const int grey = 51 + (index - 250) * 40;
        return {grey, grey, grey};
    }
    if (index < 10 || index > 249)
        return {};
    const double hue = ((index - 10) / 10) * 15.0;
    const double light = (index % 2 == 0) ? 1.0 : 0.75;
    const double shade = 1.0 - ((index % 10) / 2) * 0.15;
    auto channel = [&](double offset) {
        double h = std::fmod(hue + offset, 360.0);
        double v = h < 60 ? h / 60 : h < 180 ? 1.0 : h < 240 ? (240 - h) / 60 : 0.0;
        v = (v * light + (1.0 - light)) * shade;
        return static_cast<int>(std::lround(v * 255));
    };
    return {channel(120), channel(0), channel(240)};
}

PlotFrame plotFrame(AcDbObjectId spaceId) {
    AcDbExtents extents;
    forEachEntity(spaceId, [&](const AcDbEntity& entity) { entity.getGeomExtents(extents); });
    double x0 = 0, y0 = 0, x1 = 10, y1 = 10;
    const AcGeVector3d span = extents.maxPoint() - extents.minPoint();
    // Extents too large to subtract leave the default box: the plot stays valid.
    if (!extents.isEmpty() && std::isfinite(span.x) && std::isfinite(span.y)) {
        x0 = extents.minPoint().x;
        y0 = extents.minPoint().y;
        x1 = extents.maxPoint().x;
        y1 = extents.maxPoint().y;
    }
    PlotFrame frame;
    frame.size = std::max(x1 - x0, y1 - y0);
    if (!(frame.size > 0.0) || !std::isfinite(frame.size))
        frame.size = 1.0;
    const double margin = frame.size * 0.05;
    frame.left = x0 - margin;
    frame.bottom = y0 - margin;
    frame.width = std::max(x1 - x0 + 2 * margin, frame.size * 0.01);
    frame.height = std::max(y1 - y0 + 2 * margin, frame.size * 0.01);
    return frame;
}

void PlotGeometry::drawSpace(AcDbObjectId spaceId) {
    forEachEntity(spaceId, [this](const AcDbEntity& entity) { draw(entity); });
}

// Model space through the viewport, when the layout itself is plotted.
void PlotGeometry::viewportContents(const AcDbViewport& vp) {
    if (drawDepth() > 1 || m_insideViewport)
        return;
    const AcGePoint3d c = vp.centerPoint();
    const double w = vp.width() / 2, h = vp.height() / 2;
    // Model to paper as the viewport shows it, kept invertible so entities can follow it.
    const AcGePoint2d viewCenter = vp.viewCenter();
    const AcGeMatrix3d toPaper =
        AcGeMatrix3d::translation(c.asVector()) *
        AcGeMatrix3d::scaling(vp.height() / vp.viewHeight()) *
        AcGeMatrix3d::translation(AcGeVector3d(-viewCenter.x, -viewCenter.y, 0.0)) *
        AcGeMatrix3d::rotation(-vp.twistAngle(), AcGeVector3d::kZAxis) *
        AcGeMatrix3d::worldToPlane(vp.viewDirection()) *
        AcGeMatrix3d::translation(-vp.viewTarget().asVector());
    beginClip({c + AcGeVector3d(-w, -h, 0), c + AcGeVector3d(w, -h, 0), c + AcGeVector3d(w, h, 0),
               c + AcGeVector3d(-w, h, 0)});
    // Model space keeps its own colours: BYBLOCK there is not the viewport's.
    const AcGiSubEntityTraits frameTraits = subEntityTraits();
    subEntityTraits() = AcGiSubEntityTraits();
    m_insideViewport = true;
    pushModelTransform(toPaper);
    drawSpace(m_db->modelSpaceId());
    popModelTransform();
    m_insideViewport = false;
    subEntityTraits() = frameTraits;
    endClip();
}
