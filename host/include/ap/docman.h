#pragma once

#include <string>
#include <vector>

#include "acad/status.h"
#include "rx/members.h"
#include "win/types.h"

#pragma GCC visibility push(default)

class AcDbDatabase;
class AcDbTransactionManager;

// An open drawing: its database, its transactions and the file it came from.
class AcApDocument : public AcRxObject {
    SV_RX_DECLARE_MEMBERS(AcApDocument);

    AcDbDatabase* database() const { return m_database; }
    AcDbTransactionManager* transactionManager() const;
    // The file the drawing was opened from or saved to, or its temporary name ("Drawing1.svd").
    const wchar_t* fileName() const { return m_fileName.c_str(); }
    const wchar_t* docTitle() const;
    bool isNamedDrawing() const { return m_named; }

    ~AcApDocument() override;
    AcApDocument(const AcApDocument&) = delete;
    AcApDocument& operator=(const AcApDocument&) = delete;

private:
    friend class AcApDocManager;
    AcApDocument(AcDbDatabase* database, std::wstring fileName, bool named);
    AcDbDatabase* m_database;
    std::wstring m_fileName;
    bool m_named;
};

// Notifications of the document manager; each does nothing unless overridden.
class AcApDocManagerReactor : public AcRxObject {
    SV_RX_DECLARE_MEMBERS(AcApDocManagerReactor);

    virtual void documentCreateStarted(AcApDocument*) {}
    virtual void documentCreated(AcApDocument*) {}
    virtual void documentCreateCanceled(AcApDocument*) {}
    virtual void documentToBeDestroyed(AcApDocument*) {}
    virtual void documentDestroyed(const wchar_t* /*fileName*/) {}
    virtual void documentBecameCurrent(AcApDocument*) {}
    virtual void documentToBeActivated(AcApDocument*) {}
    virtual void documentActivated(AcApDocument*) {}
    virtual void documentToBeDeactivated(AcApDocument*) {}
};

// The open drawings, one of them current. Opening a drawing sends kLoadDwgMsg to every loaded
// module with the drawing current, and a module loaded later receives it for each drawing open
// then; closing sends kUnloadDwgMsg first.
class AcApDocManager : public AcRxObject {
    SV_RX_DECLARE_MEMBERS(AcApDocManager);

    AcApDocManager();
    ~AcApDocManager() override;
    AcApDocManager(const AcApDocManager&) = delete;
    AcApDocManager& operator=(const AcApDocManager&) = delete;

    AcApDocument* curDocument() const;
    AcApDocument* mdiActiveDocument() const { return curDocument(); }
    int documentCount() const;
    std::vector<AcApDocument*> documents() const;

    // A new drawing that becomes current.
    Acad::ErrorStatus newDocument(AcApDocument*& document);
    // A drawing read from a file that becomes current; on failure nothing is opened.
    Acad::ErrorStatus openDocument(const wchar_t* fileName, AcApDocument*& document);
    Acad::ErrorStatus closeDocument(AcApDocument* document);
    Acad::ErrorStatus activateDocument(AcApDocument* document);
    Acad::ErrorStatus setCurDocument(AcApDocument* document);
    // The file a document now answers to, after SAVEAS.
    void setFileName(AcApDocument* document, const wchar_t* fileName);
    // Closes every document, the current one last.
    void closeAll();

    // A module loaded while drawings are open hears of each, as if it had just opened.
    void announceDocuments(void* appId);

    void addReactor(AcApDocManagerReactor* reactor);
    void removeReactor(AcApDocManagerReactor* reactor);

    // The resource module a dialog or message takes its resources from, as a stack.
    void pushResourceHandle(HINSTANCE resource);
    void popResourceHandle();

private:
    struct Data;
    Data* m_data;
};

AcApDocManager* acDocManagerPtr();
#define acDocManager (acDocManagerPtr())

#pragma GCC visibility pop
