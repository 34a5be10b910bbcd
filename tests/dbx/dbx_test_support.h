#pragma once

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "db/database.h"
#include "db/entity.h"
#include "db/symboltable.h"
#include "rx/abort.h"
#include "rx/dynlinker.h"
#include "support/bin_dir.h"

struct DbxAbortSeen : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Loads the module from the build's output folder and gives each test a fresh working drawing
// (decimal units, four places).
class DbxTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Appends to model space; the entity is closed afterwards.
    AcDbObjectId append(AcDbEntity* entity);
    // An empty block definition under that name.
    AcDbObjectId addBlock(const wchar_t* name);

    AcDbDatabase* db = nullptr;
};

// Holds an object opened by id for the length of a test step.
template <class T>
class Opened {
public:
    Opened(AcDbObjectId id, AcDb::OpenMode mode) {
        AcDbObject* obj = nullptr;
        m_status = acdbOpenAcDbObject(obj, id, mode, false, T::desc());
        m_object = static_cast<T*>(obj);
    }
    ~Opened() {
        if (m_object != nullptr)
            m_object->close();
    }
    Opened(const Opened&) = delete;
    Opened& operator=(const Opened&) = delete;
    T* operator->() const { return m_object; }
    T* get() const { return m_object; }
    Acad::ErrorStatus status() const { return m_status; }

private:
    T* m_object = nullptr;
    Acad::ErrorStatus m_status;
};
