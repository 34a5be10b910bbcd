#pragma once

#include "db/filer.h"
#include "internal.h"

// Ids go to file as handles of the drawing being written; an id of anything else is a null
// handle. Read back, a handle must name an object of the drawing being read.
class SvDbFileFiler : public AcDbMemoryFiler {
public:
    explicit SvDbFileFiler(const SvDbDatabaseData& db)
        : AcDbMemoryFiler(AcDb::kFileFiler), m_db(db) {}
    SvDbFileFiler(const unsigned char* data, std::size_t size, const SvDbDatabaseData& db)
        : AcDbMemoryFiler(data, size, AcDb::kFileFiler, kReadInPlace), m_db(db) {}

protected:
    Acad::ErrorStatus writeId(const AcDbObjectId& id, IdKind) override {
        Adesk::UInt64 handle = 0;
        const std::uint32_t index = SvDbAccess::index(id);
        if (SvDbAccess::serial(id) == m_db.serial && index < m_db.slots.size() &&
            m_db.slots[index].object != nullptr)
            handle = m_db.slots[index].handle.value();
        return writeUInt64(handle);
    }
    Acad::ErrorStatus readId(AcDbObjectId* id, IdKind) override {
        Adesk::UInt64 handle = 0;
        readUInt64(&handle);
        AcDbObjectId found;
        if (filerStatus() == Acad::eOk && handle != 0) {
            auto it = m_db.byHandle.find(handle);
            if (it == m_db.byHandle.end())
                setFilerStatus(Acad::eBadDwgFile);
            else
                found = SvDbAccess::makeId(m_db.serial, it->second);
        }
        if (id != nullptr)
            *id = found;
        return filerStatus();
    }

private:
    const SvDbDatabaseData& m_db;
};
