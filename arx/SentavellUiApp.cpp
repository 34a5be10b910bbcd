// The module's entry: its application object and the functions the host calls by name.
#include "SentavellUiApp.h"

#include "AcPropertyLinkStyleMgr.h"
#include "ed/print.h"
#include "rx/dictionary.h"
#include "rx/dynlinker.h"
#include "win/cstring.h"

namespace {

// The host API release the module is built for.
constexpr int kApiRelease = 17;

constexpr wchar_t kServiceName[] = L"AcPropertyLinkStyleMgr";

// Loaded from this module's own folder.
constexpr const wchar_t* kRequiredModules[] = {L"sentavell17.dbx"};

CSentavellUiApp theApp;

} // namespace

AcRx::AppRetCode CSentavellUiApp::OnInitApp() {
    for (const wchar_t* name : kRequiredModules) {
        CString path;
        path.Format(L"%s\\%s", GetModuleDir(), name);
        if (!acrxLoadModule(path, false, false)) {
            acutPrintf(L"\nERROR: failed to load module %s", path.GetString());
            return AcRx::kRetError;
        }
    }
    m_pStyleMgr = new AcPropertyLinkStyleMgr;
    acrxDynamicLinker()->registerService(kServiceName, m_pStyleMgr);
    return AcRx::kRetOK;
}

AcRx::AppRetCode CSentavellUiApp::OnUnloadApp() {
    delete acrxServiceDictionary()->remove(kServiceName);
    m_pStyleMgr = nullptr;
    return AcRx::kRetOK;
}

void CSentavellUiApp::RegisterClasses() {
    AcPropertyLinkStyleMgr::rxInit();
}

void CSentavellUiApp::UnregisterClasses() {
    deleteAcRxClass(AcPropertyLinkStyleMgr::desc());
    // The class object is gone; a later start of the module registers a new one.
    AcPropertyLinkStyleMgr::gpDesc = nullptr;
}

extern "C" DLLEXPORT BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        theApp.m_hInstance = instance;
    return TRUE;
}

extern "C" DLLEXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt) {
    return CStArxApp::GetApp()->EntryPoint(msg, pkt);
}

extern "C" DLLEXPORT int acrxGetApiVersion() {
    return kApiRelease;
}
