#pragma once

#include "rx/object.h"

#pragma GCC visibility push(default)

using AcRxPseudoConstructor = AcRxObject* (*)();
// Lets an application change the name it gives proxies of the class.
using AppNameChangeFuncPtr = void (*)(const AcRxClass* classObj, wchar_t*& newAppName, int saveVer);

// A runtime class: its name, its parent, how to create an instance and how it is filed.
class AcRxClass : public AcRxObject {
public:
    static AcRxClass* desc();
    static AcRxClass* cast(const AcRxObject* inPtr);
    AcRxClass* isA() const override;

    const wchar_t* name() const;
    const wchar_t* dxfName() const; // null when the class is not filed on its own
    const wchar_t* appName() const; // null when no application string was given
    AcRxClass* myParent() const;    // null until the parent is registered
    bool isDerivedFrom(const AcRxClass* other) const;
    AcRxObject* create() const; // null without pseudo-constructor
    int proxyFlags() const;
    int getClassVersion(int& maintVer) const; // answers the DWG version
    AppNameChangeFuncPtr appNameCallbackPtr() const;

    ~AcRxClass() override;

private:
    friend class AcRxClassRegistry;
    AcRxClass();
    struct Data;
    Data* m_data;
};

// Full form: with the DWG version and maintenance release under which the class is filed.
AcRxClass* newAcRxClass(const wchar_t* className, const wchar_t* parentClassName, int dwgVer,
                        int maintVer, int proxyFlags, AcRxPseudoConstructor pseudoConstructor,
                        const wchar_t* dxfName, const wchar_t* appName,
                        AppNameChangeFuncPtr func = nullptr);
// Short form: a class that is not filed on its own.
AcRxClass* newAcRxClass(const wchar_t* className, const wchar_t* parentClassName,
                        int proxyFlags = 0, AcRxPseudoConstructor pseudoConstructor = nullptr,
                        const wchar_t* dxfName = nullptr, const wchar_t* appName = nullptr);
// Takes the class out of the class dictionary and deletes it. Classes derived from it lose their
// parent until one of that name is registered again.
void deleteAcRxClass(AcRxClass* classObj);
// Links every registered class to its parent by name.
void acrxBuildClassHierarchy();
// The module whose entry point registered the class (its application id); null for the host's.
void* svClassModule(const AcRxClass* classObj);

#pragma GCC visibility pop
