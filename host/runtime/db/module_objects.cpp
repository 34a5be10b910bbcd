#include <cstddef>
#include <string>

#include "internal.h"
#include "rx/builtin_classes.h"
#include "rx/dynlinker.h"

namespace {

// Objects whose code is in a module keep it: unloading it would leave their drawing with objects
// nobody can notify, save or delete.
std::wstring objectsServedBy(void* appId) {
    std::size_t count = 0;
    for (AcDbDatabase* db : svDbLiveDatabases()) {
        for (const SvDbSlot& slot : SvDbAccess::impl(db).slots) {
            if (slot.object != nullptr && svClassModule(slot.object->isA()) == appId)
                ++count;
        }
    }
    if (count == 0)
        return std::wstring();
    return std::to_wstring(count) + (count == 1 ? L" object" : L" objects") +
           L" of its classes live in open drawings";
}

const SvBuiltinClasses moduleObjects([] { svOnModuleUnloadAsked(&objectsServedBy); });

} // namespace
