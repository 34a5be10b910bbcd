// Drawings on disk: a signature and format version, the header (handle seed, the two root objects,
// system variables), a class table, then one record per object in handle order: handle, class,
// flags and the bytes its dwgOutFields wrote, ids stored as handles. Strings are UTF-16LE and
// numbers little-endian.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "crt/format.h"
#include "db/database.h"
#include "db/dictionary.h"
#include "db/proxy.h"
#include "db/symboltable.h"
#include "drawing_records.h"
#include "file_filer.h"
#include "file_replace.h"
#include "internal.h"
#include "rx/dictionary.h"

namespace {

constexpr unsigned char kSignature[8] = {0x89, 'S', 'V', 'D', '\r', '\n', 0x1A, '\n'};
constexpr unsigned char kEndMarker[8] = {'S', 'V', 'D', 'E', 'N', 'D', '\r', '\n'};
constexpr Adesk::UInt16 kFormatVersion = 1;
// The least a record, a class entry and a system variable take on file: counts beyond what the
// remaining bytes can hold are refused before anything is allocated for them.
constexpr std::size_t kMinRecord = 8 + 4 + 1 + 4;
constexpr std::size_t kMinClass = 4 + 4 + 4 + 1;
constexpr std::size_t kMinSysVar = 4 + 1 + 2;

using ClassEntry = SvDbClassEntry;
using Record = SvDbRecord;
using Parsed = SvDbDrawingRecords;
constexpr Adesk::UInt8 kRecordErased = kSvDbRecordErased;
constexpr Adesk::UInt8 kClassIsEntity = kSvDbClassIsEntity;

const SvDbExchange* g_exchange = nullptr;

// The exchange format that a file name asks for, or null for the host's own.
const SvDbExchange* exchangeFor(const wchar_t* fileName) {
    if (g_exchange == nullptr || fileName == nullptr)
        return nullptr;
    const std::size_t length = std::wcslen(fileName);
    const std::size_t extension = std::wcslen(g_exchange->extension);
    if (length <= extension)
        return nullptr;
    const std::wstring tail = svDbFold(fileName + length - extension);
    return tail == svDbFold(g_exchange->extension) ? g_exchange : nullptr;
}

} // namespace

SvDbClassEntry svDbClassOf(AcDbObject* obj) {
    ClassEntry entry;
    if (auto* proxy = AcDbProxyObject::cast(obj)) {
        entry.name = SvDbAccess::proxyClassName(proxy);
        entry.dxfName = SvDbAccess::proxyDxfName(proxy);
        entry.appName = SvDbAccess::proxyAppName(proxy);
    } else if (auto* proxyEntity = AcDbProxyEntity::cast(obj)) {
        entry.name = SvDbAccess::proxyClassName(proxyEntity);
        entry.dxfName = SvDbAccess::proxyDxfName(proxyEntity);
        entry.appName = SvDbAccess::proxyAppName(proxyEntity);
        entry.flags = kClassIsEntity;
    }
    if (entry.name.empty()) {
        const AcRxClass* cls = obj->isA();
        if (cls == nullptr)
            return entry;
        entry.name = cls->name();
        entry.dxfName = cls->dxfName() != nullptr ? cls->dxfName() : L"";
        entry.appName = cls->appName() != nullptr ? cls->appName() : L"";
        entry.flags = obj->isKindOf(AcDbEntity::desc()) ? kClassIsEntity : 0;
    }
    return entry;
}

Adesk::UInt32 SvDbClassTable::indexOf(const SvDbClassEntry& cls) {
    auto [it, added] = m_byName.try_emplace(cls.name, static_cast<Adesk::UInt32>(m_entries.size()));
    if (added)
        m_entries.push_back(cls);
    return it->second;
}

