#include "rx/dynlinker.h"

#include <algorithm>
#include <string>
#include <vector>

#include "rx/dictionary.h"
#include "rx/print.h"
#include "win/modules.h"

namespace {

using EntryPoint = AcRx::AppRetCode (*)(AcRx::AppMsgCode, void*);

struct Application {
    HMODULE module;
    EntryPoint entryPoint;
    bool locked = true;
    bool mdiAware = false;
};

// In loading order. Modules load and unload other modules from their entry points, so the list is
// searched afresh after every call into a module.
std::vector<Application>& applications() {
    static std::vector<Application> apps;
    return apps;
}

Application* findApplication(const void* appId) {
    auto& apps = applications();
    auto found = std::find_if(apps.begin(), apps.end(),
                              [appId](const Application& app) { return app.module == appId; });
    return found == apps.end() ? nullptr : &*found;
}

std::vector<void*>& callStack() {
    static std::vector<void*> stack;
    return stack;
}

std::vector<SvModuleUnloadedCallback>& unloadCallbacks() {
    static std::vector<SvModuleUnloadedCallback> callbacks;
    return callbacks;
}

std::vector<SvModuleUnloadVeto>& unloadVetoes() {
    static std::vector<SvModuleUnloadVeto> vetoes;
    return vetoes;
}

std::vector<SvModuleLoadedCallback>& loadCallbacks() {
    static std::vector<SvModuleLoadedCallback> callbacks;
    return callbacks;
}

// Every message goes through here, so the host knows which module is speaking to it.
AcRx::AppRetCode deliver(EntryPoint entryPoint, HMODULE module, AcRx::AppMsgCode message,
                         void* pkt) {
    callStack().push_back(module);
    const AcRx::AppRetCode result = entryPoint(message, pkt);
    callStack().pop_back();
    return result;
}

void forgetApplication(HMODULE module) {
    for (SvModuleUnloadedCallback callback : unloadCallbacks())
        callback(module);
    auto& apps = applications();
    apps.erase(std::remove_if(apps.begin(), apps.end(),
                              [module](const Application& app) { return app.module == module; }),
               apps.end());
}

std::wstring moduleFileName(HMODULE module) {
    wchar_t path[4096];
    return GetModuleFileNameW(module, path, 4096) > 0 ? std::wstring(path) : std::wstring();
}

} // namespace

SV_RX_DEFINE_MEMBERS(AcRxDynamicLinker, newAcRxClass(L"AcRxDynamicLinker", L"AcRxObject"))

AcRxDynamicLinker::AcRxDynamicLinker() = default;
AcRxDynamicLinker::~AcRxDynamicLinker() = default;

bool AcRxDynamicLinker::loadModule(const wchar_t* fileName, bool printit, bool) {
    HMODULE module = LoadLibraryW(fileName);
    if (module == nullptr) {
        if (printit)
            acutPrintf(L"\nUnable to load %s: %s.", fileName != nullptr ? fileName : L"",
                       svLastLoadError());
        return false;
    }
    if (findApplication(module) != nullptr) {
        FreeLibrary(module);
        return true;
    }
    auto entryPoint = reinterpret_cast<EntryPoint>(GetProcAddress(module, "acrxEntryPoint"));
    if (entryPoint == nullptr) {
        if (printit)
            acutPrintf(L"\nUnable to load %s: it has no acrxEntryPoint.", fileName);
        FreeLibrary(module);
        return false;
    }
    applications().push_back(Application{module, entryPoint});
    if (deliver(entryPoint, module, AcRx::kInitAppMsg, module) == AcRx::kRetError) {
        forgetApplication(module);
        FreeLibrary(module);
        if (printit)
            acutPrintf(L"\nUnable to load %s: its initialisation failed.", fileName);
        return false;
    }
    for (SvModuleLoadedCallback callback : loadCallbacks())
        callback(module);
    if (printit)
        acutPrintf(L"\n%s loaded.", moduleFileName(module).c_str());
    return true;
}

bool AcRxDynamicLinker::unloadModule(const wchar_t* fileName, bool printit, bool) {
    HMODULE module = fileName != nullptr ? GetModuleHandleW(fileName) : nullptr;
    Application* app = findApplication(module);
    if (app == nullptr) {
        if (printit)
            acutPrintf(L"\n%s is not loaded.", fileName != nullptr ? fileName : L"");
        return false;
    }
    if (app->locked) {
        if (printit)
            acutPrintf(L"\n%s is locked and cannot be unloaded.", fileName);
        return false;
    }
    const std::wstring path = moduleFileName(module);
    for (SvModuleUnloadVeto veto : unloadVetoes()) {
        const std::wstring reason = veto(module);
        if (!reason.empty()) {
            if (printit)
                acutPrintf(L"\n%s cannot be unloaded: %s.", fileName, reason.c_str());
            return false;
        }
    }
    if (deliver(app->entryPoint, module, AcRx::kUnloadAppMsg, module) == AcRx::kRetError) {
        if (printit)
            acutPrintf(L"\n%s refused to unload.", path.c_str());
        return false;
    }
    forgetApplication(module);
    FreeLibrary(module);
    if (printit)
        acutPrintf(L"\n%s unloaded.", path.c_str());
    return true;
}

