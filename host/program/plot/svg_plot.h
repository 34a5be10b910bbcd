#pragma once

#include <string>

#include "db/objectid.h"

class AcDbDatabase;

// Writes the entities of one block record (model space, the layout or a block) as an SVG
// drawing: y points up as in the drawing, the view box fits the extents. A layout shows model
// space through its viewports. False with a message when the file cannot be written.
bool svPlotToSvgFile(AcDbDatabase* db, AcDbObjectId spaceId, const std::wstring& path,
                     std::wstring& error);

// The document itself, UTF-8.
std::string svPlotToSvg(AcDbDatabase* db, AcDbObjectId spaceId);
