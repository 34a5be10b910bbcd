#pragma once

#include "db/object.h"

#pragma GCC visibility push(default)

class AcDbDictionaryIterator;

// Objects by name. Keys compare without regard to letter case and keep the case they were stored
// with; entries are owned by the dictionary, erased with it, and iterate in the order they were
// added. An erased entry is no longer found. Ownership of the entries is soft unless the
// dictionary is told to treat them as hard, so an entry alone does not count as a hard reference.
class AcDbDictionary : public AcDbObject {
    SV_RX_DECLARE_MEMBERS(AcDbDictionary);

    AcDbDictionary();
    ~AcDbDictionary() override;

    Acad::ErrorStatus getAt(const wchar_t* key, AcDbObject*& obj, AcDb::OpenMode mode) const;
    Acad::ErrorStatus getAt(const wchar_t* key, AcDbObjectId& id) const;
    // The key of `id`, a copy released with acutDelBuffer.
    Acad::ErrorStatus nameAt(AcDbObjectId id, wchar_t*& name) const;
    bool has(const wchar_t* key) const;
    bool has(AcDbObjectId id) const;
    Adesk::UInt32 numEntries() const;

    // Needs write. "*U" stores under a new anonymous key each time; a key already present is
    // refused with eDuplicateKey and the entry there stays. A non-resident object is added to the
    // dictionary's database (and is then open for write: the caller closes it).
    Acad::ErrorStatus setAt(const wchar_t* key, AcDbObject* newValue, AcDbObjectId& retObjId);
    // Takes an entry out (needs write); the object itself stays and is not erased.
    Acad::ErrorStatus remove(const wchar_t* key);
    Acad::ErrorStatus remove(const wchar_t* key, AcDbObjectId& returnId);
    Acad::ErrorStatus remove(AcDbObjectId objId);
    bool setName(const wchar_t* oldName, const wchar_t* newName);
    bool isTreatElementsAsHard() const;
    void setTreatElementsAsHard(bool doIt);

    // The caller deletes the iterator. It walks the entries as they were when it was made.
    AcDbDictionaryIterator* newIterator() const;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

private:
    friend class AcDbDictionaryIterator;
    struct Entries;
    Entries* m_entries;
};

class AcDbDictionaryIterator : public AcRxObject {
public:
    ~AcDbDictionaryIterator() override;
    AcDbDictionaryIterator(const AcDbDictionaryIterator&) = delete;
    AcDbDictionaryIterator& operator=(const AcDbDictionaryIterator&) = delete;

    const wchar_t* name() const; // null when done
    AcDbObjectId objectId() const;
    Acad::ErrorStatus getObject(AcDbObject*& obj, AcDb::OpenMode mode);
    bool next();
    bool done() const;
    // Moves to the entry of `id`; false (and the position kept) when there is none.
    bool setPosition(AcDbObjectId id);

private:
    friend class AcDbDictionary;
    explicit AcDbDictionaryIterator(const AcDbDictionary* dictionary);
    void skipErased();
    struct Data;
    Data* m_data;
};

#pragma GCC visibility pop
