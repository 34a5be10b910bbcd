#pragma once

#include "db/filer.h"
#include "db/objectid.h"
#include "rx/members.h"

#pragma GCC visibility push(default)

class AcDbObject;
class AcDbDatabase;
struct SvDbObjectData;

// A transient observer of one or more objects, attached with addReactor. It is not filed and not
// owned by the object; it must be removed before it is deleted.
class AcDbObjectReactor : public AcRxObject {
    SV_RX_DECLARE_MEMBERS(AcDbObjectReactor);

    ~AcDbObjectReactor() override;
    virtual void cancelled(const AcDbObject* dbObj);
    virtual void copied(const AcDbObject* dbObj, const AcDbObject* newObj);
    virtual void erased(const AcDbObject* dbObj, bool erasing = true);
    virtual void goodbye(const AcDbObject* dbObj);
    virtual void openedForModify(const AcDbObject* dbObj);
    virtual void modified(const AcDbObject* dbObj);
    virtual void modifyUndone(const AcDbObject* dbObj);
    virtual void unappended(const AcDbObject* dbObj);
    virtual void reappended(const AcDbObject* dbObj);
    virtual void objectClosed(const AcDbObjectId objId);
};

class AcDbAuditInfo {
public:
    explicit AcDbAuditInfo(bool fixErrors = false) : m_fix(fixErrors) {}
    bool fixErrors() const { return m_fix; }
    int numErrors() const { return m_errors; }
    int numFixes() const { return m_fixes; }
    void errorsFound(int count) { m_errors += count; }
    void errorsFixed(int count) { m_fixes += count; }

private:
    bool m_fix;
    int m_errors = 0;
    int m_fixes = 0;
};

// An object of a drawing. Created on the heap; once added to a database (addAcDbObject,
// AcDbDictionary::setAt, appendAcDbEntity ...) it belongs to the database, is reached by id and
// opened and closed, never deleted. Until then it is non-resident: its caller owns it, deletes it,
// and may read and change it freely.
class AcDbObject : public AcRxObject {
    SV_RX_DECLARE_MEMBERS(AcDbObject);

    AcDbObject();
    ~AcDbObject() override;

    AcDbObjectId objectId() const;
    AcDbObjectId ownerId() const;
    // What a user should see of the object, on the command line below the line that names it;
    // nothing by default. Entities list themselves whole, that line included.
    virtual void list() const;
    virtual Acad::ErrorStatus setOwnerId(AcDbObjectId ownerId);
    AcDbDatabase* database() const; // null while non-resident
    void getAcDbHandle(AcDbHandle& handle) const;
    bool isErased() const;

    // Erasing needs the object open for write; objects it owns are erased with it. Erasing an
    // erased object answers eWasErased, un-erasing a live one eWasNotErased.
    Acad::ErrorStatus erase(bool erasing = true);

    bool isReadEnabled() const;
    bool isWriteEnabled() const;
    bool isNotifyEnabled() const;
    bool isNotifying() const;
    bool isModified() const;
    // A resident object that is not open as required ends the host: that is a programming error.
    // The write check with autoUndo saves the object's state for an abort of the running
    // transaction (once per transaction); with recordModified the close sends `modified`.
    void assertReadEnabled() const;
    void assertWriteEnabled(bool autoUndo = true, bool recordModified = true);
    void assertNotifyEnabled() const;

    // Ends one opening. Closing after a change sends `modified` (and `erased` after erase) to the
    // persistent reactors, each opened for notify, and to the transient reactors; while it does,
    // the object cannot be opened for write. A non-resident object is not closed but deleted by
    // its owner: close answers eNotInDatabase.
    Acad::ErrorStatus close();
    Acad::ErrorStatus upgradeOpen();
    Acad::ErrorStatus downgradeOpen();

    AcDbObjectId extensionDictionary() const;
    Acad::ErrorStatus createExtensionDictionary();

    // Persistent reactors are database objects, named by id, filed with this object; each receives
    // the notifications below as members of its own class.
    Acad::ErrorStatus addPersistentReactor(AcDbObjectId reactorId);
    Acad::ErrorStatus removePersistentReactor(AcDbObjectId reactorId);
    bool hasPersistentReactor(AcDbObjectId reactorId) const;
    AcDbObjectIdArray persistentReactors() const;
    void addReactor(AcDbObjectReactor* reactor) const;
    void removeReactor(AcDbObjectReactor* reactor) const;

    virtual Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer);
    virtual Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const;
    virtual Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer);
    virtual Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const;
    virtual Acad::ErrorStatus audit(AcDbAuditInfo* auditInfo);

    // Copies every field the object files through a memory filer: `other` must be of this
    // object's class; owner, reactors and extension dictionary are not copied.
    Acad::ErrorStatus copyFrom(const AcRxObject* other) override;
    // Marks the object changed, so its close notifies, without any field changing.
    virtual void recordGraphicsModified(bool setModified = true);

    // Notifications received as a persistent reactor of `dbObj`.
    virtual void cancelled(const AcDbObject* dbObj);
    virtual void copied(const AcDbObject* dbObj, const AcDbObject* newObj);
    virtual void erased(const AcDbObject* dbObj, bool erasing = true);
    virtual void goodbye(const AcDbObject* dbObj);
    virtual void openedForModify(const AcDbObject* dbObj);
    virtual void modified(const AcDbObject* dbObj);
    virtual void modifyUndone(const AcDbObject* dbObj);
    virtual void unappended(const AcDbObject* dbObj);
    virtual void reappended(const AcDbObject* dbObj);
    virtual void objectClosed(const AcDbObjectId objId);

protected:
    // A copy starts life non-resident, whatever the original was.
    AcDbObject(const AcDbObject& other);
    AcDbObject& operator=(const AcDbObject& other);

private:
    friend struct SvDbAccess;
    SvDbObjectData* m_data;
};

// Opens by id. Any status but eOk leaves `obj` null. Opening for write fails while the object is
// open in any way or sending notifications; opening for read fails while it is open for write.
Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased = false);
// Opens only an object of class `desc` or derived from it (else eNotThatKindOfClass).
Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased, const AcRxClass* desc);

#pragma GCC visibility pop

template <class T>
Acad::ErrorStatus acdbOpenObject(T*& obj, AcDbObjectId id, AcDb::OpenMode mode,
                                 bool openErased = false) {
    AcDbObject* opened = nullptr;
    const Acad::ErrorStatus es = acdbOpenAcDbObject(opened, id, mode, openErased, T::desc());
    obj = static_cast<T*>(opened);
    return es;
}
