#include "SentavellEditorReactor.h"

#include "AcPropertyLinkStyleMgr.h"
#include "LinkCopies.h"
#include "SentavellUiApp.h"
#include "db/database.h"
#include "db/transaction.h"

SV_RX_DEFINE_MEMBERS(CSentavellEditorReactor,
                     newAcRxClass(L"CSentavellEditorReactor", L"AcEditorReactor", 0))

namespace {

CSentavellEditorReactor* g_pEditorReactor = nullptr;

CStAcApDocManagerReactor<AcDbObjectId> g_curDocStyle;

AcDbTransactionManager* currentTransactions() {
    AcApDocument* document = acDocManagerPtr()->curDocument();
    return document != nullptr ? document->transactionManager() : nullptr;
}

} // namespace

CStAcApDocManagerReactor<AcDbObjectId>& svCurDocStyle() {
    return g_curDocStyle;
}

void CSentavellEditorReactor::commandLineReady(AcApDocument*) {
    if (acdbHostApplicationServices()->workingDatabase() == nullptr)
        return;
    AcPropertyLinkStyleMgr* mgr = CSentavellUiApp::Get()->GetStyleMgr();
    AcDbTransactionManager* transactions = currentTransactions();
    if (mgr == nullptr || transactions == nullptr)
        return;
    transactions->startTransaction();
    mgr->performDelayedModifications();
    // The pass may have changed which document is current; end where the manager says.
    if (AcDbTransactionManager* now = currentTransactions())
        now->endTransaction();
}

void CSentavellEditorReactor::endDeepClone(AcDbIdMapping& idMap) {
    svSettleCopiedLinks(idMap);
}

CSentavellEditorReactor* CreateEditorReactor() {
    if (g_pEditorReactor != nullptr)
        return g_pEditorReactor;
    g_pEditorReactor = new CSentavellEditorReactor;
    acedEditor->addReactor(g_pEditorReactor);
    return g_pEditorReactor;
}

void DestroyEditorReactor() {
    if (g_pEditorReactor == nullptr)
        return;
    acedEditor->removeReactor(g_pEditorReactor);
    delete g_pEditorReactor;
    g_pEditorReactor = nullptr;
}
