#include <algorithm>
#include <vector>

#include "db/acutbuffer.h"
#include "db/dictionary.h"
#include "db/object.h"
#include "internal.h"

namespace {

// Far more than any honest use; a leak of read openings shows up as a refusal, not a wrap.
constexpr int kMaxReaders = 1 << 20;

const wchar_t* className(const AcDbObject* obj) {
    const AcRxClass* cls = obj->isA();
    return cls != nullptr ? cls->name() : L"?";
}

bool resident(const SvDbObjectData& d) {
    return !d.id.isNull();
}

bool readable(const SvDbObjectData& d) {
    return !resident(d) || d.zombie || d.readers > 0 || d.writer || d.notifyOpens > 0 ||
           d.notifying > 0 || d.filing > 0;
}

void deleteIfAbandoned(AcDbObject* obj) {
    SvDbObjectData& d = SvDbAccess::data(obj);
    if (d.zombie && d.readers == 0 && !d.writer && d.notifyOpens == 0 && d.notifying == 0)
        delete obj;
}

// Closes made while reactors are being told wait here and are told after, in order, so a chain of
// reactors of any length runs on a flat stack. Every object told stays unwritable until the whole
// cascade is over: each is told once and a cycle of reactors ends.
struct Cascade {
    bool running = false;
    // Told from `next` on; emptied, not freed, once the cascade is over, so that a warm cascade
    // allocates nothing.
    std::vector<AcDbObjectId> waiting;
    std::size_t next = 0;
    std::vector<AcDbObject*> told;
    // The reactors of the object being told, as they were when telling began. Kept here so that
    // its room is reused: only the outermost close works the cascade off, one object at a time.
    std::vector<AcDbObjectId> reactors;
};

Cascade& cascade() {
    static Cascade c;
    return c;
}

// Tells the reactors what the ending write opening changed. The object is not writable meanwhile,
// so a reactor that wants to change it again is refused (eWasNotifying).
void deliver(Cascade& c, AcDbObject* obj, bool modified, bool eraseToggled) {
    SvDbObjectData& d = SvDbAccess::data(obj);
    const bool erasing = d.erased;
    std::vector<AcDbObjectId>& reactors = c.reactors;
    reactors.assign(d.reactors.begin(), d.reactors.end());
    for (const AcDbObjectId& reactorId : reactors) {
        AcDbObject* reactor = nullptr;
        if (acdbOpenAcDbObject(reactor, reactorId, AcDb::kForNotify) != Acad::eOk)
            continue;
        if (eraseToggled)
            reactor->erased(obj, erasing);
        if (modified)
            reactor->modified(obj);
        svDbCloseNotify(reactor);
    }
    if (d.transient.empty())
        return;
    const std::vector<AcDbObjectReactor*> transient = d.transient;
    for (AcDbObjectReactor* reactor : transient) {
        // One removed by an earlier reactor's notification is not told any more.
        if (std::find(d.transient.begin(), d.transient.end(), reactor) == d.transient.end())
            continue;
        if (eraseToggled)
            reactor->erased(obj, erasing);
        if (modified)
            reactor->modified(obj);
    }
}

void tellNext(Cascade& c) {
    const AcDbObjectId id = c.waiting[c.next++];
    AcDbObject* obj = svDbResolve(id); // taken back meanwhile: nobody is left to tell
    if (obj == nullptr)
        return;
    SvDbObjectData& d = SvDbAccess::data(obj);
    const bool modified = d.waitingModified;
    const bool eraseToggled = d.waitingEraseToggled;
    d.waiting = false;
    d.waitingModified = false;
    d.waitingEraseToggled = false;
    if (d.zombie)
        return;
    ++d.notifying;
    c.told.push_back(obj);
    deliver(c, obj, modified, eraseToggled);
}

// Ends the cascade also when a reactor throws, so the objects told become writable again.
class CascadeRun {
public:
    explicit CascadeRun(Cascade& c) : m_c(c) { m_c.running = true; }
    ~CascadeRun() {
        for (std::size_t i = m_c.next; i < m_c.waiting.size(); ++i) {
            if (AcDbObject* obj = svDbResolve(m_c.waiting[i]))
                SvDbAccess::data(obj).waiting = false;
        }
        m_c.waiting.clear();
        m_c.next = 0;
        std::vector<AcDbObject*> told;
        told.swap(m_c.told);
        m_c.running = false;
        for (AcDbObject* done : told) {
            --SvDbAccess::data(done).notifying;
            deleteIfAbandoned(done);
        }
        // Its room back for the next cascade, unless a deletion above started one of its own.
        if (m_c.told.empty()) {
            told.clear();
            m_c.told.swap(told);
        }
    }
    CascadeRun(const CascadeRun&) = delete;
    CascadeRun& operator=(const CascadeRun&) = delete;

private:
    Cascade& m_c;
};

void notifyClose(AcDbObject* obj, bool modified, bool eraseToggled) {
    SvDbObjectData& d = SvDbAccess::data(obj);
    d.waitingModified = d.waitingModified || modified;
    d.waitingEraseToggled = d.waitingEraseToggled || eraseToggled;
    Cascade& c = cascade();
    if (!d.waiting) {
        d.waiting = true;
        c.waiting.push_back(d.id);
    }
    if (c.running)
        return;
    CascadeRun run(c);
    while (c.next < c.waiting.size())
        tellNext(c);
}

// Ends the write opening: flags are taken before notifying so that a reopening starts clean.
void finishWrite(AcDbObject* obj) {
    SvDbObjectData& d = SvDbAccess::data(obj);
    d.writer = false;
    const bool modified = d.modified;
    const bool eraseToggled = d.eraseToggled;
    d.modified = false;
    d.eraseToggled = false;
    d.openedForModifySent = false;
    if (!d.zombie && (modified || eraseToggled))
        notifyClose(obj, modified, eraseToggled);
}

} // namespace

