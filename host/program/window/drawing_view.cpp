#include "drawing_view.h"

#include <algorithm>
#include <cmath>

#include "plot/painted_plot.h"

namespace window {

namespace {

// Far enough to lose nothing a drawing holds, near enough that pixels stay integers.
constexpr double kMinScale = 1e-9;
constexpr double kMaxScale = 1e9;

} // namespace

void DrawingView::resize(int width, int height) {
    m_width = std::max(1, width);
    m_height = std::max(1, height);
}

void DrawingView::zoomExtents(const PlotFrame& frame) {
    m_centre = {frame.left + frame.width / 2.0, frame.bottom + frame.height / 2.0};
    const double scale = std::min(m_width / frame.width, m_height / frame.height);
    m_scale = std::isfinite(scale) ? std::clamp(scale, kMinScale, kMaxScale) : 1.0;
    m_following = true;
}

void DrawingView::pan(int dx, int dy) {
    m_centre.x -= dx / m_scale;
    m_centre.y += dy / m_scale;
    m_following = false;
}

void DrawingView::zoomAbout(POINT pixel, double factor) {
    const ViewPoint fixed = toDrawing(pixel);
    m_scale = std::clamp(m_scale * factor, kMinScale, kMaxScale);
    // The fixed point returns under the pixel.
    const ViewPoint moved = toDrawing(pixel);
    m_centre.x += fixed.x - moved.x;
    m_centre.y += fixed.y - moved.y;
    m_following = false;
}

ViewPoint DrawingView::toDrawing(POINT pixel) const {
    return {m_centre.x + (pixel.x - m_width / 2.0) / m_scale,
            m_centre.y - (pixel.y - m_height / 2.0) / m_scale};
}

POINT DrawingView::toPixel(ViewPoint point) const {
    auto clamp = [](double v) { return static_cast<LONG>(std::clamp(v, -1e6, 1e6)); };
    return {clamp(std::lround((point.x - m_centre.x) * m_scale + m_width / 2.0)),
            clamp(std::lround(m_height / 2.0 - (point.y - m_centre.y) * m_scale))};
}

void DrawingView::paint(AcDbDatabase* db, AcDbObjectId spaceId, HDC dc) const {
    PlotFrame frame;
    frame.width = m_width / m_scale;
    frame.height = m_height / m_scale;
    frame.left = m_centre.x - frame.width / 2.0;
    frame.bottom = m_centre.y - frame.height / 2.0;
    svPaintSpace(db, spaceId, dc, frame, m_scale);
}

} // namespace window
