// The module's entry: attach and detach, start-up and shut-down, commands, LISP and help.
#include "SentavellUiApp.h"

#include <iterator>
#include <string>

#include "AcPropertyLinkStyleMgr.h"
#include "LinkBatch.h"
#include "LinkCommands.h"
#include "LinkCreate.h"
#include "LinkList.h"
#include "SentavellEditorReactor.h"
#include "ap/docman.h"
#include "crt/format.h"
#include "db/database.h"
#include "db/transaction.h"
#include "dialogs/CDlgAbout.h"
#include "dialogs/CDlgStyleMgr.h"
#include "ed/commands.h"
#include "ed/frame.h"
#include "ed/lisp.h"
#include "ed/menus.h"
#include "ed/sysvars.h"
#include "mfc/wnd.h"
#include "resource.h"
#include "rx/dictionary.h"
#include "rx/dynlinker.h"
#include "rx/print.h"
#include "win/modules.h"

namespace {

// The host API release the module is built for.
constexpr int kApiRelease = 17;

constexpr wchar_t kServiceName[] = L"AcPropertyLinkStyleMgr";
constexpr wchar_t kCommandGroup[] = L"Tovrik_Sentavell_Commands";
constexpr wchar_t kMenuGroup[] = L"SENTAVELL";

// Loaded from this module's own folder.
constexpr const wchar_t* kRequiredModules[] = {L"sentavell17.dbx"};

constexpr UINT kHelpContext = 15; // HH_HELP_CONTEXT
constexpr WORD kHtmlHelpOrdinal = 14;
using HtmlHelpProc = HWND (*)(HWND, LPCSTR, UINT, DWORD_PTR);

CSentavellUiApp theApp;
CSentavellExtensionModule g_extension;
const CResString g_resString(&g_extension);

// OK keeps every change made in the dialog, through the command's transaction; Cancel undoes
// them all.
bool styleMgrBody() {
    CModuleResourceScope resources;
    CDlgStyleMgr manager(acedGetAcadFrame());
    manager.setSelectStyle(false);
    return manager.DoModal() == IDOK;
}

bool aboutBody() {
    CModuleResourceScope resources;
    CDlgAbout about(acedGetAcadFrame());
    about.DoModal();
    return true;
}

bool helpBody() {
    theApp.ShowHelp(IDH_OVERVIEW);
    return true;
}

template <bool (*Body)()>
void command() {
    svRunCommandBody(Body);
}

struct CommandEntry {
    const wchar_t* name;
    AcRxFunctionPtr function;
};

constexpr CommandEntry kCommands[] = {
    {L"sv_linkcreate", &command<&createLinkCommand>},
    {L"sv_linkremove", &command<&removeLinks>},
    {L"sv_stylemgr", &command<&styleMgrBody>},
    {L"sv_help", &command<&helpBody>},
    {L"sv_about", &command<&aboutBody>},
    {L"sv_update", &command<&updateLinks>},
    {L"sv_linklist", &command<&listLinksCommand>},
    {L"sv_linkbatch", &command<&linkBatchCommand>},
};

struct LispEntry {
    const wchar_t* name;
    int (*function)();
    bool regFunc;
};

constexpr LispEntry kLispFunctions[] = {{L"C:sv_init", &LoadMenuGroup, false}};
constexpr int kLispFunctionCount = static_cast<int>(std::size(kLispFunctions));

// A file beside this module, joined with the separator the module's own path uses, so that
// hosts that take only their native separator in file names find it too.
CString besideModule(const wchar_t* name) {
    const CString dir = theApp.GetModuleDir();
    CString path;
    path.Format(dir.Find(L'/') >= 0 ? L"%s/%s" : L"%s\\%s", dir.GetString(), name);
    return path;
}

AcDbTransactionManager* currentTransactions() {
    AcApDocument* document = acDocManagerPtr()->curDocument();
    return document != nullptr ? document->transactionManager() : nullptr;
}

void setShortVar(const wchar_t* name, short number) {
    resbuf value{};
    value.restype = RTSHORT;
    value.resval.rint = number;
    acedSetVar(name, &value);
}

} // namespace

CSentavellUiApp* CSentavellUiApp::Get() {
    return &theApp;
}

const CResString& svResString() {
    return g_resString;
}

// --- attach and detach -----------------------------------------------------------------------

