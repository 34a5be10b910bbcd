#pragma once

#include "rx/codes.h"
#include "win/types.h"

// The application object of a module: the host's entry-point messages arrive as calls of its
// virtual operations. Exactly one per module, a static object of a derived class.
class CStArxApp {
public:
    CStArxApp();
    virtual ~CStArxApp();

    // The module's file name from its last separator on (separator included), in a buffer of
    // the framework's that the next call overwrites; null when it cannot be found.
    virtual const wchar_t* GetModuleName();
    // The module's folder without trailing separator, in a second such buffer; null likewise.
    virtual const wchar_t* GetModuleDir();
    virtual void* GetAppId();

    virtual AcRx::AppRetCode OnInitApp();
    virtual AcRx::AppRetCode OnUnloadApp();
    virtual AcRx::AppRetCode OnLoadDwg();
    virtual AcRx::AppRetCode OnUnloadDwg();
    virtual AcRx::AppRetCode OnSave();
    virtual AcRx::AppRetCode OnEnd();
    virtual AcRx::AppRetCode OnQuit();
    virtual AcRx::AppRetCode OnCfg();
    virtual AcRx::AppRetCode OnInvkSubr();
    virtual AcRx::AppRetCode OnDependency();
    virtual AcRx::AppRetCode OnNoDependency();
    virtual AcRx::AppRetCode OnOleUnloadApp();
    virtual AcRx::AppRetCode OnPreQuit();
    virtual AcRx::AppRetCode OnInitDialog(void* pkt);
    virtual AcRx::AppRetCode OnEndDialog(void* pkt);

    virtual void RegisterClasses();
    virtual void UnregisterClasses();
    virtual void RegisterCommands();
    virtual void UnregisterCommands();
    virtual void OnInitAppHook();
    virtual void OnUnloadAppHook();
    virtual void OnInitAppPreHook();

    static CStArxApp* GetApp();
    HINSTANCE GetModuleInstance() const { return m_hInstance; }
    HINSTANCE GetResourceInstance() const { return m_hResource ? m_hResource : m_hInstance; }

    // What the module's acrxEntryPoint hands on.
    AcRx::AppRetCode EntryPoint(AcRx::AppMsgCode msg, void* pkt);

    HINSTANCE m_hInstance = nullptr;
    HINSTANCE m_hResource = nullptr;
    void* m_pAppId = nullptr;

    CStArxApp(const CStArxApp&) = delete;
    CStArxApp& operator=(const CStArxApp&) = delete;

private:
    AcRx::AppRetCode InitApp();
    AcRx::AppRetCode UnloadApp();
};
