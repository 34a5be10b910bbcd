#pragma once

#include <vector>

#include "db/objectid.h"
#include "db/worlddraw.h"

class AcDbDatabase;

// The colour a colour index plots in, 0 to 255 a channel.
struct PlotColor {
    int red = 0, green = 0, blue = 0;
};
PlotColor plotColor(int colorIndex);

// The part of the drawing a plot shows: the extents of what the plotted space holds with a
// margin around, never empty, y pointing up.
struct PlotFrame {
    double left = 0, bottom = 0, width = 1, height = 1;
    double size = 1; // the larger side of the extents, without the margin
};
PlotFrame plotFrame(AcDbObjectId spaceId);

// What every kind of plot shares: the entities of the plotted space drawn in turn, and on a
// layout the viewports showing model space, clipped to their frames.
class PlotGeometry : public AcGiGeometry {
public:
    explicit PlotGeometry(AcDbDatabase* db) : m_db(db) {}

    void drawSpace(AcDbObjectId spaceId);
    void viewportContents(const AcDbViewport& viewport) override;

protected:
    // The frame of a viewport on paper, four corners; what is drawn until endClip stays inside.
    virtual void beginClip(const std::vector<AcGePoint3d>& corners) = 0;
    virtual void endClip() = 0;

private:
    AcDbDatabase* m_db;
    bool m_insideViewport = false;
};
