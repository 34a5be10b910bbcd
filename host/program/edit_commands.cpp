// Editing commands. Every change opens the entity for write and closes it the ordinary way, so
// the entity's reactors hear of it once per change.

#include <cmath>
#include <limits>
#include <map>

#include "command_input.h"
#include "crt/crt.h"
#include "db/acutbuffer.h"
#include "db/attribute.h"
#include "db/blockref.h"
#include "db/database.h"
#include "db/dimension.h"
#include "db/idmapping.h"
#include "db/leader.h"
#include "db/line.h"
#include "db/mtext.h"
#include "db/polyline.h"
#include "db/symboltable.h"
#include "db/text.h"
#include "ed/editor.h"
#include "rx/print.h"

namespace {

using namespace cli;

// Applies one transformation to every selected entity; those that cannot follow are reported.
void transformAll(const std::vector<AcDbObjectId>& ids, const AcGeMatrix3d& xform,
                  const wchar_t* verb) {
    int refused = 0;
    for (const AcDbObjectId& id : ids) {
        Opened<AcDbEntity> entity(id, AcDb::kForWrite);
        const Acad::ErrorStatus es = entity ? entity->transformBy(xform) : Acad::eNotOpenForWrite;
        if (es != Acad::eOk) {
            acutPrintf(L"\n%s cannot be %s: %s.", handleText(id).c_str(), verb,
                       acadErrorStatusText(es));
            ++refused;
        }
    }
    acutPrintf(L"\n%d object(s) %s.", static_cast<int>(ids.size()) - refused, verb);
    if (refused > 0)
        throw CommandFailed{};
}

void move() {
    database();
    const std::vector<AcDbObjectId> ids = selectObjects();
    const AcGePoint3d base = askPoint(L"\nBase point: ");
    const AcGePoint3d to = askPoint(L"\nSecond point: ", &base);
    transformAll(ids, AcGeMatrix3d::translation(to - base), L"moved");
}

// Each copy takes along what it owns, and links among the copied objects follow the copies;
// modules hear of the copies before they move, and the move then notifies as any change does.
void copy() {
    AcDbDatabase* db = database();
    const std::vector<AcDbObjectId> ids = selectObjects();
    const AcGePoint3d base = askPoint(L"\nBase point: ");
    const AcGePoint3d to = askPoint(L"\nSecond point: ", &base);
    std::map<AcDbObjectId, AcDbObjectIdArray> byOwner;
    for (const AcDbObjectId& id : ids) {
        Opened<AcDbEntity> entity(id, AcDb::kForRead);
        if (entity)
            byOwner[entity->ownerId()].append(id);
    }
    AcDbIdMapping idMap;
    for (const auto& [owner, owned] : byOwner)
        check(db->deepCloneObjects(owned, owner, idMap), L"The objects cannot be copied");
    acedEditor->notify([&](AcEditorReactor* reactor) { reactor->endDeepClone(idMap); });
    const AcGeMatrix3d xform = AcGeMatrix3d::translation(to - base);
    AcDbIdMappingIter pairs(idMap);
    for (pairs.start(); !pairs.done(); pairs.next()) {
        AcDbIdPair pair;
        pairs.getMap(pair);
        if (!pair.isPrimary())
            continue;
        {
            Opened<AcDbEntity> copied(pair.value(), AcDb::kForWrite);
            if (copied && copied->transformBy(xform) != Acad::eOk)
                acutPrintf(L"\nThe copy %s cannot follow that change.",
                           handleText(pair.value()).c_str());
        }
        reportCreated(pair.value());
    }
}

void rotate() {
    database();
    const std::vector<AcDbObjectId> ids = selectObjects();
    const AcGePoint3d base = askPoint(L"\nBase point: ");
    const double angle = askAngle(L"\nRotation angle: ", std::nullopt);
    transformAll(ids, AcGeMatrix3d::rotation(angle, AcGeVector3d::kZAxis, base), L"rotated");
}

void scale() {
    database();
    const std::vector<AcDbObjectId> ids = selectObjects();
    const AcGePoint3d base = askPoint(L"\nBase point: ");
    const double factor = askReal(L"\nScale factor: ", std::nullopt, Sign::Positive);
    transformAll(ids, AcGeMatrix3d::scaling(factor, base), L"scaled");
}

void erase() {
    database();
    const std::vector<AcDbObjectId> ids = selectObjects();
    int erased = 0;
    for (const AcDbObjectId& id : ids) {
        Opened<AcDbEntity> entity(id, AcDb::kForWrite);
        if (entity && entity->erase() == Acad::eOk)
            ++erased;
    }
    acutPrintf(L"\n%d object(s) erased.", erased);
}

// The vertices that VERTEX can move, in world coordinates.
std::vector<AcGePoint3d> vertices(const AcDbEntity* entity) {
    std::vector<AcGePoint3d> points;
    if (const auto* line = AcDbLine::cast(entity)) {
        points = {line->startPoint(), line->endPoint()};
    } else if (const auto* polyline = AcDbPolyline::cast(entity)) {
        for (unsigned i = 0; i < polyline->numVerts(); ++i) {
            AcGePoint3d point;
            polyline->getPointAt(i, point);
            points.push_back(point);
        }
    } else if (const auto* leader = AcDbLeader::cast(entity)) {
        for (int i = 0; i < leader->numVertices(); ++i)
            points.push_back(leader->vertexAt(i));
    }
    return points;
}

Acad::ErrorStatus moveVertex(AcDbEntity* entity, std::size_t index, const AcGePoint3d& to) {
    if (auto* line = AcDbLine::cast(entity))
        return index == 0 ? line->setStartPoint(to) : line->setEndPoint(to);
    if (auto* polyline = AcDbPolyline::cast(entity)) {
        const AcGePoint3d inPlane = AcGeMatrix3d::worldToPlane(polyline->normal()) * to;
        return polyline->setPointAt(static_cast<unsigned>(index), inPlane.convert2d());
    }
    if (auto* leader = AcDbLeader::cast(entity))
        return leader->setVertexAt(static_cast<int>(index), to) ? Acad::eOk : Acad::eInvalidInput;
    return Acad::eNotApplicable;
}

void vertex() {
    database();
    const AcDbObjectId id = pickEntity(L"\nSelect a line, polyline or leader: ");
    std::vector<AcGePoint3d> points;
    {
        Opened<AcDbEntity> entity(id, AcDb::kForRead);
        if (entity)
            points = vertices(entity.get());
    }
    if (points.empty())
        fail(L"Only the vertices of lines, polylines and leaders can be moved.");
    const AcGePoint3d near = askPoint(L"\nVertex to move (a point near it): ");
    std::size_t index = 0;
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double distance = std::hypot(points[i].x - near.x, points[i].y - near.y);
        if (distance < best) {
            best = distance;
            index = i;
        }
    }
    const AcGePoint3d to = askPoint(L"\nNew position: ", &points[index]);
    Opened<AcDbEntity> entity(id, AcDb::kForWrite);
    if (!entity)
        fail(L"The object cannot be opened for change.");
    check(moveVertex(entity.get(), index, to), L"The vertex cannot move there");
    acutPrintf(L"\nVertex %d moved.", static_cast<int>(index));
}

