#pragma once

class AcDbIdMapping;

// After objects were copied: a copied link whose label was copied with its source already points
// at the copied label, and a copied self-link labels its own copy; a copied link whose label
// stayed behind would write the original's label, so the copy of its source goes without it.
void svSettleCopiedLinks(const AcDbIdMapping& idMap);
