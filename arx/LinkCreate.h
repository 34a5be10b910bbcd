#pragma once

#include "db/objectid.h"

// Body of "sv_linkcreate", run inside the command transaction: true, keeping the command's work,
// when a link was made or the user confirmed changes in the style manager on the way.
bool createLinkCommand();

// The document's current style, else the drawing's first, else one the user makes or picks in
// the style manager after being asked; false when there is none. stylesConfirmed tells whether
// the user confirmed changes in the style manager on the way.
bool svEnsureCurrentStyle(AcDbObjectId& styleId, bool& stylesConfirmed);
// Stores a new link under "*U" in the source's extension dictionary and attaches it; the
// source's close then notifies it, and it gives the label its first value. A null label makes a
// self-link.
bool svAttachLink(AcDbObjectId sourceId, AcDbObjectId labelId, AcDbObjectId styleId);
