#pragma once

#include "AcPropertyLinkStyleMgrInterface.h"
#include "SentavellUi17Api.h"
#include "db/array.h"

// The application's one service: it keeps the styles dictionary "VELD_Sentavell_Styles" of each
// drawing and works off the self-links that asked to be updated once their notification is over.
// The pending list and the performing flag are module-wide, shared by all open drawings.
class SENTAVELLUI17_API AcPropertyLinkStyleMgr : public AcPropertyLinkStyleMgrInterface {
    SV_RX_DECLARE_MEMBERS(AcPropertyLinkStyleMgr);

    AcPropertyLinkStyleMgr() = default;
    ~AcPropertyLinkStyleMgr() override;

    // Ids that are no longer valid are dropped as the list is walked.
    void queueDelayedModification(const AcDbObjectId& linkId) override;
    AcDbDictionary* stylesDictionary(AcDbDatabase* db, AcDb::OpenMode mode) override;
    bool isPerformingDelayedModifications() override;
    void styleName(const AcDbObjectId& styleId, CString& name) override;
    // A link that cannot be worked off (its style gone, its source locked) is dropped with the
    // rest; it is queued again by its source's next change.
    void performDelayedModifications() override;

    // The pending list as it stands, for inspection.
    static const AcDbObjectIdArray& pendingModifications();
};
