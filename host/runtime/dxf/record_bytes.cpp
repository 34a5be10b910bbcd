#include "record_bytes.h"

#include <limits>

#include "db/blockref.h"
#include "db/dictionary.h"
#include "db/proxy.h"
#include "db/symboltable.h"

namespace {

// No live database has this serial number, so these ids never resolve to an object.
constexpr std::uint64_t kStandInSerial = std::numeric_limits<std::uint64_t>::max();
constexpr const wchar_t* kRawClassPrefix = L"DXF ";

} // namespace

class SvDxfRecords::Filer : public AcDbMemoryFiler {
public:
    Filer(const std::vector<std::uint64_t>& handles,
          const std::unordered_set<std::uint64_t>& present)
        : AcDbMemoryFiler(AcDb::kFileFiler), m_handles(handles), m_present(present) {}

    std::vector<unsigned char> bytes() const { return {data(), data() + size()}; }

protected:
    Acad::ErrorStatus writeId(const AcDbObjectId& id, IdKind) override {
        const std::uint32_t index = SvDbAccess::index(id);
        const bool standIn = SvDbAccess::serial(id) == kStandInSerial && index < m_handles.size();
        const std::uint64_t handle = standIn ? m_handles[index] : 0;
        return writeUInt64(m_present.count(handle) != 0 ? handle : 0);
    }

private:
    const std::vector<std::uint64_t>& m_handles;
    const std::unordered_set<std::uint64_t>& m_present;
};

AcDbObjectId SvDxfRecords::idFor(std::uint64_t handle) {
    if (handle == 0)
        return {};
    m_handles.push_back(handle);
    return SvDbAccess::makeId(kStandInSerial, static_cast<std::uint32_t>(m_handles.size() - 1));
}

Adesk::UInt32 SvDxfRecords::classIndex(const SvDbClassEntry& cls) {
    auto [it, added] = m_classIndex.try_emplace(cls.name, records.classes.size());
    if (added)
        records.classes.push_back(cls);
    return it->second;
}

void SvDxfRecords::setHead(AcDbObject* obj, const Head& head) {
    SvDbObjectData& data = SvDbAccess::data(obj);
    data.owner = idFor(head.owner);
    data.xdict = idFor(head.xdict);
    data.reactors.clear();
    for (std::uint64_t reactor : head.reactors)
        data.reactors.push_back(idFor(reactor));
}

void SvDxfRecords::store(std::uint64_t handle, AcDbObject* obj, std::vector<unsigned char> bytes) {
    // Most records are of a few classes: their entries are found by class, not made each time.
    const bool proxy =
        AcDbProxyObject::cast(obj) != nullptr || AcDbProxyEntity::cast(obj) != nullptr;
    Adesk::UInt32 index = 0;
    if (auto it = m_classOf.find(obj->isA()); !proxy && it != m_classOf.end()) {
        index = it->second;
    } else {
        index = classIndex(svDbClassOf(obj));
        if (!proxy)
            m_classOf.emplace(obj->isA(), index);
    }
    SvDbObjectData& data = SvDbAccess::data(obj);
    data.owner.setNull();
    data.xdict.setNull();
    data.reactors.clear();
    delete obj;
    push(handle, index, std::move(bytes));
}

void SvDxfRecords::push(std::uint64_t handle, Adesk::UInt32 classIndex,
                        std::vector<unsigned char> bytes) {
    SvDbRecord record;
    record.handle = handle;
    record.classIndex = classIndex;
    records.storage.push_back(std::move(bytes));
    record.bytes = records.storage.back().data();
    record.length = static_cast<Adesk::UInt32>(records.storage.back().size());
    records.records.push_back(record);
}

void SvDxfRecords::add(const Head& head, AcDbObject* obj) {
    later(head.handle, [=, this] {
        setHead(obj, head);
        Filer filer(m_handles, m_present);
        obj->dwgOutFields(&filer);
        store(head.handle, obj, filer.bytes());
    });
}

void SvDxfRecords::addBlockReference(const Head& head, AcDbBlockReference* reference,
                                     const std::vector<std::uint64_t>& attributes) {
    later(head.handle, [=, this] {
        setHead(reference, head);
        Filer filer(m_handles, m_present);
        reference->dwgOutFields(&filer);
        // The reference files its attributes last, as a count and ids: written without any, its
        // count is replaced by the real list.
        std::vector<unsigned char> bytes = filer.bytes();
        bytes.resize(bytes.size() - sizeof(Adesk::UInt32));
        Filer list(m_handles, m_present);
        list.writeUInt32(static_cast<Adesk::UInt32>(attributes.size()));
        for (std::uint64_t attribute : attributes)
            list.writeHardOwnershipId(idFor(attribute));
        const std::vector<unsigned char> tail = list.bytes();
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        store(head.handle, reference, std::move(bytes));
    });
}

