#pragma once

#include "acad/adscodes.h"
#include "db/array.h"
#include "db/objectid.h"

// Bodies of "sv_linkremove" and "sv_update", run inside the command transaction.
bool removeLinks();
bool updateLinks();

// The ids of a selection set in its order. The first failure ends the conversion; what was
// taken so far stays.
void svSelectedIds(const ads_name selection, AcDbObjectIdArray& ids);
