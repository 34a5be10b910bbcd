#pragma once

#include <cstdint>

#include "rx/members.h"

#pragma GCC visibility push(default)

class AcRxDictionaryIterator;

// Objects by name. Keys compare exactly. A dictionary made with deleteObjects deletes what it
// holds when it is deleted; otherwise its entries belong to whoever put them there.
class AcRxDictionary : public AcRxObject {
    SV_RX_DECLARE_MEMBERS(AcRxDictionary);

    explicit AcRxDictionary(bool deleteObjects = false);
    ~AcRxDictionary() override;
    AcRxDictionary(const AcRxDictionary&) = delete;
    AcRxDictionary& operator=(const AcRxDictionary&) = delete;

    AcRxObject* at(const wchar_t* key) const;
    // Enters or replaces; answers the object that was there before (not deleted), or null.
    AcRxObject* atPut(const wchar_t* key, AcRxObject* object);
    // Takes the entry out and answers it (not deleted), or null.
    AcRxObject* remove(const wchar_t* key);
    bool has(const wchar_t* key) const;
    std::uint32_t numEntries() const;
    bool deletesObjects() const;
    // The caller deletes the iterator. It walks a snapshot: entries changed meanwhile are not
    // seen, and an entry removed meanwhile is skipped.
    AcRxDictionaryIterator* newIterator(AcRx::DictIterType type = AcRx::kDictSorted) const;

private:
    friend class AcRxDictionaryIterator;
    struct Data;
    Data* m_data;
};

class AcRxDictionaryIterator : public AcRxObject {
    SV_RX_DECLARE_MEMBERS(AcRxDictionaryIterator);

    ~AcRxDictionaryIterator() override;
    bool done() const;
    bool next();
    const wchar_t* key() const;
    AcRxObject* object() const;

private:
    friend class AcRxDictionary;
    AcRxDictionaryIterator(const AcRxDictionary* owner, AcRx::DictIterType type);
    void skipRemoved();
    struct Data;
    Data* m_data;
};

// The system registry: "ClassDictionary", "ServiceDictionary", "DynamicLinker" and the entries
// the other areas of the host add.
AcRxDictionary* acrxSysRegistry();
AcRxDictionary* acrxClassDictionary();
AcRxDictionary* acrxServiceDictionary();

#pragma GCC visibility pop
