#pragma once

#include <functional>

#include "rx/members.h"

#pragma GCC visibility push(default)

class AcDbDatabase;
class AcApDocument;
class AcDbIdMapping;

// Base of the reactors the host notifies of application-wide events. Every notification does
// nothing unless overridden.
class AcRxEventReactor : public AcRxObject {
    SV_RX_DECLARE_MEMBERS(AcRxEventReactor);

    virtual void dwgFileOpened(AcDbDatabase*, const wchar_t* /*fileName*/) {}
    virtual void databaseConstructed(AcDbDatabase*) {}
    virtual void databaseToBeDestroyed(AcDbDatabase*) {}
    virtual void beginSave(AcDbDatabase*, const wchar_t* /*intendedName*/) {}
    virtual void saveComplete(AcDbDatabase*, const wchar_t* /*actualName*/) {}
    // A command that deep-clones (COPY) tells this once the copies' references are mapped and
    // before the copies are moved into place.
    virtual void endDeepClone(AcDbIdMapping& /*idMap*/) {}
};

// Notifications of the editor. The last one fires once each command, script line or LISP
// evaluation has finished, outside every object notification: the moment to work off what
// object notifications could only queue.
class AcEditorReactor : public AcRxEventReactor {
    SV_RX_DECLARE_MEMBERS(AcEditorReactor);

    virtual void unknownCommand(const wchar_t* /*cmdStr*/) {}
    virtual void commandWillStart(const wchar_t* /*cmdStr*/) {}
    virtual void commandEnded(const wchar_t* /*cmdStr*/) {}
    virtual void commandCancelled(const wchar_t* /*cmdStr*/) {}
    virtual void commandFailed(const wchar_t* /*cmdStr*/) {}
    virtual void lispWillStart(const wchar_t* /*firstLine*/) {}
    virtual void lispEnded() {}
    virtual void lispCancelled() {}
    virtual void beginClose(AcDbDatabase*) {}
    virtual void docCloseWillStart(AcDbDatabase*) {}
    virtual void commandLineReady(AcApDocument* /*document*/) {}
};

// The editor under "AcEditor" in the system registry: it keeps the editor reactors.
class AcEditor : public AcRxObject {
    SV_RX_DECLARE_MEMBERS(AcEditor);

    AcEditor();
    ~AcEditor() override;
    AcEditor(const AcEditor&) = delete;
    AcEditor& operator=(const AcEditor&) = delete;

    // A reactor is held once, not owned.
    void addReactor(AcEditorReactor* reactor);
    void removeReactor(AcEditorReactor* reactor);

    // Calls the notification on every reactor attached when the call began and still attached
    // when its turn comes.
    void notify(const std::function<void(AcEditorReactor*)>& notifyOne);

private:
    struct Data;
    Data* m_data;
};

AcEditor* acedEditorObject();
#define acedEditor (acedEditorObject())

#pragma GCC visibility pop
