#pragma once

#include "db/objectid.h"
#include "drawing_view.h"
#include "ge/matrix3d.h"

class AcDbDatabase;

namespace window {

// What the drawing view shows and where a point of it is picked: model space with TILEMODE 1,
// else the layout; while model space is worked in through one of the layout's viewports, a point
// of the view picks the point of model space that viewport shows there.
struct ViewSpace {
    AcDbObjectId shown;
    AcGeMatrix3d shownToPicked;  // identity unless through a viewport
    double pickedPerShown = 1.0; // picked units one unit of the view spans

    ViewPoint picked(ViewPoint shownPoint) const;
};

ViewSpace viewSpaceOf(AcDbDatabase* db);

} // namespace window
