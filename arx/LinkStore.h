#pragma once

#include "db/array.h"
#include "db/objectid.h"

class AcDbDatabase;

// Where links live: in the extension dictionaries of their sources.

enum class SvLinkStore { Read, NoStore, Unreadable };

// Appends the links in the entity's extension dictionary. NoStore when the entity has no
// extension dictionary; Unreadable when the entity or its dictionary cannot be opened.
SvLinkStore svCollectLinks(AcDbObjectId entity, AcDbObjectIdArray& links);
// Appends the links of every entity of every block of the drawing, block by block in the
// block table's order.
void svCollectDrawingLinks(AcDbDatabase* db, AcDbObjectIdArray& links);
// Takes the link out of its source's dictionary and reactors and erases it. Each step that
// succeeded stays done; true only when the link went all the way.
bool svRemoveLink(AcDbObjectId linkId);
// The entity whose extension dictionary holds the link; null when there is none.
AcDbObjectId svLinkSource(AcDbObjectId linkId);
