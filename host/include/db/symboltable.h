#pragma once

#include <string>
#include <vector>

#include "db/entity.h"
#include "db/idcursor.h"

#pragma GCC visibility push(default)

#define ACDB_MODEL_SPACE L"*Model_Space"
#define ACDB_PAPER_SPACE L"*Paper_Space"

class AcDbSymbolTableRecord : public AcDbObject {
    SV_RX_DECLARE_MEMBERS(AcDbSymbolTableRecord);

    AcDbSymbolTableRecord();
    ~AcDbSymbolTableRecord() override;

    // A copy released with acutDelBuffer.
    Acad::ErrorStatus getName(wchar_t*& name) const;
    // The record's own text, valid while it is open and unchanged.
    Acad::ErrorStatus getName(const wchar_t*& name) const;
    Acad::ErrorStatus setName(const wchar_t* name);

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

private:
    std::wstring m_name;
};

// Walks a list of ids as it was when the walk began.
class AcDbSymbolTableIterator {
public:
    virtual ~AcDbSymbolTableIterator();
    AcDbSymbolTableIterator(const AcDbSymbolTableIterator&) = delete;
    AcDbSymbolTableIterator& operator=(const AcDbSymbolTableIterator&) = delete;

    void start(bool atBeginning = true, bool skipDeleted = true);
    void step(bool forward = true, bool skipDeleted = true);
    bool done() const;
    Acad::ErrorStatus getRecordId(AcDbObjectId& id) const;
    Acad::ErrorStatus getRecord(AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                                bool openErasedRecord = false) const;
    Acad::ErrorStatus seek(AcDbObjectId id);

protected:
    AcDbSymbolTableIterator(std::vector<AcDbObjectId> ids, bool atBeginning, bool skipDeleted);

private:
    SvIdCursor m_cursor;
};

class AcDbBlockTableRecordIterator;

// A block definition: model space, a paper-space layout or a named block. Owns its entities.
class AcDbBlockTableRecord : public AcDbSymbolTableRecord {
    SV_RX_DECLARE_MEMBERS(AcDbBlockTableRecord);

    AcDbBlockTableRecord();
    ~AcDbBlockTableRecord() override;

    // Needs write. The entity joins the record's database and stays open for write: the caller
    // closes it.
    Acad::ErrorStatus appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity);
    Acad::ErrorStatus appendAcDbEntity(AcDbEntity* entity);
    // The caller deletes the iterator.
    Acad::ErrorStatus newIterator(AcDbBlockTableRecordIterator*& iterator, bool atBeginning = true,
                                  bool skipDeleted = true) const;
    bool isLayout() const;
    Acad::ErrorStatus setIsLayout(bool layout);
    bool isAnonymous() const;
    // Whether an attribute definition that is not erased is among the record's entities.
    bool hasAttributeDefinitions() const;
    // The block references of the drawing that insert this record and are not erased (directOnly
    // and forceValidity are accepted for the host's signature; every reference is direct here).
    Acad::ErrorStatus getBlockReferenceIds(AcDbObjectIdArray& ids, bool directOnly = true,
                                           bool forceValidity = false) const;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

private:
    std::vector<AcDbObjectId> m_entities;
    bool m_layout = false;
};

class AcDbBlockTableRecordIterator {
public:
    ~AcDbBlockTableRecordIterator();
    AcDbBlockTableRecordIterator(const AcDbBlockTableRecordIterator&) = delete;
    AcDbBlockTableRecordIterator& operator=(const AcDbBlockTableRecordIterator&) = delete;

    void start(bool atBeginning = true, bool skipDeleted = true);
    void step(bool forward = true, bool skipDeleted = true);
    bool done() const;
    Acad::ErrorStatus getEntityId(AcDbObjectId& id) const;
    Acad::ErrorStatus getEntity(AcDbEntity*& entity, AcDb::OpenMode mode,
                                bool openErasedEntity = false) const;
    Acad::ErrorStatus seek(AcDbObjectId id);

private:
    friend class AcDbBlockTableRecord;
    AcDbBlockTableRecordIterator(std::vector<AcDbObjectId> ids, bool atBeginning, bool skipDeleted);
    SvIdCursor m_cursor;
};

// Records by name (compared without regard to case), in the order they were added.
class AcDbSymbolTable : public AcDbObject {
    SV_RX_DECLARE_MEMBERS(AcDbSymbolTable);

    AcDbSymbolTable();
    ~AcDbSymbolTable() override;

    Acad::ErrorStatus getAt(const wchar_t* name, AcDbObjectId& id,
                            bool getErasedRecord = false) const;
    Acad::ErrorStatus getAt(const wchar_t* name, AcDbSymbolTableRecord*& record,
                            AcDb::OpenMode mode, bool openErasedRecord = false) const;
    bool has(const wchar_t* name) const;
    bool has(AcDbObjectId id) const;
    // Needs write; the record must be of the table's kind and have a name not yet in the table.
    // It joins the table's database and stays open for write.
    Acad::ErrorStatus add(AcDbObjectId& id, AcDbSymbolTableRecord* record);
    Acad::ErrorStatus add(AcDbSymbolTableRecord* record);
    Acad::ErrorStatus newIterator(AcDbSymbolTableIterator*& iterator, bool atBeginning = true,
                                  bool skipDeleted = true) const;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

protected:
    virtual const AcRxClass* recordClass() const;
    std::vector<AcDbObjectId> m_records;
};

class AcDbBlockTableIterator : public AcDbSymbolTableIterator {
public:
    using AcDbSymbolTableIterator::getRecord;
    Acad::ErrorStatus getRecord(AcDbBlockTableRecord*& record, AcDb::OpenMode mode,
                                bool openErasedRecord = false) const;

private:
    friend class AcDbSymbolTable;
    friend class AcDbBlockTable;
    AcDbBlockTableIterator(std::vector<AcDbObjectId> ids, bool atBeginning, bool skipDeleted)
        : AcDbSymbolTableIterator(std::move(ids), atBeginning, skipDeleted) {}
};

class AcDbBlockTable : public AcDbSymbolTable {
    SV_RX_DECLARE_MEMBERS(AcDbBlockTable);

    AcDbBlockTable();
    ~AcDbBlockTable() override;

    using AcDbSymbolTable::getAt;
    Acad::ErrorStatus getAt(const wchar_t* name, AcDbBlockTableRecord*& record, AcDb::OpenMode mode,
                            bool openErasedRecord = false) const;
    using AcDbSymbolTable::newIterator;
    Acad::ErrorStatus newIterator(AcDbBlockTableIterator*& iterator, bool atBeginning = true,
                                  bool skipDeleted = true) const;

protected:
    const AcRxClass* recordClass() const override;
};

#pragma GCC visibility pop