Adesk::UInt32 SvDbClassTable::indexOf(AcDbObject* obj) {
    // Most records are of a few classes: their entries are found by class, not made each time.
    // A proxy stands for a class of its own, so proxies are never found that way.
    if (auto it = m_byClass.find(obj->isA()); it != m_byClass.end())
        return it->second;
    const bool proxy =
        AcDbProxyObject::cast(obj) != nullptr || AcDbProxyEntity::cast(obj) != nullptr;
    const Adesk::UInt32 index = indexOf(svDbClassOf(obj));
    if (!proxy)
        m_byClass.emplace(obj->isA(), index);
    return index;
}

namespace {

// What a save writes, worked out before the file is touched: the records in handle order, each
// with its entry in the class table.
struct SavePlan {
    std::vector<std::pair<Adesk::UInt64, std::uint32_t>> order; // handle, slot
    std::vector<ClassEntry> classes;
    std::vector<std::uint32_t> classOfRecord;
};

Acad::ErrorStatus planSave(const SvDbDatabaseData& db, SavePlan& plan) {
    for (std::uint32_t i = 0; i < db.slots.size(); ++i) {
        if (db.slots[i].object != nullptr)
            plan.order.emplace_back(db.slots[i].handle.value(), i);
    }
    std::sort(plan.order.begin(), plan.order.end());

    SvDbClassTable table(plan.classes);
    plan.classOfRecord.reserve(plan.order.size());
    for (const auto& [handle, index] : plan.order) {
        const Adesk::UInt32 cls = table.indexOf(db.slots[index].object);
        if (plan.classes[cls].name.empty())
            return Acad::eNotThatKindOfClass; // a class that was never registered cannot be read
                                              // back
        plan.classOfRecord.push_back(cls);
    }
    return Acad::eOk;
}

// Bytes gathered this far are handed on: the drawing is never whole in memory.
constexpr std::size_t kSaveChunk = std::size_t{1} << 20;

bool flush(AcDbMemoryFiler& out, SvDbFileSink& sink) {
    const bool written = sink.write(out.data(), out.size());
    out.clear();
    return written;
}

void writeHeader(const SvDbDatabaseData& db, const SavePlan& plan, AcDbMemoryFiler& out) {
    out.writeBytes(kSignature, sizeof kSignature);
    out.writeUInt16(kFormatVersion);
    out.writeUInt16(0);
    out.writeUInt64(db.handseed);
    auto handleOf = [&db](const AcDbObjectId& id) {
        const std::uint32_t index = SvDbAccess::index(id);
        return !id.isNull() && index < db.slots.size() ? db.slots[index].handle.value() : 0;
    };
    out.writeUInt64(handleOf(db.blockTable));
    out.writeUInt64(handleOf(db.nod));
    out.writeUInt32(static_cast<Adesk::UInt32>(db.sysvars.size()));
    for (const auto& [name, value] : db.sysvars) {
        out.writeString(name.c_str());
        out.writeUInt8(static_cast<Adesk::UInt8>(value.type));
        switch (value.type) {
        case AcDbSysVar::kInt16:
            out.writeInt16(static_cast<Adesk::Int16>(value.intValue));
            break;
        case AcDbSysVar::kInt32:
            out.writeInt32(value.intValue);
            break;
        case AcDbSysVar::kReal:
            out.writeDouble(value.realValue);
            break;
        default:
            out.writeString(value.stringValue.c_str());
            break;
        }
    }
    out.writeUInt32(static_cast<Adesk::UInt32>(plan.classes.size()));
    for (const ClassEntry& entry : plan.classes) {
        out.writeString(entry.name.c_str());
        out.writeString(entry.dxfName.c_str());
        out.writeString(entry.appName.c_str());
        out.writeUInt8(entry.flags);
    }
    out.writeUInt32(static_cast<Adesk::UInt32>(plan.order.size()));
}

Acad::ErrorStatus writeDrawing(const SvDbDatabaseData& db, const SavePlan& plan,
                               SvDbFileSink& sink) {
    AcDbMemoryFiler out(AcDb::kFileFiler);
    out.reserve(kSaveChunk + kSaveChunk / 4);
    writeHeader(db, plan, out);
    SvDbFileFiler record(db); // one for all, its room kept from record to record
    for (std::size_t r = 0; r < plan.order.size(); ++r) {
        AcDbObject* obj = db.slots[plan.order[r].second].object;
        record.clear();
        Acad::ErrorStatus es;
        {
            SvDbFilingScope reading(obj);
            es = obj->dwgOutFields(&record);
        }
        if (es == Acad::eOk)
            es = record.filerStatus();
        if (es != Acad::eOk)
            return es;
        if (record.size() > 0xFFFFFFFFu)
            return Acad::eOutOfRange;
        out.writeUInt64(plan.order[r].first);
        out.writeUInt32(plan.classOfRecord[r]);
        out.writeUInt8(SvDbAccess::data(obj).erased ? kRecordErased : 0);
        out.writeUInt32(static_cast<Adesk::UInt32>(record.size()));
        out.writeBytes(record.data(), record.size());
        if (out.filerStatus() != Acad::eOk)
            return out.filerStatus();
        if (out.size() >= kSaveChunk && !flush(out, sink))
            return Acad::eFileAccessErr;
    }
    out.writeBytes(kEndMarker, sizeof kEndMarker);
    if (out.filerStatus() != Acad::eOk)
        return out.filerStatus();
    return flush(out, sink) ? Acad::eOk : Acad::eFileAccessErr;
}

// ---------------------------------------------------------------------------------------------

std::wstring readText(AcDbMemoryFiler& in) {
    wchar_t* text = nullptr;
    in.readString(&text);
    std::wstring copy = text;
    delete[] text;
    return copy;
}

bool countFits(Adesk::UInt32 count, const AcDbMemoryFiler& in, std::size_t minEach) {
    return count <= in.remaining() / minEach;
}

Acad::ErrorStatus parse(AcDbMemoryFiler& in, Parsed& p) {
    unsigned char signature[sizeof kSignature] = {};
    in.readBytes(signature, sizeof signature);
    if (in.filerStatus() != Acad::eOk || std::memcmp(signature, kSignature, sizeof signature) != 0)
        return Acad::eBadDwgHeader;
    Adesk::UInt16 version = 0;
    Adesk::UInt16 reserved = 0;
    in.readUInt16(&version);
    in.readUInt16(&reserved);
    if (in.filerStatus() != Acad::eOk)
        return Acad::eBadDwgFile;
    if (version > kFormatVersion)
        return Acad::eInvalidDwgVersion;
    if (version == 0 || reserved != 0)
        return Acad::eBadDwgHeader;
    in.readUInt64(&p.handseed);
    in.readUInt64(&p.blockTable);
    in.readUInt64(&p.nod);
    if (p.handseed == 0 || p.handseed > kSvDbMaxHandseed)
        return Acad::eBadDwgFile;

    Adesk::UInt32 count = 0;
    in.readUInt32(&count);
    if (in.filerStatus() != Acad::eOk || !countFits(count, in, kMinSysVar))
        return Acad::eBadDwgFile;
    for (Adesk::UInt32 i = 0; i < count && in.filerStatus() == Acad::eOk; ++i) {
        std::wstring name = readText(in);
        Adesk::UInt8 type = 0;
        in.readUInt8(&type);
        AcDbSysVar value;
        switch (type) {
        case AcDbSysVar::kInt16: {
            Adesk::Int16 v = 0;
            in.readInt16(&v);
            value = AcDbSysVar::int16(v);
            break;
        }
        case AcDbSysVar::kInt32: {
            Adesk::Int32 v = 0;
            in.readInt32(&v);
            value = AcDbSysVar::int32(v);
            break;
        }
        case AcDbSysVar::kReal: {
            double v = 0;
            in.readDouble(&v);
            value = AcDbSysVar::real(v);
            break;
        }
        case AcDbSysVar::kString:
            value = AcDbSysVar::string(readText(in).c_str());
            break;
        default:
            return Acad::eBadDwgFile;
        }
        p.sysvars.emplace_back(std::move(name), std::move(value));
    }

    in.readUInt32(&count);
    if (in.filerStatus() != Acad::eOk || !countFits(count, in, kMinClass))
        return Acad::eBadDwgFile;
    for (Adesk::UInt32 i = 0; i < count && in.filerStatus() == Acad::eOk; ++i) {
        ClassEntry entry;
        entry.name = readText(in);
        entry.dxfName = readText(in);
        entry.appName = readText(in);
        in.readUInt8(&entry.flags);
        if (entry.name.empty() || (entry.flags & ~kClassIsEntity) != 0)
            return Acad::eBadDwgFile;
        p.classes.push_back(std::move(entry));
    }

    in.readUInt32(&count);
    if (in.filerStatus() != Acad::eOk || !countFits(count, in, kMinRecord))
        return Acad::eBadDwgFile;
    p.records.reserve(count);
    for (Adesk::UInt32 i = 0; i < count && in.filerStatus() == Acad::eOk; ++i) {
        Record r;
        in.readUInt64(&r.handle);
        in.readUInt32(&r.classIndex);
        in.readUInt8(&r.flags);
        in.readUInt32(&r.length);
        if (in.filerStatus() != Acad::eOk || r.length > in.remaining() || r.handle == 0 ||
            r.handle >= p.handseed || r.classIndex >= p.classes.size() ||
            (r.flags & ~kRecordErased) != 0)
            return Acad::eBadDwgFile;
        r.bytes = in.data() + in.position();
        in.skip(r.length);
        p.records.push_back(r);
    }
    unsigned char end[sizeof kEndMarker] = {};
    in.readBytes(end, sizeof end);
    if (in.filerStatus() != Acad::eOk || std::memcmp(end, kEndMarker, sizeof end) != 0 ||
        in.remaining() != 0)
        return Acad::eBadDwgFile;
    return Acad::eOk;
}

template <class Proxy>
Proxy* newProxy(const ClassEntry& entry) {
    auto* proxy = new Proxy;
    SvDbAccess::proxyClassName(proxy) = entry.name;
    SvDbAccess::proxyDxfName(proxy) = entry.dxfName;
    SvDbAccess::proxyAppName(proxy) = entry.appName;
    return proxy;
}

AcDbObject* proxyFor(const ClassEntry& entry) {
    if (entry.flags & kClassIsEntity)
        return newProxy<AcDbProxyEntity>(entry);
    return newProxy<AcDbProxyObject>(entry);
}

// The registered database class of that name, or null.
const AcRxClass* registeredClass(const ClassEntry& entry) {
    const AcRxClass* cls = AcRxClass::cast(acrxClassDictionary()->at(entry.name.c_str()));
    return cls != nullptr && cls->isDerivedFrom(AcDbObject::desc()) ? cls : nullptr;
}

// An instance of the class, or a proxy.
AcDbObject* instantiate(const AcRxClass* cls, const ClassEntry& entry) {
    if (cls != nullptr) {
        AcRxObject* created = cls->create();
        if (AcDbObject* obj = AcDbObject::cast(created))
            return obj;
        delete created;
    }
    return proxyFor(entry);
}

Acad::ErrorStatus fill(AcDbObject* obj, const Record& r, const SvDbDatabaseData& db,
                       bool& leftOver) {
    SvDbFileFiler in(r.bytes, r.length, db);
    SvDbFilingScope filling(obj);
    const Acad::ErrorStatus es = obj->dwgInFields(&in);
    leftOver = es == Acad::eOk && in.remaining() != 0;
    return es;
}

// Ownership runs one way: following owners, or owned ids, never comes back to where it started.
bool ownershipIsAcyclic(const SvDbDatabaseData& db) {
    const std::size_t n = db.slots.size();
    std::vector<std::pair<std::uint32_t, std::uint32_t>> edges; // owner, owned
    for (std::uint32_t i = 0; i < n; ++i) {
        AcDbObject* obj = db.slots[i].object;
        const AcDbObjectId owner = SvDbAccess::data(obj).owner;
        if (!owner.isNull())
            edges.emplace_back(SvDbAccess::index(owner), i);
        for (const AcDbObjectId& id : svDbFiledIds(obj, SvDbIdWanted::kOwnerships))
            edges.emplace_back(i, SvDbAccess::index(id));
    }
    // Owned objects of node k are owned[first[k] .. first[k + 1]).
    std::vector<std::uint32_t> first(n + 1, 0);
    for (const auto& edge : edges)
        ++first[edge.first + 1];
    for (std::size_t k = 0; k < n; ++k)
        first[k + 1] += first[k];
    std::vector<std::uint32_t> owned(edges.size());
    std::vector<std::uint32_t> fill(first.begin(), first.end() - 1);
    for (const auto& edge : edges)
        owned[fill[edge.first]++] = edge.second;

    enum : unsigned char { kNew, kOnPath, kDone };
    std::vector<unsigned char> state(n, kNew);
    std::vector<std::pair<std::uint32_t, std::size_t>> path;
    for (std::uint32_t start = 0; start < n; ++start) {
        if (state[start] != kNew)
            continue;
        state[start] = kOnPath;
        path.emplace_back(start, first[start]);
        while (!path.empty()) {
            auto& [node, next] = path.back();
            if (next == first[node + 1]) {
                state[node] = kDone;
                path.pop_back();
                continue;
            }
            const std::uint32_t child = owned[next++];
            if (state[child] == kOnPath)
                return false;
            if (state[child] == kNew) {
                state[child] = kOnPath;
                path.emplace_back(child, first[child]);
            }
        }
    }
    return true;
}

Acad::ErrorStatus build(AcDbDatabase* database, SvDbDatabaseData& db, Parsed& p) {
    for (const auto& [name, value] : p.sysvars) {
        if (database->setSysVar(name.c_str(), value) != Acad::eOk)
            return Acad::eBadDwgFile;
    }
    db.handseed = p.handseed;
    db.slots.reserve(p.records.size());
    db.byHandle.reserve(p.records.size());
    std::vector<const AcRxClass*> classes;
    for (const ClassEntry& entry : p.classes)
        classes.push_back(registeredClass(entry));
    for (const Record& r : p.records) {
        AcDbObject* obj = instantiate(classes[r.classIndex], p.classes[r.classIndex]);
        const auto index = static_cast<std::uint32_t>(db.slots.size());
        db.slots.push_back({obj, AcDbHandle(r.handle)});
        SvDbObjectData& d = SvDbAccess::data(obj);
        d.id = SvDbAccess::makeId(db.serial, index);
        d.erased = (r.flags & kRecordErased) != 0;
        if (!db.byHandle.emplace(r.handle, index).second)
            return Acad::eBadDwgFile;
    }
    // Every object exists before any is read, so ids may point forward.
    for (std::uint32_t i = 0; i < p.records.size(); ++i) {
        const Record& r = p.records[i];
        AcDbObject* obj = db.slots[i].object;
        bool leftOver = false;
        Acad::ErrorStatus es = fill(obj, r, db, leftOver);
        // A record its class cannot read completely is kept whole rather than cut short.
        if (es == Acad::eMakeMeProxy || leftOver) {
            AcDbObject* proxy = proxyFor(p.classes[r.classIndex]);
            SvDbObjectData& pd = SvDbAccess::data(proxy);
            pd.id = SvDbAccess::data(obj).id;
            pd.erased = SvDbAccess::data(obj).erased;
            db.slots[i].object = proxy;
            SvDbAccess::data(obj).id.setNull();
            delete obj;
            obj = proxy;
            es = fill(obj, r, db, leftOver);
        }
        if (es != Acad::eOk)
            return Acad::eBadDwgFile;
    }
    for (SvDbSlot& slot : db.slots)
        SvDbAccess::data(slot.object).modified = false;

    auto rootOf = [&db](Adesk::UInt64 handle) {
        auto it = db.byHandle.find(handle);
        return it == db.byHandle.end() ? AcDbObjectId() : SvDbAccess::makeId(db.serial, it->second);
    };
    db.blockTable = rootOf(p.blockTable);
    db.nod = rootOf(p.nod);
    auto* table = AcDbBlockTable::cast(svDbResolve(db.blockTable));
    if (table == nullptr || AcDbDictionary::cast(svDbResolve(db.nod)) == nullptr)
        return Acad::eBadDwgFile;
    if (!ownershipIsAcyclic(db))
        return Acad::eBadDwgFile;
    SvDbFilingScope reading(table);
    AcDbSymbolTableIterator* it = nullptr;
    table->newIterator(it, true, false);
    for (; !it->done(); it->step(true, false)) {
        AcDbObjectId id;
        it->getRecordId(id);
        if (AcDbBlockTableRecord::cast(svDbResolve(id)) == nullptr) {
            delete it;
            return Acad::eBadDwgFile;
        }
    }
    delete it;
    table->getAt(ACDB_MODEL_SPACE, db.modelSpace);
    table->getAt(ACDB_PAPER_SPACE, db.paperSpace);
    return db.modelSpace.isNull() ? Acad::eBadDwgFile : Acad::eOk;
}

// Back to an empty database under a new serial number, so no id handed out during the failed
// load can name anything later.
void clear(AcDbDatabase* database, SvDbDatabaseData& db) {
    for (SvDbSlot& slot : db.slots) {
        AcDbObject* obj = slot.object;
        if (obj == nullptr)
            continue;
        slot.object = nullptr;
        SvDbAccess::data(obj).id.setNull();
        delete obj;
    }
    db.slots.clear();
    db.byHandle.clear();
    db.handseed = 1;
    db.blockTable.setNull();
    db.nod.setNull();
    db.modelSpace.setNull();
    db.paperSpace.setNull();
    db.sysvars.clear();
    svDbUnregister(db.serial);
    db.serial = svDbRegister(database);
}

std::string pathOf(const wchar_t* fileName) {
    return svToUtf8(fileName);
}

std::wstring& lastReadError() {
    static std::wstring why;
    return why;
}

} // namespace

