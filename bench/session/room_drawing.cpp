#include "room_drawing.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include "AcContentModifier.h"
#include "AcPropertyLinkStyle.h"
#include "AcPropertyReader.h"
#include "bench_support.h"
#include "db/attribute.h"
#include "db/blockref.h"
#include "db/database.h"
#include "db/dictionary.h"
#include "db/polyline.h"
#include "db/symboltable.h"
#include "db/text.h"

namespace {

using benchsupport::openAs;

constexpr double kPitch = 6.0; // between rooms on the grid

AcDbObjectId addStyle(AcDbDictionary* styles, const wchar_t* name, AcPropertyReader* reader,
                      AcContentModifier* modifier, const wchar_t* macro) {
    auto* style = new AcPropertyLinkStyle;
    style->setPropertyReader(reader);
    style->setContentModifier(modifier);
    style->setPostProcessingMacro(macro);
    AcDbObjectId id;
    styles->setAt(name, style, id);
    style->close();
    return id;
}

struct Styles {
    AcDbObjectId roomArea, easting;
};

// Where the style manager keeps them, so the session's own commands see them too.
Styles addStyles(AcDbDatabase& db) {
    auto* nod = openAs<AcDbDictionary>(db.namedObjectsDictionaryId(), AcDb::kForWrite);
    auto* styles = new AcDbDictionary;
    AcDbObjectId stylesId;
    nod->setAt(L"VELD_Sentavell_Styles", styles, stylesId);
    nod->close();
    auto* area = new AcBlockModifier;
    area->setAttribName(L"AREA");
    Styles made;
    made.roomArea = addStyle(styles, L"Room area", new AcAreaReader, area, L"%PROPERTY m2");
    made.easting = addStyle(styles, L"Easting", new AcXCoordReader, new AcTextModifier,
                            L"E $(rtos,%NPROPERTY,2,2)");
    styles->close();
    return made;
}

AcDbObjectId addRoomBlock(AcDbDatabase& db) {
    AcDbBlockTable* table = nullptr;
    db.getBlockTable(table, AcDb::kForWrite);
    auto* block = new AcDbBlockTableRecord;
    block->setName(L"ROOM");
    AcDbObjectId id;
    table->add(id, block);
    for (const auto& [tag, y] : {std::pair{L"NAME", 0.4}, std::pair{L"AREA", -0.4}}) {
        auto* definition = new AcDbAttributeDefinition(AcGePoint3d(0, y, 0), L"?", tag, tag);
        block->appendAcDbEntity(definition);
        definition->close();
    }
    block->close();
    table->close();
    return id;
}

AcDbObjectId append(AcDbBlockTableRecord* space, AcDbEntity* entity) {
    AcDbObjectId id;
    space->appendAcDbEntity(id, entity);
    return id;
}

// A 4 by 3 outline at (x, y) and its name block in the middle.
void addRoom(AcDbBlockTableRecord* space, AcDbObjectId block, AcDbObjectId style, int number,
             double x, double y) {
    auto* outline = new AcDbPolyline;
    outline->addVertexAt(0, AcGePoint2d(x, y));
    outline->addVertexAt(1, AcGePoint2d(x + 4.0, y));
    outline->addVertexAt(2, AcGePoint2d(x + 4.0, y + 3.0));
    outline->addVertexAt(3, AcGePoint2d(x, y + 3.0));
    outline->setClosed(true);
    const AcDbObjectId source = append(space, outline);
    outline->close();

    const AcGePoint3d middle(x + 2.0, y + 1.5, 0.0);
    auto* reference = new AcDbBlockReference(middle, block);
    const AcDbObjectId label = append(space, reference);
    const std::wstring name = L"Room " + std::to_wstring(number);
    auto* nameAttribute =
        new AcDbAttribute(middle + AcGeVector3d(0, 0.4, 0), name.c_str(), L"NAME");
    reference->appendAttribute(nameAttribute);
    nameAttribute->close();
    auto* areaAttribute = new AcDbAttribute(middle + AcGeVector3d(0, -0.4, 0), L"?", L"AREA");
    reference->appendAttribute(areaAttribute);
    const AcDbObjectId area = areaAttribute->objectId();
    areaAttribute->close();
    reference->close();
    benchsupport::linkSource(source, style, label);
    // Linking wrote the area; unwritten again, so only the session's own update can fill it.
    auto* written = openAs<AcDbAttribute>(area, AcDb::kForWrite);
    written->setTextString(L"?");
    written->close();
}

} // namespace

bool svWriteRoomDrawing(const RoomDrawingSize& size, const std::wstring& path) {
    auto db = std::make_unique<AcDbDatabase>();
    acdbHostApplicationServices()->setWorkingDatabase(db.get());
    db->setLuprec(2);
    const Styles styles = addStyles(*db);
    const AcDbObjectId block = addRoomBlock(*db);
    auto* space = openAs<AcDbBlockTableRecord>(db->modelSpaceId(), AcDb::kForWrite);
    const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(size.rooms))));
    for (int i = 0; i < size.rooms; ++i)
        addRoom(space, block, styles.roomArea, i + 1, kPitch * (i % columns),
                kPitch * (i / columns));
    std::vector<AcDbObjectId> points;
    for (int i = 0; i < size.surveyPoints; ++i) {
        auto* text = new AcDbText(AcGePoint3d(kPitch * i, -kPitch, 0), L"?", AcDbObjectId(), 0.3);
        points.push_back(append(space, text));
        text->close();
    }
    space->close();
    for (AcDbObjectId point : points)
        benchsupport::linkSource(point, styles.easting, AcDbObjectId());
    const Acad::ErrorStatus es = db->saveAs(path.c_str());
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    if (es != Acad::eOk) {
        std::fprintf(stderr, "cannot save %ls (status %d)\n", path.c_str(), static_cast<int>(es));
        return false;
    }
    return true;
}