SvDbFilingScope::SvDbFilingScope(const AcDbObject* obj) : m_data(SvDbAccess::data(obj)) {
    ++m_data.filing;
}

SvDbFilingScope::~SvDbFilingScope() {
    --m_data.filing;
}

// ---------------------------------------------------------------------------------------------

AcDbObjectReactor::~AcDbObjectReactor() = default;
void AcDbObjectReactor::cancelled(const AcDbObject*) {}
void AcDbObjectReactor::copied(const AcDbObject*, const AcDbObject*) {}
void AcDbObjectReactor::erased(const AcDbObject*, bool) {}
void AcDbObjectReactor::goodbye(const AcDbObject*) {}
void AcDbObjectReactor::openedForModify(const AcDbObject*) {}
void AcDbObjectReactor::modified(const AcDbObject*) {}
void AcDbObjectReactor::modifyUndone(const AcDbObject*) {}
void AcDbObjectReactor::unappended(const AcDbObject*) {}
void AcDbObjectReactor::reappended(const AcDbObject*) {}
void AcDbObjectReactor::objectClosed(const AcDbObjectId) {}

// ---------------------------------------------------------------------------------------------

AcDbObject::AcDbObject() : m_data(new SvDbObjectData) {}

AcDbObject::AcDbObject(const AcDbObject& other) : AcRxObject(other), m_data(new SvDbObjectData) {}

AcDbObject& AcDbObject::operator=(const AcDbObject&) {
    return *this;
}

AcDbObject::~AcDbObject() {
    // Deleting a resident object is a fault of its owner; the id must at least not dangle.
    if (resident(*m_data)) {
        SvDbSlot* slot = svDbSlot(m_data->id);
        if (slot != nullptr && slot->object == this) {
            slot->object = nullptr;
            svDbNoteInvalidation();
        }
    }
    delete m_data;
}

AcDbObjectId AcDbObject::objectId() const {
    return m_data->id;
}

void AcDbObject::list() const {}

AcDbObjectId AcDbObject::ownerId() const {
    return m_data->owner;
}

Acad::ErrorStatus AcDbObject::setOwnerId(AcDbObjectId ownerId) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    assertWriteEnabled();
    m_data->owner = ownerId;
    return Acad::eOk;
}

AcDbDatabase* AcDbObject::database() const {
    return m_data->id.database();
}

void AcDbObject::getAcDbHandle(AcDbHandle& handle) const {
    handle = m_data->id.handle();
}

bool AcDbObject::isErased() const {
    return m_data->erased;
}

Acad::ErrorStatus AcDbObject::erase(bool erasing) {
    if (!resident(*m_data))
        return Acad::eNotInDatabase;
    if (!m_data->writer)
        return Acad::eNotOpenForWrite;
    if (m_data->erased == erasing)
        return erasing ? Acad::eWasErased : Acad::eWasNotErased;
    assertWriteEnabled(true, false);
    m_data->erased = erasing;
    m_data->eraseToggled = !m_data->eraseToggled;
    if (erasing)
        svDbEraseOwned(this);
    return Acad::eOk;
}

