#include <optional>
#include <string>

#include "rx/class_data.h"
#include "rx/dictionary.h"
#include "rx/dynlinker.h"
#include "rx/members.h"

namespace {

std::optional<std::wstring> optionalText(const wchar_t* text) {
    if (text == nullptr)
        return std::nullopt;
    return std::wstring(text);
}

// The class dictionary holds nothing but classes: newAcRxClass is the only way in. (A cast here
// would recurse, since casting needs the class of classes.)
AcRxClass* classAt(const wchar_t* name) {
    return static_cast<AcRxClass*>(acrxClassDictionary()->at(name));
}

} // namespace

class AcRxClassRegistry {
public:
    static AcRxClass* add(const wchar_t* className, const wchar_t* parentClassName, int dwgVer,
                          int maintVer, int proxyFlags, AcRxPseudoConstructor pseudoConstructor,
                          const wchar_t* dxfName, const wchar_t* appName,
                          AppNameChangeFuncPtr func) {
        if (className == nullptr || *className == L'\0')
            return nullptr;
        AcRxDictionary* classes = acrxClassDictionary();
        // A name stands for one class: registering it again yields the class already there.
        if (AcRxClass* existing = classAt(className))
            return existing;

        auto* cls = new AcRxClass;
        AcRxClass::Data& d = *cls->m_data;
        d.name = className;
        d.parentName = parentClassName != nullptr ? parentClassName : L"";
        d.dxfName = optionalText(dxfName);
        d.appName = optionalText(appName);
        d.dwgVer = dwgVer;
        d.maintVer = maintVer;
        d.proxyFlags = proxyFlags;
        d.pseudoConstructor = pseudoConstructor;
        d.appNameCallback = func;
        d.module = svCurrentAppId();
        d.parent = d.parentName.empty() ? nullptr : classAt(d.parentName.c_str());
        classes->atPut(className, cls);
        return cls;
    }

    static void remove(AcRxClass* cls) {
        AcRxDictionary* classes = acrxClassDictionary();
        if (cls == nullptr || classes->at(cls->name()) != cls)
            return;
        classes->remove(cls->name());
        forEachClass([cls](AcRxClass* other) {
            if (other->m_data->parent == cls)
                other->m_data->parent = nullptr;
        });
        delete cls;
    }

    static void* module(const AcRxClass* cls) {
        return cls != nullptr ? cls->m_data->module : nullptr;
    }

    static void linkParents() {
        forEachClass([](AcRxClass* cls) {
            AcRxClass::Data& d = *cls->m_data;
            if (!d.parentName.empty())
                d.parent = classAt(d.parentName.c_str());
        });
    }

private:
    template <class F>
    static void forEachClass(F f) {
        AcRxDictionaryIterator* it = acrxClassDictionary()->newIterator(AcRx::kDictCollated);
        for (; !it->done(); it->next()) {
            f(static_cast<AcRxClass*>(it->object()));
        }
        delete it;
    }
};

AcRxClass* newAcRxClass(const wchar_t* className, const wchar_t* parentClassName, int dwgVer,
                        int maintVer, int proxyFlags, AcRxPseudoConstructor pseudoConstructor,
                        const wchar_t* dxfName, const wchar_t* appName, AppNameChangeFuncPtr func) {
    return AcRxClassRegistry::add(className, parentClassName, dwgVer, maintVer, proxyFlags,
                                  pseudoConstructor, dxfName, appName, func);
}

AcRxClass* newAcRxClass(const wchar_t* className, const wchar_t* parentClassName, int proxyFlags,
                        AcRxPseudoConstructor pseudoConstructor, const wchar_t* dxfName,
                        const wchar_t* appName) {
    return AcRxClassRegistry::add(className, parentClassName, 0, 0, proxyFlags, pseudoConstructor,
                                  dxfName, appName, nullptr);
}

void deleteAcRxClass(AcRxClass* classObj) {
    AcRxClassRegistry::remove(classObj);
}

void acrxBuildClassHierarchy() {
    AcRxClassRegistry::linkParents();
}

void* svClassModule(const AcRxClass* classObj) {
    return AcRxClassRegistry::module(classObj);
}

AcRxClass* acrxCachedClass(AcRxClass*& cache, const wchar_t* name) {
    if (cache == nullptr)
        cache = classAt(name);
    return cache;
}

void acrxInitClass(AcRxClass*& cache, const wchar_t* name, AcRxClass* (*makeClass)()) {
    if (cache != nullptr) {
        AcRxObject* registered = acrxClassDictionary()->at(name);
        if (registered == cache)
            return;
        if (registered != nullptr)
            acrx_abort(L"Class mismatch");
    }
    cache = makeClass();
}
