#pragma once

#include <cstddef>
#include <functional>

#include "db/array.h"
#include "db/handle.h"

#pragma GCC visibility push(default)

class AcDbDatabase;

// Names a database object without pointing at it: an entry of its database's id table. Safe to
// keep after the object or the database is gone; isValid then answers false.
class AcDbObjectId {
public:
    AcDbObjectId() = default;
    static const AcDbObjectId kNull;

    bool isNull() const { return m_db == 0; }
    void setNull() {
        m_db = 0;
        m_index = 0;
    }
    // The database still exists and the object was not taken back (an erased object stays valid).
    bool isValid() const;
    bool isErased() const;
    // Null once the database is destroyed.
    AcDbDatabase* database() const;
    // Null when the id is not valid.
    AcDbHandle handle() const;

    bool operator==(const AcDbObjectId& other) const {
        return m_db == other.m_db && m_index == other.m_index;
    }
    bool operator!=(const AcDbObjectId& other) const { return !(*this == other); }
    bool operator<(const AcDbObjectId& other) const {
        return m_db != other.m_db ? m_db < other.m_db : m_index < other.m_index;
    }
    bool operator>(const AcDbObjectId& other) const { return other < *this; }
    bool operator<=(const AcDbObjectId& other) const { return !(other < *this); }
    bool operator>=(const AcDbObjectId& other) const { return !(*this < other); }
    // The id as one number, for untyped slots such as a list row's item data, and back. The null
    // id is 0; an id that does not fit (its database made after 2^31 others in one run) gives 0.
    Adesk::IntDbId asOldId() const {
        if (m_db >= (Adesk::UInt64{1} << 31))
            return 0;
        return static_cast<Adesk::IntDbId>(m_db << 32 | m_index);
    }
    AcDbObjectId& setFromOldId(Adesk::IntDbId oldId) {
        const auto bits = static_cast<Adesk::UInt64>(oldId);
        m_db = oldId < 0 ? 0 : bits >> 32;
        m_index = m_db == 0 ? 0 : static_cast<Adesk::UInt32>(bits);
        return *this;
    }
    std::size_t hash() const {
        return std::hash<Adesk::UInt64>()(m_db * 0x9E3779B97F4A7C15ull ^ m_index);
    }

private:
    friend struct SvDbAccess;
    Adesk::UInt64 m_db = 0; // the database's serial number, never reused
    Adesk::UInt32 m_index = 0;
};

// Grows whenever some id stops being valid (a database destroyed, an object taken back); while it
// stays the same, every id that was valid still is. Lets holders of many ids skip re-checking them.
Adesk::UInt64 svDbIdInvalidationCount();

// The kinds of reference a filer is told about. They are ids like any other.
class AcDbHardOwnershipId : public AcDbObjectId {
public:
    AcDbHardOwnershipId() = default;
    AcDbHardOwnershipId(const AcDbObjectId& id) : AcDbObjectId(id) {}
};
class AcDbSoftOwnershipId : public AcDbObjectId {
public:
    AcDbSoftOwnershipId() = default;
    AcDbSoftOwnershipId(const AcDbObjectId& id) : AcDbObjectId(id) {}
};
class AcDbHardPointerId : public AcDbObjectId {
public:
    AcDbHardPointerId() = default;
    AcDbHardPointerId(const AcDbObjectId& id) : AcDbObjectId(id) {}
};
class AcDbSoftPointerId : public AcDbObjectId {
public:
    AcDbSoftPointerId() = default;
    AcDbSoftPointerId(const AcDbObjectId& id) : AcDbObjectId(id) {}
};

using AcDbObjectIdArray = AcArray<AcDbObjectId>;

#pragma GCC visibility pop

template <>
struct std::hash<AcDbObjectId> {
    std::size_t operator()(const AcDbObjectId& id) const { return id.hash(); }
};
