// "sv_linklist": every link of the drawing or of the selected objects, with the state of its
// label, and the repair of what can be repaired.
#include "LinkList.h"

#include <array>
#include <vector>

#include "LinkAudit.h"
#include "LinkCommands.h"
#include "LinkStore.h"
#include "SentavellUiApp.h"
#include "ap/docman.h"
#include "crt/crt.h"
#include "db/array.h"
#include "db/database.h"
#include "db/object.h"
#include "ed/getinput.h"
#include "ed/selection.h"
#include "resource.h"
#include "rx/print.h"

namespace {

constexpr std::size_t kStates = 5;

UINT stateText(SvLinkState state) {
    switch (state) {
    case SvLinkState::Live:
        return IDS_STATE_LIVE;
    case SvLinkState::Stale:
        return IDS_STATE_STALE;
    case SvLinkState::Orphan:
        return IDS_STATE_ORPHAN;
    case SvLinkState::StyleMissing:
        return IDS_STATE_STYLE_MISSING;
    case SvLinkState::SourceUnreadable:
        break;
    }
    return IDS_STATE_SOURCE_UNREADABLE;
}

} // namespace

CString svDescribeObject(AcDbObjectId id) {
    wchar_t hex[32] = L"0";
    id.handle().getIntoAsciiBuffer(hex, 32);
    CString text;
    AcDbObject* object = nullptr;
    if (acdbOpenAcDbObject(object, id, AcDb::kForRead, true) != Acad::eOk) {
        text.Format(svResString()(IDS_OBJECT_GONE), hex);
        return text;
    }
    const AcRxClass* kind = object->isA();
    const wchar_t* kindName =
        kind == nullptr ? L"?" : (kind->dxfName() != nullptr ? kind->dxfName() : kind->name());
    text.Format(svResString()(object->isErased() ? IDS_OBJECT_ERASED : IDS_OBJECT), hex, kindName);
    object->close();
    return text;
}

namespace {

void printLink(const SvLinkAudit& audit) {
    const CString label =
        audit.label.isNull() ? svResString()(IDS_LABEL_SELF) : svDescribeObject(audit.label);
    CString style = svStyleName(audit.style);
    if (style.IsEmpty())
        style = svResString()(IDS_STYLE_UNNAMED);
    CString state = svResString()(stateText(audit.state));
    if (audit.state == SvLinkState::Stale)
        state.AppendFormat(svResString()(IDS_STALE_GIVES), audit.expected.GetString());
    acutPrintf(svResString()(IDS_LINKLIST_LINE), svDescribeObject(audit.source).GetString(),
               label.GetString(), style.GetString(), audit.shown.GetString(), state.GetString());
}

// The links of the drawing, or of the objects the user selects; false when the user cancels.
bool chooseLinks(AcDbObjectIdArray& links) {
    acedInitGet(0, svResString()(IDS_LINKLIST_SCOPE_KEYWORDS));
    wchar_t keyword[SV_MAX_INPUT] = {};
    const int answer = acedGetKword(svResString()(IDS_LINKLIST_SCOPE_PROMPT), keyword);
    if (answer == RTNONE || (answer == RTNORM && _wcsicmp(keyword, L"All") == 0)) {
        svCollectDrawingLinks(acdbHostApplicationServices()->workingDatabase(), links);
        return true;
    }
    if (answer != RTNORM)
        return false;
    ads_name selection;
    if (acedSSGet(nullptr, nullptr, nullptr, nullptr, selection) != RTNORM)
        return false;
    AcDbObjectIdArray selected(0, 8);
    svSelectedIds(selection, selected);
    acedSSFree(selection);
    for (int i = 0; i < selected.length(); ++i)
        svCollectLinks(selected[i], links);
    return true;
}

bool removable(SvLinkState state) {
    return state == SvLinkState::Orphan || state == SvLinkState::StyleMissing;
}

// Asked once, with the counts; eXit or Enter leaves everything as it is.
void offerFix(const std::vector<SvLinkAudit>& audits, int stale, int broken) {
    CString prompt;
    prompt.Format(svResString()(IDS_FIX_PROMPT), stale, broken);
    acedInitGet(0, svResString()(IDS_FIX_KEYWORDS));
    wchar_t keyword[SV_MAX_INPUT] = {};
    if (acedGetKword(prompt, keyword) != RTNORM || _wcsicmp(keyword, L"Fix") != 0)
        return;
    int rewritten = 0, removed = 0;
    for (const SvLinkAudit& audit : audits) {
        if (audit.state == SvLinkState::Stale && svRewriteLabel(audit))
            ++rewritten;
        else if (removable(audit.state) && svRemoveLink(audit.link))
            ++removed;
    }
    acutPrintf(svResString()(IDS_FIX_DONE), rewritten, removed);
}

} // namespace

bool listLinksCommand() {
    AcDbObjectIdArray links(0, 8);
    if (!chooseLinks(links))
        return false;
    if (links.isEmpty()) {
        acutPrintf(L"%s", svResString()(IDS_LINKLIST_NONE).GetString());
        return true;
    }
    std::vector<SvLinkAudit> audits;
    std::array<int, kStates> counts{};
    for (int i = 0; i < links.length(); ++i) {
        audits.push_back(svAuditLink(links[i]));
        printLink(audits.back());
        ++counts[static_cast<std::size_t>(audits.back().state)];
    }
    const auto count = [&](SvLinkState state) { return counts[static_cast<std::size_t>(state)]; };
    acutPrintf(svResString()(IDS_LINKLIST_SUMMARY), links.length(), count(SvLinkState::Live),
               count(SvLinkState::Stale), count(SvLinkState::Orphan),
               count(SvLinkState::StyleMissing), count(SvLinkState::SourceUnreadable));
    const int broken = count(SvLinkState::Orphan) + count(SvLinkState::StyleMissing);
    if (count(SvLinkState::Stale) + broken > 0)
        offerFix(audits, count(SvLinkState::Stale), broken);
    return true;
}

void reportStaleLabels() {
    const int stale = svCountStaleLabels(acdbHostApplicationServices()->workingDatabase());
    AcApDocument* document = acDocManagerPtr()->curDocument();
    if (stale > 0 && document != nullptr)
        acutPrintf(svResString()(IDS_STALE_ON_OPEN), document->fileName(), stale);
}
