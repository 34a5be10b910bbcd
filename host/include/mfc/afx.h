#pragma once

#include "win/types.h"

#pragma GCC visibility push(default)

// The extension-module record a module keeps for its resource module.
struct AFX_EXTENSION_MODULE {
    BOOL bInitialized;
    HMODULE hModule;
    HMODULE hResource;
};

// FALSE for a null module. A second call on an initialised record changes nothing.
BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module);
// Deletes the chain entries made for state (all entries with bAll) and clears bInitialized.
void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

// The current resource handle: searched first for strings, dialogs, menus and bitmaps. The
// document manager's push and pop of resource handles go through these. Initially the host
// program.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE resource);
HINSTANCE AfxGetInstanceHandle();

// The module that holds a resource: the current resource handle if it does, else the first
// chain entry that does, else the current resource handle.
HINSTANCE AfxFindResourceHandle(LPCWSTR name, LPCWSTR type);
HINSTANCE AfxFindStringResourceHandle(UINT id);

// An entry in the resource chain, searched after the current resource handle, newest first.
// Modules create it with new; AfxTermExtensionModule deletes it.
class CDynLinkLibrary {
public:
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL system = FALSE);
    CDynLinkLibrary(HINSTANCE module, HINSTANCE resource);
    CDynLinkLibrary(const CDynLinkLibrary&) = delete;
    CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;
    virtual ~CDynLinkLibrary();

    HMODULE m_hModule;
    HMODULE m_hResource;
    BOOL m_bSystem; // system entries are searched after all others
};

#pragma GCC visibility pop
