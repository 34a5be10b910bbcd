// A module whose entity refuses every transformation, as a module's own entity may: FIXMARK
// draws one, and a command that moves or copies it fails half-way.
#include "StArxApp.h"
#include "db/database.h"
#include "db/entity.h"
#include "db/symboltable.h"
#include "ed/commands.h"
#include "ed/print.h"
#include "rx/class.h"
#include "rx/dictionary.h"
#include "win/export.h"
#include "win/modules.h"

namespace {

class SvTestFixedMark : public AcDbEntity {
    SV_RX_DECLARE_MEMBERS(SvTestFixedMark);
};

SV_RX_DEFINE_MEMBERS(SvTestFixedMark, newAcRxClass(L"SvTestFixedMark", L"AcDbEntity", 0, 0, 0,
                                                   &acrxPseudoConstruct<SvTestFixedMark>,
                                                   L"SVTESTFIXEDMARK", L"SvTestFixed"))

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
    acutPrintf(L"[fixed] mark %llX\n", static_cast<unsigned long long>(id.handle().value()));
}

class CFixedApp : public CStArxApp {
public:
    void RegisterClasses() override { SvTestFixedMark::rxInit(); }
    void UnregisterClasses() override { deleteAcRxClass(SvTestFixedMark::desc()); }
    void RegisterCommands() override {
        acedRegCmds->addCommand(L"SV_TEST_FIXED", L"FIXMARK", L"FIXMARK", ACRX_CMD_MODAL, &fixMark);
    }
    void UnregisterCommands() override { acedRegCmds->removeGroup(L"SV_TEST_FIXED"); }
};

CFixedApp theApp;

} // namespace

extern "C" DLLEXPORT BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        theApp.m_hInstance = instance;
    return TRUE;
}

extern "C" DLLEXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt) {
    return CStArxApp::GetApp()->EntryPoint(msg, pkt);
}