bool AcDbObject::isReadEnabled() const {
    return readable(*m_data);
}

bool AcDbObject::isWriteEnabled() const {
    return !resident(*m_data) || m_data->zombie || m_data->writer || m_data->filing > 0;
}

bool AcDbObject::isNotifyEnabled() const {
    return m_data->notifyOpens > 0 || m_data->notifying > 0;
}

bool AcDbObject::isNotifying() const {
    return m_data->notifying > 0;
}

bool AcDbObject::isModified() const {
    return m_data->modified;
}

void AcDbObject::assertReadEnabled() const {
    if (!readable(*m_data))
        acrx_abort(L"eNotOpenForRead: a %s was read without being open", className(this));
}

void AcDbObject::assertWriteEnabled(bool autoUndo, bool recordModified) {
    SvDbObjectData& d = *m_data;
    if (!resident(d) || d.zombie)
        return;
    if (d.filing > 0)
        return; // the engine is loading or restoring it: nothing to record
    if (!d.writer)
        acrx_abort(L"eNotOpenForWrite: a %s was changed without being open for write",
                   className(this));
    if (autoUndo)
        svDbRecordUndo(this);
    if (recordModified)
        d.modified = true;
    if (!d.openedForModifySent) {
        d.openedForModifySent = true;
        if (d.transient.empty())
            return;
        const std::vector<AcDbObjectReactor*> transient = d.transient;
        for (AcDbObjectReactor* reactor : transient)
            reactor->openedForModify(this);
    }
}

void AcDbObject::assertNotifyEnabled() const {
    if (resident(*m_data) && !isNotifyEnabled() && !readable(*m_data))
        acrx_abort(L"eNotOpenForNotify: a %s was notified without being open", className(this));
}

Acad::ErrorStatus AcDbObject::close() {
    SvDbObjectData& d = *m_data;
    if (d.zombie) {
        if (d.writer)
            d.writer = false;
        else if (d.readers > 0)
            --d.readers;
        else if (d.notifyOpens > 0)
            --d.notifyOpens;
        deleteIfAbandoned(this);
        return Acad::eOk;
    }
    if (!resident(d))
        return Acad::eNotInDatabase;
    if (d.writer) {
        const AcDbObjectId id = d.id;
        finishWrite(this);
        if (d.transient.empty())
            return Acad::eOk;
        const std::vector<AcDbObjectReactor*> transient = d.transient;
        for (AcDbObjectReactor* reactor : transient)
            reactor->objectClosed(id);
        return Acad::eOk;
    }
    if (d.readers > 0) {
        --d.readers;
        return Acad::eOk;
    }
    if (d.notifyOpens > 0) {
        --d.notifyOpens;
        return Acad::eOk;
    }
    return Acad::eInvalidOpenState;
}

void svDbCloseNotify(AcDbObject* obj) {
    SvDbObjectData& d = SvDbAccess::data(obj);
    if (d.notifyOpens > 0)
        --d.notifyOpens;
    deleteIfAbandoned(obj);
}

void svDbCloseQuietly(AcDbObject* obj) {
    SvDbObjectData& d = SvDbAccess::data(obj);
    d.modified = false;
    d.eraseToggled = false;
    obj->close();
}

