#include <algorithm>

#include "db/acutbuffer.h"
#include "db/database.h"
#include "db/dictionary.h"
#include "internal.h"

namespace {

struct Entry {
    std::wstring key;
    AcDbObjectId id;
};

bool isAnonymousRequest(const wchar_t* key) {
    return svDbFold(key) == L"*U";
}

bool live(const AcDbObjectId& id) {
    AcDbObject* obj = svDbResolve(id);
    return obj != nullptr && !obj->isErased();
}

} // namespace

struct AcDbDictionary::Entries {
    std::vector<Entry> order;
    std::unordered_map<std::wstring, AcDbObjectId> byKey; // folded keys
    Adesk::UInt32 anonymousSeed = 0;
    bool hard = false;

    const Entry* find(const wchar_t* key) const {
        auto it = byKey.find(svDbFold(key));
        if (it == byKey.end())
            return nullptr;
        for (const Entry& e : order) {
            if (e.id == it->second)
                return &e;
        }
        return nullptr;
    }
    // An entry whose object is erased no longer counts.
    const Entry* findLive(const wchar_t* key) const {
        const Entry* e = find(key);
        return e != nullptr && live(e->id) ? e : nullptr;
    }
    const Entry* findId(const AcDbObjectId& id) const {
        for (const Entry& e : order) {
            if (e.id == id)
                return &e;
        }
        return nullptr;
    }
    void removeAt(const Entry* entry) {
        byKey.erase(svDbFold(entry->key.c_str()));
        order.erase(order.begin() + (entry - order.data()));
    }
};

AcDbDictionary::AcDbDictionary() : m_entries(new Entries) {}

AcDbDictionary::~AcDbDictionary() {
    delete m_entries;
}

Acad::ErrorStatus AcDbDictionary::getAt(const wchar_t* key, AcDbObject*& obj,
                                        AcDb::OpenMode mode) const {
    obj = nullptr;
    AcDbObjectId id;
    const Acad::ErrorStatus es = getAt(key, id);
    if (es != Acad::eOk)
        return es;
    return acdbOpenAcDbObject(obj, id, mode);
}

