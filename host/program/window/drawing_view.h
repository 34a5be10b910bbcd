#pragma once

#include "gdi/types.h"
#include "plot/plot_geometry.h"

class AcDbDatabase;

namespace window {

// A point of the drawing seen from above.
struct ViewPoint {
    double x = 0, y = 0;
};

// What part of a space the window shows, and where drawing points land in its pixels. Until the
// person pans or zooms the view keeps the space's extents in sight, so what a command adds is seen.
class DrawingView {
public:
    void resize(int width, int height);
    int width() const { return m_width; }
    int height() const { return m_height; }

    // Shows the frame whole, centred; the view follows the extents again.
    void zoomExtents(const PlotFrame& frame);
    bool followsExtents() const { return m_following; }
    void followExtents() { m_following = true; }
    // Moves the picture by pixels (right and down positive).
    void pan(int dx, int dy);
    // Zooms by the factor (above 1 closer) keeping the drawing point under the pixel in place.
    void zoomAbout(POINT pixel, double factor);

    ViewPoint toDrawing(POINT pixel) const;
    POINT toPixel(ViewPoint point) const;
    // Drawing units one pixel spans.
    double unitsPerPixel() const { return 1.0 / m_scale; }

    // Paints the space on the device context, whose (0, 0) is the view's top left corner.
    void paint(AcDbDatabase* db, AcDbObjectId spaceId, HDC dc) const;

private:
    int m_width = 1, m_height = 1;
    ViewPoint m_centre{5, 5};
    double m_scale = 1; // pixels per drawing unit
    bool m_following = true;
};

} // namespace window
