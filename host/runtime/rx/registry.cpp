#include <vector>

#include "rx/builtin_classes.h"
#include "rx/dictionary.h"
#include "rx/dynlinker.h"

namespace {

AcRxDictionary* g_registry = nullptr;

std::vector<SvBuiltinClassInit>& builtinInits() {
    static std::vector<SvBuiltinClassInit> inits;
    return inits;
}

void registerRxClasses() {
    newAcRxClass(L"AcRxObject", nullptr);
    newAcRxClass(L"AcRxClass", L"AcRxObject");
    AcRxDictionary::rxInit();
    AcRxDictionaryIterator::rxInit();
    AcRxService::rxInit();
    AcRxDynamicLinker::rxInit();
}

void buildRegistry() {
    // Set before any class is registered: registration looks the class dictionary up here.
    g_registry = new AcRxDictionary(true);
    g_registry->atPut(L"ClassDictionary", new AcRxDictionary(true));
    g_registry->atPut(L"ServiceDictionary", new AcRxDictionary(false));
    registerRxClasses();
    g_registry->atPut(L"DynamicLinker", new AcRxDynamicLinker);
    for (SvBuiltinClassInit init : builtinInits())
        init();
    acrxBuildClassHierarchy();
}

} // namespace

SvBuiltinClasses::SvBuiltinClasses(SvBuiltinClassInit init) {
    builtinInits().push_back(init);
}

AcRxDictionary* acrxSysRegistry() {
    if (g_registry == nullptr)
        buildRegistry();
    return g_registry;
}

AcRxDictionary* acrxClassDictionary() {
    return static_cast<AcRxDictionary*>(acrxSysRegistry()->at(L"ClassDictionary"));
}

AcRxDictionary* acrxServiceDictionary() {
    return static_cast<AcRxDictionary*>(acrxSysRegistry()->at(L"ServiceDictionary"));
}
