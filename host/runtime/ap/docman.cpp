#include "ap/docman.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "crt/format.h"
#include "db/database.h"
#include "document_hooks.h"
#include "mfc/afx.h"
#include "rx/builtin_classes.h"
#include "rx/dynlinker.h"
#include "rx/reactor_list.h"

namespace {

std::vector<SvDocumentForgetHook>& forgetHooks() {
    static std::vector<SvDocumentForgetHook> hooks;
    return hooks;
}

} // namespace

void svAddDocumentForgetHook(SvDocumentForgetHook hook) {
    forgetHooks().push_back(hook);
}

struct AcApDocManager::Data {
    std::vector<AcApDocument*> documents; // owned, in order of opening
    AcApDocument* current = nullptr;
    SvReactorList<AcApDocManagerReactor> reactors;
    std::vector<HINSTANCE> resourceStack;
    int unnamedCount = 0;

    template <class NotifyOne>
    void notify(NotifyOne notifyOne) {
        reactors.notify(notifyOne);
    }

    bool holds(const AcApDocument* document) const {
        return document != nullptr &&
               std::find(documents.begin(), documents.end(), document) != documents.end();
    }

    void makeCurrent(AcApDocument* document) {
        if (document == current)
            return;
        if (current != nullptr)
            notify([this](AcApDocManagerReactor* r) { r->documentToBeDeactivated(current); });
        if (document != nullptr)
            notify([document](AcApDocManagerReactor* r) { r->documentToBeActivated(document); });
        current = document;
        acdbHostApplicationServices()->setWorkingDatabase(document ? document->database()
                                                                   : nullptr);
        if (document != nullptr) {
            notify([document](AcApDocManagerReactor* r) { r->documentBecameCurrent(document); });
            notify([document](AcApDocManagerReactor* r) { r->documentActivated(document); });
        }
    }

    // Tells modules about a drawing with the drawing current, as they expect it.
    void sendWithCurrent(AcApDocument* document, AcRx::AppMsgCode message, void* appId) {
        AcApDocument* previous = current;
        current = document;
        acdbHostApplicationServices()->setWorkingDatabase(document->database());
        if (appId != nullptr)
            acrxDynamicLinker()->sendMessage(appId, message, nullptr);
        else
            acrxDynamicLinker()->sendToAll(message, nullptr);
        current = holds(previous) ? previous : nullptr;
        acdbHostApplicationServices()->setWorkingDatabase(current ? current->database() : nullptr);
    }

    AcApDocument* add(AcDbDatabase* database, std::wstring fileName, bool named) {
        auto* document = new AcApDocument(database, std::move(fileName), named);
        documents.push_back(document);
        makeCurrent(document);
        sendWithCurrent(document, AcRx::kLoadDwgMsg, nullptr);
        notify([document](AcApDocManagerReactor* r) { r->documentCreated(document); });
        return document;
    }
};

SV_RX_DEFINE_MEMBERS(AcApDocument, newAcRxClass(L"AcApDocument", L"AcRxObject"))
SV_RX_DEFINE_MEMBERS(AcApDocManagerReactor, newAcRxClass(L"AcApDocManagerReactor", L"AcRxObject"))
SV_RX_DEFINE_MEMBERS(AcApDocManager, newAcRxClass(L"AcApDocManager", L"AcRxObject"))

AcApDocument::AcApDocument(AcDbDatabase* database, std::wstring fileName, bool named)
    : m_database(database), m_fileName(std::move(fileName)), m_named(named) {}

AcApDocument::~AcApDocument() {
    delete m_database;
}

AcDbTransactionManager* AcApDocument::transactionManager() const {
    return m_database->transactionManager();
}

const wchar_t* AcApDocument::docTitle() const {
    const std::size_t slash = m_fileName.find_last_of(L"/\\");
    return m_fileName.c_str() + (slash == std::wstring::npos ? 0 : slash + 1);
}

AcApDocManager::AcApDocManager() : m_data(new Data) {}

AcApDocManager::~AcApDocManager() {
    for (AcApDocument* document : m_data->documents)
        delete document;
    delete m_data;
}

AcApDocument* AcApDocManager::curDocument() const {
    return m_data->current;
}

