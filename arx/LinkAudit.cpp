#include "LinkAudit.h"

#include "AcDbObjPtr.h"
#include "AcPropertyLink.h"
#include "AcPropertyLinkStyle.h"
#include "LinkStore.h"
#include "db/array.h"

namespace {

// What the label shows is wanted only where it is listed.
enum class Shown { Wanted, NotWanted };

void compare(const AcPropertyLinkStyle& style, const AcDbEntity* source, const AcDbEntity* label,
             Shown shown, SvLinkAudit& audit) {
    const AcContentModifier* modifier = style.contentModifier();
    if (modifier != nullptr && shown == Shown::Wanted)
        modifier->labelContent(label, audit.shown);
    switch (style.labelText(source, audit.expected)) {
    case Acad::eOk:
        audit.state =
            modifier->holdsContent(label, audit.expected) ? SvLinkState::Live : SvLinkState::Stale;
        break;
    case Acad::eInvalidInput:
        audit.state = SvLinkState::SourceUnreadable;
        break;
    default:
        // A style without reader or modifier writes nothing, so nothing can go stale.
        audit.state = SvLinkState::Live;
        break;
    }
}

SvLinkAudit auditLink(AcDbObjectId linkId, Shown shown) {
    SvLinkAudit audit;
    audit.link = linkId;
    {
        AcDbObjPtr<AcPropertyLink> link(linkId, AcDb::kForRead);
        if (!link)
            return audit;
        audit.label = link->linkedObj();
        audit.style = link->style();
    }
    audit.source = svLinkSource(linkId);

    AcDbObjPtr<AcDbEntity> label(audit.label.isNull() ? audit.source : audit.label, AcDb::kForRead);
    if (!label)
        return audit;
    AcDbObjPtr<AcPropertyLinkStyle> style(audit.style, AcDb::kForRead);
    if (!style) {
        audit.state = SvLinkState::StyleMissing;
        return audit;
    }
    AcDbObjPtr<AcDbEntity> source;
    if (!audit.label.isNull())
        source.open(audit.source, AcDb::kForRead);
    compare(*style.object(), audit.label.isNull() ? label.object() : source.object(),
            label.object(), shown, audit);
    return audit;
}

} // namespace

SvLinkAudit svAuditLink(AcDbObjectId linkId) {
    return auditLink(linkId, Shown::Wanted);
}

int svCountStaleLabels(AcDbDatabase* db) {
    AcDbObjectIdArray links(0, 8);
    svCollectDrawingLinks(db, links);
    int stale = 0;
    for (int i = 0; i < links.length(); ++i) {
        if (auditLink(links[i], Shown::NotWanted).state == SvLinkState::Stale)
            ++stale;
    }
    return stale;
}

bool svRewriteLabel(const SvLinkAudit& audit) {
    AcDbObjPtr<AcPropertyLinkStyle> style(audit.style, AcDb::kForRead);
    if (!style)
        return false;
    if (audit.label.isNull()) {
        AcDbObjPtr<AcDbEntity> self(audit.source, AcDb::kForWrite);
        if (!self)
            return false;
        style->update(self.object(), self.object());
        return true;
    }
    AcDbObjPtr<AcDbEntity> source(audit.source, AcDb::kForRead);
    AcDbObjPtr<AcDbEntity> label(audit.label, AcDb::kForWrite);
    if (!label)
        return false;
    style->update(source.object(), label.object());
    return true;
}