extern "C" DLLEXPORT BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        theApp.m_hInstance = instance;
        const CString path = besideModule(L"SentavellUi17Res.dll");
        HINSTANCE resource = LoadLibraryW(path);
        if (resource == nullptr)
            return FALSE;
        theApp.m_hResource = resource;
        if (!g_extension.m_bAttached) {
            g_extension.m_bAttached = AfxInitExtensionModule(g_extension.m_module, resource);
            if (g_extension.m_bAttached) {
                g_extension.m_hDefaultResource = AfxGetResourceHandle();
                g_extension.m_hModuleResource = resource;
                new CDynLinkLibrary(g_extension.m_module);
            }
        }
    } else if (reason == DLL_PROCESS_DETACH) {
        if (g_extension.m_bAttached) {
            AfxTermExtensionModule(g_extension.m_module, FALSE);
            g_extension.m_bAttached = FALSE;
        }
        if (theApp.m_hResource != nullptr) {
            FreeLibrary(theApp.m_hResource);
            theApp.m_hResource = nullptr;
            g_extension.m_hModuleResource = nullptr;
        }
    }
    return TRUE;
}

extern "C" DLLEXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt) {
    return CStArxApp::GetApp()->EntryPoint(msg, pkt);
}

extern "C" DLLEXPORT int acrxGetApiVersion() {
    return kApiRelease;
}

// --- start-up and shut-down ------------------------------------------------------------------

AcRx::AppRetCode CSentavellUiApp::OnInitApp() {
    acDocManagerPtr()->pushResourceHandle(g_extension.m_hModuleResource);
    for (const wchar_t* name : kRequiredModules) {
        const CString path = besideModule(name);
        if (!acrxLoadModule(path, false, false)) {
            acutPrintf(L"\nERROR: failed to load module %s", path.GetString());
            acDocManagerPtr()->popResourceHandle();
            // The host unloads this module without a shut-down: nothing of it may stay behind.
            UnregisterCommands();
            UnregisterClasses();
            return AcRx::kRetError;
        }
    }
    m_pStyleMgr = new AcPropertyLinkStyleMgr;
    acrxDynamicLinker()->registerService(kServiceName, m_pStyleMgr);
    CreateEditorReactor();
    acDocManagerPtr()->popResourceHandle();
    return AcRx::kRetOK;
}

AcRx::AppRetCode CSentavellUiApp::OnUnloadApp() {
    DestroyEditorReactor();
    delete acrxServiceDictionary()->remove(kServiceName);
    // Left set, the pointer would outlive the service it names.
    m_pStyleMgr = nullptr;
    return AcRx::kRetOK;
}

void CSentavellUiApp::RegisterClasses() {
    AcPropertyLinkStyleMgr::rxInit();
    CSentavellEditorReactor::rxInit();
}

void CSentavellUiApp::UnregisterClasses() {
    if (AcRxClass* reactorClass = CSentavellEditorReactor::desc())
        deleteAcRxClass(reactorClass);
    if (AcRxClass* serviceClass = AcPropertyLinkStyleMgr::desc())
        deleteAcRxClass(serviceClass);
    // The class objects are gone; a later start of the module registers new ones.
    CSentavellEditorReactor::gpDesc = nullptr;
    AcPropertyLinkStyleMgr::gpDesc = nullptr;
}

void CSentavellUiApp::RegisterCommands() {
    for (const CommandEntry& entry : kCommands)
        acedRegCmds->addCommand(kCommandGroup, entry.name, entry.name, ACRX_CMD_MODAL,
                                entry.function, nullptr, -1, nullptr, nullptr);
}

void CSentavellUiApp::UnregisterCommands() {
    acedRegCmds->removeGroup(kCommandGroup);
}

// --- documents and LISP ----------------------------------------------------------------------

AcRx::AppRetCode CSentavellUiApp::OnLoadDwg() {
    m_lispImp.RegisterFunctions();
    ads_queueexpr(L"(C:sv_init)");
    // Labels edited where the add-on was not loaded are told at once.
    reportStaleLabels();
    return AcRx::kRetOK;
}

AcRx::AppRetCode CSentavellUiApp::OnUnloadDwg() {
    acedUndef(L"C:sv_init", 0);
    return AcRx::kRetOK;
}

