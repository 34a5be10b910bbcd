#pragma once

#include "acad/status.h"

class AcDbEntity;
class AcDbExtents;

// Adds the box around what the entity draws; eInvalidExtents when it draws nothing. An entity
// drawn inside it (a block's) brings the extents it answers itself, carried by the model
// transform, so every kind keeps its own box.
Acad::ErrorStatus svAddDrawnExtents(const AcDbEntity& entity, AcDbExtents& extents);
