// The module's entry: its application object, which registers and removes the classes, and the
// functions the host calls by name.
#include "AcContentModifier.h"
#include "AcPropertyLink.h"
#include "AcPropertyLinkStyle.h"
#include "AcPropertyReader.h"
#include "StArxApp.h"
#include "mfc/afx.h"
#include "win/export.h"

namespace {

// The host API release the module is built for.
constexpr int kApiRelease = 17;

template <class T>
void removeClass() {
    deleteAcRxClass(T::desc());
    // The library can outlive its classes (the application module links against it), so the
    // cache must not point at a deleted class when the module is started again.
    T::gpDesc = nullptr;
}

class CSentavellDbxApp : public CStArxApp {
public:
    void RegisterClasses() override {
        AcContentModifier::rxInit();
        AcBlockModifier::rxInit();
        AcTextModifier::rxInit();
        AcDimensionModifier::rxInit();
        AcLeaderModifier::rxInit();
        AcMTextModifier::rxInit();
        AcColorModifier::rxInit();
        AcPropertyReader::rxInit();
        AcPropertyLink::rxInit();
        AcPropertyLinkStyle::rxInit();
        AcLengthReader::rxInit();
        AcAreaReader::rxInit();
        AcTextReader::rxInit();
        AcXCoordReader::rxInit();
        AcYCoordReader::rxInit();
        AcZCoordReader::rxInit();
    }

    void UnregisterClasses() override {
        removeClass<AcZCoordReader>();
        removeClass<AcYCoordReader>();
        removeClass<AcXCoordReader>();
        removeClass<AcTextReader>();
        removeClass<AcAreaReader>();
        removeClass<AcLengthReader>();
        removeClass<AcPropertyLinkStyle>();
        removeClass<AcPropertyLink>();
        removeClass<AcPropertyReader>();
        removeClass<AcColorModifier>();
        removeClass<AcMTextModifier>();
        removeClass<AcLeaderModifier>();
        removeClass<AcDimensionModifier>();
        removeClass<AcTextModifier>();
        removeClass<AcBlockModifier>();
        removeClass<AcContentModifier>();
    }
};

CSentavellDbxApp theApp;
AFX_EXTENSION_MODULE extensionModule{};

} // namespace

extern "C" DLLEXPORT BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        theApp.m_hInstance = instance;
        if (AfxInitExtensionModule(extensionModule, instance))
            new CDynLinkLibrary(extensionModule);
    } else if (reason == DLL_PROCESS_DETACH) {
        AfxTermExtensionModule(extensionModule);
    }
    return TRUE;
}

extern "C" DLLEXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt) {
    return CStArxApp::GetApp()->EntryPoint(msg, pkt);
}

extern "C" DLLEXPORT int acrxGetApiVersion() {
    return kApiRelease;
}