Acad::ErrorStatus svDbBuildDrawing(AcDbDatabase* database, SvDbDrawingRecords& records) {
    SvDbDatabaseData& db = SvDbAccess::impl(database);
    if (!db.slots.empty())
        return Acad::eNotApplicable;
    Acad::ErrorStatus es = Acad::eBadDwgFile;
    try {
        es = build(database, db, records);
    } catch (const std::exception&) {
        es = Acad::eBadDwgFile;
    }
    if (es != Acad::eOk)
        clear(database, db);
    return es;
}

void svDbRegisterExchange(const SvDbExchange* exchange) {
    g_exchange = exchange;
}

const wchar_t* svDbReadError() {
    return lastReadError().c_str();
}

Acad::ErrorStatus AcDbDatabase::readDwgData(const void* data, std::size_t size) {
    if (!m_impl->slots.empty())
        return Acad::eNotApplicable;
    if (data == nullptr && size > 0)
        return Acad::eInvalidInput;
    Parsed parsed; // its records point into `data`
    Acad::ErrorStatus es = Acad::eBadDwgFile;
    try {
        AcDbMemoryFiler in(data, size, AcDb::kFileFiler, AcDbMemoryFiler::kReadInPlace);
        es = parse(in, parsed);
    } catch (const std::exception&) {
        es = Acad::eBadDwgFile;
    }
    if (es != Acad::eOk) {
        clear(this, *m_impl);
        return es;
    }
    return svDbBuildDrawing(this, parsed);
}

