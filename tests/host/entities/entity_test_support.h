#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "db/acutbuffer.h"
#include "db/database.h"
#include "db/entity.h"
#include "db/symboltable.h"
#include "rx/print.h"

struct EntAbortSeen : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Collects what the command line would show.
class EntCapturedOutput : public SvOutputSink {
public:
    std::wstring text;
    void write(const wchar_t* part) override { text += part; }
};

// A fresh drawing per test; aborts of the host throw so misuse shows as a failure.
class EntityTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Appends to the given block record (model space by default) and closes; answers the id.
    AcDbObjectId add(AcDbEntity* entity, AcDbObjectId space = AcDbObjectId());
    // A named block record, closed.
    AcDbObjectId addBlock(const wchar_t* name);
    // Saves `what` to a file and reads it into a new drawing.
    std::unique_ptr<AcDbDatabase> saveAndLoad(AcDbDatabase* what);
    std::vector<unsigned char> saveBytes(AcDbDatabase* what);
    Acad::ErrorStatus loadBytes(const std::vector<unsigned char>& bytes);
    // The id in `loaded` of the object that `original` names in the saved drawing.
    static AcDbObjectId sameIn(AcDbDatabase* loaded, const AcDbObjectId& original);
    std::string tempPath(const char* name);

    AcDbDatabase* db = nullptr;
    std::vector<std::string> m_files;
};

// Opens for read on construction and closes on destruction.
template <class T>
class Reading {
public:
    explicit Reading(AcDbObjectId id, bool openErased = false) {
        m_status = acdbOpenObject(m_obj, id, AcDb::kForRead, openErased);
    }
    ~Reading() {
        if (m_obj != nullptr)
            m_obj->close();
    }
    Reading(const Reading&) = delete;
    Reading& operator=(const Reading&) = delete;
    T* operator->() const { return m_obj; }
    T* get() const { return m_obj; }
    Acad::ErrorStatus status() const { return m_status; }

private:
    T* m_obj = nullptr;
    Acad::ErrorStatus m_status;
};

template <class T>
class Writing {
public:
    explicit Writing(AcDbObjectId id) { m_status = acdbOpenObject(m_obj, id, AcDb::kForWrite); }
    ~Writing() {
        if (m_obj != nullptr)
            m_obj->close();
    }
    Writing(const Writing&) = delete;
    Writing& operator=(const Writing&) = delete;
    T* operator->() const { return m_obj; }
    T* get() const { return m_obj; }
    Acad::ErrorStatus status() const { return m_status; }

private:
    T* m_obj = nullptr;
    Acad::ErrorStatus m_status;
};

// A host string as std::wstring, released.
std::wstring taken(wchar_t* hostString);