bool AcRxDynamicLinker::isModuleLoaded(const wchar_t* fileName) const {
    return fileName != nullptr && findApplication(GetModuleHandleW(fileName)) != nullptr;
}

AcRxObject* AcRxDynamicLinker::registerService(const wchar_t* serviceName, AcRxService* service) {
    if (serviceName == nullptr || service == nullptr)
        return nullptr;
    acrxServiceDictionary()->atPut(serviceName, service);
    return service;
}

AcRxObject* AcRxDynamicLinker::unregisterService(const wchar_t* serviceName) {
    return acrxServiceDictionary()->remove(serviceName);
}

bool AcRxDynamicLinker::registerAppMDIAware(void* appId) {
    Application* app = findApplication(appId);
    if (app != nullptr)
        app->mdiAware = true;
    return app != nullptr;
}

bool AcRxDynamicLinker::registerAppNotMDIAware(void* appId) {
    Application* app = findApplication(appId);
    if (app != nullptr)
        app->mdiAware = false;
    return app != nullptr;
}

bool AcRxDynamicLinker::isAppMDIAware(void* appId) const {
    const Application* app = findApplication(appId);
    return app != nullptr && app->mdiAware;
}

bool AcRxDynamicLinker::unlockApplication(void* appId) {
    Application* app = findApplication(appId);
    if (app != nullptr)
        app->locked = false;
    return app != nullptr;
}

bool AcRxDynamicLinker::lockApplication(void* appId) {
    Application* app = findApplication(appId);
    if (app != nullptr)
        app->locked = true;
    return app != nullptr;
}

bool AcRxDynamicLinker::isApplicationLocked(void* appId) const {
    const Application* app = findApplication(appId);
    return app != nullptr && app->locked;
}

AcRx::AppRetCode AcRxDynamicLinker::sendToAll(AcRx::AppMsgCode message, void* pkt) {
    AcRx::AppRetCode result = AcRx::kRetOK;
    std::vector<HMODULE> modules;
    for (const Application& app : applications())
        modules.push_back(app.module);
    for (HMODULE module : modules) {
        if (const Application* app = findApplication(module)) {
            if (deliver(app->entryPoint, module, message, pkt) == AcRx::kRetError)
                result = AcRx::kRetError;
        }
    }
    return result;
}

void AcRxDynamicLinker::unloadAll(bool printit) {
    while (!applications().empty()) {
        const Application app = applications().back();
        const std::wstring path = moduleFileName(app.module);
        deliver(app.entryPoint, app.module, AcRx::kUnloadAppMsg, app.module);
        forgetApplication(app.module);
        FreeLibrary(app.module);
        if (printit)
            acutPrintf(L"\n%s unloaded.", path.c_str());
    }
}

AcRx::AppRetCode AcRxDynamicLinker::sendMessage(void* appId, AcRx::AppMsgCode message, void* pkt) {
    const Application* app = findApplication(appId);
    if (app == nullptr)
        return AcRx::kRetError;
    return deliver(app->entryPoint, app->module, message, pkt);
}

void* svCurrentAppId() {
    return callStack().empty() ? nullptr : callStack().back();
}

void svOnModuleLoaded(SvModuleLoadedCallback callback) {
    loadCallbacks().push_back(callback);
}

void svOnModuleUnloadAsked(SvModuleUnloadVeto veto) {
    unloadVetoes().push_back(veto);
}

void svOnModuleUnloaded(SvModuleUnloadedCallback callback) {
    unloadCallbacks().push_back(callback);
}

AcRxDynamicLinker* acrxDynamicLinker() {
    return static_cast<AcRxDynamicLinker*>(acrxSysRegistry()->at(L"DynamicLinker"));
}

bool acrxLoadModule(const wchar_t* fileName, bool printit, bool asCmd) {
    return acrxDynamicLinker()->loadModule(fileName, printit, asCmd);
}

bool acrxUnloadModule(const wchar_t* fileName, bool printit, bool asCmd) {
    return acrxDynamicLinker()->unloadModule(fileName, printit, asCmd);
}

bool acrxUnlockApplication(void* appId) {
    return acrxDynamicLinker()->unlockApplication(appId);
}

bool acrxLockApplication(void* appId) {
    return acrxDynamicLinker()->lockApplication(appId);
}

bool acrxApplicationIsLocked(void* appId) {
    return acrxDynamicLinker()->isApplicationLocked(appId);
}

const wchar_t* acrxProductKey() {
    return L"Software\\Sentavell\\SvHost\\R17.0\\SVHOST:409";
}
