// "sv_linkbatch": many sources, each linked in the current style to the label beside or inside it.
#include "LinkBatch.h"

#include <map>
#include <set>
#include <vector>

#include "AcDbObjPtr.h"
#include "AcPropertyLinkStyle.h"
#include "LabelPairing.h"
#include "LinkCommands.h"
#include "LinkCreate.h"
#include "LinkList.h"
#include "SentavellUiApp.h"
#include "crt/format.h"
#include "ed/getinput.h"
#include "ed/selection.h"
#include "resource.h"
#include "rx/print.h"

namespace {

// The distance last given, offered again as the default.
double g_curveDistance = 1.0;

// The labels one space offers, and which of them this run has taken.
struct LabelPool {
    std::vector<SvLabelCandidate> candidates;
    std::vector<bool> taken;
};

const AcRxClass* labelKind(AcDbObjectId styleId) {
    AcDbObjPtr<AcPropertyLinkStyle> style(styleId, AcDb::kForRead);
    const AcContentModifier* modifier = style ? style->contentModifier() : nullptr;
    return modifier != nullptr ? modifier->supportedEntityKind() : nullptr;
}

AcDbObjectId ownerOf(AcDbObjectId id) {
    AcDbObjPtr<AcDbEntity> entity(id, AcDb::kForRead);
    return entity ? entity->ownerId() : AcDbObjectId();
}

// False when the user cancels.
bool askDistance() {
    CString prompt;
    prompt.Format(svResString()(IDS_BATCH_DISTANCE_PROMPT), g_curveDistance);
    acedInitGet(RSG_NONEG, nullptr);
    ads_real distance = 0;
    const int answer = acedGetReal(prompt, &distance);
    if (answer == RTNORM)
        g_curveDistance = distance;
    return answer == RTNORM || answer == RTNONE;
}

bool selectSources(AcDbObjectIdArray& sources) {
    ads_name selection;
    if (acedSSGet(nullptr, nullptr, nullptr, nullptr, selection) != RTNORM)
        return false;
    svSelectedIds(selection, sources);
    acedSSFree(selection);
    return true;
}

} // namespace

bool linkBatchCommand() {
    AcDbObjectId styleId;
    bool stylesConfirmed = false;
    if (!svEnsureCurrentStyle(styleId, stylesConfirmed))
        return stylesConfirmed;
    acutPrintf(svResString()(IDS_CURRENT_STYLE), svStyleName(styleId).GetString());
    AcDbObjectIdArray sources(0, 8);
    if (!askDistance() || !selectSources(sources))
        return stylesConfirmed;

    const AcRxClass* kind = labelKind(styleId);
    std::map<AcDbObjectId, LabelPool> pools;
    std::vector<AcDbObjectId> alone;
    std::set<AcDbObjectId> labels;
    int made = 0;
    for (int i = 0; i < sources.length(); ++i) {
        const AcDbObjectId owner = ownerOf(sources[i]);
        auto [at, fresh] = pools.try_emplace(owner);
        LabelPool& pool = at->second;
        if (fresh) {
            pool.candidates = svLabelCandidates(owner, kind);
            pool.taken.assign(pool.candidates.size(), false);
        }
        const int partner = svPartnerOf(sources[i], pool.candidates, pool.taken, g_curveDistance);
        const AcDbObjectId label =
            partner >= 0 ? pool.candidates[static_cast<std::size_t>(partner)].id : AcDbObjectId();
        if (partner < 0 || !svAttachLink(sources[i], label, styleId)) {
            alone.push_back(sources[i]);
            continue;
        }
        pool.taken[static_cast<std::size_t>(partner)] = true;
        labels.insert(label);
        ++made;
        acutPrintf(svResString()(IDS_BATCH_PAIRED), svDescribeObject(sources[i]).GetString(),
                   svDescribeObject(label).GetString());
    }
    // A selected label that found its source is not one left alone.
    std::erase_if(alone, [&](const AcDbObjectId& id) { return labels.contains(id); });
    for (const AcDbObjectId& source : alone)
        acutPrintf(svResString()(IDS_BATCH_ALONE), svDescribeObject(source).GetString());
    acutPrintf(svResString()(IDS_BATCH_SUMMARY), made, static_cast<int>(alone.size()));
    return made > 0 || stylesConfirmed;
}
