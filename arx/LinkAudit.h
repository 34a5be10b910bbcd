#pragma once

#include "SentavellUi17Api.h"
#include "db/objectid.h"
#include "mfc/cstring.h"

class AcDbDatabase;

// What a link's label looks like next to what its style gives now.
enum class SvLinkState {
    Live,             // the label shows what the style gives
    Stale,            // the label shows something else: it was edited, or its source changed
                      // while the link could not follow
    Orphan,           // the label is erased
    StyleMissing,     // the style is erased or is no style
    SourceUnreadable, // the style's reader cannot read the source
};

struct SvLinkAudit {
    AcDbObjectId link;
    AcDbObjectId source;
    AcDbObjectId label; // null for a self-link, whose label is its source
    AcDbObjectId style;
    SvLinkState state = SvLinkState::Orphan;
    CString shown;    // the label's text where the style writes it; empty when it has none
    CString expected; // what the style gives now (for Live and Stale)
};

// Reads the link, its source, label and style, and runs the style as an update would, without
// writing anything.
SENTAVELLUI17_API SvLinkAudit svAuditLink(AcDbObjectId linkId);
// How many labels of the drawing are stale.
SENTAVELLUI17_API int svCountStaleLabels(AcDbDatabase* db);
// Has the style write the label from the source, as the link does when its source changes.
SENTAVELLUI17_API bool svRewriteLabel(const SvLinkAudit& audit);
