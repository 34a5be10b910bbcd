// A module that reports each call the host makes into it on the command line, so tests can see
// the order of messages even after the module is gone.
#include "StArxApp.h"
#include "ed/lisp.h"
#include "rx/class.h"
#include "rx/dictionary.h"
#include "rx/print.h"
#include "win/export.h"
#include "win/modules.h"

namespace {

void report(const wchar_t* event) {
    acutPrintf(L"[%s] %s\n", PROBE_NAME, event);
}

AcRxClass* findClass(const wchar_t* name) {
    return AcRxClass::cast(acrxClassDictionary()->at(name));
}

class CProbeApp : public CStArxApp {
public:
    void RegisterClasses() override {
        report(L"RegisterClasses");
        // The child first: its parent link appears only once the hierarchy is built.
        newAcRxClass(PROBE_NAME L"Child", PROBE_NAME L"Parent");
        newAcRxClass(PROBE_NAME L"Parent", L"AcRxObject");
    }
    void RegisterCommands() override {
        AcRxClass* child = findClass(PROBE_NAME L"Child");
        report(child != nullptr && child->myParent() != nullptr
                   ? L"RegisterCommands (hierarchy built)"
                   : L"RegisterCommands (no hierarchy)");
    }
    void OnInitAppPreHook() override { report(L"OnInitAppPreHook"); }
    void OnInitAppHook() override { report(L"OnInitAppHook"); }
    AcRx::AppRetCode OnInitApp() override {
        report(L"OnInitApp");
        acedDefun(L"C:" PROBE_NAME L"_hello", 0);
        acedDefun(L"C:" PROBE_NAME L"_stray", 7);
        ads_queueexpr(L"(C:" PROBE_NAME L"_hello)");
#ifdef PROBE_INIT_ERROR
        return AcRx::kRetError;
#else
        return AcRx::kRetOK;
#endif
    }
    void OnUnloadAppHook() override {
        report(L"OnUnloadAppHook");
    }
    void UnregisterCommands() override {
        report(L"UnregisterCommands");
    }
    void UnregisterClasses() override {
        report(L"UnregisterClasses");
        deleteAcRxClass(findClass(PROBE_NAME L"Child"));
        deleteAcRxClass(findClass(PROBE_NAME L"Parent"));
    }
    AcRx::AppRetCode OnUnloadApp() override {
        report(L"OnUnloadApp");
        return AcRx::kRetOK;
    }
    AcRx::AppRetCode OnLoadDwg() override {
        report(L"OnLoadDwg");
        return AcRx::kRetOK;
    }
    AcRx::AppRetCode OnUnloadDwg() override {
        report(L"OnUnloadDwg");
        return AcRx::kRetOK;
    }
    AcRx::AppRetCode OnInvkSubr() override {
        if (acedGetFunCode() == 0)
            report(L"hello");
        else
            acdbFail(L"Received nonexistent function code.");
        return AcRx::kRetOK;
    }
    AcRx::AppRetCode OnSave() override {
        report(L"OnSave");
        return AcRx::kRetOK;
    }
};

CProbeApp theApp;

int probeOrdinalSeven() {
    return 7;
}

} // namespace

SV_EXPORT_ORDINAL(7, probeOrdinalSeven);

extern "C" DLLEXPORT BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        theApp.m_hInstance = instance;
        report(L"attach");
#ifdef PROBE_REFUSE_ATTACH
        return FALSE;
#endif
    } else if (reason == DLL_PROCESS_DETACH) {
        report(L"detach");
    }
    return TRUE;
}

extern "C" DLLEXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt) {
    return CStArxApp::GetApp()->EntryPoint(msg, pkt);
}

// What the tests ask of the module's own framework copy.
extern "C" DLLEXPORT CStArxApp* probeApp() {
    return CStArxApp::GetApp();
}
extern "C" DLLEXPORT const wchar_t* probeModuleName() {
    return CStArxApp::GetApp()->GetModuleName();
}
extern "C" DLLEXPORT const wchar_t* probeModuleDir() {
    return CStArxApp::GetApp()->GetModuleDir();
}
