#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "db/acutbuffer.h"
#include "db/database.h"
#include "db/dictionary.h"
#include "db/entity.h"
#include "db/symboltable.h"
#include "db/transaction.h"

// A drawing file's bytes, read and written whole.
inline std::vector<unsigned char> bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

struct DbAbortSeen : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A filed object with one field of every kind a module files.
class DbTestRecord : public AcDbObject {
    SV_RX_DECLARE_FILED_MEMBERS(DbTestRecord);

public:
    // What the next dwgOutFields writes as its version; above 1 makes the record unreadable here.
    static Adesk::Int16 s_writeVersion;

    Adesk::Int32 value() const;
    Acad::ErrorStatus setValue(Adesk::Int32 value);
    std::wstring text() const;
    Acad::ErrorStatus setText(const wchar_t* text);
    AcDbObjectId target() const; // hard pointer
    Acad::ErrorStatus setTarget(AcDbObjectId id);
    AcDbObjectId label() const; // soft pointer
    Acad::ErrorStatus setLabel(AcDbObjectId id);
    AcDbObjectId owned() const; // hard ownership
    Acad::ErrorStatus setOwned(AcDbObjectId id);

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

private:
    Adesk::Int32 m_value = 0;
    std::wstring m_text;
    AcDbObjectId m_target;
    AcDbObjectId m_label;
    AcDbObjectId m_owned;
};

// A persistent reactor: every `modified` of a source it is attached to adds one to the value of
// its target record (opened for write), and is logged.
class DbTestLink : public AcDbObject {
    SV_RX_DECLARE_FILED_MEMBERS(DbTestLink);

public:
    struct Event {
        AcDbObjectId link;
        AcDbObjectId source;
        Acad::ErrorStatus openStatus;
    };
    static std::vector<Event> s_events;

    AcDbObjectId target() const;
    Acad::ErrorStatus setTarget(AcDbObjectId id);
    void modified(const AcDbObject* dbObj) override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

private:
    AcDbObjectId m_target;
};

class DbTestTransientReactor : public AcDbObjectReactor {
public:
    std::vector<std::wstring> events;
    void modified(const AcDbObject*) override { events.emplace_back(L"modified"); }
    void erased(const AcDbObject*, bool erasing) override {
        events.emplace_back(erasing ? L"erased" : L"unerased");
    }
    void openedForModify(const AcDbObject*) override { events.emplace_back(L"openedForModify"); }
    void modifyUndone(const AcDbObject*) override { events.emplace_back(L"modifyUndone"); }
    void goodbye(const AcDbObject*) override { events.emplace_back(L"goodbye"); }
};

// Registers the test classes, makes aborts throw, and gives each test a fresh drawing.
class DbTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new record appended to the named-object dictionary under "*U", closed.
    AcDbObjectId addRecord(Adesk::Int32 value = 0, AcDbDatabase* db = nullptr);
    // A new link attached as persistent reactor of `source`, kept in its extension dictionary.
    AcDbObjectId attachLink(AcDbObjectId source, AcDbObjectId target);
    // Opens, sets the value, closes; answers the open status.
    Acad::ErrorStatus writeValue(AcDbObjectId id, Adesk::Int32 value);
    Adesk::Int32 readValue(AcDbObjectId id);
    AcDbObjectId addEntity(AcDbObjectId space, Adesk::UInt16 color = 256);
    // Appends the entity to the block record and closes both.
    AcDbObjectId append(AcDbObjectId space, AcDbEntity* entity);
    // The entities of a block record, in order.
    std::vector<AcDbObjectId> entitiesOf(AcDbObjectId space);
    // Whether the block record holds no entity (false when it cannot be opened).
    bool spaceIsEmpty(AcDbObjectId space);
    std::string tempPath(const char* name);

    AcDbDatabase* db = nullptr;
    std::vector<std::string> m_files;
};