namespace {

// A file's bytes, read at once into room made for the size it has: a drawing of a hundred
// megabytes read piecemeal into a growing buffer would be copied and its pages cleared several
// times over. Not zeroed first, as every byte is read over.
struct FileBytes {
    std::unique_ptr<unsigned char[]> data;
    std::size_t size = 0;
};

// False with errno set when the file cannot be opened or read. A file still growing is read on
// to its end.
bool readWhole(const std::string& path, FileBytes& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    std::size_t room = ::fstat(fd, &info) == 0 && info.st_size > 0
                           ? static_cast<std::size_t>(info.st_size) + 1
                           : std::size_t{65536};
    bytes.data.reset(new unsigned char[room]);
    bytes.size = 0;
    for (;;) {
        if (bytes.size == room) {
            std::unique_ptr<unsigned char[]> larger(new unsigned char[2 * room]);
            std::memcpy(larger.get(), bytes.data.get(), bytes.size);
            bytes.data = std::move(larger);
            room *= 2;
        }
        const ssize_t got = ::read(fd, bytes.data.get() + bytes.size, room - bytes.size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            const int error = got < 0 ? errno : 0;
            ::close(fd);
            errno = error;
            return got == 0;
        }
        bytes.size += static_cast<std::size_t>(got);
    }
}

} // namespace

