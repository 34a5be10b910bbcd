#pragma once

#include <string>

#include "db/objectid.h"
#include "gdi/types.h"

struct PlotFrame;

class AcDbDatabase;

enum class SvPaintedPlot { Png, Pdf };

// Paints the entities of one block record through the host's painting layer, framed as the SVG
// plot is, 1000 pixels on the longer side, into a PNG image or a PDF page that holds the picture.
// Lines, curves and texts are drawn, fills are left out. False with a message when the picture
// cannot be made or written.
bool svPlotPainted(AcDbDatabase* db, AcDbObjectId spaceId, const std::wstring& path,
                   SvPaintedPlot kind, std::wstring& error);

// Paints the entities of one block record on a device context: a drawing point p lands on pixel
// ((p.x - frame.left) * scale, (frame.bottom + frame.height - p.y) * scale). The plots and the
// desktop window's drawing view share it.
void svPaintSpace(AcDbDatabase* db, AcDbObjectId spaceId, HDC dc, const PlotFrame& frame,
                  double scale);
