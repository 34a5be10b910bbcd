// Deep clone: copies of entities with everything they own, their references mapped among the
// copies.
#include <algorithm>

#include "db/attribute.h"
#include "db/blockref.h"
#include "db/database.h"
#include "db/dictionary.h"
#include "db/filer.h"
#include "db/idmapping.h"
#include "db/opened.h"
#include "db/proxy.h"
#include "db/symboltable.h"
#include "internal.h"

Acad::ErrorStatus AcDbIdMapping::assign(const AcDbIdPair& pair) {
    const auto [at, fresh] = m_index.try_emplace(pair.key(), m_pairs.size());
    if (fresh)
        m_pairs.push_back(pair);
    else
        m_pairs[at->second] = pair;
    return Acad::eOk;
}

bool AcDbIdMapping::compute(AcDbIdPair& pair) const {
    const auto at = m_index.find(pair.key());
    if (at == m_index.end())
        return false;
    pair = m_pairs[at->second];
    return true;
}

AcDbObjectId AcDbIdMapping::translated(AcDbObjectId id) const {
    AcDbIdPair pair(id, AcDbObjectId(), false);
    return compute(pair) && pair.isCloned() ? pair.value() : id;
}

bool AcDbIdMappingIter::getMap(AcDbIdPair& pair) const {
    if (done())
        return false;
    pair = m_map.m_pairs[m_at];
    return true;
}

namespace {

// Gives back every id it reads through the mapping.
class SvIdXlateFiler : public AcDbMemoryFiler {
public:
    explicit SvIdXlateFiler(const AcDbIdMapping& map)
        : AcDbMemoryFiler(AcDb::kIdXlateFiler), m_map(map) {}

    Acad::ErrorStatus readHardOwnershipId(AcDbObjectId* id) override {
        return mapped(AcDbMemoryFiler::readHardOwnershipId(id), id);
    }
    Acad::ErrorStatus readSoftOwnershipId(AcDbObjectId* id) override {
        return mapped(AcDbMemoryFiler::readSoftOwnershipId(id), id);
    }
    Acad::ErrorStatus readHardPointerId(AcDbObjectId* id) override {
        return mapped(AcDbMemoryFiler::readHardPointerId(id), id);
    }
    Acad::ErrorStatus readSoftPointerId(AcDbObjectId* id) override {
        return mapped(AcDbMemoryFiler::readSoftPointerId(id), id);
    }

private:
    Acad::ErrorStatus mapped(Acad::ErrorStatus es, AcDbObjectId* id) const {
        if (es == Acad::eOk && id != nullptr)
            *id = m_map.translated(*id);
        return es;
    }