Acad::ErrorStatus AcDbDatabase::readDwgFile(const wchar_t* fileName) {
    if (fileName == nullptr || *fileName == L'\0')
        return Acad::eInvalidInput;
    if (!m_impl->slots.empty())
        return Acad::eNotApplicable;
    lastReadError().clear();
    if (const SvDbExchange* exchange = exchangeFor(fileName)) {
        const Acad::ErrorStatus es = exchange->read(this, pathOf(fileName), lastReadError());
        if (es == Acad::eOk)
            m_impl->fileName = fileName;
        return es;
    }
    FileBytes bytes;
    if (!readWhole(pathOf(fileName), bytes))
        return errno == ENOENT ? Acad::eFileNotFound : Acad::eFileAccessErr;
    const Acad::ErrorStatus es = readDwgData(bytes.data.get(), bytes.size);
    if (es == Acad::eOk)
        m_impl->fileName = fileName;
    return es;
}

Acad::ErrorStatus AcDbDatabase::saveAs(const wchar_t* fileName) {
    if (fileName == nullptr || *fileName == L'\0')
        return Acad::eInvalidInput;
    m_impl->fileError.clear();
    Acad::ErrorStatus written = Acad::eOk;
    if (const SvDbExchange* exchange = exchangeFor(fileName)) {
        std::vector<unsigned char> bytes;
        const Acad::ErrorStatus es = exchange->write(this, bytes, m_impl->fileError);
        if (es != Acad::eOk)
            return es;
        written = svDbReplaceFile(pathOf(fileName), bytes.data(), bytes.size(), m_impl->fileError);
    } else {
        SavePlan plan;
        const Acad::ErrorStatus es = planSave(*m_impl, plan);
        if (es != Acad::eOk)
            return es;
        written = svDbReplaceFile(
            pathOf(fileName),
            [this, &plan](SvDbFileSink& sink) { return writeDrawing(*m_impl, plan, sink); },
            m_impl->fileError);
    }
    if (written != Acad::eOk)
        return written;
    m_impl->fileName = fileName;
    return Acad::eOk;
}

const wchar_t* svDbFileError(const AcDbDatabase* db) {
    return db != nullptr ? SvDbAccess::impl(db).fileError.c_str() : L"";
}

bool svDbIsDrawingFile(const wchar_t* fileName) {
    if (exchangeFor(fileName) != nullptr)
        return true;
    unsigned char signature[sizeof kSignature] = {};
    FILE* file = fileName != nullptr ? std::fopen(pathOf(fileName).c_str(), "rb") : nullptr;
    if (file == nullptr)
        return false;
    const bool read = std::fread(signature, 1, sizeof signature, file) == sizeof signature;
    std::fclose(file);
    return read && std::memcmp(signature, kSignature, sizeof signature) == 0;
}
