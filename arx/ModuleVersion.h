#pragma once

#include "SentavellUi17Api.h"
#include "mfc/cstring.h"

// The version resource of a module file.
class SENTAVELLUI17_API CModuleVersion {
public:
    // Nothing for a null module.
    void ReadModule(HINSTANCE module, const wchar_t* block = nullptr, const wchar_t* key = nullptr);
    // With block ("040904b0") and key, m_strValue takes that string of the version block.
    void Read(const wchar_t* path, const wchar_t* block = nullptr, const wchar_t* key = nullptr);

    CString m_strValue;
    CString m_strFileVersion;
    CString m_strProductVersion;
};
