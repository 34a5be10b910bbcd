#pragma once

#include <vector>

#include "db/objectid.h"
#include "ge/point3d.h"

class AcDbDatabase;
class AcRxClass;

// An entity that can take a label's text, and the point it stands at.
struct SvLabelCandidate {
    AcDbObjectId id;
    AcGePoint3d anchor;
    bool isText = false; // single-line or multiline text, not a block
};

// The texts, multiline texts and block references of the space, of the kind given (null: any).
std::vector<SvLabelCandidate> svLabelCandidates(AcDbObjectId spaceId, const AcRxClass* kind);

// The label for the source among the candidates not yet taken: for a closed outline the text or
// block standing inside it nearest to its middle; for any other curve the text nearest to it,
// no farther than maxDistance. The candidate's index; -1 when none fits or the source is no
// curve.
int svPartnerOf(AcDbObjectId sourceId, const std::vector<SvLabelCandidate>& candidates,
                const std::vector<bool>& taken, double maxDistance);