int AcApDocManager::documentCount() const {
    return static_cast<int>(m_data->documents.size());
}

std::vector<AcApDocument*> AcApDocManager::documents() const {
    return m_data->documents;
}

Acad::ErrorStatus AcApDocManager::newDocument(AcApDocument*& document) {
    m_data->notify([](AcApDocManagerReactor* r) { r->documentCreateStarted(nullptr); });
    const std::wstring name = svFormat(L"Drawing%d.svd", ++m_data->unnamedCount);
    document = m_data->add(new AcDbDatabase(true), name, false);
    return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::openDocument(const wchar_t* fileName, AcApDocument*& document) {
    document = nullptr;
    if (fileName == nullptr || *fileName == L'\0')
        return Acad::eInvalidInput;
    m_data->notify([](AcApDocManagerReactor* r) { r->documentCreateStarted(nullptr); });
    auto database = std::make_unique<AcDbDatabase>(false);
    const Acad::ErrorStatus es = database->readDwgFile(fileName);
    if (es != Acad::eOk) {
        m_data->notify([](AcApDocManagerReactor* r) { r->documentCreateCanceled(nullptr); });
        return es;
    }
    document = m_data->add(database.release(), fileName, true);
    return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::closeDocument(AcApDocument* document) {
    if (!m_data->holds(document))
        return Acad::eInvalidInput;
    m_data->notify([document](AcApDocManagerReactor* r) { r->documentToBeDestroyed(document); });
    m_data->sendWithCurrent(document, AcRx::kUnloadDwgMsg, nullptr);
    auto& documents = m_data->documents;
    documents.erase(std::find(documents.begin(), documents.end(), document));
    if (m_data->current == document)
        m_data->makeCurrent(documents.empty() ? nullptr : documents.back());
    for (SvDocumentForgetHook hook : forgetHooks())
        hook(document);
    const std::wstring fileName = document->fileName();
    delete document;
    m_data->notify(
        [&fileName](AcApDocManagerReactor* r) { r->documentDestroyed(fileName.c_str()); });
    return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::activateDocument(AcApDocument* document) {
    if (!m_data->holds(document))
        return Acad::eInvalidInput;
    m_data->makeCurrent(document);
    return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::setCurDocument(AcApDocument* document) {
    return activateDocument(document);
}

void AcApDocManager::setFileName(AcApDocument* document, const wchar_t* fileName) {
    if (m_data->holds(document) && fileName != nullptr) {
        document->m_fileName = fileName;
        document->m_named = true;
    }
}

void AcApDocManager::closeAll() {
    auto& documents = m_data->documents;
    while (!documents.empty()) {
        const bool frontIsCurrent = documents.front() == m_data->current;
        closeDocument(frontIsCurrent && documents.size() > 1 ? documents[1] : documents.front());
    }
}

void AcApDocManager::announceDocuments(void* appId) {
    for (AcApDocument* document : documents())
        m_data->sendWithCurrent(document, AcRx::kLoadDwgMsg, appId);
}

void AcApDocManager::addReactor(AcApDocManagerReactor* reactor) {
    m_data->reactors.add(reactor);
}

void AcApDocManager::removeReactor(AcApDocManagerReactor* reactor) {
    m_data->reactors.remove(reactor);
}

void AcApDocManager::pushResourceHandle(HINSTANCE resource) {
    m_data->resourceStack.push_back(AfxGetResourceHandle());
    AfxSetResourceHandle(resource);
}

void AcApDocManager::popResourceHandle() {
    if (m_data->resourceStack.empty())
        return;
    AfxSetResourceHandle(m_data->resourceStack.back());
    m_data->resourceStack.pop_back();
}

namespace {

void tellNewModule(void* appId) {
    acDocManagerPtr()->announceDocuments(appId);
}

void registerDocumentArea() {
    AcApDocument::rxInit();
    AcApDocManagerReactor::rxInit();
    AcApDocManager::rxInit();
    svOnModuleLoaded(&tellNewModule);
}

const SvBuiltinClasses documentArea(&registerDocumentArea);

} // namespace

AcApDocManager* acDocManagerPtr() {
    static AcApDocManager manager;
    return &manager;
}
