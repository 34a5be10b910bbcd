#include "ed/selection.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "db/database.h"
#include "db/extents.h"
#include "db/symboltable.h"
#include "ed/getinput.h"
#include "ed/input.h"
#include "ed/parse.h"
#include "ed/spaces.h"
#include "getinput_state.h"
#include "pick_distance.h"
#include "rx/print.h"

namespace {

// Entity names and selection sets are numbers that index tables of the host, so a stale name
// never reaches freed memory: it just fails the look-up.
constexpr std::int64_t kEntityTag = 0x53564E4D; // marks an entity name
constexpr std::int64_t kSetTag = 0x53565353;    // marks a selection set

std::vector<AcDbObjectId>& namedIds() {
    static std::vector<AcDbObjectId> ids;
    return ids;
}

std::map<AcDbObjectId, std::int64_t>& nameOfId() {
    static std::map<AcDbObjectId, std::int64_t> names;
    return names;
}

std::map<std::int64_t, std::vector<AcDbObjectId>>& selectionSets() {
    static std::map<std::int64_t, std::vector<AcDbObjectId>> sets;
    return sets;
}

std::int64_t g_nextSet = 1;
std::vector<AcDbObjectId> g_previous; // the last selection made at the prompt

std::vector<AcDbObjectId>* findSet(const ads_name ss) {
    if (ss == nullptr || ss[1] != kSetTag)
        return nullptr;
    auto found = selectionSets().find(ss[0]);
    return found == selectionSets().end() ? nullptr : &found->second;
}

// The entities of the space being worked in, each with a test applied while it is open.
template <class Visit>
void forEachEntity(Visit visit) {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    AcDbBlockTableRecord* space = nullptr;
    if (db == nullptr || acdbOpenObject(space, svPickSpaceId(db), AcDb::kForRead) != Acad::eOk)
        return;
    AcDbBlockTableRecordIterator* it = nullptr;
    if (space->newIterator(it) == Acad::eOk) {
        for (; !it->done(); it->step()) {
            AcDbEntity* entity = nullptr;
            if (it->getEntity(entity, AcDb::kForRead) != Acad::eOk)
                continue;
            visit(*entity);
            entity->close();
        }
        delete it;
    }
    space->close();
}

double aperture() {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    AcDbSysVar value;
    return db != nullptr && db->getSysVar(L"PICKBOX", value) == Acad::eOk ? value.intValue : 3.0;
}

AcDbObjectId pickAt(const AcGePoint3d& point) {
    AcDbObjectId best;
    double bestDistance = aperture();
    forEachEntity([&](const AcDbEntity& entity) {
        const double distance = svPickDistance(entity, point);
        if (distance <= bestDistance) { // ties go to the entity drawn last
            bestDistance = distance;
            best = entity.objectId();
        }
    });
    return best;
}

// The newest entity of the space that is still there.
AcDbObjectId lastEntity() {
    AcDbObjectId last;
    forEachEntity([&](const AcDbEntity& entity) { last = entity.objectId(); });
    return last;
}

AcDbObjectId byHandle(const std::wstring& hex) {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    AcDbObjectId id;
    const AcDbHandle handle(hex.c_str());
    if (db == nullptr || handle.isNull() || db->getAcDbObjectId(id, false, handle) != Acad::eOk)
        return AcDbObjectId::kNull;
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk)
        return AcDbObjectId::kNull;
    entity->close();
    return id;
}

void setName(ads_name name, AcDbObjectId id) {
    auto [it, added] = nameOfId().try_emplace(id, static_cast<std::int64_t>(namedIds().size()));
    if (added)
        namedIds().push_back(id);
    name[0] = it->second;
    name[1] = kEntityTag;
}

// Asks for corners one after the other, as a window selection does.
bool askCorner(const wchar_t* prompt, AcGePoint3d& corner) {
    ads_point p;
    if (acedGetPoint(nullptr, prompt, p) != RTNORM)
        return false;
    corner = AcGePoint3d(p[0], p[1], p[2]);
    return true;
}

void selectWindow(bool crossing, std::vector<AcDbObjectId>& out) {
    AcGePoint3d a, b;
    if (!askCorner(L"\nFirst corner: ", a) || !askCorner(L"\nOther corner: ", b))
        return;
    const AcDbExtents window(a, b);
    forEachEntity([&](const AcDbEntity& entity) {
        AcDbExtents box;
        if (entity.getGeomExtents(box) != Acad::eOk)
            return;
        const AcGePoint3d lo = box.minPoint(), hi = box.maxPoint();
        const AcGePoint3d wlo = window.minPoint(), whi = window.maxPoint();
        const bool inside = lo.x >= wlo.x && lo.y >= wlo.y && hi.x <= whi.x && hi.y <= whi.y;
        const bool touches = lo.x <= whi.x && hi.x >= wlo.x && lo.y <= whi.y && hi.y >= wlo.y;
        if (crossing ? touches : inside)
            out.push_back(entity.objectId());
    });
}

} // namespace

