#include "rx/service.h"

#include "rx/dictionary.h"

SV_RX_DEFINE_MEMBERS(AcRxService, newAcRxClass(L"AcRxService", L"AcRxObject"))

AcRxService::~AcRxService() = default;

bool acrxServiceIsRegistered(const wchar_t* serviceName) {
    return acrxServiceDictionary()->has(serviceName);
}
