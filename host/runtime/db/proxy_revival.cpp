#include <cstddef>
#include <string>

#include "db/proxy.h"
#include "file_filer.h"
#include "internal.h"
#include "rx/builtin_classes.h"
#include "rx/dictionary.h"
#include "rx/dynlinker.h"
#include "rx/print.h"

namespace {

template <class Proxy>
const std::wstring* originalClass(AcDbObject* obj) {
    Proxy* proxy = Proxy::cast(obj);
    return proxy != nullptr ? &SvDbAccess::proxyClassName(proxy) : nullptr;
}

// The registered class a proxy stands for, or null while there is none.
const AcRxClass* classToRevive(AcDbObject* obj) {
    const std::wstring* name = originalClass<AcDbProxyObject>(obj);
    if (name == nullptr)
        name = originalClass<AcDbProxyEntity>(obj);
    if (name == nullptr)
        return nullptr;
    const AcRxClass* cls = AcRxClass::cast(acrxClassDictionary()->at(name->c_str()));
    return cls != nullptr && cls->isDerivedFrom(AcDbObject::desc()) ? cls : nullptr;
}

// The object of the class read from the proxy's record, or null when it does not read back
// completely.
AcDbObject* revived(const SvDbDatabaseData& db, AcDbObject* proxy, const AcRxClass* cls) {
    SvDbFileFiler record(db);
    {
        SvDbFilingScope reading(proxy);
        if (proxy->dwgOutFields(&record) != Acad::eOk)
            return nullptr;
    }
    AcRxObject* created = cls->create();
    AcDbObject* obj = AcDbObject::cast(created);
    if (obj == nullptr) {
        delete created;
        return nullptr;
    }
    SvDbFileFiler in(record.data(), record.size(), db);
    Acad::ErrorStatus es;
    {
        SvDbFilingScope filling(obj);
        es = obj->dwgInFields(&in);
    }
    if (es != Acad::eOk || in.remaining() != 0) {
        delete obj;
        return nullptr;
    }
    return obj;
}

bool inUse(const SvDbObjectData& d) {
    return d.readers > 0 || d.writer || d.notifyOpens > 0 || d.notifying > 0 || d.filing > 0;
}

// The proxies of classes registered since their drawing was read become objects of those
// classes again: their records were kept whole for this. Those that do not read back stay as
// they are, and their count is said once.
void reviveProxies(void*) {
    std::size_t kept = 0;
    for (AcDbDatabase* database : svDbLiveDatabases()) {
        SvDbDatabaseData& db = SvDbAccess::impl(database);
        for (SvDbSlot& slot : db.slots) {
            AcDbObject* proxy = slot.object;
            const AcRxClass* cls = proxy != nullptr ? classToRevive(proxy) : nullptr;
            if (cls == nullptr || inUse(SvDbAccess::data(proxy)) ||
                SvDbAccess::data(proxy).unrevivable)
                continue;
            AcDbObject* obj = revived(db, proxy, cls);
            if (obj == nullptr) {
                SvDbAccess::data(proxy).unrevivable = true;
                ++kept;
                continue;
            }
            SvDbObjectData& from = SvDbAccess::data(proxy);
            SvDbObjectData& to = SvDbAccess::data(obj);
            to.id = from.id;
            to.erased = from.erased;
            to.transient = from.transient;
            from.id.setNull();
            slot.object = obj;
            delete proxy;
        }
    }
    if (kept > 0)
        acutPrintf(L"\n%s object(s) stay proxies: their records do not read as their classes.",
                   std::to_wstring(kept).c_str());
}

const SvBuiltinClasses proxyRevival([] { svOnModuleLoaded(&reviveProxies); });

} // namespace
