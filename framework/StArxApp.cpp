#include "StArxApp.h"

#include "crt/crt.h"
#include "module_path.h"
#include "rx/dictionary.h"
#include "rx/dynlinker.h"
#include "win/modules.h"

namespace {

CStArxApp* g_app = nullptr;
wchar_t g_moduleName[MAX_PATH];
wchar_t g_moduleDir[MAX_PATH];

// The module's full path into the buffer; false when it is unknown or did not fit.
bool readModulePath(HINSTANCE module, wchar_t* buffer) {
    const DWORD length = GetModuleFileNameW(module, buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH;
}

} // namespace

CStArxApp::CStArxApp() {
    g_app = this;
}

CStArxApp::~CStArxApp() {
    if (g_app == this)
        g_app = nullptr;
}

CStArxApp* CStArxApp::GetApp() {
    return g_app;
}

const wchar_t* CStArxApp::GetModuleName() {
    if (!readModulePath(m_hInstance, g_moduleName))
        return nullptr;
    return MoveFileNameToFront(g_moduleName);
}

const wchar_t* CStArxApp::GetModuleDir() {
    if (!readModulePath(m_hInstance, g_moduleDir))
        return nullptr;
    return CutAtLastSeparator(g_moduleDir);
}

void* CStArxApp::GetAppId() {
    return m_pAppId;
}

AcRx::AppRetCode CStArxApp::OnInitApp() {
    return AcRx::kRetOK;
}
AcRx::AppRetCode CStArxApp::OnUnloadApp() {
    return AcRx::kRetOK;
}
AcRx::AppRetCode CStArxApp::OnLoadDwg() {
    return AcRx::kRetOK;
}
AcRx::AppRetCode CStArxApp::OnUnloadDwg() {
    return AcRx::kRetOK;
}
AcRx::AppRetCode CStArxApp::OnSave() {
    return AcRx::kRetOK;
}
AcRx::AppRetCode CStArxApp::OnEnd() {
    return AcRx::kRetOK;
}
AcRx::AppRetCode CStArxApp::OnQuit() {
    return AcRx::kRetOK;
}
AcRx::AppRetCode CStArxApp::OnCfg() {
    return AcRx::kRetOK;
}
AcRx::AppRetCode CStArxApp::OnInvkSubr() {
    return AcRx::kRetOK;
}
AcRx::AppRetCode CStArxApp::OnDependency() {
    return AcRx::kRetOK;
}
AcRx::AppRetCode CStArxApp::OnNoDependency() {
    return AcRx::kRetOK;
}
AcRx::AppRetCode CStArxApp::OnOleUnloadApp() {
    return AcRx::kRetOK;
}
AcRx::AppRetCode CStArxApp::OnPreQuit() {
    return AcRx::kRetOK;
}
AcRx::AppRetCode CStArxApp::OnInitDialog(void*) {
    return AcRx::kRetOK;
}
AcRx::AppRetCode CStArxApp::OnEndDialog(void*) {
    return AcRx::kRetOK;
}

void CStArxApp::RegisterClasses() {}
void CStArxApp::UnregisterClasses() {}
void CStArxApp::RegisterCommands() {}
void CStArxApp::UnregisterCommands() {}
void CStArxApp::OnInitAppHook() {}
void CStArxApp::OnUnloadAppHook() {}
void CStArxApp::OnInitAppPreHook() {}

AcRx::AppRetCode CStArxApp::InitApp() {
    // Numbers are written and read with a decimal point whatever the user's locale.
    _wsetlocale(LC_ALL, L".ACP");
    _wsetlocale(LC_NUMERIC, L"ENU");
    acrxUnlockApplication(m_pAppId);
    acrxDynamicLinker()->registerAppMDIAware(m_pAppId);
    RegisterClasses();
    acrxBuildClassHierarchy();
    RegisterCommands();
    OnInitAppPreHook();
    OnInitAppHook();
    return OnInitApp();
}

AcRx::AppRetCode CStArxApp::UnloadApp() {
    OnUnloadAppHook();
    UnregisterCommands();
    UnregisterClasses();
    return OnUnloadApp();
}

AcRx::AppRetCode CStArxApp::EntryPoint(AcRx::AppMsgCode msg, void* pkt) {
    m_pAppId = pkt;
    switch (msg) {
    case AcRx::kInitAppMsg:
        return InitApp();
    case AcRx::kUnloadAppMsg:
        return UnloadApp();
    case AcRx::kLoadDwgMsg:
        return OnLoadDwg();
    case AcRx::kUnloadDwgMsg:
        return OnUnloadDwg();
    case AcRx::kInvkSubrMsg:
        return OnInvkSubr();
    case AcRx::kCfgMsg:
        return OnCfg();
    case AcRx::kEndMsg:
        return OnEnd();
    case AcRx::kQuitMsg:
        return OnQuit();
    case AcRx::kSaveMsg:
        return OnSave();
    case AcRx::kDependencyMsg:
        return OnDependency();
    case AcRx::kNoDependencyMsg:
        return OnNoDependency();
    case AcRx::kOleUnloadAppMsg:
        return OnOleUnloadApp();
    case AcRx::kPreQuitMsg:
        return OnPreQuit();
    case AcRx::kInitDialogMsg:
        return OnInitDialog(pkt);
    case AcRx::kEndDialogMsg:
        return OnEndDialog(pkt);
    default:
        return static_cast<AcRx::AppRetCode>(0);
    }
}