Acad::ErrorStatus AcDbDictionary::getAt(const wchar_t* key, AcDbObjectId& id) const {
    assertReadEnabled();
    id.setNull();
    if (key == nullptr)
        return Acad::eInvalidKey;
    const Entry* e = m_entries->findLive(key);
    if (e == nullptr)
        return Acad::eKeyNotFound;
    id = e->id;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::nameAt(AcDbObjectId id, wchar_t*& name) const {
    assertReadEnabled();
    name = nullptr;
    const Entry* e = m_entries->findId(id);
    if (e == nullptr || !live(e->id))
        return Acad::eKeyNotFound;
    name = acutNewString(e->key.c_str());
    return Acad::eOk;
}

bool AcDbDictionary::has(const wchar_t* key) const {
    assertReadEnabled();
    return key != nullptr && m_entries->findLive(key) != nullptr;
}

bool AcDbDictionary::has(AcDbObjectId id) const {
    assertReadEnabled();
    const Entry* e = m_entries->findId(id);
    return e != nullptr && live(e->id);
}

Adesk::UInt32 AcDbDictionary::numEntries() const {
    assertReadEnabled();
    return static_cast<Adesk::UInt32>(std::count_if(m_entries->order.begin(),
                                                    m_entries->order.end(),
                                                    [](const Entry& e) { return live(e.id); }));
}

Acad::ErrorStatus AcDbDictionary::setAt(const wchar_t* key, AcDbObject* newValue,
                                        AcDbObjectId& retObjId) {
    retObjId.setNull();
    if (key == nullptr || *key == L'\0')
        return Acad::eInvalidKey;
    if (newValue == nullptr)
        return Acad::eNullObjectPointer;
    AcDbDatabase* db = database();
    if (db == nullptr)
        return Acad::eNotInDatabase;
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (newValue == this)
        return Acad::eInvalidInput;
    const bool resident = !newValue->objectId().isNull();
    if (resident && newValue->database() != db)
        return Acad::eWrongDatabase;

    std::wstring finalKey = key;
    if (isAnonymousRequest(key)) {
        do {
            finalKey = L"*U" + std::to_wstring(++m_entries->anonymousSeed);
        } while (m_entries->find(finalKey.c_str()) != nullptr);
    } else if (m_entries->findLive(key) != nullptr) {
        return Acad::eDuplicateKey;
    }
    assertWriteEnabled();
    // An erased entry under the key gives way; it is no longer found anyway.
    if (const Entry* stale = m_entries->find(finalKey.c_str()))
        m_entries->removeAt(stale);

    AcDbObjectId id = newValue->objectId();
    if (!resident) {
        const Acad::ErrorStatus es = db->addAcDbObject(id, newValue);
        if (es != Acad::eOk)
            return es;
    } else {
        svDbRecordUndo(newValue);
    }
    SvDbAccess::data(newValue).owner = objectId();
    m_entries->order.push_back({finalKey, id});
    m_entries->byKey[svDbFold(finalKey.c_str())] = id;
    retObjId = id;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::remove(const wchar_t* key) {
    AcDbObjectId ignored;
    return remove(key, ignored);
}

Acad::ErrorStatus AcDbDictionary::remove(const wchar_t* key, AcDbObjectId& returnId) {
    returnId.setNull();
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (key == nullptr)
        return Acad::eInvalidKey;
    const Entry* e = m_entries->find(key);
    if (e == nullptr)
        return Acad::eKeyNotFound;
    assertWriteEnabled();
    returnId = e->id;
    m_entries->removeAt(e);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::remove(AcDbObjectId objId) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    const Entry* e = m_entries->findId(objId);
    if (e == nullptr)
        return Acad::eKeyNotFound;
    assertWriteEnabled();
    m_entries->removeAt(e);
    return Acad::eOk;
}

bool AcDbDictionary::setName(const wchar_t* oldName, const wchar_t* newName) {
    if (oldName == nullptr || newName == nullptr || *newName == L'\0' || !isWriteEnabled())
        return false;
    const Entry* e = m_entries->find(oldName);
    if (e == nullptr)
        return false;
    const Entry* clash = m_entries->find(newName);
    if (clash != nullptr && clash != e)
        return false;
    assertWriteEnabled();
    auto& entry = m_entries->order[static_cast<std::size_t>(e - m_entries->order.data())];
    m_entries->byKey.erase(svDbFold(entry.key.c_str()));
    entry.key = newName;
    m_entries->byKey[svDbFold(newName)] = entry.id;
    return true;
}

bool AcDbDictionary::isTreatElementsAsHard() const {
    assertReadEnabled();
    return m_entries->hard;
}

void AcDbDictionary::setTreatElementsAsHard(bool doIt) {
    if (m_entries->hard == doIt)
        return;
    assertWriteEnabled();
    m_entries->hard = doIt;
}

AcDbDictionaryIterator* AcDbDictionary::newIterator() const {
    assertReadEnabled();
    return new AcDbDictionaryIterator(this);
}

Acad::ErrorStatus AcDbDictionary::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = AcDbObject::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    filer->writeUInt32(m_entries->anonymousSeed);
    filer->writeBoolean(m_entries->hard);
    filer->writeUInt32(static_cast<Adesk::UInt32>(m_entries->order.size()));
    for (const Entry& e : m_entries->order) {
        filer->writeString(e.key.c_str());
        if (m_entries->hard)
            filer->writeHardOwnershipId(e.id);
        else
            filer->writeSoftOwnershipId(e.id);
    }
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbDictionary::dwgInFields(AcDbDwgFiler* filer) {
    const Acad::ErrorStatus es = AcDbObject::dwgInFields(filer);
    if (es != Acad::eOk)
        return es;
    Entries read;
    Adesk::UInt32 count = 0;
    filer->readUInt32(&read.anonymousSeed);
    filer->readBoolean(&read.hard);
    filer->readUInt32(&count);
    for (Adesk::UInt32 i = 0; i < count && filer->filerStatus() == Acad::eOk; ++i) {
        wchar_t* key = nullptr;
        AcDbObjectId id;
        filer->readString(&key);
        if (read.hard)
            filer->readHardOwnershipId(&id);
        else
            filer->readSoftOwnershipId(&id);
        if (filer->filerStatus() == Acad::eOk) {
            // Keys are unique and name something; anything else is damage.
            if (*key == L'\0' || id.isNull() || !read.byKey.emplace(svDbFold(key), id).second)
                filer->setFilerStatus(Acad::eBadDwgFile);
            else
                read.order.push_back({key, id});
        }
        acutDelBuffer(key);
    }
    if (filer->filerStatus() != Acad::eOk)
        return filer->filerStatus();
    *m_entries = std::move(read);
    return Acad::eOk;
}

// ---------------------------------------------------------------------------------------------

struct AcDbDictionaryIterator::Data {
    std::vector<Entry> entries;
    std::size_t pos = 0;
};

AcDbDictionaryIterator::AcDbDictionaryIterator(const AcDbDictionary* dictionary)
    : m_data(new Data) {
    m_data->entries = dictionary->m_entries->order;
    skipErased();
}

AcDbDictionaryIterator::~AcDbDictionaryIterator() {
    delete m_data;
}

void AcDbDictionaryIterator::skipErased() {
    while (m_data->pos < m_data->entries.size() && !live(m_data->entries[m_data->pos].id))
        ++m_data->pos;
}

const wchar_t* AcDbDictionaryIterator::name() const {
    return done() ? nullptr : m_data->entries[m_data->pos].key.c_str();
}

AcDbObjectId AcDbDictionaryIterator::objectId() const {
    return done() ? AcDbObjectId() : m_data->entries[m_data->pos].id;
}

Acad::ErrorStatus AcDbDictionaryIterator::getObject(AcDbObject*& obj, AcDb::OpenMode mode) {
    obj = nullptr;
    if (done())
        return Acad::eInvalidIndex;
    return acdbOpenAcDbObject(obj, objectId(), mode);
}

bool AcDbDictionaryIterator::next() {
    if (done())
        return false;
    ++m_data->pos;
    skipErased();
    return !done();
}

bool AcDbDictionaryIterator::done() const {
    return m_data->pos >= m_data->entries.size();
}

bool AcDbDictionaryIterator::setPosition(AcDbObjectId id) {
    for (std::size_t i = 0; i < m_data->entries.size(); ++i) {
        if (m_data->entries[i].id == id && live(id)) {
            m_data->pos = i;
            return true;
        }
    }
    return false;
}
