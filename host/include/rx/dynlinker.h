#pragma once

#include <string>

#include "rx/service.h"
#include "win/types.h"

#pragma GCC visibility push(default)

// Loads and unloads modules and keeps the services they offer.
//
// Loading a module: LoadLibraryW (which runs its DllMain attach), then kInitAppMsg to its
// acrxEntryPoint, then kLoadDwgMsg for every open document. A module answering kRetError is
// unloaded again without kUnloadAppMsg. A module stays locked (cannot be unloaded) until it calls
// acrxUnlockApplication. The application id a module receives is its HINSTANCE.
class AcRxDynamicLinker : public AcRxObject {
    SV_RX_DECLARE_MEMBERS(AcRxDynamicLinker);

    AcRxDynamicLinker();
    ~AcRxDynamicLinker() override;

    // True when the module is loaded afterwards, also when it was loaded before.
    bool loadModule(const wchar_t* fileName, bool printit, bool asCmd = false);
    // True when the module was loaded and is gone afterwards.
    bool unloadModule(const wchar_t* fileName, bool printit, bool asCmd = false);
    bool isModuleLoaded(const wchar_t* fileName) const;

    // Enters the service in "ServiceDictionary" and answers it.
    AcRxObject* registerService(const wchar_t* serviceName, AcRxService* service);
    // Takes the service out of "ServiceDictionary"; the caller deletes it.
    AcRxObject* unregisterService(const wchar_t* serviceName);

    bool registerAppMDIAware(void* appId);
    bool registerAppNotMDIAware(void* appId);
    bool isAppMDIAware(void* appId) const;
    bool unlockApplication(void* appId);
    bool lockApplication(void* appId);
    bool isApplicationLocked(void* appId) const;

    // Sends a message to one loaded module; kRetError when it is not loaded.
    AcRx::AppRetCode sendMessage(void* appId, AcRx::AppMsgCode message, void* pkt);
    // Sends a message to every loaded module in loading order; answers kRetError when any did.
    AcRx::AppRetCode sendToAll(AcRx::AppMsgCode message, void* pkt);
    // Unloads every module in reverse order of loading, locked ones included: the host is ending.
    void unloadAll(bool printit);
};

AcRxDynamicLinker* acrxDynamicLinker();
bool acrxLoadModule(const wchar_t* fileName, bool printit, bool asCmd = false);
bool acrxUnloadModule(const wchar_t* fileName, bool printit, bool asCmd = false);
bool acrxUnlockApplication(void* appId);
bool acrxLockApplication(void* appId);
bool acrxApplicationIsLocked(void* appId);
// The module whose entry point the host is calling now (its application id), or null.
void* svCurrentAppId();
// Areas of the host that tell a newly loaded module about their state.
using SvModuleLoadedCallback = void (*)(void* appId);
void svOnModuleLoaded(SvModuleLoadedCallback callback);
// Areas of the host that keep things on a module's behalf drop them when it goes.
using SvModuleUnloadedCallback = void (*)(void* appId);
void svOnModuleUnloaded(SvModuleUnloadedCallback callback);

// Areas of the host that hold what a module's code serves say why it cannot go yet; an empty
// answer lets it go.
using SvModuleUnloadVeto = std::wstring (*)(void* appId);
void svOnModuleUnloadAsked(SvModuleUnloadVeto veto);

// The registry key under which the host keeps its per-user settings.
const wchar_t* acrxProductKey();

#pragma GCC visibility pop
