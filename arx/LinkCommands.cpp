#include "LinkCommands.h"

#include "AcPropertyLinkStyleMgr.h"
#include "LinkStore.h"
#include "SentavellUiApp.h"
#include "db/array.h"
#include "ed/selection.h"
#include "resource.h"
#include "rx/print.h"

namespace {

void print(UINT id) {
    acutPrintf(L"%s", svResString()(id).GetString());
}

void print(UINT id, int number) {
    acutPrintf(svResString()(id), number);
}

} // namespace

void svSelectedIds(const ads_name selection, AcDbObjectIdArray& ids) {
    Adesk::Int32 length = 0;
    if (acedSSLength(selection, &length) != RTNORM)
        return;
    for (Adesk::Int32 i = 0; i < length; ++i) {
        ads_name entity;
        AcDbObjectId id;
        if (acedSSName(selection, i, entity) != RTNORM || acdbGetObjectId(id, entity) != Acad::eOk)
            return;
        ids.append(id);
    }
}

bool removeLinks() {
    ads_name selection;
    if (acedSSGet(nullptr, nullptr, nullptr, nullptr, selection) != RTNORM)
        return false;

    AcDbObjectIdArray selected(0, 8);
    svSelectedIds(selection, selected);
    if (selected.isEmpty()) {
        print(IDS_NOTHING_SELECTED);
        acedSSFree(selection);
        return false;
    }

    // Every link is found before any goes, so removal never disturbs the search.
    AcDbObjectIdArray links(0, 8);
    for (int i = 0; i < selected.length(); ++i) {
        if (svCollectLinks(selected[i], links) == SvLinkStore::NoStore)
            print(IDS_NO_XDICT);
    }
    if (links.isEmpty()) {
        print(IDS_NO_LINKS);
        acedSSFree(selection);
        return true;
    }

    int removed = 0;
    for (int i = 0; i < links.length(); ++i) {
        if (svRemoveLink(links[i]))
            ++removed;
    }
    print(IDS_LINKS_FOUND, links.length());
    print(IDS_LINKS_REMOVED, removed);
    acedSSFree(selection);
    return true;
}

bool updateLinks() {
    if (AcPropertyLinkStyleMgr* mgr = CSentavellUiApp::Get()->GetStyleMgr())
        mgr->performDelayedModifications();
    return true;
}
