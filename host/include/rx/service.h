#pragma once

#include "rx/members.h"

#pragma GCC visibility push(default)

// Base of the objects an application offers others by name in "ServiceDictionary".
class AcRxService : public AcRxObject {
    SV_RX_DECLARE_MEMBERS(AcRxService);

    AcRxService() = default;
    ~AcRxService() override;
};

bool acrxServiceIsRegistered(const wchar_t* serviceName);

#pragma GCC visibility pop