// A block reference's attribute by tag.
AcDbObjectId findAttribute(const AcDbBlockReference* reference, const std::wstring& tag) {
    AcDbObjectIterator* it = reference->attributeIterator();
    AcDbObjectId found;
    for (it->start(); !it->done() && found.isNull(); it->step()) {
        Opened<AcDbAttribute> attribute(it->objectId(), AcDb::kForRead);
        if (attribute && _wcsicmp(attribute->tagConst(), tag.c_str()) == 0)
            found = it->objectId();
    }
    delete it;
    return found;
}

void chtext() {
    database();
    AcDbObjectId id = pickEntity(
        L"\nSelect a text, attribute, multiline text, dimension, leader or block reference: ");
    {
        Opened<AcDbEntity> entity(id, AcDb::kForRead);
        if (!entity)
            fail(L"The object cannot be opened.");
        if (const auto* reference = AcDbBlockReference::cast(entity.get())) {
            const std::wstring tag = askWord(L"\nAttribute tag: ");
            id = findAttribute(reference, tag);
            if (id.isNull())
                fail(L"The block reference has no attribute " + tag.substr(0, 60) + L".");
        } else if (const auto* leader = AcDbLeader::cast(entity.get())) {
            id = leader->annotationObjId();
            if (id.isNull())
                fail(L"The leader has no annotation.");
        }
    }
    const std::wstring value = askLine(L"\nNew text: ");
    Opened<AcDbEntity> entity(id, AcDb::kForWrite);
    if (!entity)
        fail(L"The object cannot be opened for change.");
    Acad::ErrorStatus es = Acad::eNotApplicable;
    if (auto* text = AcDbText::cast(entity.get())) {
        es = value.empty() ? Acad::eInvalidInput : text->setTextString(value.c_str());
    } else if (auto* mtext = AcDbMText::cast(entity.get())) {
        es = value.empty() ? Acad::eInvalidInput : mtext->setContents(value.c_str());
    } else if (auto* dimension = AcDbDimension::cast(entity.get())) {
        es = dimension->setDimensionText(value.c_str());
    }
    check(es, L"The text cannot be changed");
    acutPrintf(L"\nText of %s changed.", handleText(id).c_str());
}

