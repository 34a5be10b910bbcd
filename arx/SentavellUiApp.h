#pragma once

#include "StArxApp.h"

class AcPropertyLinkStyleMgr;

// The application object of SentavellUi17. For now it loads the database module and offers the
// style manager service; commands, reactors and the resource module join it later.
class CSentavellUiApp : public CStArxApp {
public:
    AcPropertyLinkStyleMgr* GetStyleMgr() const { return m_pStyleMgr; }

    AcRx::AppRetCode OnInitApp() override;
    AcRx::AppRetCode OnUnloadApp() override;
    void RegisterClasses() override;
    void UnregisterClasses() override;

private:
    AcPropertyLinkStyleMgr* m_pStyleMgr = nullptr;
};
