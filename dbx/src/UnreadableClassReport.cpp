#include "UnreadableClassReport.h"

#include <set>
#include <string>

#include "AcDbObjPtr.h"
#include "db/acutbuffer.h"
#include "db/dictionary.h"
#include "rx/print.h"

namespace {

constexpr wchar_t kUnregisteredIn[] =
    L"readObject() attempts to read class, that hasn't been registered via rxInit()!";

// Records are read in handle order, so a handle that does not go up, or another drawing, starts
// a new reading.
struct Reading {
    const AcDbDatabase* database = nullptr;
    Adesk::UInt64 lastHandle = 0;
    std::set<std::wstring> reported;
};

bool firstInThisReading(const AcDbObject* style, const wchar_t* className) {
    static Reading reading;
    AcDbHandle handle;
    style->getAcDbHandle(handle);
    if (style->database() != reading.database || handle.value() <= reading.lastHandle) {
        reading.database = style->database();
        reading.reported.clear();
    }
    reading.lastHandle = handle.value();
    return reading.reported.insert(className).second;
}

} // namespace

void svReportUnregisteredClass(const AcDbObject* style, const wchar_t* className) {
    if (!firstInThisReading(style, className))
        return;
    acutPrintf(L"\n%s Class %s, style %s.", kUnregisteredIn, className,
               svStyleNameOf(style).c_str());
}

std::wstring svStyleNameOf(const AcDbObject* style) {
    AcDbObjPtr<AcDbDictionary> owner(style->ownerId(), AcDb::kForRead);
    wchar_t* key = nullptr;
    if (owner && owner->nameAt(style->objectId(), key) == Acad::eOk) {
        std::wstring name = L"\"" + std::wstring(key) + L"\"";
        acutDelBuffer(key);
        return name;
    }
    AcDbHandle handle;
    style->getAcDbHandle(handle);
    wchar_t hex[20];
    handle.getIntoAsciiBuffer(hex, sizeof hex / sizeof *hex);
    return L"#" + std::wstring(hex);
}
