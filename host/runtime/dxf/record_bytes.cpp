#include "record_bytes.h"

#include <cstring>
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

Acad::ErrorStatus SvDxfRecords::Filer::writeId(const AcDbObjectId& id, IdKind) {
    const std::uint32_t index = SvDbAccess::index(id);
    const bool standIn = SvDbAccess::serial(id) == kStandInSerial && index < m_handles.size();
    const std::uint64_t handle = standIn ? m_handles[index] : 0;
    if (handle != 0)
        ids.push_back({size(), handle});
    return writeUInt64(handle);
}

AcDbObjectId SvDxfRecords::idFor(std::uint64_t handle) {
    if (handle == 0)
        return {};
    m_handles.push_back(handle);
    return SvDbAccess::makeId(kStandInSerial, static_cast<std::uint32_t>(m_handles.size() - 1));
}

void SvDxfRecords::setHead(AcDbObject* obj, const Head& head) {
    SvDbObjectData& data = SvDbAccess::data(obj);
    data.owner = idFor(head.owner);
    data.xdict = idFor(head.xdict);
    data.reactors.clear();
    for (std::uint64_t reactor : head.reactors)
        data.reactors.push_back(idFor(reactor));
}

void SvDxfRecords::addRecord(std::uint64_t handle, AcDbObject* obj, std::size_t start) {
    const Adesk::UInt32 index = m_classes.indexOf(obj);
    SvDbObjectData& data = SvDbAccess::data(obj);
    data.owner.setNull();
    data.xdict.setNull();
    data.reactors.clear();
    delete obj;
    addRecord(handle, index, start);
}

void SvDxfRecords::addRecord(std::uint64_t handle, Adesk::UInt32 classIndex, std::size_t start) {
    m_present.insert(handle);
    SvDbRecord record;
    record.handle = handle;
    record.classIndex = classIndex;
    records.records.push_back(record);
    m_offsets.push_back(start);
}

void SvDxfRecords::add(const Head& head, AcDbObject* obj) {
    setHead(obj, head);
    const std::size_t start = m_bytes.size();
    obj->dwgOutFields(&m_bytes);
    addRecord(head.handle, obj, start);
}

void SvDxfRecords::addBlockReference(const Head& head, AcDbBlockReference* reference,
                                     const std::vector<std::uint64_t>& attributes) {
    setHead(reference, head);
    const std::size_t start = m_bytes.size();
    reference->dwgOutFields(&m_bytes);
    // The reference files its attributes last, as a count and ids: written without any, its
    // count becomes the real one and the ids follow it.
    m_counts.push_back(
        {m_bytes.size() - sizeof(Adesk::UInt32), static_cast<Adesk::UInt32>(attributes.size())});
    for (std::uint64_t attribute : attributes)
        m_bytes.writeHardOwnershipId(idFor(attribute));
    addRecord(head.handle, reference, start);
}

void SvDxfRecords::addDictionary(
    const Head& head, bool hard,
    const std::vector<std::pair<std::wstring, std::uint64_t>>& entries) {
    auto* dictionary = new AcDbDictionary;
    setHead(dictionary, head);
    const std::size_t start = m_bytes.size();
    dictionary->AcDbObject::dwgOutFields(&m_bytes);
    m_bytes.writeUInt32(0);
    m_bytes.writeBoolean(hard);
    m_bytes.writeUInt32(static_cast<Adesk::UInt32>(entries.size()));
    for (const auto& [key, handle] : entries) {
        m_bytes.writeString(key.c_str());
        m_bytes.writeHardOwnershipId(idFor(handle));
    }
    addRecord(head.handle, dictionary, start);
}

void SvDxfRecords::addBlockTable(const Head& head, const std::vector<std::uint64_t>& ids) {
    auto* table = new AcDbBlockTable;
    setHead(table, head);
    const std::size_t start = m_bytes.size();
    table->AcDbObject::dwgOutFields(&m_bytes);
    m_bytes.writeUInt32(static_cast<Adesk::UInt32>(ids.size()));
    for (std::uint64_t handle : ids)
        m_bytes.writeHardOwnershipId(idFor(handle));
    addRecord(head.handle, table, start);
}

void SvDxfRecords::addBlockTableRecord(const Head& head, const std::wstring& name, bool layout,
                                       const std::vector<std::uint64_t>& entities) {
    auto* record = new AcDbBlockTableRecord;
    record->setName(name.c_str());
    setHead(record, head);
    const std::size_t start = m_bytes.size();
    record->AcDbSymbolTableRecord::dwgOutFields(&m_bytes);
    m_bytes.writeBoolean(layout);
    m_bytes.writeUInt32(static_cast<Adesk::UInt32>(entities.size()));
    for (std::uint64_t handle : entities)
        m_bytes.writeHardOwnershipId(idFor(handle));
    addRecord(head.handle, record, start);
}

void SvDxfRecords::finish() {
    std::vector<unsigned char>& bytes =
        records.storage.emplace_back(m_bytes.data(), m_bytes.data() + m_bytes.size());
    for (const CountAt& count : m_counts) {
        for (std::size_t k = 0; k < sizeof count.count; ++k) // little-endian, as filers write
            bytes[count.offset + k] = static_cast<unsigned char>(count.count >> (8 * k));
    }
    for (const Filer::IdAt& id : m_bytes.ids) {
        if (m_present.count(id.handle) == 0)
            std::memset(bytes.data() + id.offset, 0, sizeof(std::uint64_t));
    }
    m_offsets.push_back(bytes.size());
    for (std::size_t i = 0; i < records.records.size(); ++i) {
        records.records[i].bytes = bytes.data() + m_offsets[i];
        records.records[i].length = static_cast<Adesk::UInt32>(m_offsets[i + 1] - m_offsets[i]);
    }
}

void SvDxfRecords::addFiled(std::uint64_t handle, const SvDbClassEntry& cls,
                            const std::vector<unsigned char>& bytes) {
    const std::size_t start = m_bytes.size();
    m_bytes.writeBytes(bytes.data(), bytes.size());
    addRecord(handle, m_classes.indexOf(cls), start);
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
