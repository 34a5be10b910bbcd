#include "view_space.h"

#include <cmath>

#include "db/database.h"
#include "db/viewport.h"
#include "ed/spaces.h"

namespace window {

ViewPoint ViewSpace::picked(ViewPoint shownPoint) const {
    const AcGePoint3d point = shownToPicked * AcGePoint3d(shownPoint.x, shownPoint.y, 0.0);
    return {point.x, point.y};
}

ViewSpace viewSpaceOf(AcDbDatabase* db) {
    ViewSpace space;
    if (db == nullptr)
        return space;
    space.shown = db->tilemode() ? db->modelSpaceId() : db->paperSpaceId();
    AcDbViewport* viewport = nullptr;
    if (acdbOpenObject(viewport, svCurrentViewportId(db), AcDb::kForRead) != Acad::eOk)
        return space;
    space.shownToPicked = viewport->paperToModel();
    const double scale = viewport->customScale();
    viewport->close();
    if (std::isfinite(scale) && scale > 0.0)
        space.pickedPerShown = 1.0 / scale;
    return space;
}

} // namespace window
