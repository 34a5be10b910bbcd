#pragma once

// The records of a drawing read from DXF, each object's bytes written as its own dwgOutFields
// writes them, with ids standing for the handles of the file.

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "db/drawing_records.h"

class AcDbBlockReference;
class AcDbDictionary;

class SvDxfRecords {
public:
    SvDbDrawingRecords records;

    SvDxfRecords() = default;
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
        m_offsets.reserve(count);
        records.records.reserve(count);
    }
    // Whether a record of that handle is made; ids to handles without one are filed as null.
    bool holds(std::uint64_t handle) const { return m_present.count(handle) != 0; }
    // Gives the records their bytes once every handle is known: ids to handles no record has
    // become null.
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
                  const std::vector<unsigned char>& bytes);
    // A record of a class given by name whose bytes (after the object-level part) came with it.
    void addBytes(const Head& head, const SvDbClassEntry& cls, bool entity,
                  const std::vector<unsigned char>& bytes);

private:
    // Writes the handles the stand-in ids stand for, every record's bytes one after the other,
    // and notes where each handle went.
    class Filer : public AcDbMemoryFiler {
    public:
        struct IdAt {
            std::size_t offset;
            std::uint64_t handle;
        };
        explicit Filer(const std::vector<std::uint64_t>& handles)
            : AcDbMemoryFiler(AcDb::kFileFiler), m_handles(handles) {}
        std::vector<IdAt> ids;

    protected:
        Acad::ErrorStatus writeId(const AcDbObjectId& id, IdKind) override;

    private:
        const std::vector<std::uint64_t>& m_handles;
    };

    void setHead(AcDbObject* obj, const Head& head);
    // The record of the object's class whose bytes were filed from `start` on; the object is
    // deleted.
    void addRecord(std::uint64_t handle, AcDbObject* obj, std::size_t start);
    void addRecord(std::uint64_t handle, Adesk::UInt32 classIndex, std::size_t start);

    std::vector<std::uint64_t> m_handles;
    std::unordered_set<std::uint64_t> m_present;
    Filer m_bytes{m_handles};
    std::vector<std::size_t> m_offsets; // where each record's bytes begin
    struct CountAt {
        std::size_t offset;
        Adesk::UInt32 count;
    };
    std::vector<CountAt> m_counts; // the counts of block references' attributes
    SvDbClassTable m_classes{records.classes};
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
