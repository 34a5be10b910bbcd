#pragma once

#include "db/worlddraw.h"

// How far an entity passes from a point, seen from above: lines and curves by their nearest
// point; a filled outline or a text counts its inside as on it. Infinite for an entity that
// draws nothing.
double svPickDistance(const AcDbEntity& entity, const AcGePoint3d& point);
