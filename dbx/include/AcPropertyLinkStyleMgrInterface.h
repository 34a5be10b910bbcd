#pragma once

#include "Sentavell17Api.h"
#include "db/dictionary.h"
#include "mfc/cstring.h"
#include "rx/service.h"

class AcDbDatabase;

// What the database module may ask of the style manager service that the application module
// registers as "AcPropertyLinkStyleMgr". Modules built apart call these through the table of
// virtual operations, so their order after AcRxObject's own is fixed: never reorder or insert.
class SENTAVELL17_API AcPropertyLinkStyleMgrInterface : public AcRxService {
public:
    ~AcPropertyLinkStyleMgrInterface() override;

    // Puts a self-link on the list of pending updates, once.
    virtual void queueDelayedModification(const AcDbObjectId& linkId) = 0;
    // The drawing's styles dictionary opened in `mode`, made on first use; null when it cannot be
    // had. The caller closes it.
    virtual AcDbDictionary* stylesDictionary(AcDbDatabase* db, AcDb::OpenMode mode) = 0;
    // True while the pending updates are carried out.
    virtual bool isPerformingDelayedModifications() = 0;
    // The key of the style in its drawing's styles dictionary, or empty.
    virtual void styleName(const AcDbObjectId& styleId, CString& name) = 0;
    // Rewrites every self-link on the list from its own source, then empties the list.
    virtual void performDelayedModifications() = 0;

protected:
    AcPropertyLinkStyleMgrInterface() = default;
};

// The service registered under "AcPropertyLinkStyleMgr", when it is of the class registered under
// that name; null otherwise (the application module is not loaded).
SENTAVELL17_API AcPropertyLinkStyleMgrInterface* svFindStyleMgr();