void SvDxfRecords::addDictionary(
    const Head& head, bool hard,
    const std::vector<std::pair<std::wstring, std::uint64_t>>& entries) {
    later(head.handle, [=, this] {
        auto* dictionary = new AcDbDictionary;
        setHead(dictionary, head);
        Filer filer(m_handles, m_present);
        dictionary->AcDbObject::dwgOutFields(&filer);
        filer.writeUInt32(0);
        filer.writeBoolean(hard);
        filer.writeUInt32(static_cast<Adesk::UInt32>(entries.size()));
        for (const auto& [key, handle] : entries) {
            filer.writeString(key.c_str());
            filer.writeHardOwnershipId(idFor(handle));
        }
        store(head.handle, dictionary, filer.bytes());
    });
}

void SvDxfRecords::addBlockTable(const Head& head, const std::vector<std::uint64_t>& ids) {
    later(head.handle, [=, this] {
        auto* table = new AcDbBlockTable;
        setHead(table, head);
        Filer filer(m_handles, m_present);
        table->AcDbObject::dwgOutFields(&filer);
        filer.writeUInt32(static_cast<Adesk::UInt32>(ids.size()));
        for (std::uint64_t handle : ids)
            filer.writeHardOwnershipId(idFor(handle));
        store(head.handle, table, filer.bytes());
    });
}

void SvDxfRecords::addBlockTableRecord(const Head& head, const std::wstring& name, bool layout,
                                       const std::vector<std::uint64_t>& entities) {
    later(head.handle, [=, this] {
        auto* record = new AcDbBlockTableRecord;
        record->setName(name.c_str());
        setHead(record, head);
        Filer filer(m_handles, m_present);
        record->AcDbSymbolTableRecord::dwgOutFields(&filer);
        filer.writeBoolean(layout);
        filer.writeUInt32(static_cast<Adesk::UInt32>(entities.size()));
        for (std::uint64_t handle : entities)
            filer.writeHardOwnershipId(idFor(handle));
        store(head.handle, record, filer.bytes());
    });
}

void SvDxfRecords::later(std::uint64_t handle, std::function<void()> job) {
    m_present.insert(handle);
    m_pending.push_back(std::move(job));
}

void SvDxfRecords::finish() {
    for (auto& job : m_pending)
        job();
    m_pending.clear();
}

void SvDxfRecords::addFiled(std::uint64_t handle, const SvDbClassEntry& cls,
                            std::vector<unsigned char> bytes) {
    m_present.insert(handle);
    push(handle, classIndex(cls), std::move(bytes));
}

void SvDxfRecords::addBytes(const Head& head, const SvDbClassEntry& cls, bool entity,
                            const std::vector<unsigned char>& bytes) {
    const auto proxyOf = [&](auto* proxy) {
        SvDbAccess::proxyClassName(proxy) = cls.name;
        SvDbAccess::proxyDxfName(proxy) = cls.dxfName;
        SvDbAccess::proxyAppName(proxy) = cls.appName;
        SvDbAccess::proxyBytes(proxy) = bytes;
        return static_cast<AcDbObject*>(proxy);
    };
    add(head, entity ? proxyOf(new AcDbProxyEntity) : proxyOf(new AcDbProxyObject));
}

// ---------------------------------------------------------------------------------------------

std::vector<unsigned char> svDxfPackGroups(const std::vector<SvDxfRawGroup>& groups) {
    AcDbMemoryFiler filer(AcDb::kFileFiler);
    filer.writeUInt32(static_cast<Adesk::UInt32>(groups.size()));
    for (const SvDxfRawGroup& group : groups) {
        filer.writeInt16(static_cast<Adesk::Int16>(group.code));
        filer.writeUInt32(static_cast<Adesk::UInt32>(group.value.size()));
        filer.writeBytes(group.value.data(), group.value.size());
    }
    return {filer.data(), filer.data() + filer.size()};
}

bool svDxfUnpackGroups(const std::vector<unsigned char>& bytes,
                       std::vector<SvDxfRawGroup>& groups) {
    AcDbMemoryFiler filer(bytes.data(), bytes.size(), AcDb::kFileFiler,
                          AcDbMemoryFiler::kReadInPlace);
    Adesk::UInt32 count = 0;
    filer.readUInt32(&count);
    if (filer.filerStatus() != Acad::eOk || count > filer.remaining() / 6)
        return false;
    groups.clear();
    groups.reserve(count);
    for (Adesk::UInt32 i = 0; i < count; ++i) {
        Adesk::Int16 code = 0;
        Adesk::UInt32 length = 0;
        filer.readInt16(&code);
        filer.readUInt32(&length);
        if (filer.filerStatus() != Acad::eOk || length > filer.remaining())
            return false;
        std::string value(length, '\0');
        filer.readBytes(value.data(), length);
        groups.push_back({code, std::move(value)});
    }
    return filer.filerStatus() == Acad::eOk && filer.remaining() == 0;
}

std::wstring svDxfRawClassName(const std::wstring& dxfName) {
    return kRawClassPrefix + dxfName;
}

bool svDxfIsRawClassName(const std::wstring& className) {
    return className.rfind(kRawClassPrefix, 0) == 0;
}