AcRx::AppRetCode CSentavellUiApp::OnInvkSubr() {
    m_lispImp.InvokeFunction();
    return AcRx::kRetOK;
}

bool CLispImp::RegisterFunctions() {
    for (int code = 0; code < kLispFunctionCount; ++code) {
        const LispEntry& entry = kLispFunctions[code];
        if (acedDefun(entry.name, static_cast<short>(code)) != RTNORM)
            return false;
        if (entry.regFunc && acedRegFunc(entry.function, code) != RTNORM)
            return false;
    }
    return true;
}

bool CLispImp::InvokeFunction() {
    const int code = acedGetFunCode();
    if (code < 0 || code >= kLispFunctionCount) {
        acdbFail(L"Received nonexistent function code.");
        return false;
    }
    return kLispFunctions[code].function() == RSRSLT;
}

bool CLispImp::UndefineFunctions() {
    for (int code = 0; code < kLispFunctionCount; ++code)
        acedUndef(kLispFunctions[code].name, static_cast<short>(code));
    return true;
}

int LoadMenuGroup() {
    if (acedIsMenuGroupLoaded(kMenuGroup))
        return RSRSLT;
    // Quiet: neither the command's echo nor a file dialog.
    const short cmdecho = svShortVar(L"cmdecho");
    const short cmddia = svShortVar(L"cmddia");
    setShortVar(L"cmdecho", 0);
    setShortVar(L"cmddia", 0);
    const CString path = besideModule(L"sv17.cui");
    acedCommand(RTSTR, L"_.menuload", RTSTR, path.GetString(), 0);
    setShortVar(L"cmdecho", cmdecho);
    setShortVar(L"cmddia", cmddia);
    return RSRSLT;
}

// --- help ------------------------------------------------------------------------------------

void CSentavellUiApp::ShowHelp(DWORD_PTR contextId) {
    if (m_hHtmlHelp == nullptr) {
        m_hHtmlHelp = LoadLibraryW(L"hhctrl.ocx");
        if (m_hHtmlHelp == nullptr)
            return;
    }
    auto htmlHelp = reinterpret_cast<HtmlHelpProc>(
        GetProcAddress(m_hHtmlHelp, MAKEINTRESOURCEA(kHtmlHelpOrdinal)));
    if (htmlHelp == nullptr)
        return;
    const std::string narrow = svToUtf8(besideModule(L"sentavell.chm").GetString());
    htmlHelp(nullptr, narrow.c_str(), kHelpContext, contextId);
}

// --- strings and transactions ----------------------------------------------------------------

CString CResString::operator()(UINT id) const {
    CString text;
    acDocManagerPtr()->pushResourceHandle(m_module->m_hModuleResource);
    text.LoadString(id);
    acDocManagerPtr()->popResourceHandle();
    return text;
}

AcDbDictionary* svWorkingStylesDictionary(AcDb::OpenMode mode) {
    return theApp.GetStyleMgr()->stylesDictionary(acdbHostApplicationServices()->workingDatabase(),
                                                  mode);
}

CString svStyleName(AcDbObjectId styleId) {
    CString name;
    theApp.GetStyleMgr()->styleName(styleId, name);
    return name;
}

short svShortVar(const wchar_t* name) {
    resbuf value{};
    return acedGetVar(name, &value) == RTNORM && value.restype == RTSHORT ? value.resval.rint : 0;
}

CModuleResourceScope::CModuleResourceScope() {
    acDocManagerPtr()->pushResourceHandle(g_extension.m_hModuleResource);
}

CModuleResourceScope::~CModuleResourceScope() {
    acDocManagerPtr()->popResourceHandle();
}

AcAutoTransaction::AcAutoTransaction() {
    if (AcDbTransactionManager* transactions = currentTransactions())
        m_pTransaction = transactions->startTransaction();
}

AcAutoTransaction::~AcAutoTransaction() {
    AcDbTransactionManager* transactions = currentTransactions();
    if (m_pTransaction == nullptr || transactions == nullptr)
        return;
    if (m_bAbort)
        transactions->abortTransaction();
    else
        transactions->endTransaction();
}

bool svRunCommandBody(bool (*body)()) {
    AcAutoTransaction transaction;
    try {
        transaction.m_bAbort = !body();
    } catch (...) {
        // Half a command's work is worse than none.
        transaction.m_bAbort = true;
    }
    return !transaction.m_bAbort;
}