bool parseColor(const std::wstring& text, Adesk::UInt16& color) {
    const wchar_t* const names[] = {L"BYBLOCK", L"RED",  L"YELLOW",  L"GREEN",
                                    L"CYAN",    L"BLUE", L"MAGENTA", L"WHITE"};
    for (int i = 0; i < 8; ++i) {
        if (_wcsicmp(text.c_str(), names[i]) == 0) {
            color = static_cast<Adesk::UInt16>(i);
            return true;
        }
    }
    if (_wcsicmp(text.c_str(), L"BYLAYER") == 0) {
        color = kSvColorByLayer;
        return true;
    }
    double value = 0.0;
    if (!svParseReal(text, value) || value != std::floor(value) || value < 0 || value > 256)
        return false;
    color = static_cast<Adesk::UInt16>(value);
    return true;
}

// A drawing has no table of layers: a layer is there once an entity is on it, so naming a new one
// makes it, as the message says.
bool layerInUse(AcDbDatabase* db, const std::wstring& name) {
    bool used = _wcsicmp(name.c_str(), L"0") == 0;
    for (const AcDbObjectId space : {db->modelSpaceId(), db->paperSpaceId()}) {
        Opened<AcDbBlockTableRecord> record(space, AcDb::kForRead);
        AcDbBlockTableRecordIterator* it = nullptr;
        if (!record || record->newIterator(it) != Acad::eOk)
            continue;
        for (; !it->done() && !used; it->step()) {
            AcDbEntity* entity = nullptr;
            if (it->getEntity(entity, AcDb::kForRead) != Acad::eOk)
                continue;
            wchar_t* layer = entity->layer();
            used = _wcsicmp(layer, name.c_str()) == 0;
            acutDelBuffer(layer);
            entity->close();
        }
        delete it;
    }
    return used;
}

bool validLayerName(const std::wstring& name) {
    return !name.empty() && name.size() <= 255 &&
           name.find_first_of(L"<>/\\\":;?*|,=`") == std::wstring::npos;
}

void chprop() {
    AcDbDatabase* db = database();
    const std::vector<AcDbObjectId> ids = selectObjects();
    const std::wstring property =
        askKeyword(L"\nProperty to change [Color/LAyer]: ", Keywords{L"Color", L"LAyer"});
    Adesk::UInt16 color = 0;
    std::wstring value;
    for (;;) {
        value = askWord(property == L"Color"
                            ? L"\nNew colour (0-256, a colour name, BYLAYER, BYBLOCK): "
                            : L"\nNew layer name: ");
        if (property == L"Color" && !parseColor(value, color))
            refuse(L"Bad colour \"" + shown(value) + L"\": give 0 to 256 or a colour name.");
        else if (property == L"LAyer" && !validLayerName(value))
            refuse(L"\"" + shown(value) + L"\" is not a valid layer name.");
        else
            break;
    }
    if (property == L"LAyer" && !layerInUse(db, value))
        acutPrintf(L"\nLayer %s is new to the drawing.", value.c_str());
    int changed = 0;
    for (const AcDbObjectId& id : ids) {
        Opened<AcDbEntity> entity(id, AcDb::kForWrite);
        if (!entity)
            continue;
        const Acad::ErrorStatus es =
            property == L"Color" ? entity->setColorIndex(color) : entity->setLayer(value.c_str());
        if (es == Acad::eOk)
            ++changed;
    }
    acutPrintf(L"\n%d object(s) changed.", changed);
}

const HostCommand kCommands[] = {
    {L"MOVE", L"selection base second", L"moves objects", &command<move>},
    {L"COPY", L"selection base second", L"copies objects once", &command<copy>},
    {L"ROTATE", L"selection base degrees", L"rotates objects about a point", &command<rotate>},
    {L"SCALE", L"selection base factor", L"scales objects about a point", &command<scale>},
    {L"VERTEX", L"object near-point new-point",
     L"moves the vertex of a line, polyline or leader nearest a point", &command<vertex>},
    {L"CHTEXT", L"object [tag] new-text",
     L"changes a text, multiline text, dimension text, leader annotation or attribute (by tag)",
     &command<chtext>},
    {L"CHPROP", L"selection Color value | LAyer name", L"changes the colour or layer",
     &command<chprop>},
    {L"ERASE", L"selection", L"erases objects", &command<erase>},
};

} // namespace

std::span<const HostCommand> editCommands() {
    return kCommands;
}