int acedEntSel(const wchar_t* prompt, ads_name entity, ads_point pickedPoint) {
    for (;;) {
        std::wstring text;
        const int status = svGetAnswer(prompt != nullptr ? prompt : L"\nSelect object: ", text);
        if (status != RTNORM)
            return status;
        AcGePoint3d point;
        AcDbObjectId id;
        if (!text.empty() && text[0] == L'#') {
            id = byHandle(text.substr(1));
            if (id.isNull()) {
                acutPrintf(L"\nNo object has the handle %s.", text.c_str());
                return RTERROR;
            }
        } else if (svParsePoint(text, nullptr, point)) {
            id = pickAt(point);
            if (pickedPoint != nullptr) {
                pickedPoint[0] = point.x;
                pickedPoint[1] = point.y;
                pickedPoint[2] = point.z;
            }
        } else {
            acutPrintf(L"\nA point or an object handle (#handle) is required.");
            if (!svInputIsInteractive())
                return RTERROR;
            continue;
        }
        if (id.isNull()) {
            acutPrintf(L"\nNothing found.");
            return RTERROR;
        }
        setName(entity, id);
        return RTNORM;
    }
}

int acedSSGet(const wchar_t* mode, const void* pt1, const void* pt2, const resbuf* filter,
              ads_name selectionSet) {
    if (mode != nullptr || pt1 != nullptr || pt2 != nullptr || filter != nullptr ||
        selectionSet == nullptr)
        return RTERROR;
    // In the order chosen; a removed one leaves a null behind, so ALL of a large drawing and its
    // removals cost one lookup per object instead of a search of the set.
    std::vector<AcDbObjectId> chosen;
    std::unordered_map<AcDbObjectId, std::size_t> positions;
    bool removing = false;
    for (;;) {
        acedInitGet(0, L"Window Crossing ALL Last Previous Remove Add");
        std::wstring text;
        const int status =
            svGetAnswer(removing ? L"\nRemove objects: " : L"\nSelect objects: ", text);
        if (status == RTCAN)
            return RTCAN;
        if (status == RTNONE)
            break;
        std::vector<AcDbObjectId> found;
        wchar_t keyword[SV_MAX_INPUT] = L"";
        if (status == RTKWORD)
            acedGetInput(keyword);
        const std::wstring word = keyword;
        AcGePoint3d point;
        if (word == L"Window" || word == L"Crossing") {
            selectWindow(word == L"Crossing", found);
        } else if (word == L"ALL") {
            forEachEntity([&](const AcDbEntity& entity) { found.push_back(entity.objectId()); });
        } else if (word == L"Last") {
            if (const AcDbObjectId id = lastEntity(); !id.isNull())
                found.push_back(id);
        } else if (word == L"Previous") {
            for (const AcDbObjectId& id : g_previous) {
                AcDbEntity* entity = nullptr;
                if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) == Acad::eOk) {
                    entity->close();
                    found.push_back(id);
                }
            }
        } else if (word == L"Remove" || word == L"Add") {
            removing = word == L"Remove";
            continue;
        } else if (!text.empty() && text[0] == L'#') {
            const AcDbObjectId id = byHandle(text.substr(1));
            if (id.isNull()) {
                acutPrintf(L"\nNo object has the handle %s.", text.c_str());
                if (!svInputIsInteractive())
                    return RTERROR;
                continue;
            }
            found.push_back(id);
        } else if (svParsePoint(text, nullptr, point)) {
            const AcDbObjectId id = pickAt(point);
            if (!id.isNull())
                found.push_back(id);
        } else {
            acutPrintf(L"\nA point, an object handle (#handle) or an option is required.");
            if (!svInputIsInteractive())
                return RTERROR;
            continue;
        }
        acutPrintf(L"\n%d found", static_cast<int>(found.size()));
        for (const AcDbObjectId& id : found) {
            const auto at = positions.find(id);
            if (removing && at != positions.end()) {
                chosen[at->second] = AcDbObjectId();
                positions.erase(at);
            } else if (!removing && at == positions.end()) {
                positions.emplace(id, chosen.size());
                chosen.push_back(id);
            }
        }
    }
    std::erase(chosen, AcDbObjectId());
    if (chosen.empty())
        return RTERROR;
    g_previous = chosen;
    selectionSet[0] = g_nextSet++;
    selectionSet[1] = kSetTag;
    selectionSets()[selectionSet[0]] = std::move(chosen);
    return RTNORM;
}

int acedSSLength(const ads_name selectionSet, Adesk::Int32* length) {
    const std::vector<AcDbObjectId>* set = findSet(selectionSet);
    if (set == nullptr || length == nullptr)
        return RTERROR;
    *length = static_cast<Adesk::Int32>(set->size());
    return RTNORM;
}

int acedSSName(const ads_name selectionSet, Adesk::Int32 index, ads_name entity) {
    const std::vector<AcDbObjectId>* set = findSet(selectionSet);
    if (set == nullptr || entity == nullptr || index < 0 ||
        static_cast<std::size_t>(index) >= set->size())
        return RTERROR;
    setName(entity, (*set)[static_cast<std::size_t>(index)]);
    return RTNORM;
}

int acedSSFree(const ads_name selectionSet) {
    if (findSet(selectionSet) == nullptr)
        return RTERROR;
    selectionSets().erase(selectionSet[0]);
    return RTNORM;
}

Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name entity) {
    if (entity == nullptr || entity[1] != kEntityTag || entity[0] < 0 ||
        static_cast<std::size_t>(entity[0]) >= namedIds().size())
        return Acad::eInvalidInput;
    id = namedIds()[static_cast<std::size_t>(entity[0])];
    return id.isValid() ? Acad::eOk : Acad::eInvalidObjectId;
}

Acad::ErrorStatus acdbGetAdsName(ads_name& entity, AcDbObjectId id) {
    if (!id.isValid())
        return Acad::eInvalidObjectId;
    setName(entity, id);
    return Acad::eOk;
}
