#pragma once

#include "rx/abort.h"
#include "rx/class.h"

#pragma GCC visibility push(default)

// The class object cached in `cache`, or else the one registered under `name`, then cached.
AcRxClass* acrxCachedClass(AcRxClass*& cache, const wchar_t* name);
// Registers a class once: with `cache` set, an entry of that name that is the cached class means
// done, another class object under the name ends the host ("Class mismatch"), no entry means
// register anew with `makeClass`.
void acrxInitClass(AcRxClass*& cache, const wchar_t* name, AcRxClass* (*makeClass)());

#pragma GCC visibility pop

template <class T>
T* acrxCastTo(const AcRxObject* inPtr) {
    if (inPtr == nullptr || !inPtr->isKindOf(T::desc()))
        return nullptr;
    return static_cast<T*>(const_cast<AcRxObject*>(inPtr));
}

template <class T>
AcRxObject* acrxPseudoConstruct() {
    return new T;
}

#define SV_RX_WIDE_(text) L##text
#define SV_RX_WIDE(name) SV_RX_WIDE_(#name)

// The runtime-class member set of a class, declared inside its body.
#define SV_RX_DECLARE_MEMBERS(CLASS)                                                               \
public:                                                                                            \
    static AcRxClass* gpDesc;                                                                      \
    static AcRxClass* desc();                                                                      \
    static CLASS* cast(const AcRxObject* inPtr) {                                                  \
        return acrxCastTo<CLASS>(inPtr);                                                           \
    }                                                                                              \
    AcRxClass* isA() const override;                                                               \
    static void rxInit()

// For classes filed on their own, which may also be registered with an application-name callback.
#define SV_RX_DECLARE_FILED_MEMBERS(CLASS)                                                         \
    SV_RX_DECLARE_MEMBERS(CLASS);                                                                  \
    static void rxInit(AppNameChangeFuncPtr appNameCallback)

// The class version: a constant `m_version<CLASS>` and the `version` member answering it.
#define SV_RX_DECLARE_VERSION(CLASS)                                                               \
public:                                                                                            \
    static const short m_version##CLASS;                                                           \
    short version() const {                                                                        \
        return m_version##CLASS;                                                                   \
    }

#define SV_RX_DEFINE_VERSION(CLASS, VERSION) const short CLASS::m_version##CLASS = VERSION

// Defines the member set; MAKE_CLASS is the newAcRxClass call that registers the class.
#define SV_RX_DEFINE_MEMBERS(CLASS, MAKE_CLASS)                                                    \
    AcRxClass* CLASS::gpDesc = nullptr;                                                            \
    AcRxClass* CLASS::desc() {                                                                     \
        return acrxCachedClass(CLASS::gpDesc, SV_RX_WIDE(CLASS));                                  \
    }                                                                                              \
    AcRxClass* CLASS::isA() const {                                                                \
        return CLASS::desc();                                                                      \
    }                                                                                              \
    void CLASS::rxInit() {                                                                         \
        acrxInitClass(CLASS::gpDesc, SV_RX_WIDE(CLASS), [] { return MAKE_CLASS; });                \
    }

// Short registration: proxy flags and a pseudo-constructor, neither DXF nor application name.
#define SV_RX_DEFINE_SHORT_MEMBERS(CLASS, PARENT, PROXY_FLAGS)                                     \
    SV_RX_DEFINE_MEMBERS(CLASS, newAcRxClass(SV_RX_WIDE(CLASS), SV_RX_WIDE(PARENT), PROXY_FLAGS,   \
                                             &acrxPseudoConstruct<CLASS>))

// Full registration of a class filed on its own, with both forms of rxInit.
#define SV_RX_DEFINE_FILED_MEMBERS(CLASS, PARENT, DWG_VER, MAINT_VER, PROXY_FLAGS, DXF_NAME,       \
                                   APP_NAME)                                                       \
    SV_RX_DEFINE_MEMBERS(CLASS, newAcRxClass(SV_RX_WIDE(CLASS), SV_RX_WIDE(PARENT), DWG_VER,       \
                                             MAINT_VER, PROXY_FLAGS, &acrxPseudoConstruct<CLASS>,  \
                                             DXF_NAME, APP_NAME))                                  \
    void CLASS::rxInit(AppNameChangeFuncPtr appNameCallback) {                                     \
        static AppNameChangeFuncPtr callback;                                                      \
        callback = appNameCallback;                                                                \
        acrxInitClass(CLASS::gpDesc, SV_RX_WIDE(CLASS), [] {                                       \
            return newAcRxClass(SV_RX_WIDE(CLASS), SV_RX_WIDE(PARENT), DWG_VER, MAINT_VER,         \
                                PROXY_FLAGS, &acrxPseudoConstruct<CLASS>, DXF_NAME, APP_NAME,      \
                                callback);                                                         \
        });                                                                                        \
    }
