#pragma once

#include <map>

#include "SentavellUi17Api.h"
#include "ap/docman.h"
#include "db/objectid.h"
#include "ed/editor.h"

// Works off the self-link updates that links could only queue while their sources notified.
class SENTAVELLUI17_API CSentavellEditorReactor : public AcEditorReactor {
    SV_RX_DECLARE_MEMBERS(CSentavellEditorReactor);

    // Fires once a command, script line or evaluation has finished, outside every notification.
    void commandLineReady(AcApDocument* document) override;
    // Copied links follow their copied labels, or leave the copy.
    void endDeepClone(AcDbIdMapping& idMap) override;
};

// The one attached reactor, created on the first call.
SENTAVELLUI17_API CSentavellEditorReactor* CreateEditorReactor();
SENTAVELLUI17_API void DestroyEditorReactor();

// One value per open document, forgotten when the document goes.
template <class T>
class CStAcApDocManagerReactor : public AcApDocManagerReactor {
public:
    CStAcApDocManagerReactor() { acDocManagerPtr()->addReactor(this); }
    ~CStAcApDocManagerReactor() override {
        acDocManagerPtr()->removeReactor(this);
        m_values.clear();
    }
    CStAcApDocManagerReactor(const CStAcApDocManagerReactor&) = delete;
    CStAcApDocManagerReactor& operator=(const CStAcApDocManagerReactor&) = delete;

    AcRxClass* isA() const override { return AcApDocManagerReactor::desc(); }

    T& operator[](AcApDocument* document) { return m_values[document]; }
    T& current() { return (*this)[acDocManagerPtr()->curDocument()]; }
    bool has(AcApDocument* document) const { return m_values.count(document) != 0; }
    std::size_t size() const { return m_values.size(); }

    void documentToBeDestroyed(AcApDocument* document) override { m_values.erase(document); }

private:
    std::map<AcApDocument*, T> m_values;
};

// The current link style of each document.
SENTAVELLUI17_API CStAcApDocManagerReactor<AcDbObjectId>& svCurDocStyle();
