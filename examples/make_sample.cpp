// Writes the sample drawing of the live-label demo: two rooms whose areas stand in their name
// blocks, two measured lines, a survey point that labels its own coordinates and a marker whose
// colour follows the kitchen's area. Links are stored as a user's link creation stores them.
//
//   make_sample [FILE]    (default: sample.svd in the current folder)

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <initializer_list>
#include <string>

#include "AcContentModifier.h"
#include "AcPropertyLink.h"
#include "AcPropertyLinkStyle.h"
#include "AcPropertyLinkStyleMgrInterface.h"
#include "AcPropertyReader.h"
#include "ap/docman.h"
#include "db/attribute.h"
#include "db/blockref.h"
#include "db/circle.h"
#include "db/database.h"
#include "db/dictionary.h"
#include "db/line.h"
#include "db/polyline.h"
#include "db/symboltable.h"
#include "db/text.h"
#include "db/transaction.h"
#include "rx/dynlinker.h"

namespace {

// Set when any step of the drawing fails; the drawing is then not written.
bool g_failed = false;

bool ok(Acad::ErrorStatus es, const char* what) {
    if (es != Acad::eOk) {
        std::fprintf(stderr, "make_sample: %s failed (error %d)\n", what, static_cast<int>(es));
        g_failed = true;
    }
    return es == Acad::eOk;
}

// The modules sit beside this program.
std::wstring ownFolder() {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    const std::string path(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
    const std::string folder = path.substr(0, path.rfind('/'));
    return std::wstring(folder.begin(), folder.end());
}

AcDbObjectId append(AcDbDatabase* db, AcDbEntity* entity) {
    AcDbBlockTableRecord* space = nullptr;
    AcDbObjectId id;
    if (!ok(acdbOpenObject(space, db->modelSpaceId(), AcDb::kForWrite), "opening model space")) {
        delete entity;
        return id;
    }
    if (ok(space->appendAcDbEntity(id, entity), "adding an entity"))
        entity->close();
    else
        delete entity;
    space->close();
    return id;
}

AcDbObjectId outline(AcDbDatabase* db, std::initializer_list<AcGePoint2d> corners) {
    auto* polyline = new AcDbPolyline;
    unsigned index = 0;
    for (const AcGePoint2d& corner : corners)
        polyline->addVertexAt(index++, corner);
    polyline->setClosed(true);
    return append(db, polyline);
}

AcDbObjectId text(AcDbDatabase* db, double x, double y, double height, const wchar_t* content,
                  double rotation = 0.0) {
    return append(db,
                  new AcDbText(AcGePoint3d(x, y, 0.0), content, AcDbObjectId(), height, rotation));
}

struct AttributeSlot {
    const wchar_t* tag;
    double x, y, height;
};

AcDbObjectId defineBlock(AcDbDatabase* db, const wchar_t* name,
                         std::initializer_list<AcDbEntity*> shapes,
                         std::initializer_list<AttributeSlot> attributes) {
    AcDbBlockTable* table = nullptr;
    AcDbObjectId blockId;
    if (!ok(db->getBlockTable(table, AcDb::kForWrite), "opening the block table"))
        return blockId;
    auto* block = new AcDbBlockTableRecord;
    block->setName(name);
    if (!ok(table->add(blockId, block), "adding a block")) {
        delete block;
        table->close();
        return blockId;
    }
    for (AcDbEntity* shape : shapes) {
        if (ok(block->appendAcDbEntity(shape), "adding to a block"))
            shape->close();
        else
            delete shape;
    }
    for (const AttributeSlot& slot : attributes) {
        auto* definition =
            new AcDbAttributeDefinition(AcGePoint3d(slot.x, slot.y, 0.0), L"?", slot.tag, slot.tag);
        definition->setHeight(slot.height);
        if (ok(block->appendAcDbEntity(definition), "adding an attribute definition"))
            definition->close();
        else
            delete definition;
    }
    block->close();
    table->close();
    return blockId;
}

AcDbObjectId insert(AcDbDatabase* db, AcDbObjectId blockId, double x, double y,
                    std::initializer_list<SvAttributeValue> values = {}) {
    AcDbObjectId reference;
    ok(svInsertBlockReference(reference, db->modelSpaceId(), blockId, AcGePoint3d(x, y, 0.0),
                              std::span<const SvAttributeValue>(values.begin(), values.size())),
       "inserting a block");
    return reference;
}

AcDbObjectId addStyle(AcPropertyLinkStyleMgrInterface* mgr, AcDbDatabase* db, const wchar_t* name,
                      const wchar_t* description, AcPropertyReader* reader,
                      AcContentModifier* modifier, const wchar_t* macro) {
    auto* style = new AcPropertyLinkStyle;
    style->setPropertyReader(reader);
    style->setContentModifier(modifier);
    style->setDescription(description);
    style->setPostProcessingMacro(macro);
    AcDbObjectId id;
    AcDbDictionary* styles = mgr->stylesDictionary(db, AcDb::kForWrite);
    if (styles == nullptr) {
        ok(Acad::eNullObjectPointer, "opening the styles dictionary");
        delete style;
        return id;
    }
    if (ok(styles->setAt(name, style, id), "storing a style"))
        style->close();
    else
        delete style;
    styles->close();
    return id;
}

AcBlockModifier* attributeModifier(const wchar_t* tag) {
    auto* modifier = new AcBlockModifier;
    modifier->setAttribName(tag);
    return modifier;
}

// As a user's link creation leaves it: under "*U" in the source's extension dictionary and among
// its persistent reactors. Closing the source as modified fires the link at once. A null label
// makes a self-link.
void link(AcDbObjectId source, AcDbObjectId style, AcDbObjectId label = AcDbObjectId()) {
    AcDbObject* owner = nullptr;
    if (!ok(acdbOpenAcDbObject(owner, source, AcDb::kForWrite), "opening a source"))
        return;
    if (owner->extensionDictionary().isNull())
        ok(owner->createExtensionDictionary(), "creating an extension dictionary");
    AcDbObject* opened = nullptr;
    if (ok(acdbOpenAcDbObject(opened, owner->extensionDictionary(), AcDb::kForWrite),
           "opening an extension dictionary")) {
        auto* dictionary = AcDbDictionary::cast(opened);
        auto* created = new AcPropertyLink;
        created->setStyle(style);
        created->setLinkedObj(label);
        AcDbObjectId linkId;
        if (ok(dictionary->setAt(L"*U", created, linkId), "storing a link")) {
            created->close();
            ok(owner->addPersistentReactor(linkId), "attaching a link");
        } else {
            delete created;
        }
        dictionary->close();
    }
    owner->recordGraphicsModified();
    owner->close();
}

void buildDrawing(AcPropertyLinkStyleMgrInterface* mgr, AcDbDatabase* db) {
    db->setLuprec(2);

    const AcDbObjectId area =
        addStyle(mgr, db, L"Room area", L"Floor area into the AREA attribute", new AcAreaReader,
                 attributeModifier(L"AREA"), L"%PROPERTY m2");
    const AcDbObjectId length =
        addStyle(mgr, db, L"Length", L"Length in metres, one decimal", new AcLengthReader,
                 new AcTextModifier, L"$(rtos,%NPROPERTY,2,1) m");
    const AcDbObjectId east = addStyle(mgr, db, L"Easting", L"X of the survey point",
                                       new AcXCoordReader, attributeModifier(L"E"), L"E %PROPERTY");
    const AcDbObjectId north =
        addStyle(mgr, db, L"Northing", L"Y of the survey point", new AcYCoordReader,
                 attributeModifier(L"N"), L"N %PROPERTY");
    // Green up to 25 m2, red beyond.
    const AcDbObjectId signal =
        addStyle(mgr, db, L"Area signal", L"Marker colour from the floor area", new AcAreaReader,
                 new AcColorModifier, L"$(if,$(>,%NPROPERTY,25),1,3)");

    const AcDbObjectId room =
        defineBlock(db, L"ROOM", {}, {{L"NAME", -1.0, 0.2, 0.4}, {L"AREA", -1.0, -0.5, 0.3}});
    const AcDbObjectId survey =
        defineBlock(db, L"SURVEY",
                    {new AcDbCircle(AcGePoint3d::kOrigin, AcGeVector3d::kZAxis, 0.2),
                     new AcDbLine(AcGePoint3d(-0.3, 0.0, 0.0), AcGePoint3d(0.3, 0.0, 0.0)),
                     new AcDbLine(AcGePoint3d(0.0, -0.3, 0.0), AcGePoint3d(0.0, 0.3, 0.0))},
                    {{L"E", 0.4, 0.1, 0.25}, {L"N", 0.4, -0.35, 0.25}});

    const AcDbObjectId kitchen = outline(db, {{0.0, 0.0}, {6.0, 0.0}, {6.0, 4.0}, {0.0, 4.0}});
    const AcDbObjectId bath = outline(db, {{6.0, 0.0}, {10.0, 0.0}, {10.0, 4.0}, {6.0, 4.0}});
    link(kitchen, area, insert(db, room, 3.0, 2.0, {{L"NAME", L"Kitchen"}}));
    link(bath, area, insert(db, room, 8.0, 2.0, {{L"NAME", L"Bath"}}));
    link(kitchen, signal,
         append(db, new AcDbCircle(AcGePoint3d(0.6, 3.4, 0.0), AcGeVector3d::kZAxis, 0.3)));

    const AcDbObjectId front =
        append(db, new AcDbLine(AcGePoint3d(0.0, -1.0, 0.0), AcGePoint3d(10.0, -1.0, 0.0)));
    link(front, length, text(db, 4.5, -1.6, 0.3, L"?"));
    const AcDbObjectId side =
        append(db, new AcDbLine(AcGePoint3d(-1.0, 0.0, 0.0), AcGePoint3d(-1.0, 4.0, 0.0)));
    link(side, length, text(db, -1.3, 1.5, 0.3, L"?", 3.14159265358979 / 2));

    const AcDbObjectId point = insert(db, survey, 13.0, 2.0);
    link(point, east);
    link(point, north);
    // What the application does once a command has finished: self-links write themselves.
    AcDbTransactionManager* transactions = acDocManager->curDocument()->transactionManager();
    transactions->startTransaction();
    mgr->performDelayedModifications();
    transactions->endTransaction();
}

} // namespace

int main(int argc, char** argv) {
    const std::string target = argc > 1 ? argv[1] : "sample.svd";
    const std::wstring path(target.begin(), target.end());
    // The application module brings the database module and the service that owns the styles.
    const std::wstring module = ownFolder() + L"/SentavellUi17.arx";
    if (!acrxLoadModule(module.c_str(), false)) {
        std::fprintf(stderr, "make_sample: cannot load the application module beside me\n");
        return 1;
    }
    AcPropertyLinkStyleMgrInterface* mgr = svFindStyleMgr();
    AcApDocument* document = nullptr;
    if (mgr == nullptr || acDocManager->newDocument(document) != Acad::eOk) {
        std::fprintf(stderr, "make_sample: no style service or no drawing\n");
        return 1;
    }
    AcDbDatabase* db = document->database();
    buildDrawing(mgr, db);
    if (!g_failed)
        ok(db->saveAs(path.c_str()), "saving the drawing");
    acDocManager->closeAll();
    acrxDynamicLinker()->unloadAll(false);
    if (g_failed)
        return 1;
    std::printf("make_sample: wrote %s\n", target.c_str());
    return 0;
}
