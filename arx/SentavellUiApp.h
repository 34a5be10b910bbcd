#pragma once

#include "SentavellUi17Api.h"
#include "StArxApp.h"
#include "db/objectid.h"
#include "db/types.h"
#include "mfc/afx.h"
#include "mfc/cstring.h"

class AcDbDictionary;
class AcPropertyLinkStyleMgr;
class AcTransaction;

// The module's LISP functions, each defined under its index as function code.
class CLispImp {
public:
    virtual ~CLispImp() = default;
    bool RegisterFunctions();
    bool InvokeFunction();
    bool UndefineFunctions();
};

// How the resource module is attached to the resource search.
struct CSentavellExtensionModule {
    BOOL m_bAttached = FALSE;
    HINSTANCE m_hDefaultResource = nullptr;
    HINSTANCE m_hModuleResource = nullptr;
    AFX_EXTENSION_MODULE m_module{};
};

// The application object of SentavellUi17.
class SENTAVELLUI17_API CSentavellUiApp : public CStArxApp {
public:
    static CSentavellUiApp* Get();

    AcPropertyLinkStyleMgr* GetStyleMgr() const { return m_pStyleMgr; }
    // Opens sentavell.chm at a context id; silent when the help cannot be had.
    void ShowHelp(DWORD_PTR contextId);

    AcRx::AppRetCode OnInitApp() override;
    AcRx::AppRetCode OnUnloadApp() override;
    AcRx::AppRetCode OnLoadDwg() override;
    AcRx::AppRetCode OnUnloadDwg() override;
    AcRx::AppRetCode OnInvkSubr() override;
    void RegisterClasses() override;
    void UnregisterClasses() override;
    void RegisterCommands() override;
    void UnregisterCommands() override;

private:
    AcPropertyLinkStyleMgr* m_pStyleMgr = nullptr;
    HMODULE m_hHtmlHelp = nullptr;
    CLispImp m_lispImp;
};

// Texts of the resource module's string table.
class SENTAVELLUI17_API CResString {
public:
    explicit CResString(const CSentavellExtensionModule* module) : m_module(module) {}
    virtual ~CResString() = default;
    // Empty when the table has no such id.
    virtual CString operator()(UINT id) const;

private:
    const CSentavellExtensionModule* m_module;
};

SENTAVELLUI17_API const CResString& svResString();

// The styles dictionary of the working drawing, open in mode through the service (created when
// missing); null without a drawing. The caller closes it.
SENTAVELLUI17_API AcDbDictionary* svWorkingStylesDictionary(AcDb::OpenMode mode);
// The key a style stands under in its drawing's styles dictionary; empty when it has none.
SENTAVELLUI17_API CString svStyleName(AcDbObjectId styleId);

// A short system variable of the working drawing; 0 when there is none of that type.
SENTAVELLUI17_API short svShortVar(const wchar_t* name);

// Makes the resource module the current resource handle for the life of the scope, so that the
// dialogs opened inside find their templates first there, also when the scope is left by a throw.
class SENTAVELLUI17_API CModuleResourceScope {
public:
    CModuleResourceScope();
    ~CModuleResourceScope();
    CModuleResourceScope(const CModuleResourceScope&) = delete;
    CModuleResourceScope& operator=(const CModuleResourceScope&) = delete;
};

// A transaction of the current document for the length of a command body.
class AcAutoTransaction {
public:
    AcAutoTransaction();
    virtual ~AcAutoTransaction();
    AcAutoTransaction(const AcAutoTransaction&) = delete;
    AcAutoTransaction& operator=(const AcAutoTransaction&) = delete;

    AcTransaction* m_pTransaction = nullptr;
    bool m_bAbort = false;
};

// Runs a command body in its own transaction: kept when the body answers true, undone when it
// answers false or throws. Answers what the body answered (false after a throw).
SENTAVELLUI17_API bool svRunCommandBody(bool (*body)());

// The body of "C:sv_init": loads the menu group SENTAVELL beside the module unless it is loaded.
SENTAVELLUI17_API int LoadMenuGroup();
