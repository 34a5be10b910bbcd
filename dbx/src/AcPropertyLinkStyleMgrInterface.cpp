#include "AcPropertyLinkStyleMgrInterface.h"

#include "rx/dictionary.h"

namespace {

constexpr wchar_t kServiceName[] = L"AcPropertyLinkStyleMgr";

} // namespace

AcPropertyLinkStyleMgrInterface::~AcPropertyLinkStyleMgrInterface() = default;

AcPropertyLinkStyleMgrInterface* svFindStyleMgr() {
    if (!acrxServiceIsRegistered(kServiceName))
        return nullptr;
    AcRxDictionary* services = AcRxDictionary::cast(acrxSysRegistry()->at(L"ServiceDictionary"));
    if (services == nullptr)
        return nullptr;
    AcRxObject* service = services->at(kServiceName);
    // Looked up each time, not kept: the application module may be unloaded and loaded again,
    // and its class object with it.
    AcRxDictionary* classes = AcRxDictionary::cast(acrxSysRegistry()->at(L"ClassDictionary"));
    const AcRxClass* cls =
        classes != nullptr ? AcRxClass::cast(classes->at(kServiceName)) : nullptr;
    if (service == nullptr || cls == nullptr || !service->isKindOf(cls))
        return nullptr;
    return dynamic_cast<AcPropertyLinkStyleMgrInterface*>(service);
}
