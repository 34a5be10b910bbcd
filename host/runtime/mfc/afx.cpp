#include "mfc/afx.h"

#include <algorithm>
#include <vector>

#include "win/modules.h"
#include "win/resources.h"

namespace {

struct ResourceState {
    bool handleSet = false;
    HINSTANCE handle = nullptr;
    std::vector<CDynLinkLibrary*> chain; // newest first
};

// Never destroyed: modules may still delete their chain entries while the process ends.
ResourceState& state() {
    static ResourceState* const s = new ResourceState;
    return *s;
}

template <typename Holds>
HINSTANCE findHolder(Holds holds) {
    const HINSTANCE current = AfxGetResourceHandle();
    if (holds(current))
        return current;
    for (const bool system : {false, true}) {
        for (const CDynLinkLibrary* library : state().chain) {
            if (library->m_bSystem == system && library->m_hResource != nullptr &&
                holds(library->m_hResource))
                return library->m_hResource;
        }
    }
    return current;
}

} // namespace

HINSTANCE AfxGetResourceHandle() {
    return state().handleSet ? state().handle : GetModuleHandleW(nullptr);
}

void AfxSetResourceHandle(HINSTANCE resource) {
    state().handleSet = true;
    state().handle = resource;
}

HINSTANCE AfxGetInstanceHandle() {
    return GetModuleHandleW(nullptr);
}

HINSTANCE AfxFindResourceHandle(LPCWSTR name, LPCWSTR type) {
    return findHolder(
        [&](HINSTANCE module) { return FindResourceW(module, name, type) != nullptr; });
}

HINSTANCE AfxFindStringResourceHandle(UINT id) {
    return findHolder([&](HINSTANCE module) { return svFindString(module, id, nullptr, nullptr); });
}

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& module, HMODULE instance) {
    if (module.bInitialized)
        return TRUE;
    if (instance == nullptr)
        return FALSE;
    module.hModule = instance;
    module.hResource = instance;
    module.bInitialized = TRUE;
    return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& module, BOOL bAll) {
    if (!bAll && !module.bInitialized)
        return;
    const std::vector<CDynLinkLibrary*> entries = state().chain;
    for (CDynLinkLibrary* library : entries) {
        if (bAll || library->m_hModule == module.hModule)
            delete library;
    }
    module.bInitialized = FALSE;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& module, BOOL system)
    : m_hModule(module.hModule), m_hResource(module.hResource), m_bSystem(system) {
    state().chain.insert(state().chain.begin(), this);
}

CDynLinkLibrary::CDynLinkLibrary(HINSTANCE module, HINSTANCE resource)
    : m_hModule(module), m_hResource(resource), m_bSystem(FALSE) {
    state().chain.insert(state().chain.begin(), this);
}

CDynLinkLibrary::~CDynLinkLibrary() {
    auto& chain = state().chain;
    chain.erase(std::remove(chain.begin(), chain.end(), this), chain.end());
}