    const AcDbIdMapping& m_map;
};

template <class T>
T* cloneOf(const T& original) {
    AcRxObject* copy = original.clone();
    T* kept = T::cast(copy);
    if (kept == nullptr)
        delete copy;
    return kept;
}

Acad::ErrorStatus cloneOwned(const AcDbObject& original, AcDbObject& copy, AcDbIdMapping& map);

// An anonymous entry gets a new anonymous name in the copy. An entry whose class is not loaded
// stays behind: without its class nothing knows what its references mean.
Acad::ErrorStatus cloneEntries(const AcDbDictionary& from, AcDbDictionary& to, AcDbIdMapping& map) {
    AcDbDictionaryIterator* it = from.newIterator();
    if (it == nullptr)
        return Acad::eOutOfMemory;
    Acad::ErrorStatus es = Acad::eOk;
    for (; es == Acad::eOk && !it->done(); it->next()) {
        AcDbObject* entry = nullptr;
        if (it->getObject(entry, AcDb::kForRead) != Acad::eOk)
            continue;
        AcDbObject* copy = AcDbProxyObject::cast(entry) == nullptr ? cloneOf(*entry) : nullptr;
        if (copy != nullptr) {
            const wchar_t* name = it->name();
            AcDbObjectId copyId;
            es = to.setAt(name[0] == L'*' ? L"*U" : name, copy, copyId);
            if (es == Acad::eOk) {
                map.assign(AcDbIdPair(entry->objectId(), copyId, true));
                es = cloneOwned(*entry, *copy, map);
                copy->close();
            } else {
                delete copy;
            }
        }
        entry->close();
    }
    delete it;
    return es;
}

Acad::ErrorStatus cloneAttributes(const AcDbBlockReference& from, AcDbBlockReference& to,
                                  AcDbIdMapping& map) {
    AcDbObjectIterator* it = from.attributeIterator();
    if (it == nullptr)
        return Acad::eOk;
    Acad::ErrorStatus es = Acad::eOk;
    for (it->start(); es == Acad::eOk && !it->done(); it->step()) {
        SvOpened<AcDbAttribute> attribute(it->objectId(), AcDb::kForRead);
        AcDbAttribute* copy = attribute ? cloneOf(*attribute.get()) : nullptr;
        if (copy == nullptr)
            continue;
        AcDbObjectId copyId;
        if ((es = to.appendAttribute(copyId, copy)) != Acad::eOk) {
            delete copy;
            break;
        }
        map.assign(AcDbIdPair(attribute->objectId(), copyId, true));
        es = cloneOwned(*attribute.get(), *copy, map);
        copy->close();
    }
    delete it;
    return es;
}

// The copy is resident and open for write.
Acad::ErrorStatus cloneOwned(const AcDbObject& original, AcDbObject& copy, AcDbIdMapping& map) {
    Acad::ErrorStatus es = Acad::eOk;
    const AcDbObjectId xdictId = original.extensionDictionary();
    if (xdictId.isValid()) {
        SvOpened<AcDbDictionary> xdict(xdictId, AcDb::kForRead);
        if (xdict && (es = copy.createExtensionDictionary()) == Acad::eOk) {
            map.assign(AcDbIdPair(xdictId, copy.extensionDictionary(), true));
            SvOpened<AcDbDictionary> copyXdict(copy.extensionDictionary(), AcDb::kForWrite);
            es = copyXdict ? cloneEntries(*xdict.get(), *copyXdict.get(), map)
                           : Acad::eWasOpenForWrite;
        }
    }
    if (es != Acad::eOk)
        return es;
    if (const auto* dictionary = AcDbDictionary::cast(&original))
        return cloneEntries(*dictionary, *AcDbDictionary::cast(&copy), map);
    if (const auto* reference = AcDbBlockReference::cast(&original))
        return cloneAttributes(*reference, *AcDbBlockReference::cast(&copy), map);
    return Acad::eOk;
}

// Filled by the engine, not changed by a user: the copy's close tells nobody. Mapping a copy
// again changes nothing, so a mapping can grow over several calls.
Acad::ErrorStatus translate(const AcDbIdPair& pair, const AcDbIdMapping& map) {
    SvOpened<AcDbObject> original(pair.key(), AcDb::kForRead);
    SvOpened<AcDbObject> copy(pair.value(), AcDb::kForWrite);
    if (!original || !copy)
        return Acad::eWasOpenForWrite;
    SvDbFilingScope filing(copy.get());
    SvIdXlateFiler filer(map);
    Acad::ErrorStatus es = copy->dwgOutFields(&filer);
    if (es != Acad::eOk)
        return es;
    filer.rewind();
    if ((es = copy->dwgInFields(&filer)) != Acad::eOk)
        return es;
    std::vector<AcDbObjectId>& reactors = SvDbAccess::data(copy.get()).reactors;
    for (const AcDbObjectId& reactor : SvDbAccess::data(original.get()).reactors) {
        const AcDbObjectId copied = map.translated(reactor);
        if (copied != reactor &&
            std::find(reactors.begin(), reactors.end(), copied) == reactors.end())
            reactors.push_back(copied);
    }
    return Acad::eOk;
}

} // namespace

Acad::ErrorStatus AcDbDatabase::deepCloneObjects(const AcDbObjectIdArray& objectIds,
                                                 AcDbObjectId owner, AcDbIdMapping& idMap) {
    for (int i = 0; i < objectIds.length(); ++i) {
        SvOpened<AcDbEntity> entity(objectIds[i], AcDb::kForRead);
        if (!entity)
            return Acad::eWasOpenForWrite;
        AcDbEntity* copy = cloneOf(*entity.get());
        if (copy == nullptr)
            return Acad::eNotThatKindOfClass;
        AcDbObjectId copyId;
        Acad::ErrorStatus es = Acad::eNullObjectPointer;
        if (SvOpened<AcDbBlockTableRecord> space(owner, AcDb::kForWrite); space)
            es = space->appendAcDbEntity(copyId, copy);
        if (es != Acad::eOk) {
            delete copy;
            return es;
        }
        idMap.assign(AcDbIdPair(objectIds[i], copyId, true, true));
        es = cloneOwned(*entity.get(), *copy, idMap);
        copy->close();
        if (es != Acad::eOk)
            return es;
    }
    AcDbIdMappingIter pairs(idMap);
    for (pairs.start(); !pairs.done(); pairs.next()) {
        AcDbIdPair pair;
        pairs.getMap(pair);
        if (const Acad::ErrorStatus es = translate(pair, idMap); es != Acad::eOk)
            return es;
    }
    return Acad::eOk;
}
