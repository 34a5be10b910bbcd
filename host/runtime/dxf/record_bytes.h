#pragma once

// The records of a drawing read from DXF, each object's bytes written as its own dwgOutFields
// writes them, with ids standing for the handles of the file.

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "db/drawing_records.h"

class AcDbBlockReference;
class AcDbDictionary;

class SvDxfRecords {
public:
    SvDbDrawingRecords records;

    SvDxfRecords() = default;
    ~SvDxfRecords() { finish(); }
    SvDxfRecords(const SvDxfRecords&) = delete;
    SvDxfRecords& operator=(const SvDxfRecords&) = delete;

    // An id that stands for the handle while the objects are not yet in a database: filed, it
    // becomes that handle.
    AcDbObjectId idFor(std::uint64_t handle);

    struct Head {
        std::uint64_t handle = 0;
        std::uint64_t owner = 0;
        std::uint64_t xdict = 0;
        std::vector<std::uint64_t> reactors;
    };
    // Room for about that many records.
    void reserve(std::size_t count) {
        m_present.reserve(count);
        m_pending.reserve(count);
    }
    // Whether a record of that handle is made; ids to handles without one are filed as null.
    bool holds(std::uint64_t handle) const { return m_present.count(handle) != 0; }
    // Files every record added: ids are written once every handle is known.
    void finish();

    // Files a non-resident object under the head and deletes it.
    void add(const Head& head, AcDbObject* obj);
    // A block reference and the handles of its attributes.
    void addBlockReference(const Head& head, AcDbBlockReference* reference,
                           const std::vector<std::uint64_t>& attributes);
    void addDictionary(const Head& head, bool hard,
                       const std::vector<std::pair<std::wstring, std::uint64_t>>& entries);
    void addBlockTable(const Head& head, const std::vector<std::uint64_t>& records);
    void addBlockTableRecord(const Head& head, const std::wstring& name, bool layout,
                             const std::vector<std::uint64_t>& entities);
    // A record whose bytes are whole as its class's dwgOutFields wrote them, ids as handles.
    void addFiled(std::uint64_t handle, const SvDbClassEntry& cls,
                  std::vector<unsigned char> bytes);
    // A record of a class given by name whose bytes (after the object-level part) came with it.
    void addBytes(const Head& head, const SvDbClassEntry& cls, bool entity,
                  const std::vector<unsigned char>& bytes);

private:
    class Filer;
    Adesk::UInt32 classIndex(const SvDbClassEntry& cls);
    void setHead(AcDbObject* obj, const Head& head);
    void store(std::uint64_t handle, AcDbObject* obj, std::vector<unsigned char> bytes);
    void push(std::uint64_t handle, Adesk::UInt32 classIndex, std::vector<unsigned char> bytes);
    void later(std::uint64_t handle, std::function<void()> job);
    std::vector<std::uint64_t> m_handles;
    std::unordered_set<std::uint64_t> m_present;
    std::vector<std::function<void()>> m_pending;
    std::unordered_map<std::wstring, Adesk::UInt32> m_classIndex;
    std::unordered_map<const AcRxClass*, Adesk::UInt32> m_classOf;
};

// Raw groups kept by a proxy for a kind the host lacks, and back.
struct SvDxfRawGroup {
    int code = 0;
    std::string value;
};
std::vector<unsigned char> svDxfPackGroups(const std::vector<SvDxfRawGroup>& groups);
bool svDxfUnpackGroups(const std::vector<unsigned char>& bytes, std::vector<SvDxfRawGroup>& groups);

// The class name under which a record of a DXF kind the host lacks is kept.
std::wstring svDxfRawClassName(const std::wstring& dxfName);
bool svDxfIsRawClassName(const std::wstring& className);
