#pragma once

#include <string>

#include "db/objectid.h"

class AcDbDatabase;

// Paints the entities of one block record into a PNG image through the host's painting layer,
// framed as the SVG plot is, 1000 pixels on the longer side. Lines, curves and texts are drawn,
// fills are left out. False with a message when the image cannot be made or written.
bool svPlotToPngFile(AcDbDatabase* db, AcDbObjectId spaceId, const std::wstring& path,
                     std::wstring& error);
