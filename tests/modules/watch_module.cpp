// A module for the host program's editing commands. WATCH attaches a persistent reactor to a
// picked entity, stored in the entity's extension dictionary, and it reports every notification
// it receives. FIXMARK draws an entity that refuses every transformation, as a module's own
// entity may, so that a command moving or copying it fails half-way.
#include "StArxApp.h"
#include "db/database.h"
#include "db/dictionary.h"
#include "db/entity.h"
#include "db/symboltable.h"
#include "ed/commands.h"
#include "ed/selection.h"
#include "rx/class.h"
#include "rx/dictionary.h"
#include "rx/print.h"
#include "win/export.h"
#include "win/modules.h"

namespace {

class SvTestWatcher : public AcDbObject {
    SV_RX_DECLARE_MEMBERS(SvTestWatcher);

public:
    void modified(const AcDbObject* dbObj) override {
        acutPrintf(L"[watch] modified %llX\n",
                   static_cast<unsigned long long>(dbObj->objectId().handle().value()));
    }
    void erased(const AcDbObject*, bool erasing) override {
        acutPrintf(L"[watch] %s\n", erasing ? L"erased" : L"unerased");
    }
};

SV_RX_DEFINE_MEMBERS(SvTestWatcher, newAcRxClass(L"SvTestWatcher", L"AcDbObject", 0, 0, 0,
                                                 &acrxPseudoConstruct<SvTestWatcher>,
                                                 L"SVTESTWATCHER", L"SvTestWatch"))

void watch() {
    ads_name name = {0, 0};
    ads_point point = {0, 0, 0};
    AcDbObjectId id;
    if (acedEntSel(L"\nEntity to watch: ", name, point) != RTNORM ||
        acdbGetObjectId(id, name) != Acad::eOk) {
        svSetCommandFailed();
        return;
    }
    AcDbObject* entity = nullptr;
    if (acdbOpenAcDbObject(entity, id, AcDb::kForWrite) != Acad::eOk) {
        svSetCommandFailed();
        return;
    }
    if (!entity->extensionDictionary().isValid())
        entity->createExtensionDictionary();
    AcDbDictionary* dictionary = nullptr;
    if (acdbOpenObject(dictionary, entity->extensionDictionary(), AcDb::kForWrite) != Acad::eOk) {
        entity->close();
        svSetCommandFailed();
        return;
    }
    auto* watcher = new SvTestWatcher;
    AcDbObjectId watcherId;
    if (dictionary->setAt(L"*U", watcher, watcherId) != Acad::eOk) {
        delete watcher;
        dictionary->close();
        entity->close();
        svSetCommandFailed();
        return;
    }
    entity->addPersistentReactor(watcherId);
    watcher->close();
    dictionary->close();
    entity->close();
    acutPrintf(L"[watch] watching\n");
}

class SvTestFixedMark : public AcDbEntity {
    SV_RX_DECLARE_MEMBERS(SvTestFixedMark);
};

SV_RX_DEFINE_MEMBERS(SvTestFixedMark, newAcRxClass(L"SvTestFixedMark", L"AcDbEntity", 0, 0, 0,
                                                   &acrxPseudoConstruct<SvTestFixedMark>,
                                                   L"SVTESTFIXEDMARK", L"SvTestWatch"))

void fixMark() {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    AcDbBlockTableRecord* space = nullptr;
    if (db == nullptr ||
        acdbOpenObject(space, db->currentSpaceId(), AcDb::kForWrite) != Acad::eOk) {
        svSetCommandFailed();
        return;
    }
    auto* mark = new SvTestFixedMark;
    AcDbObjectId id;
    if (space->appendAcDbEntity(id, mark) != Acad::eOk) {
        delete mark;
        space->close();
        svSetCommandFailed();
        return;
    }
    mark->close();
    space->close();
    acutPrintf(L"[watch] fixed mark %llX\n", static_cast<unsigned long long>(id.handle().value()));
}

class CWatchApp : public CStArxApp {
public:
    void RegisterClasses() override {
        SvTestWatcher::rxInit();
        SvTestFixedMark::rxInit();
    }
    void UnregisterClasses() override {
        deleteAcRxClass(SvTestFixedMark::desc());
        deleteAcRxClass(SvTestWatcher::desc());
    }
    void RegisterCommands() override {
        acedRegCmds->addCommand(L"SV_TEST_WATCH", L"WATCH", L"WATCH", ACRX_CMD_MODAL, &watch);
        acedRegCmds->addCommand(L"SV_TEST_WATCH", L"FIXMARK", L"FIXMARK", ACRX_CMD_MODAL, &fixMark);
    }
    void UnregisterCommands() override { acedRegCmds->removeGroup(L"SV_TEST_WATCH"); }
};

CWatchApp theApp;

} // namespace

extern "C" DLLEXPORT BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        theApp.m_hInstance = instance;
    return TRUE;
}

extern "C" DLLEXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt) {
    return CStArxApp::GetApp()->EntryPoint(msg, pkt);
}
