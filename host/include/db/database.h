#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "db/objectid.h"
#include "rx/members.h"

#pragma GCC visibility push(default)

class AcDbObject;
class AcDbBlockTable;
class AcDbDictionary;
class AcDbTransactionManager;
class AcDbIdMapping;
struct SvDbDatabaseData;

// The value of a system variable.
struct AcDbSysVar {
    enum Type { kNone, kInt16, kInt32, kReal, kString };
    Type type = kNone;
    Adesk::Int32 intValue = 0;
    double realValue = 0.0;
    std::wstring stringValue;

    static AcDbSysVar int16(Adesk::Int16 value);
    static AcDbSysVar int32(Adesk::Int32 value);
    static AcDbSysVar real(double value);
    static AcDbSysVar string(const wchar_t* value);

    bool operator==(const AcDbSysVar&) const = default;
};

// Makes a system variable known to every database, with its default and, for numbers, the
// inclusive range a database accepts. Answers eDuplicateKey when the name is already defined.
Acad::ErrorStatus svDbDefineSysVar(const wchar_t* name, const AcDbSysVar& defaultValue,
                                   double minValue = 0.0, double maxValue = 0.0);

// A drawing in memory. A new drawing has a block table with model space and one paper-space
// layout, a named-object dictionary and the defined system variables at their defaults; one made
// with buildDefaultDrawing false is empty and waits for readDwgFile.
class AcDbDatabase : public AcRxObject {
    SV_RX_DECLARE_MEMBERS(AcDbDatabase);

    explicit AcDbDatabase(bool buildDefaultDrawing = true, bool noDocument = false);
    // Deletes every object of the drawing; ids into it stop being valid.
    ~AcDbDatabase() override;
    AcDbDatabase(const AcDbDatabase&) = delete;
    AcDbDatabase& operator=(const AcDbDatabase&) = delete;

    // The object gets an id and a handle and is open for write: the caller closes it.
    Acad::ErrorStatus addAcDbObject(AcDbObjectId& id, AcDbObject* obj);
    Acad::ErrorStatus addAcDbObject(AcDbObject* obj);
    Acad::ErrorStatus getAcDbObjectId(AcDbObjectId& id, bool createIfNotFound,
                                      const AcDbHandle& handle, Adesk::UInt32 xRefId = 0);
    AcDbHandle handseed() const;

    AcDbObjectId blockTableId() const;
    Acad::ErrorStatus getSymbolTable(AcDbBlockTable*& table, AcDb::OpenMode mode);
    Acad::ErrorStatus getBlockTable(AcDbBlockTable*& table, AcDb::OpenMode mode);
    AcDbObjectId namedObjectsDictionaryId() const;
    Acad::ErrorStatus getNamedObjectsDictionary(AcDbDictionary*& dict, AcDb::OpenMode mode);
    AcDbObjectId modelSpaceId() const;
    AcDbObjectId paperSpaceId() const;
    // Model space while TILEMODE is 1, else the paper-space layout.
    AcDbObjectId currentSpaceId() const;

    // Adds to counts[i] the number of hard pointers and hard ownerships to ids[i] held by the
    // objects of the drawing that are not erased.
    Acad::ErrorStatus countHardReferences(const AcDbObjectIdArray& ids, Adesk::UInt32* counts);

    AcDbTransactionManager* transactionManager() const;

    // Copies the entities into the block record `owner` of this drawing, each with what it owns
    // (its extension dictionary with the entries, a reference's attributes), and records every
    // original and its copy in idMap. References among the copies are then mapped through it:
    // a copy points at the copy of an object that was cloned too, and at the original otherwise;
    // persistent reactors follow only when they were cloned with their object. The copies are
    // filled without notifying anyone; the caller closes nothing. Objects of several owners take
    // one call per owner with the same idMap: each call maps every copy made so far.
    Acad::ErrorStatus deepCloneObjects(const AcDbObjectIdArray& objectIds, AcDbObjectId owner,
                                       AcDbIdMapping& idMap);

    // System variables of this drawing; names compare without regard to case. A defined variable
    // only takes values of its type inside its range; others are kept as given.
    Acad::ErrorStatus getSysVar(const wchar_t* name, AcDbSysVar& value) const;
    Acad::ErrorStatus setSysVar(const wchar_t* name, const AcDbSysVar& value);
    Adesk::Int16 lunits() const;
    Acad::ErrorStatus setLunits(Adesk::Int16 value);
    Adesk::Int16 luprec() const;
    Acad::ErrorStatus setLuprec(Adesk::Int16 value);
    bool tilemode() const;
    Acad::ErrorStatus setTilemode(bool value);

    // Writes the drawing through a temporary file beside the target that replaces it at the end,
    // so a failed save leaves an existing file as it was. Through a symbolic link the link's
    // target is written; a read-only file is refused.
    Acad::ErrorStatus saveAs(const wchar_t* fileName);
    // Loads into an empty database. Any fault in the file gives an error status and leaves the
    // database empty.
    Acad::ErrorStatus readDwgFile(const wchar_t* fileName);
    Acad::ErrorStatus readDwgData(const void* data, std::size_t size);
    // The file last read or saved, or null.
    const wchar_t* fileName() const;

private:
    friend struct SvDbAccess;
    SvDbDatabaseData* m_impl;
};

// Whether the file begins as the host's drawings do, whatever follows, or is named as a drawing
// of an exchange format.
bool svDbIsDrawingFile(const wchar_t* fileName);

class AcDbHostApplicationServices {
public:
    AcDbDatabase* workingDatabase() const;
    // A database being destroyed stops being the working database.
    void setWorkingDatabase(AcDbDatabase* db);

private:
    AcDbDatabase* m_working = nullptr;
};

AcDbHostApplicationServices* acdbHostApplicationServices();

// For each target of db, the live objects that hold a hard or soft pointer to it, in the order of
// the database; one pass over the drawing for all targets.
std::vector<AcDbObjectIdArray> svDbReferencesTo(AcDbDatabase* db,
                                                const std::vector<AcDbObjectId>& targets);

// Why the database's last saveAs failed at the file ("no space left on the device", "the file is
// read-only" ...); empty when it succeeded or the file was not the trouble.
const wchar_t* svDbFileError(const AcDbDatabase* db);

// Where and why the last readDwgFile found its file unreadable, when the file's format says more
// than a status can ("line 12: ..."); empty otherwise.
const wchar_t* svDbReadError();

#pragma GCC visibility pop
