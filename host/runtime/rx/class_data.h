#pragma once

#include <optional>
#include <string>

#include "rx/class.h"

struct AcRxClass::Data {
    std::wstring name;
    std::wstring parentName;
    AcRxClass* parent = nullptr;
    std::optional<std::wstring> dxfName;
    std::optional<std::wstring> appName;
    int dwgVer = 0;
    int maintVer = 0;
    int proxyFlags = 0;
    AcRxPseudoConstructor pseudoConstructor = nullptr;
    AppNameChangeFuncPtr appNameCallback = nullptr;
    void* module = nullptr;
};
