#include "session_check.h"

#include <cwchar>
#include <memory>

#include "bench_support.h"
#include "crt/format.h"
#include "db/attribute.h"
#include "db/blockref.h"
#include "db/database.h"
#include "db/symboltable.h"
#include "db/text.h"

namespace {

using benchsupport::openAs;

std::wstring areaOf(const AcDbBlockReference& reference) {
    std::wstring area;
    AcDbObjectIterator* attributes = reference.attributeIterator();
    for (attributes->start(); !attributes->done(); attributes->step()) {
        auto* attribute = openAs<AcDbAttribute>(attributes->objectId(), AcDb::kForRead);
        if (attribute != nullptr && std::wcscmp(attribute->tagConst(), L"AREA") == 0)
            area = attribute->textStringConst();
        if (attribute != nullptr)
            attribute->close();
    }
    delete attributes;
    return area;
}

// A survey point moved by 1 from its place: "E " and its easting with two decimals.
bool isMovedEasting(const AcDbText& text) {
    wchar_t expected[64];
    std::swprintf(expected, 64, L"E %.2f", text.position().x);
    return std::wcscmp(text.textStringConst(), expected) == 0 && text.position().x >= 1.0;
}

} // namespace

bool svCheckSavedSession(const std::wstring& path, const RoomDrawingSize& size,
                         std::string& problem) {
    auto db = std::make_unique<AcDbDatabase>(false, true);
    if (db->readDwgFile(path.c_str()) != Acad::eOk) {
        problem = "it cannot be read";
        return false;
    }
    acdbHostApplicationServices()->setWorkingDatabase(db.get());
    auto* space = openAs<AcDbBlockTableRecord>(db->modelSpaceId(), AcDb::kForRead);
    AcDbBlockTableRecordIterator* entities = nullptr;
    space->newIterator(entities);
    int rooms = 0, points = 0;
    for (; !entities->done() && problem.empty(); entities->step()) {
        AcDbEntity* entity = nullptr;
        if (entities->getEntity(entity, AcDb::kForRead) != Acad::eOk)
            continue;
        if (auto* reference = AcDbBlockReference::cast(entity)) {
            const std::wstring area = areaOf(*reference);
            if (area == L"12.00 m2")
                ++rooms;
            else
                problem = "a room's area reads \"" + svToUtf8(area) + "\"";
        } else if (auto* text = AcDbText::cast(entity)) {
            if (isMovedEasting(*text))
                ++points;
            else
                problem = "a survey point reads \"" + svToUtf8(text->textStringConst()) + "\"";
        }
        entity->close();
    }
    delete entities;
    space->close();
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    if (problem.empty() && (rooms != size.rooms || points != size.surveyPoints))
        problem = std::to_string(rooms) + " rooms and " + std::to_string(points) +
                  " survey points are labelled";
    return problem.empty();
}
