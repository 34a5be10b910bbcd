#pragma once

#include "acad/status.h"
#include "db/objectid.h"

#pragma GCC visibility push(default)

class AcDbDatabase;
class AcDbViewport;

// Working in model space through a layout's viewport, or on the layout's paper. Both need
// TILEMODE 0; CVPORT tells which: 1 for paper, the viewport's number for model space.
// eNotApplicable when TILEMODE is 1 or, for acedMspace, the layout has no viewport that is on.
Acad::ErrorStatus acedMspace(AcDbDatabase* database);
Acad::ErrorStatus acedPspace(AcDbDatabase* database);
// Makes the viewport the one model space is worked in through.
Acad::ErrorStatus acedSetCurrentVPort(const AcDbViewport* viewport);

// The block table record that picks and selections search in the database: model space with
// TILEMODE 1 or with CVPORT above 1, else paper space.
AcDbObjectId svPickSpaceId(AcDbDatabase* database);
// The viewport of the layout that model space is worked in through (CVPORT above 1), or null.
AcDbObjectId svCurrentViewportId(AcDbDatabase* database);

#pragma GCC visibility pop
