#include "LinkCopies.h"

#include "AcDbObjPtr.h"
#include "AcPropertyLink.h"
#include "LinkStore.h"
#include "db/idmapping.h"

namespace {

// The label of the link; for a self-link the null id.
bool labelOf(AcDbObjectId linkId, AcDbObjectId& label) {
    AcDbObjPtr<AcPropertyLink> link(linkId, AcDb::kForRead);
    if (!link)
        return false;
    label = link->linkedObj();
    return true;
}

} // namespace

void svSettleCopiedLinks(const AcDbIdMapping& idMap) {
    AcDbIdMappingIter pairs(idMap);
    for (pairs.start(); !pairs.done(); pairs.next()) {
        AcDbIdPair pair;
        pairs.getMap(pair);
        AcDbObjectId label;
        if (!pair.isCloned() || !labelOf(pair.key(), label) || label.isNull())
            continue;
        if (idMap.translated(label) == label)
            svRemoveLink(pair.value());
    }
}