Acad::ErrorStatus AcDbObject::upgradeOpen() {
    SvDbObjectData& d = *m_data;
    if (!resident(d))
        return Acad::eOk;
    if (d.writer)
        return Acad::eWasOpenForWrite;
    if (d.notifying > 0)
        return Acad::eWasNotifying;
    if (d.readers == 0)
        return d.notifyOpens > 0 ? Acad::eWasOpenForNotify : Acad::eNotOpenForRead;
    if (d.readers > 1)
        return Acad::eWasOpenForRead;
    if (d.notifyOpens > 0)
        return Acad::eWasOpenForNotify;
    d.readers = 0;
    d.writer = true;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::downgradeOpen() {
    SvDbObjectData& d = *m_data;
    if (!resident(d))
        return Acad::eOk;
    if (!d.writer)
        return Acad::eNotOpenForWrite;
    d.readers = 1;
    finishWrite(this);
    return Acad::eOk;
}

AcDbObjectId AcDbObject::extensionDictionary() const {
    assertReadEnabled();
    return m_data->xdict;
}

Acad::ErrorStatus AcDbObject::createExtensionDictionary() {
    AcDbDatabase* db = database();
    if (db == nullptr)
        return Acad::eNotInDatabase;
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (m_data->xdict.isValid() && !m_data->xdict.isErased())
        return Acad::eAlreadyInDb;
    auto* dict = new AcDbDictionary;
    AcDbObjectId dictId;
    const Acad::ErrorStatus es = db->addAcDbObject(dictId, dict);
    if (es != Acad::eOk) {
        delete dict;
        return es;
    }
    SvDbAccess::data(dict).owner = m_data->id;
    dict->close();
    assertWriteEnabled();
    m_data->xdict = dictId;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::addPersistentReactor(AcDbObjectId reactorId) {
    if (reactorId.isNull())
        return Acad::eNullObjectId;
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (hasPersistentReactor(reactorId))
        return Acad::eOk;
    assertWriteEnabled();
    m_data->reactors.push_back(reactorId);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::removePersistentReactor(AcDbObjectId reactorId) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    auto& reactors = m_data->reactors;
    auto it = std::find(reactors.begin(), reactors.end(), reactorId);
    if (it == reactors.end())
        return Acad::eKeyNotFound;
    assertWriteEnabled();
    reactors.erase(it);
    return Acad::eOk;
}

bool AcDbObject::hasPersistentReactor(AcDbObjectId reactorId) const {
    const auto& reactors = m_data->reactors;
    return std::find(reactors.begin(), reactors.end(), reactorId) != reactors.end();
}

AcDbObjectIdArray AcDbObject::persistentReactors() const {
    AcDbObjectIdArray ids(static_cast<int>(m_data->reactors.size()));
    for (const AcDbObjectId& id : m_data->reactors)
        ids.append(id);
    return ids;
}

void AcDbObject::addReactor(AcDbObjectReactor* reactor) const {
    auto& transient = m_data->transient;
    if (reactor != nullptr &&
        std::find(transient.begin(), transient.end(), reactor) == transient.end())
        transient.push_back(reactor);
}

void AcDbObject::removeReactor(AcDbObjectReactor* reactor) const {
    auto& transient = m_data->transient;
    transient.erase(std::remove(transient.begin(), transient.end(), reactor), transient.end());
}

// The object level files owner, persistent reactors and extension dictionary, except in copies,
// which start out unattached.
Acad::ErrorStatus AcDbObject::dwgOutFields(AcDbDwgFiler* filer) const {
    assertReadEnabled();
    if (filer == nullptr)
        return Acad::eNullObjectPointer;
    if (filer->filerType() == AcDb::kCopyFiler)
        return filer->filerStatus();
    filer->writeSoftPointerId(m_data->owner);
    filer->writeUInt32(static_cast<Adesk::UInt32>(m_data->reactors.size()));
    for (const AcDbObjectId& id : m_data->reactors)
        filer->writeSoftPointerId(id);
    filer->writeHardOwnershipId(m_data->xdict);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbObject::dwgInFields(AcDbDwgFiler* filer) {
    assertWriteEnabled();
    if (filer == nullptr)
        return Acad::eNullObjectPointer;
    if (filer->filerType() == AcDb::kCopyFiler)
        return filer->filerStatus();
    AcDbObjectId owner;
    AcDbObjectId xdict;
    Adesk::UInt32 count = 0;
    std::vector<AcDbObjectId> reactors;
    filer->readSoftPointerId(&owner);
    filer->readUInt32(&count);
    // Each entry is read before the next is asked for, so a false count ends at the data's end.
    for (Adesk::UInt32 i = 0; i < count && filer->filerStatus() == Acad::eOk; ++i) {
        AcDbObjectId id;
        filer->readSoftPointerId(&id);
        reactors.push_back(id);
    }
    filer->readHardOwnershipId(&xdict);
    if (filer->filerStatus() != Acad::eOk)
        return filer->filerStatus();
    m_data->owner = owner;
    m_data->reactors = std::move(reactors);
    m_data->xdict = xdict;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::dxfInFields(AcDbDxfFiler*) {
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::dxfOutFields(AcDbDxfFiler*) const {
    return Acad::eOk;
}

// An owner or extension dictionary that no longer exists is an error; with fixing on it is
// cleared.
Acad::ErrorStatus AcDbObject::audit(AcDbAuditInfo* auditInfo) {
    if (auditInfo == nullptr || !resident(*m_data))
        return Acad::eOk;
    int errors = 0;
    if (!m_data->owner.isNull() && !m_data->owner.isValid())
        ++errors;
    if (!m_data->xdict.isNull() && !m_data->xdict.isValid())
        ++errors;
    auditInfo->errorsFound(errors);
    if (errors > 0 && auditInfo->fixErrors() && isWriteEnabled()) {
        assertWriteEnabled();
        if (!m_data->owner.isValid())
            m_data->owner.setNull();
        if (!m_data->xdict.isValid())
            m_data->xdict.setNull();
        auditInfo->errorsFixed(errors);
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::copyFrom(const AcRxObject* other) {
    const AcDbObject* source = AcDbObject::cast(other);
    if (source == nullptr || source->isA() != isA())
        return Acad::eNotThatKindOfClass;
    if (source == this)
        return Acad::eOk;
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    AcDbMemoryFiler filer(AcDb::kCopyFiler);
    {
        SvDbFilingScope reading(source);
        const Acad::ErrorStatus es = source->dwgOutFields(&filer);
        if (es != Acad::eOk)
            return es;
    }
    return dwgInFields(&filer);
}

void AcDbObject::recordGraphicsModified(bool setModified) {
    if (setModified)
        assertWriteEnabled(false, true);
}

void AcDbObject::cancelled(const AcDbObject*) {}
void AcDbObject::copied(const AcDbObject*, const AcDbObject*) {}
void AcDbObject::erased(const AcDbObject*, bool) {}
void AcDbObject::goodbye(const AcDbObject*) {}
void AcDbObject::openedForModify(const AcDbObject*) {}
void AcDbObject::modified(const AcDbObject*) {}
void AcDbObject::modifyUndone(const AcDbObject*) {}
void AcDbObject::unappended(const AcDbObject*) {}
void AcDbObject::reappended(const AcDbObject*) {}
void AcDbObject::objectClosed(const AcDbObjectId) {}

// ---------------------------------------------------------------------------------------------

Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased, const AcRxClass* desc) {
    obj = nullptr;
    if (id.isNull())
        return Acad::eNullObjectId;
    AcDbObject* found = svDbResolve(id);
    if (found == nullptr)
        return Acad::eInvalidObjectId;
    SvDbObjectData& d = SvDbAccess::data(found);
    if (d.erased && !openErased)
        return Acad::eWasErased;
    if (desc != nullptr && !found->isKindOf(desc))
        return Acad::eNotThatKindOfClass;
    switch (mode) {
    case AcDb::kForRead:
        if (d.writer)
            return Acad::eWasOpenForWrite;
        if (d.readers >= kMaxReaders)
            return Acad::eAtMaxReaders;
        ++d.readers;
        break;
    case AcDb::kForWrite:
        if (d.notifying > 0)
            return Acad::eWasNotifying;
        if (d.writer)
            return Acad::eWasOpenForWrite;
        if (d.readers > 0)
            return Acad::eWasOpenForRead;
        if (d.notifyOpens > 0)
            return Acad::eWasOpenForNotify;
        d.writer = true;
        break;
    case AcDb::kForNotify:
        ++d.notifyOpens;
        break;
    default:
        return Acad::eInvalidOpenState;
    }
    obj = found;
    return Acad::eOk;
}

Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased) {
    return acdbOpenAcDbObject(obj, id, mode, openErased, nullptr);
}

// ---------------------------------------------------------------------------------------------

namespace {

// Hears only the ids an object files; everything else it is given is dropped.
class IdCollector : public AcDbDwgFiler {
public:
    IdCollector(SvDbIdWanted wanted, std::vector<AcDbObjectId>& ids)
        : m_wanted(wanted), m_ids(ids) {}

    Acad::ErrorStatus filerStatus() const override { return m_status; }
    AcDb::FilerType filerType() const override { return AcDb::kIdFiler; }
    void setFilerStatus(Acad::ErrorStatus status) override { m_status = status; }
    void resetFilerStatus() override { m_status = Acad::eOk; }

    Acad::ErrorStatus writeHardOwnershipId(const AcDbObjectId& id) override {
        return take(id, m_wanted != SvDbIdWanted::kPointers);
    }
    Acad::ErrorStatus writeSoftOwnershipId(const AcDbObjectId& id) override {
        return take(id, m_wanted == SvDbIdWanted::kOwnerships);
    }
    Acad::ErrorStatus writeHardPointerId(const AcDbObjectId& id) override {
        return take(id, m_wanted == SvDbIdWanted::kHardReferences ||
                            m_wanted == SvDbIdWanted::kPointers);
    }
    Acad::ErrorStatus writeSoftPointerId(const AcDbObjectId& id) override {
        return take(id, m_wanted == SvDbIdWanted::kPointers);
    }
    Acad::ErrorStatus readHardOwnershipId(AcDbObjectId* id) override { return refuse(id); }
    Acad::ErrorStatus readSoftOwnershipId(AcDbObjectId* id) override { return refuse(id); }
    Acad::ErrorStatus readHardPointerId(AcDbObjectId* id) override { return refuse(id); }
    Acad::ErrorStatus readSoftPointerId(AcDbObjectId* id) override { return refuse(id); }

#define SV_ID_COLLECTOR_DROPS(NAME, TYPE)                                                          \
    Acad::ErrorStatus write##NAME(TYPE) override {                                                 \
        return m_status;                                                                           \
    }                                                                                              \
    Acad::ErrorStatus read##NAME(TYPE* value) override {                                           \
        return refuse(value);                                                                      \
    }
    SV_ID_COLLECTOR_DROPS(Int8, Adesk::Int8)
    SV_ID_COLLECTOR_DROPS(UInt8, Adesk::UInt8)
    SV_ID_COLLECTOR_DROPS(Int16, Adesk::Int16)
    SV_ID_COLLECTOR_DROPS(UInt16, Adesk::UInt16)
    SV_ID_COLLECTOR_DROPS(Int32, Adesk::Int32)
    SV_ID_COLLECTOR_DROPS(UInt32, Adesk::UInt32)
    SV_ID_COLLECTOR_DROPS(Int64, Adesk::Int64)
    SV_ID_COLLECTOR_DROPS(UInt64, Adesk::UInt64)
    SV_ID_COLLECTOR_DROPS(Double, double)
    SV_ID_COLLECTOR_DROPS(Boolean, Adesk::Boolean)
#undef SV_ID_COLLECTOR_DROPS
    Acad::ErrorStatus writeString(const wchar_t*) override {
        return m_status;
    }
    Acad::ErrorStatus readString(wchar_t** value) override {
        if (value != nullptr)
            *value = acutNewString(L"");
        return refuse<int>(nullptr);
    }
    Acad::ErrorStatus writeBytes(const void*, Adesk::UIntPtr) override {
        return m_status;
    }
    Acad::ErrorStatus readBytes(void*, Adesk::UIntPtr) override {
        return refuse<int>(nullptr);
    }

private:
    Acad::ErrorStatus take(const AcDbObjectId& id, bool wanted) {
        if (wanted && !id.isNull())
            m_ids.push_back(id);
        return m_status;
    }
    template <class T>
    Acad::ErrorStatus refuse(T* value) {
        if (value != nullptr)
            *value = T();
        m_status = Acad::eNotApplicable;
        return m_status;
    }

    SvDbIdWanted m_wanted;
    std::vector<AcDbObjectId>& m_ids;
    Acad::ErrorStatus m_status = Acad::eOk;
};

} // namespace

std::vector<AcDbObjectId> svDbFiledIds(const AcDbObject* obj, SvDbIdWanted wanted) {
    std::vector<AcDbObjectId> ids;
    IdCollector collector(wanted, ids);
    SvDbFilingScope reading(obj);
    obj->dwgOutFields(&collector);
    return ids;
}

void svDbSetErased(AcDbObject* obj, bool erasing) {
    SvDbObjectData& d = SvDbAccess::data(obj);
    if (d.erased == erasing)
        return;
    svDbRecordUndo(obj);
    d.erased = erasing;
    if (d.writer)
        d.eraseToggled = !d.eraseToggled;
    else
        notifyClose(obj, false, true);
}

Acad::ErrorStatus svDbAddOwned(AcDbObject* owner, AcDbDatabase* db, AcDbObjectId& id,
                               AcDbObject* obj, std::vector<AcDbObjectId>& owned) {
    owner->assertWriteEnabled();
    const Acad::ErrorStatus es = db->addAcDbObject(id, obj);
    if (es != Acad::eOk)
        return es;
    SvDbAccess::data(obj).owner = owner->objectId();
    owned.push_back(id);
    return Acad::eOk;
}

void svDbEraseOwned(AcDbObject* obj) {
    std::vector<AcDbObjectId> pending = svDbFiledIds(obj, SvDbIdWanted::kOwnerships);
    while (!pending.empty()) {
        const AcDbObjectId id = pending.back();
        pending.pop_back();
        AcDbObject* owned = svDbResolve(id);
        if (owned == nullptr || owned == obj || SvDbAccess::data(owned).erased)
            continue;
        svDbSetErased(owned, true);
        for (const AcDbObjectId& next : svDbFiledIds(owned, SvDbIdWanted::kOwnerships))
            pending.push_back(next);
    }
}
