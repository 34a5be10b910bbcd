#pragma once

// A drawing as records, between its file form and the database: what the host's own loader parses
// and what the exchange loader assembles, built into a database the same way.

#include <deque>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "internal.h"

struct SvDbClassEntry {
    std::wstring name;
    std::wstring dxfName;
    std::wstring appName;
    Adesk::UInt8 flags = 0;
};

inline constexpr Adesk::UInt8 kSvDbClassIsEntity = 1;
inline constexpr Adesk::UInt8 kSvDbRecordErased = 1;

struct SvDbRecord {
    Adesk::UInt64 handle = 0;
    Adesk::UInt32 classIndex = 0;
    Adesk::UInt8 flags = 0;
    const unsigned char* bytes = nullptr; // what the object's dwgInFields reads, ids as handles
    Adesk::UInt32 length = 0;
};

struct SvDbDrawingRecords {
    Adesk::UInt64 handseed = 0;
    Adesk::UInt64 blockTable = 0;
    Adesk::UInt64 nod = 0;
    std::vector<std::pair<std::wstring, AcDbSysVar>> sysvars;
    std::vector<SvDbClassEntry> classes;
    std::vector<SvDbRecord> records;
    std::deque<std::vector<unsigned char>> storage; // bytes of records made in memory
};

// The class an object is filed under: its own, or the one a proxy stands for. An empty name for
// an object whose class was never registered.
SvDbClassEntry svDbClassOf(AcDbObject* obj);

// The class table of a drawing being filed: one entry a class name, appended to `entries`.
class SvDbClassTable {
public:
    explicit SvDbClassTable(std::vector<SvDbClassEntry>& entries) : m_entries(entries) {}
    Adesk::UInt32 indexOf(const SvDbClassEntry& cls);
    // The entry of what the object is filed under; an unregistered class gets a nameless one.
    Adesk::UInt32 indexOf(AcDbObject* obj);

private:
    std::vector<SvDbClassEntry>& m_entries;
    std::unordered_map<std::wstring, Adesk::UInt32> m_byName;
    std::unordered_map<const AcRxClass*, Adesk::UInt32> m_byClass;
};

// Makes the records' objects in an empty database; any fault leaves it empty again and answers
// an error status.
Acad::ErrorStatus svDbBuildDrawing(AcDbDatabase* database, SvDbDrawingRecords& records);

// Another file format, chosen by the file's extension, that the database reads and saves through.
struct SvDbExchange {
    const wchar_t* extension; // with its dot, compared without regard to case
    // Fills an empty database or answers an error and leaves it empty; `why` says where and what.
    Acad::ErrorStatus (*read)(AcDbDatabase* db, const std::string& path, std::wstring& why);
    // The file's bytes.
    Acad::ErrorStatus (*write)(AcDbDatabase* db, std::vector<unsigned char>& bytes,
                               std::wstring& why);
};
void svDbRegisterExchange(const SvDbExchange* exchange);
