#pragma once

#include "db/objectid.h"
#include "mfc/cstring.h"

// Body of "sv_linklist", run inside the command transaction.
bool listLinksCommand();
// Says in one line how many labels of the working drawing are stale; nothing when none is.
void reportStaleLabels();
// "#2A LWPOLYLINE" by handle and kind; an erased object is named as well, and said to be erased.
CString svDescribeObject(AcDbObjectId id);
